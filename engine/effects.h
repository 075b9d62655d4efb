// The three kinds of random block effects a layer's slots run each frame.
#pragma once

#include "engine/layer.h"

namespace engine {

// Kind 1: ANDs each block of the working frame with the record's mask.
void run_mask_rects(Layer& layer, MaskRectParams& params);
// Kinds 2 and 3: passes each block through the record's colour table.
void run_remap_rects(Layer& layer, RemapParams& params);
// Kinds 4 and 5: fills each block with a displaced piece of picture.
void run_moving_blocks(Layer& layer, MovingBlockParams& params);

}  // namespace engine
