// The frame statistics: the texts of the first window, of a 600 ms window, of an average of
// 16 and of four-digit numbers; windows across the clock's wrap and after a pause; and the
// text drawn white on dark grey at (4, 4) of the frame surface.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/frame_statistics.h"
#include "display/display_setup.h"
#include "platform/font/bitmap_font.h"
#include "tests/support/fake_platform.h"
#include "tests/support/virtual_clock.h"

namespace {

class FrameStatistics : public ::testing::Test {
 protected:
  // One frame counted now, with the scene's frame time as it is.
  const char* update() {
    return app::update_statistics(statistics_, clock_.now_ms(), frame_time_ms_);
  }

  // Runs frames - 1 frames at the current time and one more after advancing by ms.
  std::string frames_over(std::uint32_t frames, std::uint32_t ms) {
    for (std::uint32_t i = 1; i < frames; ++i) update();
    clock_.advance(ms);
    return update();
  }

  test_support::VirtualClock clock_{0};
  app::StatisticsState statistics_;
  std::int32_t frame_time_ms_ = 0;
};

TEST_F(FrameStatistics, FirstWindowStartsAtClockZeroSoTheFirstAverageIsTheClockItself) {
  clock_.set(123456);
  frame_time_ms_ = 7;
  EXPECT_EQ(std::string(update()), "123456 ms   7 ms");
  EXPECT_EQ(statistics_.frame_count, 0u);
  EXPECT_EQ(statistics_.window_start_ms, 123456u);
}

TEST_F(FrameStatistics, WindowWithOneFrameOf600MsReports600) {
  clock_.set(1000);
  update();
  frame_time_ms_ = 42;
  EXPECT_EQ(frames_over(1, 600), "600 ms  42 ms");
}

TEST_F(FrameStatistics, AverageOf16IsPrintedWithOneLeadingBlank) {
  clock_.set(1000);
  update();
  frame_time_ms_ = 3;
  // 32 frames in 512 ms.
  EXPECT_EQ(frames_over(32, 512), " 16 ms   3 ms");
}

TEST_F(FrameStatistics, NumbersOfFourOrMoreDigitsArePrintedInFull) {
  clock_.set(1000);
  update();
  frame_time_ms_ = 12345;
  EXPECT_EQ(frames_over(1, 4321), "4321 ms 12345 ms");
  frame_time_ms_ = -5;
  EXPECT_EQ(frames_over(1, 500), "500 ms  -5 ms");
}

TEST_F(FrameStatistics, TextStaysUntilTheWindowHasLasted500Ms) {
  clock_.set(1000);
  frame_time_ms_ = 9;
  const std::string first = update();
  frame_time_ms_ = 50;
  EXPECT_EQ(frames_over(10, 499), first);
  EXPECT_EQ(statistics_.frame_count, 10u);
  // The 500th millisecond closes the window over 11 frames: 500 / 11 = 45.
  EXPECT_EQ(frames_over(1, 1), " 45 ms  50 ms");
}

TEST_F(FrameStatistics, WindowSpanningTheClockWrapIsMeasuredInUnsignedArithmetic) {
  clock_.set(0xFFFFFF00u);
  update();
  EXPECT_EQ(frames_over(2, 0x200), "256 ms   0 ms");
}

TEST_F(FrameStatistics, FirstUpdateAfterAPauseSpansTheWholeGapOnce) {
  clock_.set(1000);
  update();
  // Statistics off for 10 s: nothing counts meanwhile; two frames once they are back on.
  EXPECT_EQ(frames_over(2, 10000), "5000 ms   0 ms");
  EXPECT_EQ(frames_over(25, 500), " 20 ms   0 ms");
}

TEST_F(FrameStatistics, TextIsDrawnWhiteOnDarkGreyAtFourFourIntoTheFrameSurface) {
  test_support::FakePlatform fake;
  display::Display screen(&fake.display, &fake.windows);
  screen.windowed = true;
  display::set_label_texts(screen, "Moviquel Co", "MQLP 1-1");
  ASSERT_EQ(display::init_display(screen, fake.window()).result, 0);
  ASSERT_NE(screen.frame_surface, nullptr);
  platform::Surface* surface = screen.frame_surface->surface;
  platform::emulated::surface_fill(surface, 0);

  clock_.set(2000);
  frame_time_ms_ = 8;
  EXPECT_EQ(app::draw_statistics(statistics_, screen.frame_surface.get(), clock_.now_ms(),
                                 frame_time_ms_),
            0);
  const std::string text = statistics_.text;
  ASSERT_EQ(text, "2000 ms   8 ms");

  const int length = static_cast<int>(text.size());
  const std::int32_t width = platform::font::text_width(text.c_str(), length);
  const std::int32_t height = platform::font::line_height();
  int grey = 0, white = 0, other = 0;
  for (std::int32_t y = 4; y < 4 + height; ++y) {
    for (std::int32_t x = 4; x < 4 + width; ++x) {
      const std::uint32_t rgb = platform::emulated::surface_rgb(surface, x, y);
      if (rgb == 0x404040u) {
        ++grey;
      } else if (rgb == 0xFFFFFFu) {
        ++white;
      } else {
        ++other;
      }
    }
  }
  EXPECT_EQ(other, 0);
  EXPECT_GT(white, 10 * length);
  EXPECT_GT(grey, white);
  // Nothing outside the text's box.
  EXPECT_EQ(platform::emulated::surface_rgb(surface, 3, 4), 0u);
  EXPECT_EQ(platform::emulated::surface_rgb(surface, 4, 3), 0u);
  EXPECT_EQ(platform::emulated::surface_rgb(surface, 4 + width, 4), 0u);
  EXPECT_EQ(platform::emulated::surface_rgb(surface, 4, 4 + height), 0u);
  display::release_display(screen);
}

TEST_F(FrameStatistics, WithoutAFrameSurfaceTheStateStillAdvances) {
  clock_.set(700);
  EXPECT_LT(app::draw_statistics(statistics_, nullptr, clock_.now_ms(), frame_time_ms_), 0);
  EXPECT_EQ(std::string(statistics_.text), "700 ms   0 ms");
}

}  // namespace
