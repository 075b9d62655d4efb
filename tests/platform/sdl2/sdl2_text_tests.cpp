// Text and rectangles on a plain SDL surface, in GDI colours.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>

#include "platform/font/bitmap_font.h"
#include "platform/sdl2/sdl2_text.h"

namespace platform::sdl2 {
namespace {

Uint32 pixel_at(const SDL_Surface* s, int x, int y) {
  Uint32 p = 0;
  std::memcpy(&p, static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4, 4);
  return p;
}

TEST(Sdl2Text, TextIsDrawnOpaqueInsideItsCellsAndGdiColoursAreMapped) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 64, 20, 32, SDL_PIXELFORMAT_XRGB8888);
  ASSERT_NE(s, nullptr);
  SDL_FillRect(s, nullptr, 0x00123456);
  draw_text(s, 0, 0, "Wi", 2, 0xFFFFFF, 0x404040);
  const int width = font::text_width("Wi", 2);
  const int height = font::line_height();
  int ink = 0, paper = 0, untouched = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 64; ++x) {
      const Uint32 p = pixel_at(s, x, y);
      const bool inside = x < width && y < height;
      if (inside && p == 0x00FFFFFF) ++ink;
      if (inside && p == 0x00404040) ++paper;
      if (!inside && p == 0x00123456) ++untouched;
    }
  }
  EXPECT_GT(ink, 10);
  EXPECT_EQ(ink + paper, width * height);
  EXPECT_EQ(untouched, 64 * 20 - width * height);
  // GDI colours are 0x00BBGGRR; the surface stores 0x00RRGGBB.
  fill_rect(s, 1, 1, 2, 1, 0x00102030);
  EXPECT_EQ(pixel_at(s, 1, 1), 0x00302010u);
  EXPECT_EQ(pixel_at(s, 2, 1), 0x00302010u);
  EXPECT_EQ(pixel_at(s, 3, 1), 0x00404040u);
  // Text that runs off the surface is clipped, not written past it.
  draw_text(s, 60, 4, "WWW", 3, 0xFFFFFF, 0x000000);
  const Uint32 edge = pixel_at(s, 63, 4);
  EXPECT_TRUE(edge == 0x00FFFFFFu || edge == 0u) << std::hex << edge;
  SDL_FreeSurface(s);
}

}  // namespace
}  // namespace platform::sdl2
