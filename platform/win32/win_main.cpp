// The Windows entry point: installs the Win32, DirectDraw and GDI backends as the
// platform services and runs the player's start-up and main loop over the thread's queue.
#include "app/shell.h"
#include "platform/win32/win32_direct_draw.h"
#include "platform/win32/win32_message_pump.h"
#include "platform/win32/win32_resource_store.h"
#include "platform/win32/win32_session.h"
#include "platform/win32/win32_shell_system.h"
#include "platform/win32/win32_window_system.h"
#include "platform/window_system.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command) {
  // The player takes no command line; there is never a previous instance on Win32.
  (void)previous;
  (void)command_line;
  platform::win32::session().instance = instance;

  static platform::win32::Win32DisplaySystem display;
  static platform::win32::Win32WindowSystem windows;
  static platform::win32::Win32ResourceStore resources;
  static platform::win32::Win32ShellSystem shell;
  platform::Services& services = platform::services();
  services.display = &display;
  services.windows = &windows;
  services.resources = &resources;
  services.shell = &shell;

  platform::win32::Win32MessagePump pump;
  return static_cast<int>(app::win_main(pump, static_cast<std::int32_t>(show_command)));
}
