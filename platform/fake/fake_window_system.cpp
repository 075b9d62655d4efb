// The stand-in window: style, menu and rectangles as plain state, every call recorded.
#include "platform/fake/fake_window_system.h"

#include "platform/fake/fake_display.h"

namespace platform::fake {

FakeWindowSystem::FakeWindowSystem(FakeDisplaySystem* display) : display_(display) {}

bool FakeWindowSystem::mine(WindowHandle window) {
  if (window == &window_tag_) return true;
  ++foreign_window_calls_;
  return false;
}

std::uint32_t FakeWindowSystem::get_style(WindowHandle window) {
  return mine(window) ? style_ : 0;
}

void FakeWindowSystem::set_style(WindowHandle window, std::uint32_t style) {
  if (!mine(window)) return;
  style_ = style;
  style_calls_.push_back(style);
}

std::uint32_t FakeWindowSystem::get_ex_style(WindowHandle window) {
  return mine(window) ? ex_style_ : 0;
}

bool FakeWindowSystem::has_menu(WindowHandle window) {
  return mine(window) && menu_id_ != 0;
}

void FakeWindowSystem::attach_menu(WindowHandle window, int menu_id) {
  if (!mine(window)) return;
  menu_id_ = menu_id;
  menu_calls_.push_back({true, menu_id});
}

void FakeWindowSystem::detach_menu(WindowHandle window) {
  if (!mine(window)) return;
  menu_id_ = 0;
  menu_calls_.push_back({false, 0});
}

// How far the outer rectangle reaches beyond the client area on each side.
Rect FakeWindowSystem::frame_insets(std::uint32_t style, bool menu) const {
  std::int32_t frame = 0;
  if ((style & kStyleThickFrame) != 0) {
    frame = kThickFrame;
  } else if ((style & kStyleCaption) != 0) {
    frame = kThinFrame;
  }
  std::int32_t top = frame;
  if ((style & kStyleCaption) == kStyleCaption) top += kCaptionHeight;
  if (menu) top += kMenuHeight;
  return {frame, top, frame, frame};
}

Rect FakeWindowSystem::adjust_window_rect(const Rect& client, std::uint32_t style, bool menu,
                                          std::uint32_t ex_style) {
  (void)ex_style;
  const Rect inset = frame_insets(style, menu);
  return {client.left - inset.left, client.top - inset.top, client.right + inset.right,
          client.bottom + inset.bottom};
}

void FakeWindowSystem::set_window_size(WindowHandle window, std::int32_t width,
                                       std::int32_t height) {
  if (!mine(window)) return;
  rect_.right = rect_.left + width;
  rect_.bottom = rect_.top + height;
}

void FakeWindowSystem::set_not_topmost(WindowHandle window) {
  if (mine(window)) ++not_topmost_calls_;
}

void FakeWindowSystem::move_window(WindowHandle window, std::int32_t x, std::int32_t y) {
  if (!mine(window)) return;
  const std::int32_t width = rect_.right - rect_.left, height = rect_.bottom - rect_.top;
  rect_ = {x, y, x + width, y + height};
}

Rect FakeWindowSystem::window_rect(WindowHandle window) {
  return mine(window) ? rect_ : Rect{};
}

Rect FakeWindowSystem::client_rect_on_screen(WindowHandle window) {
  if (!mine(window)) return {};
  const Rect inset = frame_insets(style_, menu_id_ != 0);
  return {rect_.left + inset.left, rect_.top + inset.top, rect_.right - inset.right,
          rect_.bottom - inset.bottom};
}

void FakeWindowSystem::set_screen_size(std::int32_t width, std::int32_t height) {
  screen_width_ = width;
  screen_height_ = height;
}

std::int32_t FakeWindowSystem::screen_width() {
  return display_ != nullptr ? display_->screen_width() : screen_width_;
}

std::int32_t FakeWindowSystem::screen_height() {
  return display_ != nullptr ? display_->screen_height() : screen_height_;
}

void FakeWindowSystem::message_box(WindowHandle owner, const char* text, const char* caption,
                                   std::uint32_t icon) {
  message_boxes_.push_back(
      {owner, text != nullptr ? text : "", caption != nullptr ? caption : "", icon});
}

void FakeWindowSystem::post_close(WindowHandle window) {
  if (mine(window)) ++close_requests_;
}

// --- Shell ---------------------------------------------------------------------------------

void FakeShellSystem::set_cursor(Cursor cursor) {
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

HResult FakeShellSystem::create_main_window(const char* class_name, const char* title,
                                            std::int32_t show_command, WindowProcedure procedure,
                                            WindowHandle* out) {
  (void)show_command;
  if (out == nullptr || main_window_ == nullptr) return kE_FAIL;
  class_name_ = class_name != nullptr ? class_name : "";
  title_ = title != nullptr ? title : "";
  procedure_ = procedure;
  *out = main_window_;
  return kS_OK;
}

void FakeShellSystem::post_quit(std::int32_t exit_code) {
  quit_calls_.push_back(exit_code);
}

std::intptr_t FakeShellSystem::run_dialog(WindowHandle owner, std::int32_t dialog_id,
                                          DialogProcedure procedure) {
  dialog_calls_.push_back(dialog_id);
  dialog_ended_ = false;
  if (procedure != nullptr) {
    // The dialog's first message, as DialogBoxParamA sends it.
    Message init;
    init.window = owner;
    init.id = kWM_INITDIALOG;
    procedure(init);
  }
  return dialog_ended_ ? dialog_end_value_ : dialog_result_;
}

void FakeShellSystem::end_dialog(WindowHandle dialog, std::intptr_t result) {
  (void)dialog;
  dialog_ended_ = true;
  dialog_end_value_ = result;
}

std::int32_t FakeShellSystem::system_metric(std::int32_t index) {
  switch (index) {
    case kSM_CYCAPTION:
      return FakeWindowSystem::kCaptionHeight;
    case kSM_CYMENU:
      return FakeWindowSystem::kMenuHeight;
    case kSM_CXFRAME:
    case kSM_CYFRAME:
      return FakeWindowSystem::kThickFrame;
    default:
      return 0;
  }
}

}  // namespace platform::fake
