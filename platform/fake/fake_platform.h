// The whole in-memory platform of the tests in one object: display, window system and
// shell stand-ins, installed into platform::services() for the object's lifetime.
#pragma once

#include "platform/fake/fake_display.h"
#include "platform/fake/fake_window_system.h"
#include "platform/window_system.h"

namespace platform::fake {

class FakePlatform {
 public:
  // Installs the stand-ins (the resource store is left as it was).
  FakePlatform();
  // Puts back the services that were installed before.
  ~FakePlatform();
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  FakeDisplaySystem display;
  FakeWindowSystem windows{&display};
  FakeShellSystem shell;

  WindowHandle window() { return windows.window(); }
  // 0x00RRGGBB of pixel (x, y) of the window's client area as it is on the screen now,
  // kNoPixel outside the screen or without a primary surface. In full screen the client
  // area is the screen.
  std::uint32_t client_rgb(std::int32_t x, std::int32_t y);

 private:
  Services saved_;
};

}  // namespace platform::fake
