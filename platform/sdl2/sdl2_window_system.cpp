// The window system over SDL: the window's size follows the picture area (enlarged by the
// window's scale) and the menu bar. Another program's window is left as it is.
#include "platform/sdl2/sdl2_window_system.h"

#include <cstdio>
#include <cstdlib>

#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_message_window.h"
#include "platform/sdl2/sdl2_trace.h"

namespace platform::sdl2 {

namespace {

struct Borders {
  int top = 0, left = 0, bottom = 0, right = 0;
};

// The window manager's frame around the SDL window (none without a window manager).
Borders borders_of(SDL_Window* window) {
  Borders b;
  if (SDL_GetWindowBordersSize(window, &b.top, &b.left, &b.bottom, &b.right) != 0) return {};
  return b;
}

int display_of(SDL_Window* window) {
  const int index = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
  return index < 0 ? 0 : index;
}

void resize_keeping_picture(SDL_Window* window, int height_change) {
  int width = 0, height = 0;
  SDL_GetWindowSize(window, &width, &height);
  SDL_SetWindowSize(window, width, height + height_change);
}

}  // namespace

std::uint32_t Sdl2WindowSystem::get_style(WindowHandle window) {
  return sdl_window(main_window_, window) != nullptr ? main_window_.style : 0;
}

void Sdl2WindowSystem::set_style(WindowHandle window, std::uint32_t style) {
  if (sdl_window(main_window_, window) != nullptr) main_window_.style = style;
}

std::uint32_t Sdl2WindowSystem::get_ex_style(WindowHandle) {
  return 0;
}

bool Sdl2WindowSystem::has_menu(WindowHandle window) {
  return sdl_window(main_window_, window) != nullptr && main_window_.menu_attached;
}

void Sdl2WindowSystem::attach_menu(WindowHandle window, int) {
  SDL_Window* sdl = sdl_window(main_window_, window);
  if (sdl == nullptr || main_window_.menu_attached || main_window_.foreign) return;
  main_window_.menu_attached = true;
  if ((SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN) == 0) {
    resize_keeping_picture(sdl, kMenuBarHeight);
  }
}

void Sdl2WindowSystem::detach_menu(WindowHandle window) {
  SDL_Window* sdl = sdl_window(main_window_, window);
  if (sdl == nullptr || !main_window_.menu_attached) return;
  main_window_.menu_attached = false;
  if ((SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN) == 0) {
    resize_keeping_picture(sdl, -kMenuBarHeight);
  }
}

Rect Sdl2WindowSystem::adjust_window_rect(const Rect& client, std::uint32_t, bool with_menu,
                                          std::uint32_t) {
  Rect outer = client;
  if (with_menu) outer.top -= kMenuBarHeight;
  return outer;
}

void Sdl2WindowSystem::set_window_size(WindowHandle window, std::int32_t width,
                                       std::int32_t height) {
  SDL_Window* sdl = sdl_window(main_window_, window);
  if (sdl == nullptr || main_window_.foreign) return;
  // The sizes are those of a 640x480 picture area; the menu bar keeps its own height.
  const int scale = main_window_.scale;
  const int top = picture_top(main_window_);
  SDL_SetWindowSize(sdl, width * scale, (height - top) * scale + top);
}

void Sdl2WindowSystem::set_not_topmost(WindowHandle window) {
  SDL_Window* sdl = sdl_window(main_window_, window);
  if (sdl != nullptr && !main_window_.foreign) SDL_SetWindowAlwaysOnTop(sdl, SDL_FALSE);
}

void Sdl2WindowSystem::move_window(WindowHandle window, std::int32_t x, std::int32_t y) {
  SDL_Window* sdl = sdl_window(main_window_, window);
  if (sdl == nullptr || main_window_.foreign) return;
  const Borders b = borders_of(sdl);
  SDL_SetWindowPosition(sdl, x + b.left, y + b.top);
}

Rect Sdl2WindowSystem::work_area() {
  SDL_Rect area{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(display_of(main_window_.sdl), &area) != 0) return {};
  return Rect{area.x, area.y, area.x + area.w, area.y + area.h};
}

Rect Sdl2WindowSystem::window_rect(WindowHandle window) {
  SDL_Window* sdl = sdl_window(main_window_, window);
  if (sdl == nullptr) return {};
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(sdl, &x, &y);
  SDL_GetWindowSize(sdl, &width, &height);
  const Borders b = borders_of(sdl);
  return Rect{x - b.left, y - b.top, x + width + b.right, y + height + b.bottom};
}

Rect Sdl2WindowSystem::client_rect_on_screen(WindowHandle window) {
  if (sdl_window(main_window_, window) == nullptr) return {};
  // The picture area is the whole desktop of the memory display (sdl2_display.h), wherever
  // the window is and however much it is enlarged.
  return Rect{0, 0, kPictureWidth, kPictureHeight};
}

std::int32_t Sdl2WindowSystem::screen_width() {
  SDL_DisplayMode mode;
  return SDL_GetCurrentDisplayMode(display_of(main_window_.sdl), &mode) == 0 ? mode.w : 0;
}

std::int32_t Sdl2WindowSystem::screen_height() {
  SDL_DisplayMode mode;
  return SDL_GetCurrentDisplayMode(display_of(main_window_.sdl), &mode) == 0 ? mode.h : 0;
}

void Sdl2WindowSystem::message_box(WindowHandle owner, const char* text, const char* caption,
                                   std::uint32_t) {
  // In a screensaver's window no one may answer a message box: the text goes to standard
  // error alone.
  if (main_window_.foreign) {
    std::fprintf(stderr, "moviquel: %s\n", text);
    return;
  }
  trace("message box \"%s\": %s", caption, text);
  // Standard error keeps the message also where no window at all can be opened. The box is
  // the backend's own window rather than SDL's system box, which a forked child shows
  // while the player waits for it in waitpid, deaf to SIGTERM.
  std::fprintf(stderr, "moviquel: \"%s\": %s\n", caption, text);
  if (!run_message_window(sdl_window(main_window_, owner), caption, text)) {
    std::fprintf(stderr, "moviquel: cannot open a message window: %s\n", SDL_GetError());
  }
}

void Sdl2WindowSystem::post_close(WindowHandle window) {
  Message message;
  message.window = window;
  message.id = kWM_CLOSE;
  post_(message);
}

}  // namespace platform::sdl2
