// The X windows of the screensaver mode: the root window, which SDL cannot name, and
// whether a window named on the command line exists before SDL is given it (an X error
// there would end the program with Xlib's own message).
#pragma once

#include <cstdint>

namespace platform::sdl2 {

// The root window's id on the display named by DISPLAY; 0 when there is no display.
std::uintptr_t x11_root_window();

// Whether the display named by DISPLAY has a window with this id.
bool x11_window_exists(std::uintptr_t window);

}  // namespace platform::sdl2
