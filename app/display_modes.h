// The display as the shell brings it up and switches it, with the messages the user sees
// when that fails.
#pragma once

#include "app/player.h"
#include "platform/direct_draw.h"
#include "platform/hresult.h"

namespace app {

// Creates the whole display for the player's windowed flag (which it may clear on a palette
// desktop). A refused full-screen mode is told to the user. 0 or the display's failure.
platform::HResult init_display(Player& player, platform::WindowHandle window);

// Switches between windowed and full screen. On failure the device is destroyed, the user
// is told and the window is asked to close.
void toggle_fullscreen(Player& player, platform::WindowHandle window);

}  // namespace app
