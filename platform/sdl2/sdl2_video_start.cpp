#include "platform/sdl2/sdl2_video_start.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace platform::sdl2 {

int init_video() {
  // SDL 2.26 has no hint for it: its X11 and Wayland drivers read this variable as the
  // video subsystem starts and give the class to each window they create.
  setenv("SDL_VIDEO_X11_WMCLASS", kWindowClass, 0);
  const int started = SDL_Init(SDL_INIT_VIDEO);
  if (started != 0) return started;
  // On X11 the window's surface goes to the server through shared memory instead of an
  // OpenGL texture, which on a machine without a GPU costs a software rasteriser and its
  // threads. SDL reads the hint when it makes the first window surface. Wayland has no
  // surface of that kind in SDL 2.26: there the texture is the only way to the screen.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  }
  return 0;
}

}  // namespace platform::sdl2
