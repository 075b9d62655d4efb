// Rows of files stored in RGB: the samples are copied, not converted.
#include "jpeg/rgb_components.h"

namespace jpeg::detail {

bool components_are_rgb(const DecoderState& d) {
  if (d.components != 3) return false;
  if (d.adobe_transform >= 0) return d.adobe_transform == 0;
  return d.comp[0].id == 'R' && d.comp[1].id == 'G' && d.comp[2].id == 'B';
}

void copy_rgb_rows(DecoderState& d, std::int32_t y) {
  // The first component fills h × v blocks of each MCU (in rows of h), the other two one
  // block each, right after it.
  const std::int32_t h = d.comp[0].h;
  const std::int32_t v = d.comp[0].v;
  const std::int32_t second = 64 * h * v;
  const std::int32_t third = second + 64;
  for (std::int32_t row = y; row < y + v; ++row) {
    std::uint8_t* out = row == y ? d.line1 : d.line2;
    const std::uint8_t* mcu = d.samples;
    for (std::int32_t m = 0; m < d.mcus_per_row; ++m) {
      for (std::int32_t x = 0; x < d.mcu_width; ++x) {
        const std::int32_t first = 64 * ((row / 8) * h + x / 8) + 8 * (row % 8) + x % 8;
        const std::int32_t other = 8 * (row / v) + x / h;
        out[0] = mcu[first];
        out[1] = mcu[second + other];
        out[2] = mcu[third + other];
        out[3] = 0;
        out += 4;
      }
      mcu += 64 * d.blocks_per_mcu;
    }
  }
}

}  // namespace jpeg::detail
