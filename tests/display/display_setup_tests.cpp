// The whole display as the shell drives it: the set-up's refusals and fallbacks, the layout
// read from the frame surface and the frame upload. The composed frame on the screen is
// checked through the shell's frame path (tests/app/frame_render_tests.cpp).
#include <gtest/gtest.h>

#include <memory>

#include "display/display_setup.h"
#include "display/pixel_format.h"
#include "display_test_support.h"

namespace {

using display_test::DisplayTest;
using test_support::Op;

TEST_F(DisplayTest, FullScreenRefusalIsReportedAsSuchAndTheWindowedRetryWorks) {
  platform.display.set_mode_640x480x16(false);
  screen.windowed = false;
  display::DisplayInit made = display::init_display(screen, platform.window());
  EXPECT_LT(made.result, 0);
  EXPECT_TRUE(made.full_screen_refused);
  // Telling the user is the shell's part.
  EXPECT_TRUE(platform.windows.message_boxes().empty());

  screen.windowed = true;
  made = display::init_display(screen, platform.window());
  ASSERT_EQ(made.result, platform::kS_OK);
  EXPECT_FALSE(made.full_screen_refused);
  EXPECT_TRUE(screen.windowed);
  EXPECT_EQ(platform.windows.menu_id(), platform::kMainMenuId);
  EXPECT_NE(platform.windows.style() & platform::kStyleSysMenu, 0u);
  // A later failure of a full-screen set-up is no refusal of the mode.
  platform.display.set_mode_640x480x16(true);
  platform.display.fail(Op::kCreateSurface, platform::kE_OUTOFMEMORY, 1);
  screen.windowed = false;
  made = display::init_display(screen, platform.window());
  EXPECT_EQ(made.result, platform::kE_OUTOFMEMORY);
  EXPECT_FALSE(made.full_screen_refused);
}

TEST_F(DisplayTest, WindowedOnAnEightBitDesktopEndsFullScreenWithoutMenu) {
  platform.display.set_desktop(1024, 768, platform::emulated::format_8());
  platform.windows.set_initial_style(platform::kStylePopup | platform::kStyleSysMenu);
  screen.windowed = 1;
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  EXPECT_FALSE(screen.windowed);
  EXPECT_TRUE(platform.display.full_screen_mode_set());
  EXPECT_EQ(screen.device->windowed, 0);
  EXPECT_EQ(platform.windows.menu_id(), 0);
  EXPECT_EQ(platform.windows.style() & platform::kStyleSysMenu, 0u);
  ASSERT_EQ(platform.windows.menu_calls().size(), 2u);
  EXPECT_TRUE(platform.windows.menu_calls()[0].attach);
  EXPECT_FALSE(platform.windows.menu_calls()[1].attach);
  EXPECT_TRUE(platform.windows.message_boxes().empty());
}

TEST_F(DisplayTest, FullScreenDetachesTheMenuAndClearsTheSystemMenuBit) {
  screen.windowed = 1;
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  screen.windowed = 0;
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  EXPECT_EQ(platform.windows.menu_id(), 0);
  // From WS_POPUP | WS_VISIBLE: the windowed style, the system menu added (caption, system
  // menu, sizing frame, minimise box: 0xCE0000), and the system menu taken off again.
  EXPECT_EQ(platform.windows.style_calls(),
            (std::vector<std::uint32_t>{0x10C60000u, 0x10CE0000u, 0x10C60000u}));
  EXPECT_EQ(platform.display.live(test_support::Kind::kDirectDraw), 1);
}

TEST_F(DisplayTest, ReleaseDisplayTwiceDoesNothingTheSecondTime) {
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  EXPECT_GT(platform.display.live_objects(), 0);
  display::release_display(screen);
  EXPECT_EQ(platform.display.live_objects(), 0);
  display::release_display(screen);
  EXPECT_EQ(screen.device, nullptr);
  EXPECT_EQ(screen.frame_surface, nullptr);
}

// Every call that can fail during the set-up fails once, at each of its occurrences; the
// display is then released and must leave nothing behind.
TEST_F(DisplayTest, EveryFailureDuringSetUpLeavesNothingAfterRelease) {
  const Op ops[] = {
      Op::kCreateDirectDraw, Op::kSetCooperativeLevel, Op::kSetDisplayMode, Op::kCreateSurface,
      Op::kCreateClipper,    Op::kClipperSetHwnd,      Op::kSetClipper,     Op::kGetAttachedSurface,
      Op::kGetPixelFormat,   Op::kGetSurfaceDesc,      Op::kLock,           Op::kGetDc,
      Op::kReleaseDc,        Op::kSetColorKey,         Op::kRestore,        Op::kTextExtent,
      Op::kTextOut};
  // A small desktop keeps the many set-ups quick.
  platform.display.set_desktop(700, 560, platform::emulated::format_32());
  for (const std::int32_t mode : {0, 1}) {
    for (const Op op : ops) {
      // How often a clean set-up calls op.
      screen.windowed = mode;
      const int before = platform.display.calls(op);
      ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
      display::release_display(screen);
      const int occurrences = platform.display.calls(op) - before;
      for (int skip = 0; skip < occurrences; ++skip) {
        platform.display.clear_faults();
        platform.display.fail(op, platform::kE_OUTOFMEMORY, skip);
        screen.windowed = mode;
        const platform::HResult hr = display::init_display(screen, platform.window()).result;
        if (op == Op::kCreateDirectDraw || op == Op::kCreateSurface || op == Op::kCreateClipper) {
          EXPECT_LT(hr, 0) << "op " << static_cast<int>(op) << " skip " << skip;
        }
        display::release_display(screen);
        ASSERT_EQ(platform.display.live_objects(), 0)
            << "mode " << mode << " op " << static_cast<int>(op) << " skip " << skip;
        display::release_display(screen);
      }
      platform.display.clear_faults();
    }
  }
}

TEST_F(DisplayTest, DetectFrameFormatReadsSixteenBitMasksAndFallsBackTo565) {
  platform.display.set_mode_640x480x16(true, platform::emulated::format_555());
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  display::detect_frame_format(screen);
  display::PixelFormat& format = screen.pixel_format;
  EXPECT_EQ(format.red_shift, 10);
  EXPECT_EQ(format.green_bits, 5);
  EXPECT_EQ(format.rgb_table[0x8000], 0u);
  EXPECT_EQ(format.rgb_table[0x7FFF], 0xF8F8F8u);

  // A failed query keeps the layout in force, even over a 32-bit frame surface.
  screen.windowed = 1;
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  platform.display.fail(Op::kGetPixelFormat, platform::kE_FAIL);
  display::detect_frame_format(screen);
  EXPECT_EQ(format.red_shift, 10);

  // A 32-bit frame surface gives 5-6-5.
  display::detect_frame_format(screen);
  EXPECT_EQ(format.red_shift, 11);
  EXPECT_EQ(format.green_bits, 6);
  EXPECT_EQ(format.rgb_table[0xFFFF], 0xF8FCF8u);
}

TEST_F(DisplayTest, UploadOfNoFrameLocksAndUnlocksAndCopiesNothing) {
  display::Display frameless{&platform.display, &platform.windows};
  display::set_label_texts(frameless, display_test::kPublisherText, display_test::kVersionText);
  ASSERT_EQ(display::init_display(frameless, platform.window()).result, platform::kS_OK);
  platform::emulated::surface_fill(frameless.frame_surface->surface, 0x1234);
  const int locks = platform.display.calls(Op::kLock);
  EXPECT_EQ(display::upload_frame(frameless), platform::kS_OK);
  EXPECT_EQ(platform.display.calls(Op::kLock), locks + 1);
  // DDLOCK_WAIT | DDLOCK_NOSYSLOCK.
  EXPECT_EQ(platform.display.flags_of(Op::kLock).back(), 0x801u);
  EXPECT_EQ(platform::emulated::surface_raw(frameless.frame_surface->surface, 639, 479), 0x1234u);
  // Unlocked again: a second upload can lock.
  EXPECT_EQ(display::upload_frame(frameless), platform::kS_OK);
  EXPECT_EQ(platform.display.calls(Op::kLock), locks + 2);
}

TEST_F(DisplayTest, UploadPassesQueryAndLockFailuresThrough) {
  EXPECT_EQ(display::upload_frame(screen), platform::kE_POINTER);
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  platform.display.fail(Op::kGetPixelFormat, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(display::upload_frame(screen), platform::kE_OUTOFMEMORY);
  platform.display.lose_surfaces();
  EXPECT_EQ(display::upload_frame(screen), platform::kDDERR_SURFACELOST);
}

TEST_F(DisplayTest, UploadIntoAnEightBitSurfaceWritesNothing) {
  platform.display.set_desktop(1024, 768, platform::emulated::format_8());
  screen.device = std::make_unique<display::DisplayDevice>(&platform.display, &platform.windows);
  ASSERT_EQ(screen.device->create_windowed(platform.window(), 640, 480), platform::kS_OK);
  ASSERT_EQ(screen.device->create_offscreen(&screen.frame_surface, 640, 480), 0);
  platform::emulated::surface_fill(screen.frame_surface->surface, 0x5A);
  EXPECT_EQ(display::upload_frame(screen), platform::kS_OK);
  for (std::int32_t y = 0; y < 480; y += 7) {
    for (std::int32_t x = 0; x < 640; x += 5) {
      ASSERT_EQ(platform::emulated::surface_raw(screen.frame_surface->surface, x, y), 0x5Au);
    }
  }
}

TEST_F(DisplayTest, ComposeWithoutADisplayIsEPointer) {
  EXPECT_EQ(display::compose_back_buffer(screen), platform::kE_POINTER);
  EXPECT_EQ(display::test_cooperative_level(screen), platform::kE_POINTER);
}

}  // namespace
