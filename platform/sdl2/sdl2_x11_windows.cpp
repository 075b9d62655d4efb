// Short Xlib conversations with the X server, each on a connection of its own.
#include "platform/sdl2/sdl2_x11_windows.h"

#include <X11/Xlib.h>

namespace platform::sdl2 {

namespace {

bool window_error = false;

int note_window_error(Display*, XErrorEvent*) {
  window_error = true;
  return 0;
}

}  // namespace

std::uintptr_t x11_root_window() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 0;
  const std::uintptr_t root = DefaultRootWindow(display);
  XCloseDisplay(display);
  return root;
}

bool x11_window_exists(std::uintptr_t window) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  // A missing window answers with BadWindow, which must not reach Xlib's default handler.
  window_error = false;
  XErrorHandler previous = XSetErrorHandler(&note_window_error);
  XWindowAttributes attributes;
  const Status found = XGetWindowAttributes(display, static_cast<Window>(window), &attributes);
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return found != 0 && !window_error;
}

}  // namespace platform::sdl2
