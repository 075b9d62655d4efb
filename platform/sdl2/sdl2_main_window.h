// The one SDL window of the player and what the window system knows about it: its style
// bits and whether the menu bar is attached. The window handle of the portable code is
// the SDL_Window pointer.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/direct_draw.h"

namespace platform::sdl2 {

// Height of the drawn menu bar above the 640x480 picture area.
inline constexpr int kMenuBarHeight = 20;

struct MainWindow {
  SDL_Window* sdl = nullptr;
  std::uint32_t style = 0;     // the WS_* bits the display set-up reads and writes
  bool menu_attached = false;  // the File menu bar is drawn above the picture
};

// The player's window state (one per process).
MainWindow& main_window();

// The SDL window behind a handle; null for any handle other than the main window's.
SDL_Window* sdl_window(WindowHandle window);

// Pixels from the top of the SDL window to the picture area: the menu bar's height while
// it is attached, 0 otherwise.
int picture_top();

}  // namespace platform::sdl2
