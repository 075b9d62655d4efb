// SDL's start and end for the player, and making the Linux backends of one run.
#include "platform/sdl2/sdl2_backend.h"

#include <SDL.h>

#include <cstdio>

#include "platform/embedded/embedded_resources.h"
#include "platform/sdl2/sdl2_trace.h"
#include "platform/sdl2/sdl2_video_start.h"
#include "platform/sdl2/sdl2_x11_windows.h"

namespace platform::sdl2 {

bool start_video() {
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // A click that gives the window the focus acts, as on Windows; SDL drops it when it reads
  // the click within 10 ms of the focus (on a busy machine, the two are read together).
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  filter_x11_errors_under_sdl();
  if (init_video() != 0) {
    std::fprintf(stderr, "moviquel: no display: %s\n", SDL_GetError());
    return false;
  }
  filter_x11_errors();
  return true;
}

void stop_video() {
  SDL_Quit();
}

Sdl2Backend::Sdl2Backend(const Sdl2Options& options) : resources(embedded_resources()) {
  window.scale = options.scale;
  if (options.foreign_window != 0) shell.use_foreign_window(options.foreign_window);
}

Sdl2Backend::~Sdl2Backend() {
  if (!closed_) close(0);
}

Services Sdl2Backend::services() {
  return Services{&display, &windows, &resources, &shell, &clock};
}

void Sdl2Backend::close(int exit_code) {
  closed_ = true;
  shell.destroy_main_window();
  trace("exit %d, display objects alive %d", exit_code, window.live_display_objects);
}

std::unique_ptr<Sdl2Backend> make_sdl2_backend(const Sdl2Options& options) {
  return std::make_unique<Sdl2Backend>(options);
}

}  // namespace platform::sdl2
