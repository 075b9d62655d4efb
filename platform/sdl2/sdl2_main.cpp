// The Linux entry point: reads the command line, installs the SDL2 backends and the
// compiled-in resources as the platform services and runs the player's start-up and main
// loop, in its own window or in a screensaver's.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/shell.h"
#include "app/shell_state.h"
#include "platform/embedded/embedded_resource_store.h"
#include "platform/sdl2/sdl2_cursors.h"
#include "platform/sdl2/sdl2_display.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_shell.h"
#include "platform/sdl2/sdl2_trace.h"
#include "platform/sdl2/sdl2_window_system.h"
#include "platform/sdl2/sdl2_x11_windows.h"
#include "platform/window_system.h"

int main(int argc, char** argv) {
  const app::CommandLine line =
      app::parse_command_line(argc - 1, argv + 1, std::getenv("XSCREENSAVER_WINDOW"));
  if (const int answered = app::answer_command_line(line, stdout, stderr); answered >= 0) {
    return answered;
  }

  // The player draws into its window's surface itself: no renderer, no joystick, no
  // sound. Without a display there is no window: the program ends with code 0.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // The window's surface goes straight to the X server (shared memory) instead of through
  // an OpenGL texture, which on a machine without a GPU costs a software rasteriser and
  // its threads.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // A click that gives the window the focus acts, as on Windows; SDL drops it when it reads
  // the click within 10 ms of the focus (on a busy machine, the two are read together).
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  platform::sdl2::filter_x11_errors_under_sdl();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "moviquel: no display: %s\n", SDL_GetError());
    return 0;
  }
  namespace sdl2 = platform::sdl2;
  sdl2::filter_x11_errors();
  static sdl2::Sdl2Shell shell;
  static sdl2::Sdl2WindowSystem windows([](const platform::Message& m) { shell.post(m); });
  static sdl2::Sdl2DisplaySystem display;
  static platform::EmbeddedResourceStore resources(platform::embedded_resources());
  platform::Services& services = platform::services();
  services.display = &display;
  services.windows = &windows;
  services.resources = &resources;
  services.shell = &shell;

  sdl2::main_window().scale = line.scale;
  if (line.target == app::DrawTarget::kOwnWindow) {
    if (line.start_windowed) app::windowed = 1;
  } else {
    // A screensaver's window: the picture fills it as it is, SIGTERM ends the player.
    const std::uintptr_t target =
        line.target == app::DrawTarget::kRootWindow ? sdl2::x11_root_window() : line.window_id;
    if (!sdl2::x11_window_exists(target)) {
      char text[80];
      std::snprintf(text, sizeof text, "moviquel: there is no X window 0x%lx on this display",
                    static_cast<unsigned long>(target));
      SDL_Quit();
      return app::refuse_usage(text, stderr);
    }
    shell.use_foreign_window(target);
  }

  const std::int32_t code = app::win_main(shell, 1 /* SW_SHOWNORMAL */);
  // A start-up failure or a failed frame leaves the window open; closing it releases
  // what is left of the display.
  shell.destroy_main_window();
  sdl2::trace("exit %d, display objects alive %d", code, sdl2::live_display_objects());
  sdl2::free_cursors();
  SDL_Quit();
  return code;
}
