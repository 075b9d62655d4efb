// Scaled decoding. A component subsampled alike in both directions is transformed at a larger
// size instead (up to 8x8), so that its samples land one per reduced pixel: 4:2:0 chroma at 1/2
// comes from the full 8x8 transform and needs no upsampling. What stays uneven (4:2:2 and 4:4:0
// at every reduced scale) is replicated, like the full-size converters do (T.81 A.1.1).
#include "jpeg/scaled_output.h"

#include <cstring>

#include "jpeg/idct.h"
#include "jpeg/idct_reduced.h"

namespace jpeg::detail {

namespace {

std::int32_t ceil_div(std::int32_t a, std::int32_t b) {
  return (a + b - 1) / b;
}

inline std::uint8_t clamp(std::int32_t v) {
  return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

void setup_scaled_output(DecoderState& d) {
  const std::int32_t luma = 8 / d.scale;
  d.out_width = ceil_div(d.width, d.scale);
  d.out_height = ceil_div(d.height, d.scale);
  d.out_mcu_height = d.mcu_height / d.scale;
  d.plane_count = d.layout == SamplingLayout::gray ? 1 : 3;
  const std::int32_t hmax = d.mcu_width / 8;
  const std::int32_t vmax = d.mcu_height / 8;
  for (std::int32_t c = 0; c < d.plane_count; ++c) {
    const std::int32_t h = c == 0 ? hmax : 1;
    const std::int32_t v = c == 0 ? vmax : 1;
    // The pixels one sample covers in the less subsampled direction, taken into the transform.
    const std::int32_t ratio = hmax / h < vmax / v ? hmax / h : vmax / v;
    const std::int32_t size = luma * ratio > 8 ? 8 : luma * ratio;
    d.block_size[c] = size;
    d.up_h[c] = hmax * luma / (h * size);
    d.up_v[c] = vmax * luma / (v * size);
    d.plane_stride[c] = d.mcus_per_row * h * size;
    const auto bytes =
        static_cast<std::size_t>(d.plane_stride[c]) * static_cast<std::size_t>(v * size);
    d.plane[c] = static_cast<std::uint8_t*>(allocate(d, bytes + 8));
  }
}

void transform_mcu_row_scaled(DecoderState& d, const std::int16_t* coef) {
  const std::int32_t hmax = d.mcu_width / 8;
  const std::int32_t luma_blocks = hmax * (d.mcu_height / 8);
  // The fast path stores coefficients as they were coded; the integer path dequantised them.
  const bool dequantised = !d.fast_transform;
  std::uint8_t full[64];
  for (std::int32_t m = 0; m < d.mcus_per_row; ++m) {
    for (std::int32_t j = 0; j < d.blocks_per_mcu; ++j, coef += 64) {
      const std::int32_t c = j < luma_blocks ? 0 : j - luma_blocks + 1;
      const std::int32_t bx = c == 0 ? m * hmax + j % hmax : m;
      const std::int32_t by = c == 0 ? j / hmax : 0;
      const std::int32_t size = d.block_size[c];
      const std::int32_t stride = d.plane_stride[c];
      std::uint8_t* out = d.plane[c] + by * size * stride + bx * size;
      const std::uint16_t* quant = dequantised ? nullptr : d.quant_natural[d.comp[c].tq];
      if (size < 8) {
        transform_block_reduced(coef, quant, size, out, stride);
        continue;
      }
      // The full 8x8 transform of the integer path, on coefficients dequantised as it takes them.
      for (std::int32_t n = 0; n < 64; ++n) {
        d.scratch[n] = quant == nullptr ? coef[n]
                                        : static_cast<std::int16_t>(static_cast<std::uint32_t>(
                                              coef[n] * static_cast<std::int32_t>(quant[n])));
      }
      transform_block_integer(d.scratch, full);
      for (std::int32_t r = 0; r < 8; ++r) std::memcpy(out + r * stride, full + 8 * r, 8);
    }
  }
}

const std::uint8_t* build_scaled_row(DecoderState& d) {
  const std::int32_t y = d.out_mcu_height - d.rows_left;
  const std::uint8_t* luma = d.plane[0] + y * d.plane_stride[0];
  std::uint8_t* out = d.line1;
  if (d.plane_count == 1) {
    std::memcpy(out, luma, static_cast<std::size_t>(d.out_width));
    return out;
  }
  const std::uint8_t* cb = d.plane[1] + (y / d.up_v[1]) * d.plane_stride[1];
  const std::uint8_t* cr = d.plane[2] + (y / d.up_v[2]) * d.plane_stride[2];
  const std::int32_t shift = d.up_h[1] == 2 ? 1 : 0;  // both chroma planes are alike
  for (std::int32_t x = 0; x < d.out_width; ++x, out += 4) {
    const std::int32_t l = luma[x];
    const std::uint8_t b = cb[x >> shift];
    const std::uint8_t r = cr[x >> shift];
    if (d.rgb_components) {
      out[0] = static_cast<std::uint8_t>(l);
      out[1] = b;
      out[2] = r;
      continue;
    }
    out[0] = clamp(l + d.cr_to_red[r]);
    out[1] = clamp(l + ((d.cb_to_green[b] + d.cr_to_green[r]) >> 16));
    out[2] = clamp(l + d.cb_to_blue[b]);
  }
  return d.line1;
}

}  // namespace jpeg::detail
