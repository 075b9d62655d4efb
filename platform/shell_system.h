// The window-system services of the shell that are not about the display: the mouse
// cursor and the shell's "open" verb. The shell's message loop and window live with each
// backend's entry point and call the portable handlers of app/.
#pragma once

#include <cstdint>

#include "platform/direct_draw.h"

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
};

}  // namespace platform
