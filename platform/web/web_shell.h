// The player's window, message queue and shell services in the browser. The page's events
// arrive as the Win32 messages of the portable window procedure (posted by the page, see
// browser_page.h) and wait in the queue until the next animation frame takes them; the
// accelerators Esc, Alt+Enter and Alt+X become commands; the default procedure closes the
// window and opens the File menu on F10 or Alt+F. Message boxes and the About dialog are dialogs in
// the page: they cannot block, so the frame loop holds still while one is open (modal()), as a
// modal loop would.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/emulated/message_queue.h"
#include "platform/message_pump.h"
#include "platform/shell_system.h"
#include "platform/window_system.h"

namespace platform::web {

// What the shell needs from the page.
class Page {
 public:
  virtual ~Page() = default;
  virtual void set_title(const char* title) = 0;
  // The File menu bar over the picture (windowed mode only), and its menu opened.
  virtual void show_menu_bar(bool shown) = 0;
  virtual void open_file_menu() = 0;
  virtual void set_cursor(Cursor cursor) = 0;
  // Opens address (a scheme is added when it has none) in a new tab.
  virtual void open_tab(const char* address) = 0;
  // A message in the page with an OK button; the page calls WebShell::message_closed.
  virtual void show_message(const char* caption, const char* text) = 0;
  // The About dialog; its buttons come back through WebShell::dialog_command.
  virtual void show_about() = 0;
  virtual void close_about() = 0;
  // The size of the page in CSS pixels.
  virtual std::int32_t width() = 0;
  virtual std::int32_t height() = 0;
};

class WebShell : public ShellSystem, public MessagePump, public WindowSystem {
 public:
  explicit WebShell(Page* page) : page_(page) {}

  // ShellSystem.
  void set_cursor(Cursor cursor) override;
  void show_cursor(bool show) override;
  // Opens the page in a new tab: 33, or 2 for an empty address.
  std::intptr_t shell_open(const char* target) override;
  // The canvas is the window: the procedure is kept, the title set, and the window shown
  // (WM_SIZE restored, WM_MOVE). Again after an exit, for "Play again".
  HResult create_main_window(const char* class_name, const char* title, std::int32_t show_command,
                             WindowProcedure procedure, WindowHandle* out) override;
  void post_quit(std::int32_t exit_code) override;
  // Shows the About dialog and returns at once (0); the dialog stays until end_dialog.
  std::intptr_t run_dialog(WindowHandle owner, std::int32_t dialog_id,
                           DialogProcedure procedure) override;
  void end_dialog(WindowHandle dialog, std::intptr_t result) override;

  // MessagePump.
  bool peek() override { return queue_.waiting(); }
  // The next message, or false with the quit message; never blocks (an empty queue gives
  // false with a quit of exit code 0: the caller asks peek() first).
  bool get(Message* out) override;
  bool translate_accelerator(const Message& message) override;
  void dispatch(const Message& message) override;
  void wait() override {}

  // WindowSystem: one window that fills the page.
  std::uint32_t get_style(WindowHandle) override { return style_; }
  void set_style(WindowHandle, std::uint32_t style) override { style_ = style; }
  std::uint32_t get_ex_style(WindowHandle) override { return 0; }
  bool has_menu(WindowHandle) override { return menu_; }
  void attach_menu(WindowHandle window, int menu_id) override;
  void detach_menu(WindowHandle window) override;
  Rect adjust_window_rect(const Rect& client, std::uint32_t, bool, std::uint32_t) override {
    return client;
  }
  void set_window_size(WindowHandle, std::int32_t, std::int32_t) override {}
  void set_not_topmost(WindowHandle) override {}
  void move_window(WindowHandle, std::int32_t, std::int32_t) override {}
  Rect work_area() override { return Rect{0, 0, screen_width(), screen_height()}; }
  Rect window_rect(WindowHandle) override { return Rect{0, 0, 640, 480}; }
  Rect client_rect_on_screen(WindowHandle) override { return Rect{0, 0, 640, 480}; }
  std::int32_t screen_width() override;
  std::int32_t screen_height() override;
  void message_box(WindowHandle owner, const char* text, const char* caption,
                   std::uint32_t icon) override;
  void post_close(WindowHandle window) override;

  // DestroyWindow of the main window, if it still exists: WM_DESTROY to its procedure,
  // then the window goes.
  void destroy_main_window();
  // PostMessageA to the main window (input from the page).
  void post(std::uint32_t id, std::uintptr_t wparam, std::intptr_t lparam);
  // The page's answers: the message's OK, and a button (or the close box, kIDCANCEL) of
  // the About dialog, which goes to the dialog's procedure at once.
  void message_closed();
  void dialog_command(std::uint16_t id);
  // While a message or the About dialog is open, no frames are made.
  bool modal() const { return messages_open_ > 0 || dialog_ != nullptr; }
  // Called after each message posted and each answer of a dialog, so that a loop that sleeps
  // while nothing is due can wake.
  std::function<void()> on_input;
  // The main window while it exists (null before creation and after WM_DESTROY).
  WindowHandle window() const { return window_; }

 private:
  void default_procedure(const Message& message);

  Page* page_;
  emulated::MessageQueue queue_;
  WindowProcedure procedure_ = nullptr;
  WindowHandle window_ = nullptr;
  std::uint32_t style_ = 0;
  bool menu_ = false;
  DialogProcedure dialog_ = nullptr;
  int messages_open_ = 0;
};

}  // namespace platform::web
