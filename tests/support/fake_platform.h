// The whole in-memory platform of the tests in one object: display, window system and
// shell stand-ins, handed out together as the portable code's services.
#pragma once

#include "platform/window_system.h"
#include "tests/support/fake_display.h"
#include "tests/support/fake_window_system.h"

namespace test_support {

class FakePlatform {
 public:
  // The stand-ins, with the window system's window as the shell's main window.
  FakePlatform();
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  FakeDisplaySystem display;
  FakeWindowSystem windows{display};
  FakeShellSystem shell;

  platform::WindowHandle window() { return windows.window(); }
  // The stand-ins as services, with the given resource store and clock (not owned).
  platform::Services services(platform::ResourceStore* resources = nullptr,
                              platform::Clock* clock = nullptr) {
    return platform::Services{&display, &windows, resources, &shell, clock};
  }
  // 0x00RRGGBB of pixel (x, y) of the window's client area as it is on the screen now,
  // kNoPixel outside the screen or without a primary surface. In full screen the client
  // area is the screen.
  std::uint32_t client_rgb(std::int32_t x, std::int32_t y);
};

}  // namespace test_support
