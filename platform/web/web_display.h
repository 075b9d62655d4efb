// DirectDraw in the browser: the memory display (platform/emulated) on a 640×480 desktop in
// the 16-bit 5-6-5 layout, which is also its full-screen mode, with the canvas as its screen
// (browser_page.h). What full screen means on the page is the page's.
#pragma once

#include "platform/emulated/memory_display.h"

namespace platform::web {

class WebDisplaySystem : public emulated::MemoryDisplaySystem {
 public:
  // The display on screen, which must outlive it; every frame it shows is 640×480 5-6-5.
  explicit WebDisplaySystem(emulated::MemoryScreen* screen) {
    set_desktop(640, 480, emulated::format_565());
    set_screen(screen);
  }
};

}  // namespace platform::web
