// The picture switch: the shown picture changes, and the pixel format, the scene and the
// cursor follow it.
#pragma once

namespace app {

// Shows the picture that info_mode names: prepares it, re-reads the frame surface's pixel
// format, builds the scene and sets the cursor (help cursor in info mode, the arrow in a
// window, none in full screen). On failure returns false with nothing changed.
bool show_picture();

// Makes show_picture the scene's picture switch (the one scene_tick calls when the
// scene's time is up). The shell calls it once at start-up, before the first picture.
void install_picture_switch();

}  // namespace app
