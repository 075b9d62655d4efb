// The window-system operations the display set-up and the shell need: window styles,
// the menu bar, positions and the work area, message boxes and the close request.
// Each backend implements them; the tests' stand-in records every call.
#pragma once

#include <cstdint>

#include "platform/direct_draw.h"

namespace platform {

// Window style bits (WS_*) with the Windows values.
inline constexpr std::uint32_t kStylePopup = 0x80000000u;
inline constexpr std::uint32_t kStyleCaption = 0x00C00000u;
inline constexpr std::uint32_t kStyleSysMenu = 0x00080000u;
inline constexpr std::uint32_t kStyleThickFrame = 0x00040000u;
inline constexpr std::uint32_t kStyleMinimizeBox = 0x00020000u;

// Message box icon (MB_ICONERROR); the boxes always have only an OK button.
inline constexpr std::uint32_t kMessageBoxIconError = 0x10u;

// The menu resource attached to the main window in windowed mode.
inline constexpr int kMainMenuId = 102;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // GetWindowLongA / SetWindowLongA with GWL_STYLE and GWL_EXSTYLE.
  virtual std::uint32_t get_style(WindowHandle window) = 0;
  virtual void set_style(WindowHandle window, std::uint32_t style) = 0;
  virtual std::uint32_t get_ex_style(WindowHandle window) = 0;

  // GetMenu(window) != null.
  virtual bool has_menu(WindowHandle window) = 0;
  // SetMenu(window, LoadMenuA(instance, menu_id)) to attach, SetMenu(window, null) to detach.
  virtual void attach_menu(WindowHandle window, int menu_id) = 0;
  virtual void detach_menu(WindowHandle window) = 0;

  // AdjustWindowRectEx: the outer rectangle for a client rectangle.
  virtual Rect adjust_window_rect(const Rect& client, std::uint32_t style, bool has_menu,
                                  std::uint32_t ex_style) = 0;
  // SetWindowPos with SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE.
  virtual void set_window_size(WindowHandle window, std::int32_t width, std::int32_t height) = 0;
  // SetWindowPos to HWND_NOTOPMOST with SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE.
  virtual void set_not_topmost(WindowHandle window) = 0;
  // SetWindowPos with SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE.
  virtual void move_window(WindowHandle window, std::int32_t x, std::int32_t y) = 0;
  // SystemParametersInfoA(SPI_GETWORKAREA).
  virtual Rect work_area() = 0;
  // GetWindowRect: the outer rectangle in screen coordinates.
  virtual Rect window_rect(WindowHandle window) = 0;
  // GetClientRect with both corners through ClientToScreen.
  virtual Rect client_rect_on_screen(WindowHandle window) = 0;
  // GetSystemMetrics(SM_CXSCREEN), (SM_CYSCREEN).
  virtual std::int32_t screen_width() = 0;
  virtual std::int32_t screen_height() = 0;

  // MessageBoxA(owner, text, caption, MB_OK | icon); modal, returns when answered.
  virtual void message_box(WindowHandle owner, const char* text, const char* caption,
                           std::uint32_t icon) = 0;
  // PostMessageA(window, WM_CLOSE, 0, 0).
  virtual void post_close(WindowHandle window) = 0;
};

class Clock;          // milliseconds and the wait (platform/clock.h)
class ResourceStore;  // embedded resources by id and type (platform/resource_store.h)
class ShellSystem;    // message loop, cursors, dialogs, web page (platform/shell_system.h)

// The backends the portable code runs on, made by the entry (or a test) and handed down.
// None of them is owned here.
struct Services {
  DisplaySystem* display = nullptr;
  WindowSystem* windows = nullptr;
  ResourceStore* resources = nullptr;
  ShellSystem* shell = nullptr;
  Clock* clock = nullptr;
};

}  // namespace platform
