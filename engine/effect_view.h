// What an effect run sees of its layer: the frame buffers, the region, the pixel layout and
// the blend words. Layers and effects both build on it; it knows neither.
#pragma once

#include <cstdint>

#include "display/pixel_format.h"

namespace engine {

// The frame buffers a layer works on: not owned, each width x height pixels with row
// stride width.
struct LayerFrames {
  std::uint16_t* work = nullptr;            // the working frame that is shown
  std::uint16_t* scratch = nullptr;         // intermediate for moving blocks
  std::uint16_t* source16 = nullptr;        // the dithered 16-bit picture restored from
  const std::uint32_t* source32 = nullptr;  // the 32-bit picture the dither reads
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// A rectangle of the frame, inclusive at both ends.
struct Region {
  std::int32_t x0 = 0;
  std::int32_t x1 = 0;
  std::int32_t y0 = 0;
  std::int32_t y1 = 0;

  bool operator==(const Region&) const = default;
};

// The two words of the 50% blend (block_ops.h: blend_row), both halves equal.
struct BlendMasks {
  std::uint32_t halve = 0;    // pack(127, 127, 127): clears each channel's top bit
  std::uint32_t low_bit = 0;  // each channel's lowest bit and the bits outside the channels
};

// A layer's buffers, region, pixel layout and blend words, as one effect run reads them.
struct EffectView {
  LayerFrames frames;
  Region region;
  BlendMasks blend;
  const display::PixelLayout* format = nullptr;  // the layer's, which outlives the run
};

}  // namespace engine
