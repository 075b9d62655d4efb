// The X windows of the screensaver mode: the root window, which SDL cannot name, and
// whether a window named on the command line exists before SDL is given it (an X error
// there would end the program with Xlib's own message); and the one X error the player
// lets pass.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform::sdl2 {

// A connection to the display named by DISPLAY, held while SDL makes its own: an X server
// whose last client leaves resets itself and refuses connections meanwhile (Xvfb with no
// other client does), so a connection opened and closed just before SDL's would make SDL's
// fail now and then.
class X11DisplayHold {
 public:
  X11DisplayHold() = default;
  X11DisplayHold(const X11DisplayHold&) = delete;
  X11DisplayHold& operator=(const X11DisplayHold&) = delete;
  ~X11DisplayHold();

  // Whether the display opens; it stays open until this object goes.
  bool open();

 private:
  void* display_ = nullptr;  // Xlib's Display, which this header does not include
};

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

// The screensaver's window, which its owner may destroy at any moment: its destruction
// comes to SDL's window as an SDL_SYSWMEVENT, and X errors about it (a frame drawn as it
// went) are traced and ignored. sdl is SDL's window made from it.
void x11_watch_window(SDL_Window* sdl, std::uintptr_t window);
// Whether the watched window has gone: its destruction was seen (event is the one SDL
// reports now, when it is that destruction), or an X error said it is no more.
bool x11_watched_window_gone(const SDL_Event* event);

}  // namespace platform::sdl2
