// USER32 calls for the display set-up: styles, menu, sizes, positions and message boxes.
#include "platform/win32/win32_window_system.h"

namespace platform::win32 {

namespace {

HWND hwnd(WindowHandle window) {
  return static_cast<HWND>(window);
}

bool preview(const Win32Session& session) {
  return session.kind == MainWindowKind::kPreview;
}

}  // namespace

std::uint32_t Win32WindowSystem::get_style(WindowHandle window) {
  return static_cast<std::uint32_t>(GetWindowLongA(hwnd(window), GWL_STYLE));
}

void Win32WindowSystem::set_style(WindowHandle window, std::uint32_t style) {
  if (preview(session_)) return;
  SetWindowLongA(hwnd(window), GWL_STYLE, static_cast<LONG>(style));
}

std::uint32_t Win32WindowSystem::get_ex_style(WindowHandle window) {
  return static_cast<std::uint32_t>(GetWindowLongA(hwnd(window), GWL_EXSTYLE));
}

bool Win32WindowSystem::has_menu(WindowHandle window) {
  return GetMenu(hwnd(window)) != nullptr;
}

void Win32WindowSystem::attach_menu(WindowHandle window, int menu_id) {
  // A screen saver has no menu; a child window cannot have one.
  if (session_.kind != MainWindowKind::kPlayer) return;
  HMENU previous = GetMenu(hwnd(window));
  HMENU menu = LoadMenuA(session_.instance, MAKEINTRESOURCEA(menu_id));
  if (menu == nullptr) return;
  SetMenu(hwnd(window), menu);
  // A menu taken off a window is no longer destroyed with it, so each switch between
  // full screen and window would otherwise leave one loaded menu behind.
  if (previous != nullptr && previous != menu) DestroyMenu(previous);
}

void Win32WindowSystem::detach_menu(WindowHandle window) {
  HMENU previous = GetMenu(hwnd(window));
  SetMenu(hwnd(window), nullptr);
  if (previous != nullptr) DestroyMenu(previous);
}

Rect Win32WindowSystem::adjust_window_rect(const Rect& client, std::uint32_t style, bool has_menu,
                                           std::uint32_t ex_style) {
  RECT rect = to_rect(client);
  AdjustWindowRectEx(&rect, style, has_menu ? TRUE : FALSE, ex_style);
  return from_rect(rect);
}

void Win32WindowSystem::set_window_size(WindowHandle window, std::int32_t width,
                                        std::int32_t height) {
  if (preview(session_)) return;
  SetWindowPos(hwnd(window), nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32WindowSystem::set_not_topmost(WindowHandle window) {
  if (preview(session_)) return;
  SetWindowPos(hwnd(window), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32WindowSystem::move_window(WindowHandle window, std::int32_t x, std::int32_t y) {
  if (preview(session_)) return;
  SetWindowPos(hwnd(window), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32WindowSystem::work_area() {
  RECT rect{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
  return from_rect(rect);
}

Rect Win32WindowSystem::window_rect(WindowHandle window) {
  RECT rect{};
  GetWindowRect(hwnd(window), &rect);
  return from_rect(rect);
}

Rect Win32WindowSystem::client_rect_on_screen(WindowHandle window) {
  RECT rect{};
  GetClientRect(hwnd(window), &rect);
  POINT top_left{rect.left, rect.top};
  POINT bottom_right{rect.right, rect.bottom};
  ClientToScreen(hwnd(window), &top_left);
  ClientToScreen(hwnd(window), &bottom_right);
  return Rect{static_cast<std::int32_t>(top_left.x), static_cast<std::int32_t>(top_left.y),
              static_cast<std::int32_t>(bottom_right.x), static_cast<std::int32_t>(bottom_right.y)};
}

std::int32_t Win32WindowSystem::screen_width() {
  return GetSystemMetrics(SM_CXSCREEN);
}

std::int32_t Win32WindowSystem::screen_height() {
  return GetSystemMetrics(SM_CYSCREEN);
}

void Win32WindowSystem::message_box(WindowHandle owner, const char* text, const char* caption,
                                    std::uint32_t icon) {
  // A preview in the settings dialog's box ends quietly.
  if (preview(session_)) return;
  MessageBoxA(hwnd(owner), text, caption, MB_OK | icon);
}

void Win32WindowSystem::post_close(WindowHandle window) {
  PostMessageA(hwnd(window), WM_CLOSE, 0, 0);
}

}  // namespace platform::win32
