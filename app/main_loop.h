// The main loop: every waiting message before the next frame, a blocking wait while the
// window is inactive, frames back to back otherwise. One turn is a step of its own, so that
// a caller that owns the loop (a browser's animation frame) can drive it.
#pragma once

#include <cstdint>

#include "app/player.h"
#include "platform/message_pump.h"

namespace app {

// The outcome of one turn of the main loop.
struct LoopTurn {
  bool running = true;         // false once the loop has ended
  std::int32_t exit_code = 0;  // the program's exit code once it has ended
};

// One turn: handles every waiting message; then, with the window inactive, waits for the
// next message (pump.wait()), otherwise runs one frame (player.frame_step()),
// whose layers wait until it is due. Ends with the quit message's code, or when a frame
// fails: the display device is released, "Displaying the next frame failed. The program
// will now exit. " is shown and the code is 0.
LoopTurn main_loop_step(Player& player, platform::MessagePump& pump);

// main_loop_step until the loop ends; returns the exit code.
std::int32_t run_main_loop(Player& player, platform::MessagePump& pump);

}  // namespace app
