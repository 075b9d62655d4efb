// The tests' stand-in for the window system and the shell services: one window whose
// style, menu and position are plain state, and a record of every message box, close
// request, cursor change, shell "open", dialog and quit request.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/shell_system.h"
#include "platform/window_system.h"

namespace test_support {}  // namespace test_support
namespace platform::emulated {
class MemoryDisplaySystem;
}  // namespace platform::emulated
namespace test_support {

struct MessageBoxCall {
  platform::WindowHandle owner = nullptr;
  std::string text;
  std::string caption;
  std::uint32_t icon = 0;
};

// One entry of the menu log: attach (with its id) or detach.
struct MenuCall {
  bool attach = false;
  int menu_id = 0;
};

class FakeWindowSystem : public platform::WindowSystem {
 public:
  // Frame sizes the stand-in uses for window rectangles (those of a classic Windows look).
  static constexpr std::int32_t kCaptionHeight = 19;
  static constexpr std::int32_t kMenuHeight = 19;
  static constexpr std::int32_t kThickFrame = 4;
  static constexpr std::int32_t kThinFrame = 1;

  // display supplies the screen size of the current display mode; it must outlive this.
  explicit FakeWindowSystem(const platform::emulated::MemoryDisplaySystem& display);

  // The handle of the one window the stand-in knows.
  platform::WindowHandle window() { return &window_tag_; }

  std::uint32_t get_style(platform::WindowHandle window) override;
  void set_style(platform::WindowHandle window, std::uint32_t style) override;
  std::uint32_t get_ex_style(platform::WindowHandle window) override;
  bool has_menu(platform::WindowHandle window) override;
  void attach_menu(platform::WindowHandle window, int menu_id) override;
  void detach_menu(platform::WindowHandle window) override;
  platform::Rect adjust_window_rect(const platform::Rect& client, std::uint32_t style,
                                    bool has_menu, std::uint32_t ex_style) override;
  void set_window_size(platform::WindowHandle window, std::int32_t width,
                       std::int32_t height) override;
  void set_not_topmost(platform::WindowHandle window) override;
  void move_window(platform::WindowHandle window, std::int32_t x, std::int32_t y) override;
  platform::Rect work_area() override { return work_area_; }
  platform::Rect window_rect(platform::WindowHandle window) override;
  platform::Rect client_rect_on_screen(platform::WindowHandle window) override;
  std::int32_t screen_width() override;
  std::int32_t screen_height() override;
  void message_box(platform::WindowHandle owner, const char* text, const char* caption,
                   std::uint32_t icon) override;
  void post_close(platform::WindowHandle window) override;

  // --- Set-up ---
  void set_window_rect(const platform::Rect& outer) { rect_ = outer; }
  void set_work_area(const platform::Rect& area) { work_area_ = area; }
  void set_initial_style(std::uint32_t style) { style_ = style; }

  // --- Observation ---
  std::uint32_t style() const { return style_; }
  int menu_id() const { return menu_id_; }  // 0: no menu
  const std::vector<MenuCall>& menu_calls() const { return menu_calls_; }
  const std::vector<std::uint32_t>& style_calls() const { return style_calls_; }
  const std::vector<MessageBoxCall>& message_boxes() const { return message_boxes_; }
  int close_requests() const { return close_requests_; }
  int not_topmost_calls() const { return not_topmost_calls_; }

 private:
  bool mine(platform::WindowHandle window);
  platform::Rect frame_insets(std::uint32_t style, bool menu) const;

  const platform::emulated::MemoryDisplaySystem& display_;
  int window_tag_ = 0;
  std::uint32_t style_ = platform::kStylePopup | 0x10000000u;  // WS_POPUP | WS_VISIBLE
  std::uint32_t ex_style_ = 0;
  int menu_id_ = 0;
  platform::Rect rect_{0, 0, 640, 480};
  platform::Rect work_area_{0, 0, 1024, 738};
  std::vector<MenuCall> menu_calls_;
  std::vector<std::uint32_t> style_calls_;
  std::vector<MessageBoxCall> message_boxes_;
  int close_requests_ = 0;
  int not_topmost_calls_ = 0;
};

class FakeShellSystem : public platform::ShellSystem {
 public:
  void set_cursor(platform::Cursor cursor) override;
  void show_cursor(bool show) override;
  std::intptr_t shell_open(const char* target) override;
  platform::HResult create_main_window(const char* class_name, const char* title,
                                       std::int32_t show_command,
                                       platform::WindowProcedure procedure,
                                       platform::WindowHandle* out) override;
  void post_quit(std::int32_t exit_code) override;
  std::intptr_t run_dialog(platform::WindowHandle owner, std::int32_t dialog_id,
                           platform::DialogProcedure procedure) override;
  void end_dialog(platform::WindowHandle dialog, std::intptr_t result) override;
  std::int32_t system_metric(std::int32_t index) override;

  // --- Set-up ---
  void set_shell_open_result(std::intptr_t result) { shell_open_result_ = result; }
  // The window create_main_window hands out (null: it fails with platform::kE_FAIL).
  void set_main_window(platform::WindowHandle window) { main_window_ = window; }

  // --- Observation ---
  platform::Cursor cursor() const { return cursor_; }
  const std::vector<platform::Cursor>& cursor_calls() const { return cursor_calls_; }
  // ShowCursor's display counter: starts at 0, +1 per show, -1 per hide.
  int cursor_show_count() const { return show_count_; }
  const std::vector<std::string>& shell_open_calls() const { return shell_open_calls_; }
  const std::vector<std::int32_t>& quit_calls() const { return quit_calls_; }
  const std::vector<std::int32_t>& dialog_calls() const { return dialog_calls_; }
  std::string main_window_title() const { return title_; }
  std::string main_window_class() const { return class_name_; }
  // Forgets the calls recorded so far (cursors, shell opens, quits, dialogs), keeping the
  // lists' storage, so that a long run's records cost no memory.
  void clear_calls();

 private:
  platform::Cursor cursor_ = platform::Cursor::kArrow;
  std::vector<platform::Cursor> cursor_calls_;
  int show_count_ = 0;
  std::intptr_t shell_open_result_ = 42;
  std::vector<std::string> shell_open_calls_;
  platform::WindowHandle main_window_ = nullptr;
  std::string title_;
  std::string class_name_;
  std::vector<std::int32_t> quit_calls_;
  std::vector<std::int32_t> dialog_calls_;
  bool dialog_ended_ = false;
  std::intptr_t dialog_end_value_ = 0;
};

}  // namespace test_support
