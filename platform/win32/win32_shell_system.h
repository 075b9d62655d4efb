// USER32 and SHELL32 services of the shell: the main window with its class, cursors, the
// "open" verb, the quit message, the modal About dialog and system metrics.
#pragma once

#include "platform/shell_system.h"
#include "platform/win32/win32_session.h"

namespace platform::win32 {

class Win32ShellSystem final : public ShellSystem {
 public:
  // The shell of session, which must outlive it; the window and dialog procedures reach
  // the session from now on.
  explicit Win32ShellSystem(Win32Session& session);
  ~Win32ShellSystem() override;
  Win32ShellSystem(const Win32ShellSystem&) = delete;
  Win32ShellSystem& operator=(const Win32ShellSystem&) = delete;

  void set_cursor(Cursor cursor) override;
  void show_cursor(bool show) override;
  std::intptr_t shell_open(const char* target) override;
  HResult create_main_window(const char* class_name, const char* title, std::int32_t show_command,
                             WindowProcedure procedure, WindowHandle* out) override;
  void post_quit(std::int32_t exit_code) override;
  std::intptr_t run_dialog(WindowHandle owner, std::int32_t dialog_id,
                           DialogProcedure procedure) override;
  void end_dialog(WindowHandle dialog, std::intptr_t result) override;
  std::int32_t system_metric(std::int32_t index) override;

 private:
  // The main window of a preview: a child covering the whole client area of the session's
  // preview parent.
  HResult create_preview_window(const char* class_name, const char* title, WindowHandle* out);

  Win32Session& session_;
};

}  // namespace platform::win32
