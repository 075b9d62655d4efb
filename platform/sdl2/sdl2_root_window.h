// The X root window of the default screen, the target of the screensaver's --root.
#pragma once

#include <cstdint>

namespace platform::sdl2 {

// The root window's id on the display named by DISPLAY; 0 when there is no display.
std::uintptr_t x11_root_window();

}  // namespace platform::sdl2
