// The Windows entry point: makes the Win32, DirectDraw and GDI backends and the player over
// them, and runs the player's start-up and main loop over the thread's queue.
#include "app/player.h"
#include "app/shell.h"
#include "platform/win32/win32_backend.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command) {
  // The player takes no command line; there is never a previous instance on Win32.
  (void)previous;
  (void)command_line;
  const std::unique_ptr<platform::win32::Win32Backend> backend =
      platform::win32::make_win32_backend({.instance = instance});
  app::Player player(backend->services());
  return static_cast<int>(
      app::win_main(player, backend->pump, static_cast<std::int32_t>(show_command)));
}
