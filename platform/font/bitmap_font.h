// The player's text font: a bold 16-pixel bitmap font close to the Windows system font,
// for backends that have no GDI (the SDL2 backend and the tests' stand-in).
#pragma once

#include <cstdint>

namespace platform::font {

// Height of every text line in pixels.
int line_height();

// Pixels from the left edge of the glyph of character c to the next glyph.
int glyph_advance(char c);

// True when pixel (x, y) of the glyph cell of c is ink; false outside the cell.
bool glyph_pixel(char c, int x, int y);

// Width in pixels of length characters of text (0 for a null text or length <= 0).
int text_width(const char* text, int length);

// Calls plot(context, x, y, ink) for every pixel of the text's cells, with the top-left of
// the first cell at (x, y); ink is false for background pixels. Clipping is the caller's.
using PlotFunction = void (*)(void* context, int x, int y, bool ink);
void draw_text(const char* text, int length, int x, int y, PlotFunction plot, void* context);

}  // namespace platform::font
