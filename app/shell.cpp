// Start-up over the window handlers, and the main loop after it.
#include "app/shell.h"

#include "app/main_loop.h"
#include "app/window_handlers.h"

namespace app {

platform::HResult start_window_and_display(Player& player, std::int32_t show_command) {
  return player.open_window_and_display(show_command, window_procedure(player));
}

bool start_player(Player& player, std::int32_t show_command) {
  return platform::succeeded(start_window_and_display(player, show_command)) &&
         player.show_first_picture();
}

std::int32_t win_main(Player& player, platform::MessagePump& pump, std::int32_t show_command) {
  if (!start_player(player, show_command)) return 0;
  return run_main_loop(player, pump);
}

}  // namespace app
