// The one SDL window of the player and what the backend knows about it: its style
// bits and whether the menu bar is attached. The window handle of the portable code is
// the SDL_Window pointer.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/direct_draw.h"
#include "platform/picture_fit/picture_fit.h"

namespace platform::sdl2 {

// Height of the drawn menu bar above the 640x480 picture area.
inline constexpr int kMenuBarHeight = 20;

struct MainWindow {
  SDL_Window* sdl = nullptr;
  std::uint32_t style = 0;     // the WS_* bits the display set-up reads and writes
  bool menu_attached = false;  // the File menu bar is drawn above the picture
  // Another program's X window (a screensaver's): never moved, resized or given a menu.
  bool foreign = false;
  // Windowed, the picture area is this many times 640x480 (the portable code still sees
  // 640x480: sizes and positions are scaled here and in the display).
  int scale = 1;
  // Where the picture was last drawn in the window, for mapping the mouse back to it.
  PictureArea picture = scaled_picture(0, kMenuBarHeight, 1);
  // Set when the window's contents were lost (exposed): the next frame repaints it all.
  bool repaint = false;
};

// The SDL window behind a handle; null for any handle other than window's.
SDL_Window* sdl_window(const MainWindow& window, WindowHandle handle);

// Pixels from the top of the SDL window to the picture area: the menu bar's height while
// it is attached, 0 otherwise.
int picture_top(const MainWindow& window);

// The picture pixel under a point of the window (a mouse position).
PicturePoint window_to_picture(const MainWindow& window, int x, int y);

}  // namespace platform::sdl2
