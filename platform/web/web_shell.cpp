// The browser's message queue, default window procedure and shell services.
#include "platform/web/web_shell.h"

#include <algorithm>

#include "platform/emulated/accelerator_table.h"
#include "platform/web/web_keys.h"

namespace platform::web {

namespace {

// The one window's handle: any non-null value will do.
int window_tag;

}  // namespace

void WebShell::set_cursor(Cursor cursor) {
  page_->set_cursor(cursor);
}

void WebShell::show_cursor(bool show) {
  page_->set_cursor(show ? Cursor::kArrow : Cursor::kNone);
}

std::intptr_t WebShell::shell_open(const char* target) {
  if (target == nullptr || *target == '\0') return 2;  // SE_ERR_FILENOTFOUND
  page_->open_tab(target);
  return 33;
}

HResult WebShell::create_main_window(const char*, const char* title, std::int32_t,
                                     WindowProcedure procedure, WindowHandle* out) {
  if (procedure == nullptr || out == nullptr || window_ != nullptr) return kE_FAIL;
  procedure_ = procedure;
  window_ = &window_tag;
  style_ = kStyleCaption | kStyleSysMenu | kStyleThickFrame | kStyleMinimizeBox;
  queue_.clear();
  page_->set_title(title);
  attach_menu(window_, kMainMenuId);
  *out = window_;
  // Shown at once: the first WM_SIZE makes the player active.
  dispatch(Message{window_, kWM_SIZE, kSIZE_RESTORED, 0});
  dispatch(Message{window_, kWM_MOVE, 0, 0});
  return kS_OK;
}

void WebShell::destroy_main_window() {
  if (window_ == nullptr) return;
  procedure_(Message{window_, kWM_DESTROY, 0, 0});
  window_ = nullptr;
  page_->show_menu_bar(false);
}

void WebShell::post_quit(std::int32_t exit_code) {
  queue_.post_quit(exit_code);
}

std::intptr_t WebShell::run_dialog(WindowHandle owner, std::int32_t dialog_id,
                                   DialogProcedure procedure) {
  if (dialog_id != kAboutDialogId || procedure == nullptr || dialog_ != nullptr) return -1;
  dialog_ = procedure;
  procedure(Message{owner, kWM_INITDIALOG, 0, 0});
  page_->show_about();
  return 0;
}

void WebShell::end_dialog(WindowHandle, std::intptr_t) {
  dialog_ = nullptr;
  page_->close_about();
}

void WebShell::dialog_command(std::uint16_t id) {
  if (dialog_ != nullptr) dialog_(Message{window_, kWM_COMMAND, id, 0});
  if (on_input) on_input();
}

void WebShell::message_closed() {
  messages_open_ = std::max(messages_open_ - 1, 0);
  if (on_input) on_input();
}

bool WebShell::get(Message* out) {
  *out = queue_.take().value_or(Message{nullptr, kWM_QUIT, 0, 0});
  return out->id != kWM_QUIT;
}

bool WebShell::translate_accelerator(const Message& message) {
  return emulated::translate_accelerator(*this, message);
}

void WebShell::dispatch(const Message& message) {
  if (procedure_ == nullptr || window_ == nullptr || message.window != window_) return;
  if (procedure_(message).use_default) default_procedure(message);
}

void WebShell::default_procedure(const Message& message) {
  switch (message.id) {
    case kWM_CLOSE:
      destroy_main_window();
      break;
    case kWM_SYSCOMMAND:
      if (message.wparam == kSC_CLOSE) dispatch(Message{window_, kWM_CLOSE, 0, 0});
      break;
    case kWM_SETCURSOR:
      page_->set_cursor(Cursor::kArrow);  // the class cursor
      break;
    case kWM_SYSKEYDOWN: {
      const bool alt = (static_cast<std::uint32_t>(message.lparam) & kKeyAlt) != 0;
      if (menu_ && (message.wparam == kVK_F10 || (alt && message.wparam == 'F'))) {
        page_->open_file_menu();
      }
      break;
    }
    default:
      break;
  }
}

void WebShell::attach_menu(WindowHandle, int) {
  menu_ = true;
  page_->show_menu_bar(true);
}

void WebShell::detach_menu(WindowHandle) {
  menu_ = false;
  page_->show_menu_bar(false);
}

std::int32_t WebShell::screen_width() {
  return std::max(page_->width(), 640);
}

std::int32_t WebShell::screen_height() {
  return std::max(page_->height(), 480);
}

void WebShell::message_box(WindowHandle, const char* text, const char* caption, std::uint32_t) {
  ++messages_open_;
  page_->show_message(caption, text);
}

void WebShell::post_close(WindowHandle window) {
  if (window != nullptr && window == window_) post(kWM_CLOSE, 0, 0);
}

void WebShell::post(std::uint32_t id, std::uintptr_t wparam, std::intptr_t lparam) {
  if (window_ != nullptr) queue_.post(Message{window_, id, wparam, lparam});
  if (on_input) on_input();
}

}  // namespace platform::web
