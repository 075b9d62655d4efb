// Effect kind 1: blocks of the working frame ANDed with a mask that clears low channel bits.
#pragma once

#include "engine/layer.h"

namespace engine {

// ANDs each of the frame's blocks of the working frame with the record's mask.
void run_mask_rects(Layer& layer, MaskRectParams& params);

}  // namespace engine
