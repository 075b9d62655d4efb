// The picture switch: the shown picture changes, and the pixel format, the scene and the
// cursor follow it.
#pragma once

#include "app/player.h"

namespace app {

// Shows the picture that the scene's info_mode names: prepares it, re-reads the frame
// surface's pixel format, builds the scene and sets the cursor (help cursor in info mode,
// the arrow in a window, none in full screen). On failure returns false with nothing
// changed.
bool show_picture(Player& player);

}  // namespace app
