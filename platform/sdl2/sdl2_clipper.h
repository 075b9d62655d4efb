// A DirectDraw clipper over SDL: blits onto the window's surface are clipped by SDL
// already, so it only checks the window it is given.
#pragma once

#include "platform/direct_draw.h"
#include "platform/reference_counted.h"

namespace platform::sdl2 {

class Sdl2Clipper : public ReferenceCounted<Clipper> {
 public:
  Sdl2Clipper();
  HResult set_hwnd(WindowHandle window) override;

 protected:
  ~Sdl2Clipper() override;
};

}  // namespace platform::sdl2
