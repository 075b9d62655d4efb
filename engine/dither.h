// The dithered conversion of the 32-bit picture into the 16-bit source picture.
#pragma once

#include <cstdint>

#include "display/pixel_format.h"
#include "engine/effect_view.h"

namespace engine {

// The width in bits of pf's widest channel.
std::int32_t widest_channel(const display::PixelLayout& pf);
// Rebuilds the view's region of its source picture from its 32-bit picture in its layout,
// with noise (0..6) drawn from dither_rng (the generator all layers of a scene share), which
// it advances.
void dither_convert(const EffectView& view, std::int32_t noise, std::uint32_t& dither_rng);

}  // namespace engine
