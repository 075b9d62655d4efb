// The Linux backends of one run over SDL2, made together over one window: the display
// (the memory DirectDraw shown in the window), the window system, the shell services with the
// message queue, the compiled-in resources and the system clock.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/embedded/embedded_resource_store.h"
#include "platform/sdl2/sdl2_display.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_shell.h"
#include "platform/sdl2/sdl2_window_system.h"
#include "platform/system_clock.h"
#include "platform/window_system.h"

namespace platform::sdl2 {

// Starts SDL's video for the player (its own drawing, no renderer, no joystick, no
// sound) and lets the one harmless X error pass. False, with the reason on standard error,
// when there is no display.
bool start_video();
// Ends SDL; after the backend is gone.
void stop_video();

struct Sdl2Options {
  // Windowed, the picture area is this many times 640x480 (the portable code still sees
  // 640x480), as far as the screen holds it; 0 for about four fifths of the screen.
  int scale = 0;
  // Another program's X window (a screensaver's) to draw into as it is, its input left to
  // its owner; 0 for a window of the player's own.
  std::uintptr_t foreign_window = 0;
};

struct Sdl2Backend {
  explicit Sdl2Backend(const Sdl2Options& options);
  // close(0) unless closed already.
  ~Sdl2Backend();
  Sdl2Backend(const Sdl2Backend&) = delete;
  Sdl2Backend& operator=(const Sdl2Backend&) = delete;

  // The backends as the portable code takes them (none owned by the result).
  Services services();
  // Destroys the main window if it is still there (its procedure sees WM_DESTROY, which
  // releases what is left of the display), and traces the exit code and the display
  // objects still alive. The cursors go with the backend.
  void close(int exit_code);

  MainWindow window;
  Sdl2Shell shell{window};
  Sdl2WindowSystem windows{window, [this](const Message& m) { shell.post(m); }};
  Sdl2DisplaySystem display{window};
  EmbeddedResourceStore resources;
  SystemClock clock;

 private:
  bool closed_ = false;
};

// The backends over options; after start_video.
std::unique_ptr<Sdl2Backend> make_sdl2_backend(const Sdl2Options& options);

}  // namespace platform::sdl2
