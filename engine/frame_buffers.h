// The four frame buffers the engine draws with, each the size of the picture area, in static
// storage.
#pragma once

#include <cstdint>

#include "display/frame_size.h"

namespace engine {

using display::kFrameHeight;
using display::kFrameWidth;
inline constexpr std::int32_t kFramePixels = kFrameWidth * kFrameHeight;

// The 16-bit frame that is shown; row stride kFrameWidth pixels, like all four.
extern std::uint16_t working_frame[kFramePixels];
// The dithered 16-bit copy of the picture that layers restore from.
extern std::uint16_t source_picture[kFramePixels];
// Intermediate for moving blocks that must not smear.
extern std::uint16_t scratch_frame[kFramePixels];
// The decoded, centred picture: 0x00RRGGBB words, bytes blue, green, red, zero in memory.
extern std::uint32_t source_image[kFramePixels];

}  // namespace engine
