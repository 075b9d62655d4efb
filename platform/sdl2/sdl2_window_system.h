// The window-system operations of the display set-up and the shell over the SDL window:
// style bits, the drawn menu bar, sizes and positions, the work area, message boxes and
// the close request.
#pragma once

#include <functional>

#include "platform/message_pump.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/window_system.h"

namespace platform::sdl2 {

class Sdl2WindowSystem : public WindowSystem {
 public:
  // post puts a message at the end of the thread's queue (the close request).
  // window must outlive the window system.
  Sdl2WindowSystem(MainWindow& window, std::function<void(const Message&)> post)
      : main_window_(window), post_(std::move(post)) {}

  std::uint32_t get_style(WindowHandle window) override;
  void set_style(WindowHandle window, std::uint32_t style) override;
  std::uint32_t get_ex_style(WindowHandle window) override;
  bool has_menu(WindowHandle window) override;
  // The menu bar sits above the picture area, so attaching or detaching it grows or
  // shrinks the window and keeps the picture area as it is.
  void attach_menu(WindowHandle window, int menu_id) override;
  void detach_menu(WindowHandle window) override;
  Rect adjust_window_rect(const Rect& client, std::uint32_t style, bool has_menu,
                          std::uint32_t ex_style) override;
  void set_window_size(WindowHandle window, std::int32_t width, std::int32_t height) override;
  void set_not_topmost(WindowHandle window) override;
  void move_window(WindowHandle window, std::int32_t x, std::int32_t y) override;
  Rect work_area() override;
  Rect window_rect(WindowHandle window) override;
  // The picture area below the menu bar on the memory display's desktop, which it fills.
  Rect client_rect_on_screen(WindowHandle window) override;
  std::int32_t screen_width() override;
  std::int32_t screen_height() override;
  // A modal message box with one OK button, answered by Enter, Esc or a click, in the
  // backend's own window (run_message_window); the caption and the text also go to
  // standard error. With MQ_SDL2_TRACE set in the environment the box is traced too.
  void message_box(WindowHandle owner, const char* text, const char* caption,
                   std::uint32_t icon) override;
  void post_close(WindowHandle window) override;

 private:
  MainWindow& main_window_;
  std::function<void(const Message&)> post_;
};

}  // namespace platform::sdl2
