// YCbCr to RGB conversion: the four fixed-point tables, and the rows of each sampling layout,
// whose pixels the converters of the kernel table compute (color_convert_kernels.h).
#include "jpeg/color_convert.h"

#include <cstring>

namespace jpeg::detail {

void build_color_tables(DecoderState& d) {
  for (std::int32_t i = 0; i < 256; ++i) {
    const std::int32_t x = i - 128;
    d.cr_to_red[i] = (91882 * x + 32768) >> 16;
    d.cb_to_blue[i] = (116130 * x + 32768) >> 16;
    d.cr_to_green[i] = -46802 * x;
    d.cb_to_green[i] = -22554 * x + 32768;
  }
}

void convert_gray(DecoderState& d, std::int32_t y) {
  const std::uint8_t* src = d.samples + 8 * y;
  std::uint8_t* out = d.line1;
  for (std::int32_t m = 0; m < d.mcus_per_row; ++m) {
    std::memcpy(out, src, 8);
    out += 8;
    src += 64;
  }
}

void convert_h1v1(DecoderState& d, std::int32_t y) {
  d.kernels.convert_h1v1(d, d.samples + 8 * y, d.line1, d.mcus_per_row);
}

void convert_h2v1(DecoderState& d, std::int32_t y) {
  d.kernels.convert_h2v1(d, d.samples + 8 * y, d.line1, d.mcus_per_row);
}

void convert_h1v2(DecoderState& d, std::int32_t y) {
  const std::int32_t luma_offset = y < 8 ? 8 * y : 64 + 8 * (y - 8);
  d.kernels.convert_h1v2(d, d.samples, luma_offset, 8 * (y / 2), d.line1, d.line2, d.mcus_per_row);
}

void convert_h2v2(DecoderState& d, std::int32_t y) {
  const std::int32_t luma_offset = y < 8 ? 8 * y : 128 + 8 * (y - 8);
  d.kernels.convert_h2v2(d, d.samples, luma_offset, 8 * (y / 2), d.line1, d.line2, d.mcus_per_row);
}

}  // namespace jpeg::detail
