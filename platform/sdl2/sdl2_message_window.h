// A message box drawn by the backend in a small window of its own: the caption as its title,
// the text line by line and a default OK button, modal in the way of the About dialog.
#pragma once

#include <SDL.h>

namespace platform::sdl2 {

// Runs the box over owner (may be null) until it is answered: Enter, keypad Enter, Space or
// Esc (acting when released), a click on OK, the close box or a quit request, which is kept
// for after it (run_modal_loop). False when the window cannot be made.
bool run_message_window(SDL_Window* owner, const char* caption, const char* text);

}  // namespace platform::sdl2
