// A DirectDraw clipper over SDL: blits onto the window's surface are clipped by SDL
// already, so it only checks the window it is given.
#pragma once

#include "platform/direct_draw.h"
#include "platform/reference_counted.h"
#include "platform/sdl2/sdl2_main_window.h"

namespace platform::sdl2 {

class Sdl2Clipper : public ReferenceCounted<Clipper> {
 public:
  explicit Sdl2Clipper(MainWindow& main_window);
  HResult set_hwnd(WindowHandle window) override;

 protected:
  ~Sdl2Clipper() override;

 private:
  MainWindow& main_window_;
};

}  // namespace platform::sdl2
