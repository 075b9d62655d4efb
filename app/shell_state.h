// The shell's flags, shared by start-up, the main loop, the window handlers and the
// picture switch. One instance each, static storage.
#pragma once

#include <cstdint>

namespace app {

// The first display attempt is full screen.
inline constexpr bool start_full_screen = true;

// 1 = windowed display, 0 = exclusive full screen.
extern std::int32_t windowed;
// Frames are produced only while set (the window is neither minimised nor hidden).
extern std::int32_t app_active;
// Draw the frame-time text.
extern std::int32_t show_statistics;

}  // namespace app
