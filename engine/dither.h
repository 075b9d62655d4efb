// The dithered conversion of the 32-bit picture into the 16-bit source picture.
#pragma once

#include <cstdint>

#include "display/pixel_format.h"

namespace engine {

class Layer;

// The width in bits of pf's widest channel.
std::int32_t widest_channel(const display::PixelLayout& pf);
// Rebuilds the layer's region of its source picture from its 32-bit picture, with noise
// drawn from dither_rng (the generator all layers of a scene share), which it advances.
void dither_convert(const Layer& layer, std::uint32_t& dither_rng);

}  // namespace engine
