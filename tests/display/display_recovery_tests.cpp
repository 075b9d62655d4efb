// Recovery: restoring after a loss and the cooperative-level answers the main loop keys on,
// checked on the surfaces. Mode switches and the frames shown after a loss are checked
// through the shell's frame path (tests/app/frame_render_tests.cpp).
#include <gtest/gtest.h>

#include "display/display_setup.h"
#include "display_test_support.h"

namespace {

using display_test::DisplayTest;
using display_test::expand_565;
using display_test::ink_of;
using display_test::InkMap;
using test_support::Op;

// True when surface holds text drawn in the label colour on black at (0, 0).
::testing::AssertionResult label_shows(platform::Surface* surface, const char* text) {
  const InkMap ink = ink_of(text);
  for (std::int32_t y = 0; y < ink.height; ++y) {
    for (std::int32_t x = 0; x < ink.width; ++x) {
      const std::uint32_t expected = ink.at(x, y) ? display_test::kGlyphRgb : 0u;
      const std::uint32_t actual = platform::emulated::surface_rgb(surface, x, y);
      if (actual != expected) {
        return ::testing::AssertionFailure()
               << text << " at " << x << "," << y << ": " << std::hex << actual;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult frame_surface_holds(const display::Display& screen,
                                               const std::vector<std::uint16_t>& frame) {
  for (std::int32_t y = 0; y < 480; ++y) {
    for (std::int32_t x = 0; x < 640; ++x) {
      const std::uint32_t actual =
          platform::emulated::surface_rgb(screen.frame_surface->surface, x, y);
      if (actual != expand_565(frame[static_cast<std::size_t>(y * 640 + x)])) {
        return ::testing::AssertionFailure() << "frame surface differs at " << x << "," << y;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST_F(DisplayTest, RestoreAfterALossReuploadsTheFrameAndRedrawsBothLabels) {
  platform.display.set_row_padding_bytes(8);
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  display::detect_frame_format(screen);

  platform.display.lose_surfaces();
  ASSERT_EQ(display::restore_display(screen), platform::kS_OK);
  // Restored memory starts as garbage, so what is there now was drawn again.
  EXPECT_TRUE(frame_surface_holds(screen, frame));
  EXPECT_TRUE(label_shows(screen.publisher_label->surface, display_test::kPublisherText));
  EXPECT_TRUE(label_shows(screen.version_label->surface, display_test::kVersionText));
  // The keys survived.
  EXPECT_TRUE(
      platform::emulated::surface_color_key(screen.version_label->surface, nullptr, nullptr));
}

TEST_F(DisplayTest, RestoreReportsAFailedRestoreOfAllSurfaces) {
  EXPECT_EQ(display::restore_display(screen), platform::kE_POINTER);
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  platform.display.fail(Op::kRestoreAllSurfaces, platform::kDDERR_WRONGMODE);
  EXPECT_EQ(display::restore_display(screen), platform::kDDERR_WRONGMODE);
}

TEST_F(DisplayTest, RestoreRedrawsTheLabelsEvenWhenTheUploadFails) {
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  platform.display.lose_surfaces();
  platform.display.fail(Op::kLock, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(display::restore_display(screen), platform::kE_OUTOFMEMORY);
  EXPECT_TRUE(label_shows(screen.version_label->surface, display_test::kVersionText));
}

TEST_F(DisplayTest, LostExclusiveModeIsReportedUntilItComesBack) {
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  EXPECT_EQ(display::test_cooperative_level(screen), platform::kS_OK);
  platform.display.take_exclusive_mode();
  EXPECT_EQ(display::test_cooperative_level(screen), platform::kDDERR_NOEXCLUSIVEMODE);
  platform.display.return_exclusive_mode();
  EXPECT_EQ(display::test_cooperative_level(screen), platform::kS_OK);
  EXPECT_TRUE(platform::emulated::surface_lost(screen.frame_surface->surface));
  ASSERT_EQ(display::restore_display(screen), platform::kS_OK);
  EXPECT_TRUE(frame_surface_holds(screen, frame));
}

TEST_F(DisplayTest, AChangedDesktopModeIsRebuiltInTheNewFormat) {
  screen.windowed = 1;
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  display::detect_frame_format(screen);
  platform.display.change_desktop_mode(platform::emulated::format_24());
  EXPECT_EQ(display::test_cooperative_level(screen), platform::kDDERR_WRONGMODE);
  ASSERT_EQ(display::init_display(screen, platform.window()).result, platform::kS_OK);
  EXPECT_EQ(display::test_cooperative_level(screen), platform::kS_OK);
  EXPECT_EQ(screen.frame_surface->desc.format.rgb_bit_count, 24u);
  EXPECT_TRUE(frame_surface_holds(screen, frame));
}

}  // namespace
