// The screen saver's window procedure: over the player's own handlers, but any key, any
// click or a move of the pointer beyond a jitter ends a run, and nothing the user does
// reaches a preview.
#pragma once

#include "app/player.h"
#include "platform/message_pump.h"

namespace app {

// How far the pointer may stray from where it was at the start, in pixels along either
// axis, before a run ends: a jitter of the mouse on the desk must not end it.
inline constexpr std::int32_t kSaverJitterPixels = 8;

struct SaverState {
  Player* player = nullptr;
  // A run ends on input; a preview in the settings dialog's box does not.
  bool ends_on_input = true;
  // Where the pointer was when the run began, in the coordinates of the mouse messages.
  platform::Point origin;
};

// The saver's procedure: input ends a run (the window is asked to close) and is swallowed
// in a preview; the screen-saver system command does not start another saver; everything
// else goes to handle_window_message. The mouse messages' second parameter holds the
// pointer's position as two signed 16-bit values, x in the low half.
platform::HandlerResult handle_saver_message(const SaverState& state,
                                             const platform::Message& message);

}  // namespace app
