// Recovery: restoring after a loss, switching between windowed and full screen, and the
// cooperative-level answers the main loop keys on, checked on the surfaces and the screen.
#include <gtest/gtest.h>

#include "display/display_setup.h"
#include "display_test_support.h"

namespace {

using display_test::DisplayTest;
using display_test::expand_565;
using display_test::ink_of;
using display_test::InkMap;
using platform::fake::Op;

// True when surface holds text drawn in the label colour on black at (0, 0).
::testing::AssertionResult label_shows(platform::Surface* surface, const char* text) {
  const InkMap ink = ink_of(text);
  for (std::int32_t y = 0; y < ink.height; ++y) {
    for (std::int32_t x = 0; x < ink.width; ++x) {
      const std::uint32_t expected = ink.at(x, y) ? display_test::kGlyphRgb : 0u;
      const std::uint32_t actual = platform::fake::surface_rgb(surface, x, y);
      if (actual != expected) {
        return ::testing::AssertionFailure()
               << text << " at " << x << "," << y << ": " << std::hex << actual;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult frame_surface_holds(const std::vector<std::uint16_t>& frame) {
  for (std::int32_t y = 0; y < 480; ++y) {
    for (std::int32_t x = 0; x < 640; ++x) {
      const std::uint32_t actual =
          platform::fake::surface_rgb(display::frame_surface->surface, x, y);
      if (actual != expand_565(frame[static_cast<std::size_t>(y * 640 + x)])) {
        return ::testing::AssertionFailure() << "frame surface differs at " << x << "," << y;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST_F(DisplayTest, RestoreAfterALossReuploadsTheFrameAndRedrawsBothLabels) {
  platform.display.set_row_padding_bytes(8);
  ASSERT_EQ(display::init_display(platform.window(), &windowed), platform::kS_OK);
  display::detect_frame_format();
  ASSERT_EQ(display::compose_frame(frame.data(), nullptr), platform::kS_OK);

  platform.display.lose_surfaces();
  EXPECT_EQ(display::compose_frame(frame.data(), nullptr), platform::kDDERR_SURFACELOST);
  ASSERT_EQ(display::restore_display(), platform::kS_OK);
  // Restored memory starts as garbage, so what is there now was drawn again.
  EXPECT_TRUE(frame_surface_holds(frame));
  EXPECT_TRUE(label_shows(display::publisher_label->surface, display_test::kPublisherText));
  EXPECT_TRUE(label_shows(display::version_label->surface, display_test::kVersionText));
  // The keys survived: the next frame shows the picture around the glyphs.
  ASSERT_EQ(display::compose_frame(frame.data(), nullptr), platform::kS_OK);
  EXPECT_EQ(platform.client_rgb(12, 467), expand_565(frame[467 * 640 + 12]));
}

TEST_F(DisplayTest, RestoreReportsAFailedRestoreOfAllSurfaces) {
  EXPECT_EQ(display::restore_display(), platform::kE_POINTER);
  ASSERT_EQ(display::init_display(platform.window(), &windowed), platform::kS_OK);
  platform.display.fail(Op::kRestoreAllSurfaces, platform::kDDERR_WRONGMODE);
  EXPECT_EQ(display::restore_display(), platform::kDDERR_WRONGMODE);
}

TEST_F(DisplayTest, RestoreRedrawsTheLabelsEvenWhenTheUploadFails) {
  ASSERT_EQ(display::init_display(platform.window(), &windowed), platform::kS_OK);
  platform.display.lose_surfaces();
  platform.display.fail(Op::kLock, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(display::restore_display(), platform::kE_OUTOFMEMORY);
  EXPECT_TRUE(label_shows(display::version_label->surface, display_test::kVersionText));
}

TEST_F(DisplayTest, ToggleBothWaysKeepsShowingTheWorkingFrame) {
  ASSERT_EQ(display::init_display(platform.window(), &windowed), platform::kS_OK);
  display::detect_frame_format();
  const std::vector<std::uint16_t> before = frame;

  display::toggle_fullscreen(platform.window(), &windowed);
  EXPECT_EQ(windowed, 1);
  ASSERT_NE(display::display, nullptr);
  EXPECT_EQ(display::display->windowed, 1);
  EXPECT_FALSE(platform.display.full_screen_mode_set());
  EXPECT_EQ(platform.windows.menu_id(), platform::kMainMenuId);
  // The menu bar came back after the window was sized; the client area is still 640×480.
  const platform::Rect client = platform.windows.client_rect_on_screen(platform.window());
  EXPECT_EQ(client.right - client.left, 640);
  EXPECT_EQ(client.bottom - client.top, 480);
  // The frame surface was filled from the working frame by the set-up itself.
  EXPECT_TRUE(frame_surface_holds(frame));
  ASSERT_EQ(display::compose_frame(frame.data(), nullptr), platform::kS_OK);
  EXPECT_EQ(platform.client_rgb(320, 240), expand_565(frame[240 * 640 + 320]));

  display::toggle_fullscreen(platform.window(), &windowed);
  EXPECT_EQ(windowed, 0);
  EXPECT_TRUE(platform.display.full_screen_mode_set());
  EXPECT_EQ(platform.windows.menu_id(), 0);
  ASSERT_EQ(display::compose_frame(frame.data(), nullptr), platform::kS_OK);
  EXPECT_EQ(platform.client_rgb(320, 240), expand_565(frame[240 * 640 + 320]));
  EXPECT_EQ(frame, before);
  EXPECT_TRUE(platform.windows.message_boxes().empty());
  EXPECT_EQ(platform.windows.close_requests(), 0);
  EXPECT_EQ(platform.display.live(platform::fake::Kind::kDirectDraw), 1);
}

TEST_F(DisplayTest, AFailedToggleTellsTheUserAndAsksTheWindowToClose) {
  windowed = 1;
  ASSERT_EQ(display::init_display(platform.window(), &windowed), platform::kS_OK);
  platform.display.set_mode_640x480x16(false);
  display::toggle_fullscreen(platform.window(), &windowed);
  EXPECT_EQ(display::display, nullptr);
  ASSERT_EQ(platform.windows.message_boxes().size(), 2u);
  EXPECT_EQ(platform.windows.message_boxes()[0].text,
            "This display card does not support 640x480x16 ");
  const platform::fake::MessageBoxCall& box = platform.windows.message_boxes()[1];
  EXPECT_EQ(box.text, "InitDirectDraw() failed. The program will now exit. ");
  EXPECT_EQ(box.caption, "Moviquel Player");
  EXPECT_EQ(box.icon, platform::kMessageBoxIconError);
  EXPECT_EQ(platform.windows.close_requests(), 1);
}

TEST_F(DisplayTest, AFailedToggleLateInTheSetUpLeavesNothingAfterRelease) {
  ASSERT_EQ(display::init_display(platform.window(), &windowed), platform::kS_OK);
  // The second label's surface cannot be made: device, frame surface and first label exist.
  platform.display.fail(Op::kCreateSurface, platform::kE_OUTOFMEMORY, 3);
  display::toggle_fullscreen(platform.window(), &windowed);
  EXPECT_EQ(display::display, nullptr);
  EXPECT_EQ(platform.windows.close_requests(), 1);
  ASSERT_EQ(platform.windows.message_boxes().size(), 1u);
  EXPECT_EQ(platform.windows.message_boxes()[0].text,
            "InitDirectDraw() failed. The program will now exit. ");
}

TEST_F(DisplayTest, LostExclusiveModeIsReportedUntilItComesBack) {
  ASSERT_EQ(display::init_display(platform.window(), &windowed), platform::kS_OK);
  EXPECT_EQ(display::test_cooperative_level(), platform::kS_OK);
  platform.display.take_exclusive_mode();
  EXPECT_EQ(display::test_cooperative_level(), platform::kDDERR_NOEXCLUSIVEMODE);
  platform.display.return_exclusive_mode();
  EXPECT_EQ(display::test_cooperative_level(), platform::kS_OK);
  EXPECT_EQ(display::compose_frame(frame.data(), nullptr), platform::kDDERR_SURFACELOST);
  ASSERT_EQ(display::restore_display(), platform::kS_OK);
  EXPECT_EQ(display::compose_frame(frame.data(), nullptr), platform::kS_OK);
}

TEST_F(DisplayTest, AChangedDesktopModeIsRebuiltInTheNewFormat) {
  windowed = 1;
  ASSERT_EQ(display::init_display(platform.window(), &windowed), platform::kS_OK);
  display::detect_frame_format();
  platform.display.change_desktop_mode(platform::fake::format_24());
  EXPECT_EQ(display::test_cooperative_level(), platform::kDDERR_WRONGMODE);
  ASSERT_EQ(display::init_display(platform.window(), &windowed), platform::kS_OK);
  EXPECT_EQ(display::test_cooperative_level(), platform::kS_OK);
  EXPECT_EQ(display::frame_surface->desc.format.rgb_bit_count, 24u);
  ASSERT_EQ(display::compose_frame(frame.data(), nullptr), platform::kS_OK);
  EXPECT_EQ(platform.client_rgb(7, 9), expand_565(frame[9 * 640 + 7]));
}

}  // namespace
