// Start-up of the player and the work of one frame: the display with its full-screen-first
// policy, the pictures, the first picture; frame_step with its recovery rules, render_frame
// in drawing order, and present_again. The main loop over them is app/main_loop.h.
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

// The window and display part of start-up: texts, main window, display with the windowed
// retry. 0 on success; kE_FAIL when the program must end (any message already shown).
platform::HResult start_window_and_display(Player& player, std::int32_t show_command);

// One frame for window: the cooperative-level rules, then render_frame with the recovery
// of a lost surface. 0 to go on; a negative status ends the main loop.
platform::HResult frame_step(Player& player, platform::WindowHandle window);

// Composes and presents one frame: scene (with the picture switch when it is due), upload,
// statistics, back buffer, labels, present. 0, or the negative display status of present.
platform::HResult render_frame(Player& player);

// Presents the back buffer once more, when the display exists (the window or the About
// dialog moved).
void present_again(Player& player);

}  // namespace app
