// The row converters in scalar code, through the decoder's four fixed-point tables. Pixels are
// stored as one 32-bit word whose fourth byte is zero, which gives the same bytes as writing R,
// G and B alone into the zeroed line buffers.
#include <array>
#include <bit>
#include <cstring>

#include "jpeg/color_convert_kernels.h"
#include "jpeg/decoder_state.h"

namespace jpeg::detail {

namespace {

// Clamp to 0..255 of any sum that the conversion can produce (-384..639), offset by 384.
constexpr std::array<std::uint8_t, 1024> make_clamp_table() {
  std::array<std::uint8_t, 1024> t{};
  for (int i = 0; i < 1024; ++i) {
    const int v = i - 384;
    t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
  }
  return t;
}
constexpr std::array<std::uint8_t, 1024> kClamp = make_clamp_table();

inline std::uint32_t clamp(std::int32_t v) {
  return kClamp[static_cast<std::size_t>(v + 384)];
}

// The chroma terms of one chroma sample, shared by every pixel it covers.
struct Chroma {
  std::int32_t red;
  std::int32_t green;
  std::int32_t blue;
};

inline Chroma chroma(const DecoderState& d, std::uint8_t cb, std::uint8_t cr) {
  return Chroma{d.cr_to_red[cr], (d.cb_to_green[cb] + d.cr_to_green[cr]) >> 16, d.cb_to_blue[cb]};
}

inline void put_pixel(std::uint8_t* out, std::int32_t y, const Chroma& c) {
  const std::uint32_t red = clamp(y + c.red);
  const std::uint32_t green = clamp(y + c.green);
  const std::uint32_t blue = clamp(y + c.blue);
  if constexpr (std::endian::native == std::endian::little) {
    const std::uint32_t word = red | (green << 8) | (blue << 16);
    std::memcpy(out, &word, 4);
  } else {
    out[0] = static_cast<std::uint8_t>(red);
    out[1] = static_cast<std::uint8_t>(green);
    out[2] = static_cast<std::uint8_t>(blue);
  }
}

}  // namespace

void convert_row_scalar(const DecoderState& d, const std::uint8_t* luma, const std::uint8_t* cb,
                        const std::uint8_t* cr, std::uint8_t* out, std::int32_t width) {
  for (std::int32_t x = 0; x < width; ++x, out += 4)
    put_pixel(out, luma[x], chroma(d, cb[x], cr[x]));
}

void convert_h1v1_scalar(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                         std::int32_t mcus) {
  for (std::int32_t m = 0; m < mcus; ++m) {
    for (std::int32_t j = 0; j < 8; ++j) {
      put_pixel(out, mcu[j], chroma(d, mcu[64 + j], mcu[128 + j]));
      out += 4;
    }
    mcu += 3 * 64;
  }
}

void convert_h2v1_scalar(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                         std::int32_t mcus) {
  for (std::int32_t m = 0; m < mcus; ++m) {
    for (std::int32_t k = 0; k < 8; ++k) {
      const Chroma c = chroma(d, mcu[128 + k], mcu[192 + k]);
      const std::uint8_t* luma = mcu + (k < 4 ? 2 * k : 64 + 2 * k - 8);
      put_pixel(out, luma[0], c);
      put_pixel(out + 4, luma[1], c);
      out += 8;
    }
    mcu += 4 * 64;
  }
}

void convert_h1v2_scalar(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                         std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                         std::int32_t mcus) {
  for (std::int32_t m = 0; m < mcus; ++m) {
    const std::uint8_t* luma = mcu + luma_offset;
    for (std::int32_t j = 0; j < 8; ++j) {
      const Chroma c = chroma(d, mcu[128 + chroma_row + j], mcu[192 + chroma_row + j]);
      put_pixel(out1, luma[j], c);
      put_pixel(out2, luma[8 + j], c);
      out1 += 4;
      out2 += 4;
    }
    mcu += 4 * 64;
  }
}

void convert_h2v2_scalar(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                         std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                         std::int32_t mcus) {
  for (std::int32_t m = 0; m < mcus; ++m) {
    for (std::int32_t k = 0; k < 8; ++k) {
      const Chroma c = chroma(d, mcu[256 + chroma_row + k], mcu[320 + chroma_row + k]);
      const std::uint8_t* luma = mcu + luma_offset + (k < 4 ? 2 * k : 64 + 2 * k - 8);
      put_pixel(out1, luma[0], c);
      put_pixel(out1 + 4, luma[1], c);
      put_pixel(out2, luma[8], c);
      put_pixel(out2 + 4, luma[9], c);
      out1 += 8;
      out2 += 8;
    }
    mcu += 6 * 64;
  }
}

}  // namespace jpeg::detail
