// SDL's start and end for the player, and making the Linux backends of one run.
#include "platform/sdl2/sdl2_backend.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/embedded/embedded_resources.h"
#include "platform/sdl2/sdl2_termination.h"
#include "platform/sdl2/sdl2_trace.h"
#include "platform/sdl2/sdl2_video_start.h"
#include "platform/sdl2/sdl2_x11_windows.h"

namespace platform::sdl2 {

namespace {

bool named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Whether SDL may be left to pick its driver: as other X programs, the player refuses to
// run without its display rather than fall back on SDL's offscreen driver, which shows
// nothing. A driver the user names (wayland, or offscreen and dummy on purpose) is taken.
bool display_there(X11DisplayHold& hold) {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  const bool x11 = driver == nullptr || *driver == '\0' || std::strcmp(driver, "x11") == 0;
  if (!x11) return true;
  if (named("DISPLAY")) {
    if (hold.open()) return true;
    std::fprintf(stderr, "moviquel: cannot open display %s\n", std::getenv("DISPLAY"));
    return false;
  }
  // SDL tries Wayland after X11.
  if (driver == nullptr || *driver == '\0') {
    if (named("WAYLAND_DISPLAY")) return true;
  }
  std::fprintf(stderr, "moviquel: no display\n");
  return false;
}

}  // namespace

bool start_video() {
  X11DisplayHold display_hold;  // until SDL has its own connection
  if (!display_there(display_hold)) return false;
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // A click that gives the window the focus acts, as on Windows; SDL drops it when it reads
  // the click within 10 ms of the focus (on a busy machine, the two are read together).
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  filter_x11_errors_under_sdl();
  if (!catch_termination()) {
    std::fprintf(stderr, "moviquel: cannot catch SIGINT and SIGTERM\n");
    return false;
  }
  if (init_video() != 0) {
    std::fprintf(stderr, "moviquel: no display: %s\n", SDL_GetError());
    release_termination();
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  if (driver != nullptr && (chosen == nullptr || *chosen == '\0') &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    // Wayland was named but could not be reached.
    if (named("WAYLAND_DISPLAY")) {
      std::fprintf(stderr, "moviquel: cannot open display %s\n", std::getenv("WAYLAND_DISPLAY"));
    } else {
      std::fprintf(stderr, "moviquel: no display\n");
    }
    stop_video();
    return false;
  }
  filter_x11_errors();
  return true;
}

void stop_video() {
  release_termination();
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
  trace("exit %d, display objects alive %d", exit_code, display.live_objects());
}

std::unique_ptr<Sdl2Backend> make_sdl2_backend(const Sdl2Options& options) {
  return std::make_unique<Sdl2Backend>(options);
}

}  // namespace platform::sdl2
