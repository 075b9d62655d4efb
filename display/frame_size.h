// The size of the picture area: the working frame, the frame surface, the full-screen mode
// and the window's client area are all this size.
#pragma once

#include <cstdint>

namespace display {

inline constexpr std::int32_t kFrameWidth = 640;
inline constexpr std::int32_t kFrameHeight = 480;

}  // namespace display
