// Filled rectangles and text in the player's bitmap font on SDL surfaces, in GDI colours, for
// the backend's own drawn menu bar and windows.
#pragma once

#include <SDL.h>

#include "platform/direct_draw.h"

namespace platform::sdl2 {

// Fills w x h pixels at (x, y) with a GDI colour (0x00BBGGRR); SDL clips to the surface.
void fill_rect(SDL_Surface* surface, int x, int y, int w, int h, ColorRef color);

// Draws length characters of text with the top-left of the first cell at (x, y), ink in
// ink and the rest of the cells in paper, as GDI's opaque text does; clipped to the surface.
void draw_text(SDL_Surface* surface, int x, int y, const char* text, int length, ColorRef ink,
               ColorRef paper);

}  // namespace platform::sdl2
