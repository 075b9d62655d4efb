// The main loop: every waiting message before the next frame, a blocking wait while the
// window is inactive, frames back to back otherwise.
#pragma once

#include <cstdint>

#include "platform/message_pump.h"

namespace app {

// Runs until the quit message arrives (returns its exit code) or a frame fails (releases
// the display device, shows "Displaying the next frame failed. The program will now exit. "
// and returns 0). window is the main window that frame_step draws for.
std::int32_t run_main_loop(platform::MessagePump& pump, platform::WindowHandle window);

}  // namespace app
