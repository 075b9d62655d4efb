// The fixed texts of the player: the product caption and the five texts composed once at
// start-up (version, publisher label, web page address, version tag, window title).
#pragma once

namespace app {

// The product caption: the window class name and the title of every message box.
inline constexpr const char product_caption[] = "Moviquel Player";
// Shown when the embedded pictures are missing or cannot be decoded at start-up.
inline constexpr const char damaged_pictures_text[] =
    "The pictures inside the program are damaged. The program will now exit.";

// The messages of the display's failures, each shown with the caption and the error icon.
// The full-screen mode (640×480, 16 bits per pixel) is not available; the player goes on
// windowed.
inline constexpr const char no_full_screen_text[] =
    "This display card does not support 640x480x16 ";
// Neither a full-screen nor a windowed display could be made.
inline constexpr const char no_display_text[] =
    "DirectDraw init failed.\nPlease Install DirectX version 7.0 or later.\nThe program will "
    "now exit.\n";
// A switch between windowed and full screen failed; the window is closed.
inline constexpr const char mode_switch_failed_text[] =
    "InitDirectDraw() failed. The program will now exit. ";
// A frame could not be shown.
inline constexpr const char frame_failed_text[] =
    "Displaying the next frame failed. The program will now exit. ";

// The texts composed at start-up, never changed afterwards. Plain 8-bit strings.
struct Texts {
  char version_text[8] = {};           // "1-1"
  char publisher_label_text[16] = {};  // the 11-character publisher label
  char web_page_address[64] = {};      // host, "/mql/index.html?mqlp", version_text
  char version_tag_text[16] = {};      // "MQLP 1-1"
  char window_title[48] = {};          // label, version_text and caption, blank-separated
};

// Fills the five texts.
void compose_texts(Texts& texts);

}  // namespace app
