// The stand-in window: style, menu and rectangles as plain state, every call recorded.
#include "tests/support/fake_window_system.h"

#include "platform/emulated/memory_display.h"

namespace test_support {

FakeWindowSystem::FakeWindowSystem(const platform::emulated::MemoryDisplaySystem& display)
    : display_(display) {}

bool FakeWindowSystem::mine(platform::WindowHandle window) {
  return window == &window_tag_;
}

std::uint32_t FakeWindowSystem::get_style(platform::WindowHandle window) {
  return mine(window) ? style_ : 0;
}

void FakeWindowSystem::set_style(platform::WindowHandle window, std::uint32_t style) {
  if (!mine(window)) return;
  style_ = style;
  style_calls_.push_back(style);
}

std::uint32_t FakeWindowSystem::get_ex_style(platform::WindowHandle window) {
  return mine(window) ? ex_style_ : 0;
}

bool FakeWindowSystem::has_menu(platform::WindowHandle window) {
  return mine(window) && menu_id_ != 0;
}

void FakeWindowSystem::attach_menu(platform::WindowHandle window, int menu_id) {
  if (!mine(window)) return;
  menu_id_ = menu_id;
  menu_calls_.push_back({true, menu_id});
}

void FakeWindowSystem::detach_menu(platform::WindowHandle window) {
  if (!mine(window)) return;
  menu_id_ = 0;
  menu_calls_.push_back({false, 0});
}

// How far the outer rectangle reaches beyond the client area on each side.
platform::Rect FakeWindowSystem::frame_insets(std::uint32_t style, bool menu) const {
  std::int32_t frame = 0;
  if ((style & platform::kStyleThickFrame) != 0) {
    frame = kThickFrame;
  } else if ((style & platform::kStyleCaption) != 0) {
    frame = kThinFrame;
  }
  std::int32_t top = frame;
  if ((style & platform::kStyleCaption) == platform::kStyleCaption) top += kCaptionHeight;
  if (menu) top += kMenuHeight;
  return {frame, top, frame, frame};
}

platform::Rect FakeWindowSystem::adjust_window_rect(const platform::Rect& client,
                                                    std::uint32_t style, bool menu,
                                                    std::uint32_t ex_style) {
  (void)ex_style;
  const platform::Rect inset = frame_insets(style, menu);
  return {client.left - inset.left, client.top - inset.top, client.right + inset.right,
          client.bottom + inset.bottom};
}

void FakeWindowSystem::set_window_size(platform::WindowHandle window, std::int32_t width,
                                       std::int32_t height) {
  if (!mine(window)) return;
  rect_.right = rect_.left + width;
  rect_.bottom = rect_.top + height;
}

void FakeWindowSystem::set_not_topmost(platform::WindowHandle window) {
  if (mine(window)) ++not_topmost_calls_;
}

void FakeWindowSystem::move_window(platform::WindowHandle window, std::int32_t x, std::int32_t y) {
  if (!mine(window)) return;
  const std::int32_t width = rect_.right - rect_.left, height = rect_.bottom - rect_.top;
  rect_ = {x, y, x + width, y + height};
}

platform::Rect FakeWindowSystem::window_rect(platform::WindowHandle window) {
  return mine(window) ? rect_ : platform::Rect{};
}

platform::Rect FakeWindowSystem::client_rect_on_screen(platform::WindowHandle window) {
  if (!mine(window)) return {};
  const platform::Rect inset = frame_insets(style_, menu_id_ != 0);
  return {rect_.left + inset.left, rect_.top + inset.top, rect_.right - inset.right,
          rect_.bottom - inset.bottom};
}

std::int32_t FakeWindowSystem::screen_width() {
  return display_.screen_width();
}

std::int32_t FakeWindowSystem::screen_height() {
  return display_.screen_height();
}

void FakeWindowSystem::message_box(platform::WindowHandle owner, const char* text,
                                   const char* caption, std::uint32_t icon) {
  message_boxes_.push_back(
      {owner, text != nullptr ? text : "", caption != nullptr ? caption : "", icon});
}

void FakeWindowSystem::post_close(platform::WindowHandle window) {
  if (mine(window)) ++close_requests_;
}

// --- Shell ---------------------------------------------------------------------------------

void FakeShellSystem::set_cursor(platform::Cursor cursor) {
  cursor_ = cursor;
  cursor_calls_.push_back(cursor);
}

void FakeShellSystem::clear_calls() {
  cursor_calls_.clear();
  shell_open_calls_.clear();
  quit_calls_.clear();
  dialog_calls_.clear();
}

void FakeShellSystem::show_cursor(bool show) {
  show_count_ += show ? 1 : -1;
}

std::intptr_t FakeShellSystem::shell_open(const char* target) {
  shell_open_calls_.push_back(target != nullptr ? target : "");
  return shell_open_result_;
}

platform::HResult FakeShellSystem::create_main_window(const char* class_name, const char* title,
                                                      std::int32_t show_command,
                                                      platform::WindowProcedure procedure,
                                                      platform::WindowHandle* out) {
  (void)show_command;
  if (out == nullptr || main_window_ == nullptr) return platform::kE_FAIL;
  class_name_ = class_name != nullptr ? class_name : "";
  title_ = title != nullptr ? title : "";
  (void)procedure;
  *out = main_window_;
  return platform::kS_OK;
}

void FakeShellSystem::post_quit(std::int32_t exit_code) {
  quit_calls_.push_back(exit_code);
}

std::intptr_t FakeShellSystem::run_dialog(platform::WindowHandle owner, std::int32_t dialog_id,
                                          platform::DialogProcedure procedure) {
  dialog_calls_.push_back(dialog_id);
  dialog_ended_ = false;
  if (procedure != nullptr) {
    // The dialog's first message, as DialogBoxParamA sends it.
    platform::Message init;
    init.window = owner;
    init.id = platform::kWM_INITDIALOG;
    procedure(init);
  }
  return dialog_ended_ ? dialog_end_value_ : 0;
}

void FakeShellSystem::end_dialog(platform::WindowHandle dialog, std::intptr_t result) {
  (void)dialog;
  dialog_ended_ = true;
  dialog_end_value_ = result;
}

std::int32_t FakeShellSystem::system_metric(std::int32_t index) {
  switch (index) {
    case platform::kSM_CYCAPTION:
      return FakeWindowSystem::kCaptionHeight;
    case platform::kSM_CYMENU:
      return FakeWindowSystem::kMenuHeight;
    case platform::kSM_CXFRAME:
    case platform::kSM_CYFRAME:
      return FakeWindowSystem::kThickFrame;
    default:
      return 0;
  }
}

}  // namespace test_support
