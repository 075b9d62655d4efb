// The X windows of the screensaver mode: the root window, which SDL cannot name, and
// whether a window named on the command line exists before SDL is given it (an X error
// there would end the program with Xlib's own message); and the one X error the player
// lets pass.
#pragma once

#include <cstdint>

namespace platform::sdl2 {

// The root window's id on the display named by DISPLAY; 0 when there is no display.
std::uintptr_t x11_root_window();

// From now on a BadWindow error of a sent message (SDL's wake-up message to a window being
// destroyed) is traced and ignored instead of ending the program; every other X error goes
// to the handler that was in place. filter_x11_errors_under_sdl before SDL starts its
// video (SDL puts that filter back when it quits), filter_x11_errors after.
void filter_x11_errors_under_sdl();
void filter_x11_errors();

// Whether the display named by DISPLAY has a window with this id.
bool x11_window_exists(std::uintptr_t window);

}  // namespace platform::sdl2
