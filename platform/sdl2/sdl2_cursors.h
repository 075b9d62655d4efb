// The player's mouse cursors over SDL: the arrow, and the help cursor (an arrow with a
// question mark), which SDL does not have and is drawn here.
#pragma once

#include <SDL.h>

namespace platform::sdl2 {

// The help cursor, created on first use; null when SDL cannot make it.
SDL_Cursor* help_cursor();
// SDL's system arrow, created on first use.
SDL_Cursor* arrow_cursor();
// Frees both cursors (before SDL_Quit).
void free_cursors();

}  // namespace platform::sdl2
