// The icon reader: palette rows bottom-up, the transparency mask, damaged data.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <vector>

#include "platform/sdl2/sdl2_icon.h"

namespace platform::sdl2 {
namespace {

// A 2x2 icon with 8 bits per pixel, a palette of three colours and a mask that makes the
// bottom-right pixel transparent. Rows are stored bottom-up.
std::vector<unsigned char> tiny_icon() {
  std::vector<unsigned char> ico = {0, 0, 1, 0, 1,  0,         // directory
                                    2, 2, 3, 0, 1,  0, 8, 0,   // entry
                                    0, 0, 0, 0, 22, 0, 0, 0};  // size (patched), offset
  const unsigned char header[40] = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 8, 0};
  ico.insert(ico.end(), header, header + 40);
  ico[6 + 16 + 32] = 3;  // biClrUsed
  const unsigned char palette[12] = {0x10, 0x20, 0x30, 0, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0};
  ico.insert(ico.end(), palette, palette + 12);
  const unsigned char colour_rows[8] = {2, 0, 0, 0,   // bottom row: red, colour 0
                                        1, 2, 0, 0};  // top row: blue, red
  ico.insert(ico.end(), colour_rows, colour_rows + 8);
  const unsigned char mask_rows[8] = {0x40, 0, 0, 0,  // bottom row: right pixel transparent
                                      0x00, 0, 0, 0};
  ico.insert(ico.end(), mask_rows, mask_rows + 8);
  return ico;
}

Uint32 argb(SDL_Surface* s, int x, int y) {
  Uint32 v;
  std::memcpy(&v, static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 4, 4);
  return v;
}

TEST(Sdl2Icon, ReadsPaletteRowsBottomUpAndTheTransparencyMask) {
  const std::vector<unsigned char> ico = tiny_icon();
  SDL_Surface* icon = decode_icon(ico.data(), ico.size());
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->w, 2);
  EXPECT_EQ(icon->h, 2);
  EXPECT_EQ(argb(icon, 0, 0), 0xFF0000FFu);  // palette 1: blue
  EXPECT_EQ(argb(icon, 1, 0), 0xFFFF0000u);  // palette 2: red
  EXPECT_EQ(argb(icon, 0, 1), 0xFFFF0000u);
  EXPECT_EQ(argb(icon, 1, 1) >> 24, 0u);  // masked out
  SDL_FreeSurface(icon);
}

TEST(Sdl2Icon, RefusesTruncatedData) {
  std::vector<unsigned char> ico = tiny_icon();
  ico.resize(ico.size() - 3);
  EXPECT_EQ(decode_icon(ico.data(), ico.size()), nullptr);
  EXPECT_EQ(decode_icon(nullptr, 0), nullptr);
}

TEST(Sdl2Icon, TheApplicationIconReadsAsImageMagickReadsIt) {
  SDL_Surface* icon = application_icon();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->w, 32);
  EXPECT_EQ(icon->h, 32);
  // convert resources/moviquel.ico -format '%[pixel:p{0,0}] %[pixel:p{16,16}]' info:
  // gives srgba(0,0,0,1) srgba(247,168,30,1).
  EXPECT_EQ(argb(icon, 0, 0), 0xFF000000u);
  EXPECT_EQ(argb(icon, 16, 16), 0xFFF7A81Eu);
  SDL_FreeSurface(icon);
}

}  // namespace
}  // namespace platform::sdl2
