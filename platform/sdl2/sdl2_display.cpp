// The display system of the SDL backend.
#include "platform/sdl2/sdl2_display.h"

#include "platform/sdl2/sdl2_direct_draw.h"

namespace platform::sdl2 {

HResult Sdl2DisplaySystem::create_direct_draw(DirectDraw** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = new Sdl2DirectDraw(main_window_);
  return kS_OK;
}

DrawContext* Sdl2DisplaySystem::get_screen_dc() {
  return &screen_;
}

void Sdl2DisplaySystem::release_screen_dc(DrawContext*) {}

}  // namespace platform::sdl2
