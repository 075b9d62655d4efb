// The parts of the SDL2 backend that need no display: the key table, the File menu's
// items, the icon reader and text drawing on a plain SDL surface.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/message_pump.h"
#include "platform/sdl2/sdl2_draw_context.h"
#include "platform/sdl2/sdl2_icon.h"
#include "platform/sdl2/sdl2_keys.h"
#include "platform/sdl2/sdl2_menu_bar.h"

namespace platform::sdl2 {
namespace {

TEST(Sdl2Keys, LettersAndDigitsBecomeTheirUpperCaseCodes) {
  EXPECT_EQ(virtual_key(SDLK_a), 0x41u);
  EXPECT_EQ(virtual_key(SDLK_p), 0x50u);  // 'P': statistics
  EXPECT_EQ(virtual_key(SDLK_t), 0x54u);  // 'T': mode
  EXPECT_EQ(virtual_key(SDLK_x), 0x58u);
  EXPECT_EQ(virtual_key(SDLK_z), 0x5Au);
  EXPECT_EQ(virtual_key(SDLK_0), 0x30u);
  EXPECT_EQ(virtual_key(SDLK_9), 0x39u);
}

TEST(Sdl2Keys, ControlKeysBecomeTheWindowsCodesTheHandlersKnow) {
  EXPECT_EQ(virtual_key(SDLK_SPACE), 0x20u);
  EXPECT_EQ(virtual_key(SDLK_RETURN), 13u);
  EXPECT_EQ(virtual_key(SDLK_KP_ENTER), 13u);
  EXPECT_EQ(virtual_key(SDLK_ESCAPE), 27u);
  EXPECT_EQ(virtual_key(SDLK_LALT), 18u);
  EXPECT_EQ(virtual_key(SDLK_RALT), 18u);
  EXPECT_EQ(virtual_key(SDLK_LSHIFT), 0x10u);
  EXPECT_EQ(virtual_key(SDLK_RSHIFT), 0x10u);
  EXPECT_EQ(virtual_key(SDLK_LCTRL), 0x11u);
  EXPECT_EQ(virtual_key(SDLK_RCTRL), 0x11u);
  EXPECT_EQ(virtual_key(SDLK_F10), 0x79u);
}

TEST(Sdl2Keys, KeysOutsideTheHandlersOwnAlsoReachTheWindowProcedure) {
  EXPECT_EQ(virtual_key(SDLK_F13), 0x7Cu);
  EXPECT_EQ(virtual_key(SDLK_F24), 0x87u);
  EXPECT_EQ(virtual_key(SDLK_NUMLOCKCLEAR), 0x90u);
  EXPECT_EQ(virtual_key(SDLK_SCROLLLOCK), 0x91u);
  EXPECT_EQ(virtual_key(SDLK_PRINTSCREEN), 0x2Cu);
  EXPECT_EQ(virtual_key(SDLK_LGUI), 0x5Bu);
  EXPECT_EQ(virtual_key(SDLK_RGUI), 0x5Cu);
  EXPECT_EQ(virtual_key(SDLK_APPLICATION), 0x5Du);
  // Keys with no Windows code of their own come with the code Windows gives such keys.
  EXPECT_EQ(virtual_key(SDLK_AUDIOPLAY), 0xFFu);
  EXPECT_EQ(virtual_key(SDLK_UNKNOWN), 0xFFu);
}

TEST(Sdl2Keys, AltAndF10AndKeysWithAltHeldAreSystemKeys) {
  EXPECT_TRUE(is_system_key(SDLK_LALT, KMOD_NONE));
  EXPECT_TRUE(is_system_key(SDLK_F10, KMOD_NONE));
  EXPECT_TRUE(is_system_key(SDLK_RETURN, KMOD_LALT));
  EXPECT_TRUE(is_system_key(SDLK_x, KMOD_RALT));
  EXPECT_FALSE(is_system_key(SDLK_x, KMOD_NONE));
  EXPECT_FALSE(is_system_key(SDLK_ESCAPE, KMOD_LSHIFT));
}

SDL_KeyboardEvent key_event(Uint32 type, SDL_Keycode key, Uint16 modifiers, Uint8 repeat = 0) {
  SDL_KeyboardEvent e{};
  e.type = type;
  e.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.repeat = repeat;
  e.keysym.sym = key;
  e.keysym.mod = modifiers;
  return e;
}

Message key(Uint32 type, SDL_Keycode sym, Uint16 modifiers = KMOD_NONE) {
  static int window_tag;
  return key_message(&window_tag, key_event(type, sym, modifiers));
}

TEST(Sdl2Keys, PressAndReleaseBecomeKeyMessagesOrSystemKeyMessagesWithAlt) {
  EXPECT_EQ(key(SDL_KEYDOWN, SDLK_a).id, kWM_KEYDOWN);
  const Message up = key(SDL_KEYUP, SDLK_a);
  EXPECT_EQ(up.id, kWM_KEYUP);
  EXPECT_EQ(up.wparam, 0x41u);
  // Windows sets the previous-state and transition bits on every release.
  EXPECT_NE(static_cast<std::uint32_t>(up.lparam) & (1u << 30), 0u);
  EXPECT_NE(static_cast<std::uint32_t>(up.lparam) & (1u << 31), 0u);
  EXPECT_EQ(key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT).id, kWM_SYSKEYDOWN);
  EXPECT_EQ(key(SDL_KEYUP, SDLK_a, KMOD_LALT).id, kWM_SYSKEYUP);
  EXPECT_EQ(key(SDL_KEYUP, SDLK_LALT).id, kWM_SYSKEYUP);
  EXPECT_EQ(key(SDL_KEYUP, SDLK_UNKNOWN).id, kWM_KEYUP);
}

TEST(Sdl2Keys, EscAltEnterAndAltXAreTheAcceleratorsAndActOnThePress) {
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_ESCAPE)), 1001);
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT)), 1002);
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_RALT)), 1002);
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_x, KMOD_LALT)), 1001);
  // Releases, other modifiers and the plain keys are no accelerators.
  EXPECT_EQ(accelerator_command(key(SDL_KEYUP, SDLK_ESCAPE)), 0);
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_RETURN)), 0);
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_x)), 0);
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_LALT)), 0);
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_LSHIFT)), 0);
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT | KMOD_LCTRL)), 0);
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_x, KMOD_LALT | KMOD_LSHIFT)), 0);
  EXPECT_EQ(accelerator_command(key(SDL_KEYDOWN, SDLK_t)), 0);
}

TEST(Sdl2Menu, FileMenuHasItsFourCommandsBetweenPairsOfSeparators) {
  std::vector<std::string> texts;
  std::vector<int> commands;
  for (const MenuItem& item : file_menu_items()) {
    texts.push_back(item.text != nullptr ? item.text : "-");
    commands.push_back(item.command);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "-", "About M.Q.L. Player", "-", "-", "Moviquels on the WEB", "-", "-",
                       "Toggle Full-Screen\tAlt+Enter", "-", "-", "E&xit\tAlt+X", "-"}));
  EXPECT_EQ(commands, (std::vector<int>{0, 1000, 0, 0, 40002, 0, 0, 1002, 0, 0, 1001, 0}));
}

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
