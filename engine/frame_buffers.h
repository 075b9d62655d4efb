// The size of the four frame buffers the engine draws with; the buffers themselves belong
// to the scene (engine/scene.h).
#pragma once

#include <cstdint>

#include "display/frame_size.h"

namespace engine {

using display::kFrameHeight;
using display::kFrameWidth;
inline constexpr std::int32_t kFramePixels = kFrameWidth * kFrameHeight;

}  // namespace engine
