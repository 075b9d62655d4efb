// The SDL implementation of the DirectDraw clipper.
#include "platform/sdl2/sdl2_clipper.h"

#include "platform/sdl2/sdl2_display.h"
#include "platform/sdl2/sdl2_main_window.h"

namespace platform::sdl2 {

Sdl2Clipper::Sdl2Clipper() {
  count_display_object(+1);
}
Sdl2Clipper::~Sdl2Clipper() {
  count_display_object(-1);
}
// Blits onto the window's surface are clipped to it by SDL already.
HResult Sdl2Clipper::set_hwnd(WindowHandle window) {
  return sdl_window(window) != nullptr ? kS_OK : kE_INVALIDARG;
}

}  // namespace platform::sdl2
