// The top of the player's run: start-up up to the first picture with the window handlers
// as the main window's procedure, then the main loop (app/main_loop.h).
#pragma once

#include <cstdint>

#include "app/player.h"
#include "platform/hresult.h"
#include "platform/message_pump.h"

namespace app {

// The start-up sequence and the main loop over the player's backends and the given
// queue. Returns 0 on every failure path and the quit message's code otherwise.
std::int32_t win_main(Player& player, platform::MessagePump& pump, std::int32_t show_command);

// Start-up up to the first picture: window and display, pictures, the main picture. False
// when the program must end (any message already shown); the exit code is then 0.
bool start_player(Player& player, std::int32_t show_command);

// The window and display part of start-up, with the window handlers as the main window's
// procedure. 0 on success; kE_FAIL when the program must end (any message already shown).
platform::HResult start_window_and_display(Player& player, std::int32_t show_command);

}  // namespace app
