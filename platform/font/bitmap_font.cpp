// Glyph look-up, measuring and drawing of the bitmap text font.
#include "platform/font/bitmap_font.h"

#include "platform/font/bitmap_font_data.h"

namespace platform::font {
namespace {

int code_of(char c) {
  return static_cast<unsigned char>(c);
}

}  // namespace

int line_height() {
  return kCellHeight;
}

int glyph_advance(char c) {
  return kGlyphAdvance[code_of(c)];
}

bool glyph_pixel(char c, int x, int y) {
  if (x < 0 || y < 0 || x >= glyph_advance(c) || y >= kCellHeight || x >= 16) return false;
  return (kGlyphRows[code_of(c)][y] & (0x8000u >> x)) != 0;
}

int text_width(const char* text, int length) {
  if (text == nullptr) return 0;
  int width = 0;
  for (int i = 0; i < length; ++i) width += glyph_advance(text[i]);
  return width;
}

void draw_text(const char* text, int length, int x, int y, PlotFunction plot, void* context) {
  if (text == nullptr || plot == nullptr) return;
  int left = x;
  for (int i = 0; i < length; ++i) {
    const char c = text[i];
    const int advance = glyph_advance(c);
    for (int row = 0; row < kCellHeight; ++row) {
      for (int column = 0; column < advance; ++column) {
        plot(context, left + column, y + row, glyph_pixel(c, column, row));
      }
    }
    left += advance;
  }
}

}  // namespace platform::font
