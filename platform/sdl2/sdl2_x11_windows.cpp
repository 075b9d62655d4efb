// Short Xlib conversations with the X server, each on a connection of its own.
#include "platform/sdl2/sdl2_x11_windows.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include "platform/sdl2/sdl2_trace.h"

namespace platform::sdl2 {

namespace {

bool window_error = false;

int note_window_error(Display*, XErrorEvent*) {
  window_error = true;
  return 0;
}

XErrorHandler handler_before_filter = nullptr;

// SDL wakes a thread waiting for events with a message to one of its windows, sent on a
// connection of its own; when that window is being destroyed on the main connection at the
// same moment, the message meets BadWindow, and Xlib's default handler would end the
// program. Such a message has nowhere to go and nothing is lost without it.
int filter_x11_error(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) {
    trace("X error ignored: BadWindow of a message sent to window 0x%lx",
          static_cast<unsigned long>(error->resourceid));
    return 0;
  }
  return handler_before_filter != nullptr ? handler_before_filter(display, error) : 0;
}

}  // namespace

void filter_x11_errors() {
  if (handler_before_filter == nullptr) handler_before_filter = XSetErrorHandler(&filter_x11_error);
}

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
