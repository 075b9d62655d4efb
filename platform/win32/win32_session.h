// What the Win32 backends share for the one run: the module instance, the main window,
// its accelerator table and the portable procedures its messages go to.
#pragma once

#include "platform/message_pump.h"
#include "platform/win32/win32_headers.h"

namespace platform::win32 {

struct Win32Session {
  HINSTANCE instance = nullptr;
  HWND main_window = nullptr;
  HACCEL accelerators = nullptr;
  WindowProcedure window_procedure = nullptr;
  DialogProcedure dialog_procedure = nullptr;
};

// The session of this process, installed by WinMain before anything else runs; the
// window and dialog procedures reach it from their Win32 callbacks.
Win32Session& session();

}  // namespace platform::win32
