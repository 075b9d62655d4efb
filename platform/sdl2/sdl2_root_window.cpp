// Asks the X server for its root window; SDL offers no way to name it.
#include "platform/sdl2/sdl2_root_window.h"

#include <X11/Xlib.h>

namespace platform::sdl2 {

std::uintptr_t x11_root_window() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 0;
  const std::uintptr_t root = DefaultRootWindow(display);
  XCloseDisplay(display);
  return root;
}

}  // namespace platform::sdl2
