// How many times the window enlarges its 640x480 picture: what --scale asks for, as far as
// the screen holds it, or by default a window that takes about four fifths of the screen.
#pragma once

namespace platform::sdl2 {

struct WindowScale {
  int scale = 1;
  bool reduced = false;  // the scale asked for did not fit
};

// For a picture area below a menu bar menu_height high, on a usable screen area of
// width x height: requested (1 to 8) when its window fits the area, else the largest whole
// number that does (at least 1); with requested 0, the largest whose window fits 80 % of
// the area each way (at least 1).
WindowScale choose_window_scale(int requested, int width, int height, int menu_height);

}  // namespace platform::sdl2
