// The DirectDraw object over SDL: cooperative level, display mode, surfaces and clipper,
// and the tests of the display's state.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/direct_draw.h"
#include "platform/reference_counted.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_surface.h"

namespace platform::sdl2 {

class Sdl2DirectDraw : public ReferenceCounted<DirectDraw> {
 public:
  explicit Sdl2DirectDraw(MainWindow& main_window);
  HResult set_cooperative_level(WindowHandle window, std::uint32_t flags) override;
  // 640x480x16: the display's own mode when it lists it (the window goes full screen in
  // that mode), else SDL's desktop full screen on a desktop of at least 640x480; in
  // another program's window, that window as it is. Any other mode, a smaller desktop, or
  // MQ_SDL2_NO_640X480X16 in the environment (for tests of the refusal): kE_FAIL.
  HResult set_display_mode(std::uint32_t width, std::uint32_t height,
                           std::uint32_t bits_per_pixel) override;
  HResult create_surface(const SurfaceDesc& desc, Surface** out) override;
  HResult create_clipper(Clipper** out) override;
  HResult restore_all_surfaces() override;
  // Full screen: kDDERR_NOEXCLUSIVEMODE while the window is minimised or hidden. Windowed:
  // kDDERR_WRONGMODE once the desktop's pixel format differs from the one at set-up.
  HResult test_cooperative_level() override;

  void forget(Sdl2Surface* surface);

 protected:
  ~Sdl2DirectDraw() override;

 private:
  // The pixel format of off-screen surfaces: the full-screen mode's, or the desktop's in
  // the layout DirectDraw gives it (x8r8g8b8, b8g8r8 in memory, or the 16-bit layout).
  Uint32 offscreen_format() const;

  MainWindow& main_window_;
  SDL_Window* window_ = nullptr;
  bool exclusive_ = false;
  bool full_screen_ = false;
  Uint32 mode_format_ = SDL_PIXELFORMAT_UNKNOWN;
  Uint32 desktop_format_ = SDL_PIXELFORMAT_UNKNOWN;
  std::vector<Sdl2Surface*> surfaces_;
};

}  // namespace platform::sdl2
