// USER32 window styles, menu bar, positions, work area, message boxes and the close request
// behind the portable WindowSystem.
#pragma once

#include "platform/win32/win32_session.h"
#include "platform/window_system.h"

namespace platform::win32 {

class Win32WindowSystem final : public WindowSystem {
 public:
  // session must outlive the window system.
  explicit Win32WindowSystem(const Win32Session& session) : session_(session) {}

  std::uint32_t get_style(WindowHandle window) override;
  void set_style(WindowHandle window, std::uint32_t style) override;
  std::uint32_t get_ex_style(WindowHandle window) override;
  bool has_menu(WindowHandle window) override;
  void attach_menu(WindowHandle window, int menu_id) override;
  void detach_menu(WindowHandle window) override;
  Rect adjust_window_rect(const Rect& client, std::uint32_t style, bool has_menu,
                          std::uint32_t ex_style) override;
  void set_window_size(WindowHandle window, std::int32_t width, std::int32_t height) override;
  void set_not_topmost(WindowHandle window) override;
  void move_window(WindowHandle window, std::int32_t x, std::int32_t y) override;
  Rect work_area() override;
  Rect window_rect(WindowHandle window) override;
  Rect client_rect_on_screen(WindowHandle window) override;
  std::int32_t screen_width() override;
  std::int32_t screen_height() override;
  void message_box(WindowHandle owner, const char* text, const char* caption,
                   std::uint32_t icon) override;
  void post_close(WindowHandle window) override;

 private:
  const Win32Session& session_;
};

}  // namespace platform::win32
