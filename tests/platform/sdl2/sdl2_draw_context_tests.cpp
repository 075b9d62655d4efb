// Text drawing and pixels on a plain SDL surface.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/sdl2/sdl2_draw_context.h"

namespace platform::sdl2 {
namespace {

TEST(Sdl2DrawContext, TextIsDrawnOpaqueAndPixelsRoundTripThroughGdiColours) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 64, 20, 32, SDL_PIXELFORMAT_XRGB8888);
  ASSERT_NE(s, nullptr);
  SDL_FillRect(s, nullptr, 0x00123456);
  Sdl2DrawContext context(s);
  context.set_bk_color(0x404040);
  context.set_text_color(0xFFFFFF);
  ASSERT_TRUE(context.text_out(0, 0, "Wi", 2));
  std::int32_t width = 0, height = 0;
  ASSERT_TRUE(context.text_extent("Wi", 2, &width, &height));
  int ink = 0, paper = 0, untouched = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 64; ++x) {
      const Uint32 p = read_pixel(s, x, y);
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
  EXPECT_EQ(context.set_pixel(1, 1, 0x00102030), 0x00102030u);
  EXPECT_EQ(read_pixel(s, 1, 1), 0x00302010u);
  EXPECT_EQ(context.get_pixel(1, 1), 0x00102030u);
  EXPECT_EQ(context.get_pixel(64, 0), kInvalidColor);
  SDL_FreeSurface(s);
}

}  // namespace
}  // namespace platform::sdl2
