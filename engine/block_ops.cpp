// The channel-keeping masks and the dithered 32-to-16-bit conversion; the row and block
// routines are inline in the header because the effect runs call them per block.
#include "engine/block_ops.h"

#include <algorithm>

#include "engine/layer.h"

namespace engine {

std::uint32_t dither_rng = 0;

namespace {

// Bits high - keep + 1 .. high of a 16-bit word.
std::uint32_t top_bits(std::int32_t high, std::int32_t keep) {
  std::uint32_t m = 0;
  for (std::int32_t i = 0; i < 16; ++i) {
    if (high - keep + 1 <= i && i <= high) m |= 1u << i;
  }
  return m;
}

std::int32_t clamp_channel(std::int32_t value) {
  return std::clamp(value, 0, 255);
}

}  // namespace

std::uint32_t channel_keep_mask(std::int32_t nr, std::int32_t ng, std::int32_t nb,
                                const display::PixelLayout& pf) {
  const std::int32_t kr = pf.red_bits - std::clamp(nr, 0, std::max(pf.red_bits, 0));
  const std::int32_t kg = pf.green_bits - std::clamp(ng, 0, std::max(pf.green_bits, 0));
  const std::int32_t kb = pf.blue_bits - std::clamp(nb, 0, std::max(pf.blue_bits, 0));
  const std::uint32_t m =
      top_bits(pf.red_high, kr) | top_bits(pf.green_high, kg) | top_bits(pf.blue_high, kb);
  return m | m << 16;
}

std::int32_t widest_channel(const display::PixelLayout& pf) {
  return std::max({pf.red_bits, pf.green_bits, pf.blue_bits});
}

void dither_convert(const Layer& layer) {
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
