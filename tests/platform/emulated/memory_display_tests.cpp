// The memory display and the tests' platform over it: the behaviour the display tests rely
// on (pitch, formats, colour key, flip, loss and restore, faults, counting) and the text
// font's metrics.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/font/bitmap_font.h"
#include "tests/support/fake_platform.h"
#include "tests/support/virtual_clock.h"

namespace {

using test_support::FakePlatform;
using test_support::Op;

platform::Surface* make_surface(platform::DirectDraw* ddraw, std::uint32_t width,
                                std::uint32_t height) {
  platform::SurfaceDesc desc;
  desc.flags = platform::kDescCaps | platform::kDescWidth | platform::kDescHeight;
  desc.caps = platform::kCapsOffscreenPlain;
  desc.width = width;
  desc.height = height;
  platform::Surface* surface = nullptr;
  EXPECT_EQ(ddraw->create_surface(desc, &surface), platform::kS_OK);
  return surface;
}

TEST(FakePlatform, LockedRowsAreAsWideAsThePitchIncludingPadding) {
  FakePlatform p;
  p.display.set_desktop(800, 600, platform::emulated::format_555());
  p.display.set_row_padding_bytes(12);
  platform::DirectDraw* ddraw = nullptr;
  ASSERT_EQ(p.display.create_direct_draw(&ddraw), platform::kS_OK);
  platform::Surface* surface = make_surface(ddraw, 10, 3);
  platform::SurfaceDesc locked;
  ASSERT_EQ(surface->lock(nullptr, &locked, platform::kLockWait), platform::kS_OK);
  EXPECT_EQ(locked.pitch_bytes, 10 * 2 + 12);
  EXPECT_EQ(locked.format.r_mask, 0x7C00u);
  auto* row1 = static_cast<std::uint8_t*>(locked.pixels) + locked.pitch_bytes;
  row1[2] = 0x1F;  // pixel (1, 1): blue 31
  row1[3] = 0x7C;  // and red 31
  EXPECT_EQ(surface->lock(nullptr, &locked, 0), platform::emulated::kDDERR_SURFACEBUSY);
  EXPECT_EQ(surface->unlock(nullptr), platform::kS_OK);
  EXPECT_EQ(platform::emulated::surface_rgb(surface, 1, 1), 0xF800F8u);
  surface->release();
  ddraw->release();
  EXPECT_EQ(p.display.live_objects(), 0);
  EXPECT_TRUE(p.display.misuses().empty());
}

// Pixel (x, 0) of a locked surface set to raw, whatever its bytes per pixel.
void set_raw(platform::Surface* surface, std::uint32_t x, std::uint32_t raw) {
  platform::SurfaceDesc locked;
  ASSERT_EQ(surface->lock(nullptr, &locked, 0), platform::kS_OK);
  const std::uint32_t bytes = locked.format.rgb_bit_count / 8;
  std::memcpy(static_cast<std::uint8_t*>(locked.pixels) + x * bytes, &raw, bytes);
  surface->unlock(nullptr);
}

// Both pixel sizes the player uses have a row copy of their own type.
TEST(FakePlatform, KeyedFastCopySkipsKeyPixelsAndPlainCopyDoesNot) {
  for (const platform::PixelFormatDesc& format :
       {platform::emulated::format_565(), platform::emulated::format_32()}) {
    SCOPED_TRACE(format.rgb_bit_count);
    FakePlatform p;
    p.display.set_desktop(800, 600, format);
    platform::DirectDraw* ddraw = nullptr;
    ASSERT_EQ(p.display.create_direct_draw(&ddraw), platform::kS_OK);
    platform::Surface* dest = make_surface(ddraw, 4, 1);
    platform::Surface* source = make_surface(ddraw, 2, 1);
    platform::emulated::surface_fill(dest, 0x1111);
    platform::emulated::surface_fill(source, 0);
    set_raw(source, 1, 0xABCD);
    EXPECT_EQ(dest->blt_fast(1, 0, source, nullptr, platform::kBltFastSrcColorKey),
              platform::emulated::kDDERR_NOCOLORKEY);
    ASSERT_EQ(source->set_color_key(platform::kColorKeySrcBlt, 0, 0), platform::kS_OK);
    ASSERT_EQ(dest->blt_fast(1, 0, source, nullptr, platform::kBltFastSrcColorKey), 0);
    EXPECT_EQ(platform::emulated::surface_raw(dest, 1, 0), 0x1111u);
    EXPECT_EQ(platform::emulated::surface_raw(dest, 2, 0), 0xABCDu);
    // Clipped at the right edge rather than refused.
    ASSERT_EQ(dest->blt_fast(3, 0, source, nullptr, platform::kBltFastNoColorKey), 0);
    EXPECT_EQ(platform::emulated::surface_raw(dest, 3, 0), 0u);
    // A key whose low 16 bits are a pixel's matches no 16-bit pixel, as the whole is compared.
    ASSERT_EQ(source->set_color_key(platform::kColorKeySrcBlt, 0x10000, 0x10000), 0);
    ASSERT_EQ(dest->blt_fast(0, 0, source, nullptr, platform::kBltFastSrcColorKey), 0);
    EXPECT_EQ(platform::emulated::surface_raw(dest, 0, 0), 0u);
    EXPECT_EQ(platform::emulated::surface_raw(dest, 1, 0), 0xABCDu);
    source->release();
    dest->release();
    ddraw->release();
    EXPECT_EQ(p.display.live_objects(), 0);
  }
}

// A whole copy between surfaces alike swaps their memory and owes the source a copy: each
// must still keep its own pixels through what follows.
TEST(FakePlatform, SurfacesCopiedWholeKeepTheirOwnPixelsAfterwards) {
  FakePlatform p;
  platform::DirectDraw* ddraw = nullptr;
  ASSERT_EQ(p.display.create_direct_draw(&ddraw), platform::kS_OK);
  platform::Surface* a = make_surface(ddraw, 3, 2);
  platform::Surface* b = make_surface(ddraw, 3, 2);
  platform::Surface* dot = make_surface(ddraw, 1, 1);
  platform::emulated::surface_fill(a, 1);
  platform::emulated::surface_fill(b, 2);
  platform::emulated::surface_fill(dot, 9);
  set_raw(b, 0, 5);
  ASSERT_EQ(a->blt(nullptr, b, nullptr, platform::kBltWait, 0), 0);
  EXPECT_EQ(platform::emulated::surface_raw(a, 0, 0), 5u);
  EXPECT_EQ(platform::emulated::surface_raw(a, 2, 1), 2u);
  // Partly changed, the source has its pixels before the change.
  ASSERT_EQ(b->blt_fast(1, 0, dot, nullptr, platform::kBltFastNoColorKey), 0);
  EXPECT_EQ(platform::emulated::surface_raw(b, 0, 0), 5u);
  EXPECT_EQ(platform::emulated::surface_raw(b, 1, 0), 9u);
  EXPECT_EQ(platform::emulated::surface_raw(a, 1, 0), 2u);
  // Overwritten whole, or the destination changed or gone: neither sees the other's pixels.
  ASSERT_EQ(a->blt(nullptr, b, nullptr, platform::kBltWait, 0), 0);
  ASSERT_EQ(b->blt(nullptr, nullptr, nullptr, platform::kBltColorFill, 7), 0);
  EXPECT_EQ(platform::emulated::surface_raw(a, 1, 0), 9u);
  EXPECT_EQ(platform::emulated::surface_raw(b, 1, 0), 7u);
  // A whole fill is kept through a partial copy, and gives way to a covering one.
  ASSERT_EQ(a->blt(nullptr, nullptr, nullptr, platform::kBltColorFill, 3), 0);
  ASSERT_EQ(a->blt_fast(0, 1, dot, nullptr, platform::kBltFastNoColorKey), 0);
  EXPECT_EQ(platform::emulated::surface_raw(a, 1, 1), 3u);
  ASSERT_EQ(b->blt(nullptr, nullptr, nullptr, platform::kBltColorFill, 4), 0);
  ASSERT_EQ(b->blt_fast(0, 0, a, nullptr, platform::kBltFastNoColorKey), 0);
  EXPECT_EQ(platform::emulated::surface_raw(b, 0, 1), 9u);
  EXPECT_EQ(platform::emulated::surface_raw(b, 1, 1), 3u);
  ASSERT_EQ(b->blt(nullptr, nullptr, nullptr, platform::kBltColorFill, 7), 0);
  ASSERT_EQ(a->blt(nullptr, b, nullptr, platform::kBltWait, 0), 0);
  ASSERT_EQ(a->blt_fast(2, 1, dot, nullptr, platform::kBltFastNoColorKey), 0);
  EXPECT_EQ(platform::emulated::surface_raw(b, 2, 1), 7u);
  ASSERT_EQ(a->blt(nullptr, dot, nullptr, platform::kBltWait, 0), 0);  // enlarged
  ASSERT_EQ(b->blt(nullptr, a, nullptr, platform::kBltWait, 0), 0);
  b->release();
  platform::SurfaceDesc locked;
  ASSERT_EQ(a->lock(nullptr, &locked, 0), platform::kS_OK);
  EXPECT_EQ(static_cast<std::uint32_t*>(locked.pixels)[4], 9u);  // pixel (1, 1)
  a->unlock(nullptr);
  a->release();
  dot->release();
  ddraw->release();
  EXPECT_EQ(p.display.live_objects(), 0);
  EXPECT_TRUE(p.display.misuses().empty());
}

TEST(FakePlatform, FlipShowsTheBackBufferAndTheChainDiesWithItsFront) {
  FakePlatform p;
  platform::DirectDraw* ddraw = nullptr;
  ASSERT_EQ(p.display.create_direct_draw(&ddraw), platform::kS_OK);
  ASSERT_EQ(ddraw->set_cooperative_level(p.window(),
                                         platform::kCoopExclusive | platform::kCoopFullscreen),
            0);
  ASSERT_EQ(ddraw->set_display_mode(640, 480, 16), 0);
  EXPECT_EQ(p.windows.screen_width(), 640);
  platform::SurfaceDesc desc;
  desc.flags = platform::kDescCaps | platform::kDescBackBufferCount;
  desc.caps = 0x2218;
  desc.back_buffer_count = 1;
  platform::Surface* front = nullptr;
  ASSERT_EQ(ddraw->create_surface(desc, &front), 0);
  platform::Surface* back = nullptr;
  ASSERT_EQ(front->get_attached_surface(platform::kCapsBackBuffer, &back), 0);
  platform::emulated::surface_fill(back, 0xF800);
  p.display.fail(Op::kFlip, platform::kDDERR_WASSTILLDRAWING, 0, 2);
  EXPECT_EQ(front->flip(nullptr, platform::kFlipDoNotWait), platform::kDDERR_WASSTILLDRAWING);
  EXPECT_EQ(front->flip(nullptr, platform::kFlipDoNotWait), platform::kDDERR_WASSTILLDRAWING);
  EXPECT_EQ(p.display.screen_rgb(5, 5), 0u);
  EXPECT_EQ(front->flip(nullptr, platform::kFlipDoNotWait), 0);
  EXPECT_EQ(p.display.screen_rgb(5, 5), 0xF80000u);
  EXPECT_EQ(p.display.presents(), 1);

  p.display.lose_surfaces();
  EXPECT_EQ(front->flip(nullptr, 0), platform::kDDERR_SURFACELOST);
  EXPECT_EQ(front->restore(), 0);
  EXPECT_FALSE(platform::emulated::surface_lost(back));

  back->release();
  EXPECT_EQ(p.display.live(test_support::Kind::kSurface), 2);
  front->release();
  EXPECT_EQ(p.display.live(test_support::Kind::kSurface), 0);
  ddraw->release();
  EXPECT_FALSE(p.display.full_screen_mode_set());
  EXPECT_EQ(p.display.live_objects(), 0);
}

// A screen that cannot go full screen (SDL refusing it): the mode is refused, not pretended.
TEST(FakePlatform, AModeTheScreenCannotShowIsRefusedAndChangesNothing) {
  struct Screen : platform::emulated::MemoryScreen {
    void show(const std::uint8_t*, std::int32_t, std::int32_t, std::int32_t,
              const platform::PixelFormatDesc&) override {}
    bool set_full_screen(bool on) override { return !on || takes_full_screen; }
    bool takes_full_screen = false;
  } screen;
  FakePlatform p;
  p.display.set_screen(&screen);
  platform::DirectDraw* ddraw = nullptr;
  ASSERT_EQ(p.display.create_direct_draw(&ddraw), 0);
  ASSERT_EQ(ddraw->set_cooperative_level(p.window(), 0x11), 0);
  EXPECT_EQ(ddraw->set_display_mode(640, 480, 16), platform::kE_FAIL);
  EXPECT_FALSE(p.display.full_screen_mode_set());
  EXPECT_EQ(p.display.screen_width(), 1024);
  screen.takes_full_screen = true;
  EXPECT_EQ(ddraw->set_display_mode(640, 480, 16), 0);
  EXPECT_EQ(p.display.screen_width(), 640);
  ddraw->release();
  p.display.set_screen(nullptr);
}

TEST(FakePlatform, CooperativeLevelReportsLostExclusiveModeAndChangedDesktop) {
  FakePlatform p;
  platform::DirectDraw* full = nullptr;
  platform::DirectDraw* normal = nullptr;
  ASSERT_EQ(p.display.create_direct_draw(&full), 0);
  ASSERT_EQ(p.display.create_direct_draw(&normal), 0);
  ASSERT_EQ(full->set_cooperative_level(p.window(), 0x11), 0);
  ASSERT_EQ(normal->set_cooperative_level(p.window(), platform::kCoopNormal), 0);
  EXPECT_EQ(full->test_cooperative_level(), 0);
  p.display.take_exclusive_mode();
  EXPECT_EQ(full->test_cooperative_level(), platform::kDDERR_NOEXCLUSIVEMODE);
  EXPECT_EQ(normal->test_cooperative_level(), platform::kDDERR_EXCLUSIVEMODEALREADYSET);
  p.display.return_exclusive_mode();
  p.display.change_desktop_mode(platform::emulated::format_565());
  EXPECT_EQ(normal->test_cooperative_level(), platform::kDDERR_WRONGMODE);
  EXPECT_EQ(normal->restore_all_surfaces(), platform::kDDERR_WRONGMODE);
  full->release();
  normal->release();
  EXPECT_EQ(p.display.live_objects(), 0);
}

TEST(FakePlatform, InjectedFaultsSkipThenFailTheGivenNumberOfTimes) {
  FakePlatform p;
  p.display.fail(Op::kCreateDirectDraw, platform::kE_OUTOFMEMORY, 1, 1);
  platform::DirectDraw* ddraw = nullptr;
  ASSERT_EQ(p.display.create_direct_draw(&ddraw), 0);
  ddraw->release();
  EXPECT_EQ(p.display.create_direct_draw(&ddraw), platform::kE_OUTOFMEMORY);
  EXPECT_EQ(ddraw, nullptr);
  ASSERT_EQ(p.display.create_direct_draw(&ddraw), 0);
  ddraw->release();
  EXPECT_EQ(p.display.calls(Op::kCreateDirectDraw), 3);
  EXPECT_EQ(p.display.live_objects(), 0);
}

TEST(FakePlatform, MisuseIsRecorded) {
  FakePlatform p;
  platform::DirectDraw* ddraw = nullptr;
  ASSERT_EQ(p.display.create_direct_draw(&ddraw), 0);
  platform::Surface* surface = make_surface(ddraw, 2, 2);
  EXPECT_EQ(surface->unlock(nullptr), platform::emulated::kDDERR_NOTLOCKED);
  EXPECT_EQ(p.display.misuses().size(), 1u);
  surface->release();
  ddraw->release();
}

TEST(FakePlatform, WindowAndShellCallsAreRecorded) {
  FakePlatform p;
  test_support::VirtualClock clock;
  const platform::Services services = p.services(nullptr, &clock);
  EXPECT_EQ(services.display, &p.display);
  EXPECT_EQ(services.windows, &p.windows);
  EXPECT_EQ(services.shell, &p.shell);
  EXPECT_EQ(services.resources, nullptr);
  EXPECT_EQ(services.clock, &clock);
  p.windows.message_box(p.window(), "text", "caption", platform::kMessageBoxIconError);
  p.windows.attach_menu(p.window(), platform::kMainMenuId);
  p.windows.post_close(p.window());
  p.shell.set_cursor(platform::Cursor::kHelp);
  EXPECT_EQ(p.shell.shell_open("www.mql.example"), 42);
  ASSERT_EQ(p.windows.message_boxes().size(), 1u);
  EXPECT_EQ(p.windows.message_boxes()[0].caption, "caption");
  EXPECT_EQ(p.windows.menu_id(), platform::kMainMenuId);
  EXPECT_EQ(p.windows.close_requests(), 1);
  EXPECT_EQ(p.shell.cursor(), platform::Cursor::kHelp);
  EXPECT_EQ(p.shell.shell_open_calls().at(0), "www.mql.example");
}

TEST(BitmapFont, IsSixteenPixelsHighAndProportional) {
  EXPECT_EQ(platform::font::line_height(), 16);
  EXPECT_EQ(platform::font::glyph_advance(' '), 5);
  EXPECT_LT(platform::font::glyph_advance('i'), platform::font::glyph_advance('M'));
  EXPECT_EQ(platform::font::text_width("MQ", 2),
            platform::font::glyph_advance('M') + platform::font::glyph_advance('Q'));
  // 'I' is ink on a vertical stroke through the middle rows and blank above the ascent.
  int ink_rows = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < platform::font::glyph_advance('I'); ++x) {
      if (platform::font::glyph_pixel('I', x, y)) {
        ++ink_rows;
        break;
      }
    }
  }
  EXPECT_GE(ink_rows, 9);
  EXPECT_FALSE(platform::font::glyph_pixel('I', 0, 0));
  EXPECT_FALSE(platform::font::glyph_pixel('I', 0, 16));
}

}  // namespace
