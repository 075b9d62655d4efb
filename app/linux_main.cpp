// The Linux entry point: reads the command line, makes the SDL2 backends and the player over
// them, and runs the player's start-up and main loop, in its own window or in a
// screensaver's.
#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/player.h"
#include "app/shell.h"
#include "platform/sdl2/sdl2_backend.h"
#include "platform/sdl2/sdl2_x11_windows.h"

int main(int argc, char** argv) {
  const app::CommandLine line =
      app::parse_command_line(argc - 1, argv + 1, std::getenv("XSCREENSAVER_WINDOW"));
  if (const int answered = app::answer_command_line(line, stdout, stderr); answered >= 0) {
    return answered;
  }
  namespace sdl2 = platform::sdl2;
  // Without a display the player ends at once with code 1, as other X programs do.
  if (!sdl2::start_video()) return 1;

  sdl2::Sdl2Options options{.scale = line.scale};
  if (line.target != app::DrawTarget::kOwnWindow) {
    // A screensaver's window: the picture fills it as it is, SIGTERM ends the player.
    options.foreign_window =
        line.target == app::DrawTarget::kRootWindow ? sdl2::x11_root_window() : line.window_id;
    if (!sdl2::x11_window_exists(options.foreign_window)) {
      char text[80];
      std::snprintf(text, sizeof text, "moviquel: there is no X window 0x%lx on this display",
                    static_cast<unsigned long>(options.foreign_window));
      sdl2::stop_video();
      return app::refuse_usage(text, stderr);
    }
  }

  std::int32_t code = 0;
  {
    const std::unique_ptr<sdl2::Sdl2Backend> backend = sdl2::make_sdl2_backend(options);
    const bool windowed = line.target == app::DrawTarget::kOwnWindow && line.start_windowed;
    app::Player player(backend->services(),
                       windowed ? app::StartMode::kWindowed : app::StartMode::kFullScreen);
    code = app::win_main(player, backend->shell, 1 /* SW_SHOWNORMAL */);
    // A start-up failure or a failed frame leaves the window open; closing it releases
    // what is left of the display.
    backend->close(code);
  }
  sdl2::stop_video();
  return code;
}
