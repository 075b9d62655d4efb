// What the Win32 backends share for the one run: the module instance, the main window,
// its accelerator table and the portable procedures its messages go to.
#pragma once

#include "platform/message_pump.h"
#include "platform/win32/win32_headers.h"

namespace platform::win32 {

// What the main window is: the player's own, a screen saver's run (no menu, no
// accelerators), or a screen saver's preview (a child covering a given window's client
// area, whose style, size and place stay as they are made, which shows no message box and
// never takes the screen).
enum class MainWindowKind { kPlayer, kSaver, kPreview };

struct Win32Session {
  MainWindowKind kind = MainWindowKind::kPlayer;
  HWND preview_parent = nullptr;  // the window a preview covers
  HINSTANCE instance = nullptr;
  HWND main_window = nullptr;
  HACCEL accelerators = nullptr;
  WindowProcedure window_procedure = nullptr;
  DialogProcedure dialog_procedure = nullptr;
};

// The session is made by the backend (win32_backend.h) and handed to the shell system,
// the window system and the queue; the window and dialog procedures, plain Win32
// callbacks, reach it through the one pointer the shell system sets (win32_shell_system.cpp).

}  // namespace platform::win32
