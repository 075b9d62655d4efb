// The Windows backends of one run, made together: DirectDraw and GDI for the display, USER32
// for the window, its queue and dialogs, KERNEL32 for the resources, WINMM for the clock.
#pragma once

#include <memory>

#include "platform/system_clock.h"
#include "platform/win32/win32_direct_draw.h"
#include "platform/win32/win32_message_pump.h"
#include "platform/win32/win32_resource_store.h"
#include "platform/win32/win32_session.h"
#include "platform/win32/win32_shell_system.h"
#include "platform/win32/win32_window_system.h"
#include "platform/window_system.h"

namespace platform::win32 {

struct Win32Options {
  HINSTANCE instance = nullptr;  // the module whose resources (menu, dialog, pictures) are used
  MainWindowKind kind = MainWindowKind::kPlayer;
  HWND preview_parent = nullptr;  // with kPreview: the window the preview covers
};

struct Win32Backend {
  explicit Win32Backend(const Win32Options& options);
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  // The backends as the portable code takes them (none owned by the result).
  Services services();

  Win32Session session;
  Win32DisplaySystem display;
  Win32WindowSystem windows{session};
  Win32ResourceStore resources;
  Win32ShellSystem shell{session};
  Win32MessagePump pump{session};
  SystemClock clock;
};

// The backends over options; only one may exist at a time (the Win32 callbacks reach its
// session).
std::unique_ptr<Win32Backend> make_win32_backend(const Win32Options& options);

}  // namespace platform::win32
