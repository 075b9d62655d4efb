// The SDL implementation of the DirectDraw clipper.
#include "platform/sdl2/sdl2_clipper.h"

#include "platform/sdl2/sdl2_display.h"
#include "platform/sdl2/sdl2_main_window.h"

namespace platform::sdl2 {

Sdl2Clipper::Sdl2Clipper(MainWindow& main_window) : main_window_(main_window) {
  ++main_window_.live_display_objects;
}
Sdl2Clipper::~Sdl2Clipper() {
  --main_window_.live_display_objects;
}
// Blits onto the window's surface are clipped to it by SDL already.
HResult Sdl2Clipper::set_hwnd(WindowHandle window) {
  return sdl_window(main_window_, window) != nullptr ? kS_OK : kE_INVALIDARG;
}

}  // namespace platform::sdl2
