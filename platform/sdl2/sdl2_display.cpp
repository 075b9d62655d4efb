// The display system of the SDL backend.
#include "platform/sdl2/sdl2_display.h"

#include "platform/picture_fit/picture_fit.h"
#include "platform/sdl2/sdl2_trace.h"

namespace platform::sdl2 {

Sdl2DisplaySystem::Sdl2DisplaySystem(MainWindow& window) : screen_(window, *this) {
  set_desktop(kPictureWidth, kPictureHeight, emulated::format_32());
  set_screen(&screen_);
  set_tap(this);
}

HResult Sdl2DisplaySystem::create_direct_draw(DirectDraw** out) {
  screen_.follow_desktop();
  PixelFormatDesc mode;
  const bool mode_there = screen_.full_screen_mode(&mode);
  set_mode_640x480x16(mode_there, mode);
  screen_.repaint_all();
  return MemoryDisplaySystem::create_direct_draw(out);
}

void Sdl2DisplaySystem::live(emulated::Kind kind, int delta) {
  if (kind != emulated::Kind::kDrawContext) live_ += delta;
}

void Sdl2DisplaySystem::misuse(const char* what) {
  trace("display misuse: %s", what);
}

}  // namespace platform::sdl2
