// The player's window, message queue and shell services over SDL: SDL events become the
// Win32 messages of the portable window procedure, the accelerators Esc, Alt+Enter and
// Alt+X become commands, the default procedure closes, minimises and opens the menu, and
// the About dialog, cursors and web page are served here.
#pragma once

#include <SDL.h>

#include "platform/emulated/message_queue.h"
#include "platform/message_pump.h"
#include "platform/sdl2/sdl2_cursors.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/shell_system.h"

namespace platform::sdl2 {

class Sdl2Shell : public ShellSystem, public MessagePump {
 public:
  // The shell of window, which must outlive it.
  explicit Sdl2Shell(MainWindow& window) : main_window_(window) {}

  // ShellSystem.
  void set_cursor(Cursor cursor) override;
  void show_cursor(bool show) override;
  // Opens the address with xdg-open, adding "http://" when it has no scheme; 33 when the
  // opener was started, 2 when there is none.
  std::intptr_t shell_open(const char* target) override;
  HResult create_main_window(const char* class_name, const char* title, std::int32_t show_command,
                             WindowProcedure procedure, WindowHandle* out) override;
  void post_quit(std::int32_t exit_code) override;
  // The About dialog (the only dialog) in a modal window of its own
  // (platform/sdl2/sdl2_about_dialog.h).
  std::intptr_t run_dialog(WindowHandle owner, std::int32_t dialog_id,
                           DialogProcedure procedure) override;
  void end_dialog(WindowHandle dialog, std::intptr_t result) override;
  std::int32_t system_metric(std::int32_t index) override;

  // MessagePump.
  bool peek() override;
  bool get(Message* out) override;
  bool translate_accelerator(const Message& message) override;
  void dispatch(const Message& message) override;
  void wait() override;

  // Before create_main_window: the main window is this existing X window (a screensaver's),
  // drawn into as it is, its input left to its owner.
  void use_foreign_window(std::uintptr_t x_window) { foreign_window_ = x_window; }

  // PostMessageA: appends a message to the queue.
  void post(const Message& message) { queue_.post(message); }
  // DestroyWindow of the main window, if it still exists: WM_DESTROY to its procedure,
  // then the window goes.
  void destroy_main_window();

 private:
  HResult adopt_foreign_window(WindowProcedure procedure, WindowHandle* out);
  void translate(const SDL_Event& event);
  // Posts WM_CLOSE to the main window once a signal or the loss of a screensaver's window
  // asks the player to end.
  void close_when_asked();
  void default_procedure(const Message& message);

  MainWindow& main_window_;
  Cursors cursors_;
  emulated::MessageQueue queue_;
  WindowProcedure procedure_ = nullptr;
  bool close_asked_ = false;
  int dialog_tag_ = 0;  // its address is the About dialog's window handle
  bool dialog_ended_ = false;
  std::intptr_t dialog_result_ = -1;
  Cursor cursor_ = Cursor::kArrow;
  std::uintptr_t foreign_window_ = 0;
};

}  // namespace platform::sdl2
