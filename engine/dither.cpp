// The dithered conversion: one noise value per pixel, drawn from the shared generator,
// added to all three channels before they are packed into 16 bits.
#include "engine/dither.h"

#include <algorithm>

#include "engine/layer.h"
#include "engine/lcg.h"

namespace engine {

namespace {

std::int32_t clamp_channel(std::int32_t value) {
  return std::clamp(value, 0, 255);
}

}  // namespace

std::int32_t widest_channel(const display::PixelLayout& pf) {
  return std::max({pf.red_bits, pf.green_bits, pf.blue_bits});
}

void dither_convert(const Layer& layer, std::uint32_t& dither_rng) {
  const std::int32_t s = std::clamp(widest_channel(layer.format) - layer.noise, 0, 8);
  const std::int32_t half = ((1 << (8 - s)) - 1) / 2;
  if (layer.y1 < layer.y0) return;
  std::uint32_t rng = dither_rng;
  for (std::int32_t y = layer.y0; y <= layer.y1; ++y) {
    const std::uint32_t* in = layer.source32 + y * layer.width;
    std::uint16_t* out = layer.source16 + y * layer.width;
    for (std::int32_t x = layer.x0; x <= layer.x1; ++x) {
      rng = rng * kLcgMultiplier + kLcgIncrement;
      // One noise value for all three channels keeps the dither grey.
      const std::int32_t d = static_cast<std::int32_t>((rng >> 16) & 0xFFu) >> s;
      const std::int32_t noise = d - half;
      const std::uint32_t v = in[x];
      const std::int32_t b = clamp_channel(static_cast<std::int32_t>(v & 0xFFu) + noise);
      const std::int32_t g = clamp_channel(static_cast<std::int32_t>((v >> 8) & 0xFFu) + noise);
      const std::int32_t r = clamp_channel(static_cast<std::int32_t>((v >> 16) & 0xFFu) + noise);
      out[x] = layer.format.pack(r, g, b);
    }
  }
  dither_rng = rng;
}

}  // namespace engine
