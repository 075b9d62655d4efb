// Where the player's window is and what lies under a point of it.
#include "platform/sdl2/sdl2_main_window.h"

namespace platform::sdl2 {

SDL_Window* sdl_window(const MainWindow& window, WindowHandle handle) {
  SDL_Window* sdl = window.sdl;
  return (sdl != nullptr && handle == static_cast<WindowHandle>(sdl)) ? sdl : nullptr;
}

int picture_top(const MainWindow& window) {
  return window.menu_attached ? kMenuBarHeight : 0;
}

PicturePoint window_to_picture(const MainWindow& window, int x, int y) {
  return to_picture(window.picture, x, y);
}

}  // namespace platform::sdl2
