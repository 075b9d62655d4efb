// Effect kinds 2 and 3: blocks passed through a 65536-entry colour table.
#pragma once

#include "engine/layer.h"

namespace engine {

// Writes table[pixel] for each pixel of the frame's blocks, read from the working frame
// (from_work set) or the source picture, into the working frame.
void run_remap_rects(Layer& layer, RemapParams& params);

}  // namespace engine
