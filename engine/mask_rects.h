// Effect kind 1: blocks of the working frame ANDed with a mask that clears low channel bits.
#pragma once

#include <cstdint>

#include "engine/effect_header.h"
#include "engine/effect_view.h"

namespace engine {

// The record of kind 1. It has no assign: it is copied whole with its layer.
struct MaskRectParams : EffectHeader {
  std::uint32_t pos_rng = 0;
  std::uint32_t jitter_rng = 0;
  std::uint32_t seed = 0;
  std::uint32_t mask = 0;    // both halves equal; computed by Layer::set_pixel_format
  bool blend_after = false;  // blend the source picture in after the run
  std::int32_t clear_r = 0;  // low bits of each channel that mask clears
  std::int32_t clear_g = 0;
  std::int32_t clear_b = 0;
};

// ANDs each of the frame's blocks of the working frame with the record's mask.
void run_mask_rects(const EffectView& view, MaskRectParams& params);

}  // namespace engine
