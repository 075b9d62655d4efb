// Storage of the player's window state.
#include "platform/sdl2/sdl2_main_window.h"

namespace platform::sdl2 {

MainWindow& main_window() {
  static MainWindow window;
  return window;
}

SDL_Window* sdl_window(WindowHandle window) {
  SDL_Window* sdl = main_window().sdl;
  return (sdl != nullptr && window == static_cast<WindowHandle>(sdl)) ? sdl : nullptr;
}

int picture_top() {
  return main_window().menu_attached ? kMenuBarHeight : 0;
}

PicturePoint window_to_picture(int x, int y) {
  return to_picture(main_window().picture, x, y);
}

}  // namespace platform::sdl2
