// DirectDraw on Linux: the memory display (platform/emulated) with the player's SDL window as
// its screen (sdl2_screen.h). Its desktop is the window's 640x480 picture area in the
// desktop's pixel format; its full-screen mode is 640x480 16-bit wherever the screen can
// show it. The display objects alive are counted for the trace at exit.
#pragma once

#include "platform/emulated/memory_display.h"
#include "platform/emulated/memory_tap.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_screen.h"

namespace platform::sdl2 {

class Sdl2DisplaySystem : public emulated::MemoryDisplaySystem, private emulated::MemoryTap {
 public:
  // The display of window, which must outlive it and every object it makes.
  explicit Sdl2DisplaySystem(MainWindow& window);
  // Takes the desktop's format and whether the full-screen mode exists as they are now, as a
  // DirectDraw object made now would find them, then makes it.
  HResult create_direct_draw(DirectDraw** out) override;

  // DirectDraw objects, surfaces and clippers alive now.
  int live_objects() const { return live_; }

 private:
  // MemoryTap: only the objects' lives and misuses are followed.
  HResult enter(emulated::Op) override { return kS_OK; }
  HResult enter(emulated::Op, std::uint32_t) override { return kS_OK; }
  void surface_requested(const SurfaceDesc&) override {}
  void live(emulated::Kind kind, int delta) override;
  void misuse(const char* what) override;

  Sdl2Screen screen_;
  int live_ = 0;
};

}  // namespace platform::sdl2
