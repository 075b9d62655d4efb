// The stand-in platform's set-up and its view of the screen.
#include "tests/support/fake_platform.h"

namespace test_support {

FakePlatform::FakePlatform() {
  shell.set_main_window(windows.window());
}

std::uint32_t FakePlatform::client_rgb(std::int32_t x, std::int32_t y) {
  if (display.full_screen_mode_set()) return display.screen_rgb(x, y);
  const platform::Rect client = windows.client_rect_on_screen(window());
  if (x < 0 || y < 0 || x >= client.right - client.left || y >= client.bottom - client.top) {
    return platform::emulated::kNoPixel;
  }
  return display.screen_rgb(client.left + x, client.top + y);
}

}  // namespace test_support
