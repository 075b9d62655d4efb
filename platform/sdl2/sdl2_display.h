// DirectDraw over SDL: the display system that makes the display object
// (sdl2_direct_draw.h). Windowed, the primary
// surface is the window's picture area in the desktop's pixel format and the back buffer
// is blitted onto it (enlarged when the window is). In full screen the primary has a
// flipping chain of 640x480 16-bit surfaces whose back buffer is shown by flip: on a
// display that offers 640x480 with 16 bits per pixel in that mode; on any other desktop of
// at least 640x480 over the whole desktop, the picture enlarged by whole numbers, centred
// between black bars; in another program's window (a screensaver's), fitted to it.
#pragma once

#include "platform/direct_draw.h"
#include "platform/sdl2/sdl2_draw_context.h"
#include "platform/sdl2/sdl2_main_window.h"

namespace platform::sdl2 {

class Sdl2DisplaySystem : public DisplaySystem {
 public:
  // The display of window, which must outlive it and every object it makes.
  explicit Sdl2DisplaySystem(MainWindow& window) : main_window_(window) {}
  HResult create_direct_draw(DirectDraw** out) override;
  DrawContext* get_screen_dc() override;
  void release_screen_dc(DrawContext* context) override;

 private:
  MainWindow& main_window_;
  Sdl2DrawContext screen_{nullptr};
};

}  // namespace platform::sdl2
