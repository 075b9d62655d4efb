// The dithered conversion: one noise value per pixel, drawn from the shared generator,
// added to all three channels before they are packed into 16 bits.
#include "engine/dither.h"

#include <algorithm>

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

void dither_convert(const EffectView& view, std::int32_t noise, std::uint32_t& dither_rng) {
  const display::PixelLayout& format = *view.format;
  const LayerFrames& f = view.frames;
  const Region& r = view.region;
  const std::int32_t s = std::clamp(widest_channel(format) - noise, 0, 8);
  const std::int32_t half = ((1 << (8 - s)) - 1) / 2;
  if (r.y1 < r.y0) return;
  std::uint32_t rng = dither_rng;
  for (std::int32_t y = r.y0; y <= r.y1; ++y) {
    const std::uint32_t* in = f.source32 + y * f.width;
    std::uint16_t* out = f.source16 + y * f.width;
    for (std::int32_t x = r.x0; x <= r.x1; ++x) {
      rng = rng * kLcgMultiplier + kLcgIncrement;
      // One noise value for all three channels keeps the dither grey.
      const std::int32_t d = static_cast<std::int32_t>((rng >> 16) & 0xFFu) >> s;
      const std::int32_t dither = d - half;
      const std::uint32_t v = in[x];
      const std::int32_t blue = clamp_channel(static_cast<std::int32_t>(v & 0xFFu) + dither);
      const std::int32_t green =
          clamp_channel(static_cast<std::int32_t>((v >> 8) & 0xFFu) + dither);
      const std::int32_t red = clamp_channel(static_cast<std::int32_t>((v >> 16) & 0xFFu) + dither);
      out[x] = format.pack(red, green, blue);
    }
  }
  dither_rng = rng;
}

}  // namespace engine
