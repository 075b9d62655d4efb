// Effect kinds 4 and 5: blocks filled from a displaced piece of picture.
#pragma once

#include "engine/layer.h"

namespace engine {

// Fills each of the frame's blocks of the working frame with the piece of picture at its
// offset, by copy or 50% blend.
void run_moving_blocks(Layer& layer, MovingBlockParams& params);

}  // namespace engine
