// Rectangles and bitmap-font text on SDL surfaces.
#include "platform/sdl2/sdl2_text.h"

#include <cstring>

#include "platform/font/bitmap_font.h"

namespace platform::sdl2 {

namespace {

Uint32 map_color(const SDL_Surface* surface, ColorRef color) {
  return SDL_MapRGB(surface->format, static_cast<Uint8>(color), static_cast<Uint8>(color >> 8),
                    static_cast<Uint8>(color >> 16));
}

struct Plot {
  SDL_Surface* target;
  Uint32 ink;
  Uint32 paper;
};

void plot(void* context, int x, int y, bool ink) {
  const auto* p = static_cast<const Plot*>(context);
  SDL_Surface* s = p->target;
  if (x < 0 || y < 0 || x >= s->w || y >= s->h) return;
  const Uint32 pixel = ink ? p->ink : p->paper;
  const int bytes = s->format->BytesPerPixel;
  Uint8* at = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * bytes;
  if (bytes == 2) {
    const auto v = static_cast<Uint16>(pixel);
    std::memcpy(at, &v, 2);
  } else if (bytes == 4) {
    std::memcpy(at, &pixel, 4);
  } else {
    // One byte, or three with the lowest first as SDL lays out 24-bit pixels here.
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<Uint8>(pixel >> (8 * i));
  }
}

}  // namespace

void fill_rect(SDL_Surface* surface, int x, int y, int w, int h, ColorRef color) {
  SDL_Rect r{x, y, w, h};
  SDL_FillRect(surface, &r, map_color(surface, color));
}

void draw_text(SDL_Surface* surface, int x, int y, const char* text, int length, ColorRef ink,
               ColorRef paper) {
  if (surface == nullptr || text == nullptr || length < 0) return;
  Plot p{surface, map_color(surface, ink), map_color(surface, paper)};
  font::draw_text(text, length, x, y, &plot, &p);
}

}  // namespace platform::sdl2
