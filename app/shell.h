// Start-up of the player and the work of one frame: the display with its full-screen-first
// policy, the pictures, the first picture, then the main loop; frame_step with its recovery
// rules, render_frame in drawing order, and present_again.
#pragma once

#include <cstdint>

#include "platform/hresult.h"
#include "platform/message_pump.h"

namespace app {

// The main window, set once by win_main.
extern platform::WindowHandle main_window;

// The start-up sequence and the main loop over the installed platform services and the
// given queue. Returns 0 on every failure path and the quit message's code otherwise.
std::int32_t win_main(platform::MessagePump& pump, std::int32_t show_command);

// The window and display part of start-up: texts, main window, display with the windowed
// retry. 0 on success; kE_FAIL when the program must end (any message already shown).
platform::HResult start_window_and_display(std::int32_t show_command);

// One frame for window: the cooperative-level rules, then render_frame with the recovery
// of a lost surface. 0 to go on; a negative status ends the main loop.
platform::HResult frame_step(platform::WindowHandle window);

// Composes and presents one frame: scene, upload, statistics, back buffer, labels, present.
// 0, or the negative display status of present.
platform::HResult render_frame();

// Presents the back buffer once more, when the display exists (the window or the About
// dialog moved).
void present_again();

}  // namespace app
