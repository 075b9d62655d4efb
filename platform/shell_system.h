// The window-system services of the shell that are not about the display: the mouse
// cursor, the shell's "open" verb, the main window, the quit message, modal dialogs and
// system metrics. The message queue itself is platform/message_pump.h.
#pragma once

#include <cstdint>

#include "platform/direct_draw.h"
#include "platform/message_pump.h"

namespace platform {

// The cursors the player uses: none (full screen, main picture), the class's arrow, and
// the help cursor (an arrow with a question mark, IDC_HELP).
enum class Cursor { kNone, kArrow, kHelp };

class ShellSystem {
 public:
  virtual ~ShellSystem() = default;
  // SetCursor(LoadCursorA(null, IDC_*)), or SetCursor(null) for kNone.
  virtual void set_cursor(Cursor cursor) = 0;
  // ShowCursor(show).
  virtual void show_cursor(bool show) = 0;
  // ShellExecuteA(null, "open", target, null, null, SW_SHOWNORMAL); returns its value
  // (greater than 32 on success).
  virtual std::intptr_t shell_open(const char* target) = 0;

  // The operations below have defaults so that stand-ins that do not need them stay small.

  // Registers the main window class (class_name, procedure, icon 101, the arrow cursor,
  // menu 102) and creates the window titled title with a 640x480 client area below its
  // caption and menu, then shows it with show_command. 0, or kE_FAIL with out unchanged.
  virtual HResult create_main_window(const char* class_name, const char* title,
                                     std::int32_t show_command, WindowProcedure procedure,
                                     WindowHandle* out) {
    (void)class_name, (void)title, (void)show_command, (void)procedure, (void)out;
    return kE_FAIL;
  }
  // PostQuitMessage(exit_code): the main loop's next get() returns false with this code.
  virtual void post_quit(std::int32_t exit_code) { (void)exit_code; }
  // DialogBoxParamA(instance, dialog_id, owner, procedure, 0): runs the modal dialog,
  // sending its messages to procedure, and returns the value given to end_dialog
  // (-1 when the dialog cannot be shown).
  virtual std::intptr_t run_dialog(WindowHandle owner, std::int32_t dialog_id,
                                   DialogProcedure procedure) {
    (void)owner, (void)dialog_id, (void)procedure;
    return -1;
  }
  // EndDialog(dialog, result): closes the modal dialog once its procedure returns.
  virtual void end_dialog(WindowHandle dialog, std::intptr_t result) { (void)dialog, (void)result; }
  // GetSystemMetrics(index) for the kSM_* indices below.
  virtual std::int32_t system_metric(std::int32_t index) {
    (void)index;
    return 0;
  }
};

// GetSystemMetrics indices that size the main window.
inline constexpr std::int32_t kSM_CYCAPTION = 4;
inline constexpr std::int32_t kSM_CYMENU = 15;
inline constexpr std::int32_t kSM_CXFRAME = 32;
inline constexpr std::int32_t kSM_CYFRAME = 33;

// The About dialog resource and the command id of its web-page button.
inline constexpr std::int32_t kAboutDialogId = 103;
inline constexpr std::uint16_t kAboutWebButtonId = 1004;

}  // namespace platform
