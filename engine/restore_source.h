// Restoring a region of the working frame from the source picture: a copy or a 50% blend.
#pragma once

#include "engine/effect_view.h"

namespace engine {

// Copies the region from the source picture into the working frame at the same place;
// nothing when both are the same buffer.
void copy_source(const EffectView& view);
// Blends the source picture 50% into the region of the working frame, the rounding bit
// taken from the working frame; nothing when both are the same buffer.
void blend_source(const EffectView& view);

}  // namespace engine
