// Short Xlib conversations with the X server, each on a connection of its own.
#include "platform/sdl2/sdl2_x11_windows.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include "platform/sdl2/sdl2_trace.h"

namespace platform::sdl2 {

namespace {

bool window_error = false;
std::uintptr_t watched = 0;
bool watched_gone = false;

int note_window_error(Display*, XErrorEvent*) {
  window_error = true;
  return 0;
}

// SDL wakes a thread waiting for events with a message to one of its windows, sent on a
// connection of its own (also for an event that the waiting thread itself reads, so with
// every key or window event); when that window is being destroyed on the main connection
// at the same moment, the message meets BadWindow, and Xlib's default handler would end the
// program. Such a message has nowhere to go and nothing is lost without it.
bool harmless(const XErrorEvent* error) {
  // The screensaver's window has gone: the player ends at the next event it reads.
  if (watched != 0 && error->resourceid == watched &&
      (error->error_code == BadWindow || error->error_code == BadDrawable)) {
    if (!watched_gone) trace("X error ignored: window 0x%lx has gone", error->resourceid);
    watched_gone = true;
    return true;
  }
  if (error->error_code != BadWindow || error->request_code != X_SendEvent) return false;
  trace("X error ignored: BadWindow of a message sent to window 0x%lx",
        static_cast<unsigned long>(error->resourceid));
  return true;
}

// Two filters around SDL's own handler. The one below it stays when SDL_Quit puts back the
// handler it found, just before it closes its wake-up connection, where the error of a
// message sent as the player's window went is read at last. The one above it keeps the
// harmless error from SDL's handler, which puts the desktop's display mode back on any error.
XErrorHandler under_filter_below = nullptr;
XErrorHandler under_filter_above = nullptr;

int filter_below_sdl(Display* display, XErrorEvent* error) {
  if (harmless(error)) return 0;
  return under_filter_below != nullptr ? under_filter_below(display, error) : 0;
}

int filter_above_sdl(Display* display, XErrorEvent* error) {
  if (harmless(error)) return 0;
  return under_filter_above != nullptr ? under_filter_above(display, error) : 0;
}

}  // namespace

void filter_x11_errors_under_sdl() {
  if (under_filter_below == nullptr) under_filter_below = XSetErrorHandler(&filter_below_sdl);
}

void filter_x11_errors() {
  if (under_filter_above == nullptr) under_filter_above = XSetErrorHandler(&filter_above_sdl);
}

X11DisplayHold::~X11DisplayHold() {
  if (display_ != nullptr) XCloseDisplay(static_cast<Display*>(display_));
}

bool X11DisplayHold::open() {
  if (display_ == nullptr) display_ = XOpenDisplay(nullptr);
  return display_ != nullptr;
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

void x11_watch_window(SDL_Window* sdl, std::uintptr_t window) {
  watched = window;
  watched_gone = false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(sdl, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
  // Its destruction is told to the clients that listen to its structure; the events SDL
  // already listens to stay.
  ::Display* display = info.info.x11.display;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, static_cast<Window>(window), &attributes) == 0) return;
  XSelectInput(display, static_cast<Window>(window),
               attributes.your_event_mask | StructureNotifyMask);
  XFlush(display);
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

bool x11_watched_window_gone(const SDL_Event* event) {
  if (watched == 0) return false;
  if (event != nullptr && event->type == SDL_SYSWMEVENT && event->syswm.msg != nullptr &&
      event->syswm.msg->subsystem == SDL_SYSWM_X11) {
    const XEvent& x = event->syswm.msg->msg.x11.event;
    if (x.type == DestroyNotify && x.xdestroywindow.window == watched) {
      trace("window 0x%lx destroyed", static_cast<unsigned long>(watched));
      watched_gone = true;
    }
  }
  return watched_gone;
}

}  // namespace platform::sdl2
