// The Windows backend clips the copies that DirectDraw refuses when they reach past a
// surface: unscaled copies of labels and windowed presents of a window partly off the
// screen. Expected rectangles worked out by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/win32/blit_clipping.h"

namespace {

using platform::Rect;
using platform::win32::clip_fast_copy;
using platform::win32::clip_stretch_copy;

void expect_rect(const Rect& actual, const Rect& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST(Win32FastCopy, LabelInsideTheFrameIsCopiedWhole) {
  const auto copy = clip_fast_copy(12, 452, nullptr, 100, 16, 640, 480);
  ASSERT_FALSE(copy.empty);
  EXPECT_EQ(copy.x, 12);
  EXPECT_EQ(copy.y, 452);
  expect_rect(copy.source_area, {0, 0, 100, 16});
}

TEST(Win32FastCopy, CopyPastTheRightAndBottomEdgesLosesOnlyWhatHangsOver) {
  const auto copy = clip_fast_copy(600, 470, nullptr, 100, 16, 640, 480);
  ASSERT_FALSE(copy.empty);
  EXPECT_EQ(copy.x, 600);
  EXPECT_EQ(copy.y, 470);
  expect_rect(copy.source_area, {0, 0, 40, 10});
}

TEST(Win32FastCopy, CopyLeftOfAndAboveTheSurfaceStartsAtItsCornerWithTheSourceCut) {
  const auto copy = clip_fast_copy(-5, -3, nullptr, 100, 16, 640, 480);
  ASSERT_FALSE(copy.empty);
  EXPECT_EQ(copy.x, 0);
  EXPECT_EQ(copy.y, 0);
  expect_rect(copy.source_area, {5, 3, 100, 16});
}

TEST(Win32FastCopy, SourceRectangleIsFirstCutToItsOwnSurfaceMovingTheTarget) {
  const Rect wanted{-3, 2, 200, 20};
  const auto copy = clip_fast_copy(10, 10, &wanted, 100, 16, 640, 480);
  ASSERT_FALSE(copy.empty);
  EXPECT_EQ(copy.x, 13);  // the pixel that was at source x 0 lands 3 to the right
  EXPECT_EQ(copy.y, 10);
  expect_rect(copy.source_area, {0, 2, 100, 16});
}

TEST(Win32FastCopy, CopiesEntirelyOffTheSurfaceAreEmpty) {
  EXPECT_TRUE(clip_fast_copy(640, 0, nullptr, 100, 16, 640, 480).empty);
  EXPECT_TRUE(clip_fast_copy(0, 480, nullptr, 100, 16, 640, 480).empty);
  EXPECT_TRUE(clip_fast_copy(-100, 0, nullptr, 100, 16, 640, 480).empty);
  EXPECT_TRUE(clip_fast_copy(0, -16, nullptr, 100, 16, 640, 480).empty);
  constexpr std::int32_t far = std::numeric_limits<std::int32_t>::max() - 1;
  EXPECT_TRUE(clip_fast_copy(far, far, nullptr, 100, 16, 640, 480).empty);
  EXPECT_TRUE(clip_fast_copy(-far, -far, nullptr, 100, 16, 640, 480).empty);
}

TEST(Win32StretchCopy, WindowReachingPastTheScreenPresentsOnlyItsVisiblePart) {
  // A 640x480 client area at (4, 42) on a 640x480 screen: 636x438 of it are on the screen.
  const auto copy = clip_stretch_copy({4, 42, 644, 522}, nullptr, 640, 480, 640, 480);
  ASSERT_FALSE(copy.empty);
  expect_rect(copy.dest_area, {4, 42, 640, 480});
  expect_rect(copy.source_area, {0, 0, 636, 438});
}

TEST(Win32StretchCopy, WindowAboveAndLeftOfTheScreenLosesItsTopLeftPart) {
  const auto copy = clip_stretch_copy({-10, -20, 630, 460}, nullptr, 640, 480, 640, 480);
  ASSERT_FALSE(copy.empty);
  expect_rect(copy.dest_area, {0, 0, 630, 460});
  expect_rect(copy.source_area, {10, 20, 640, 480});
}

TEST(Win32StretchCopy, SourceShrinksInProportionWhenTheCopyIsScaled) {
  // Twice the size: the visible quarter of the destination shows a quarter of the source.
  const auto copy = clip_stretch_copy({0, 0, 1280, 960}, nullptr, 640, 480, 640, 480);
  ASSERT_FALSE(copy.empty);
  expect_rect(copy.dest_area, {0, 0, 640, 480});
  expect_rect(copy.source_area, {0, 0, 320, 240});
  const Rect part{100, 50, 300, 150};
  const auto from_part = clip_stretch_copy({-200, 0, 200, 200}, &part, 640, 480, 640, 480);
  ASSERT_FALSE(from_part.empty);
  expect_rect(from_part.dest_area, {0, 0, 200, 200});
  expect_rect(from_part.source_area, {200, 50, 300, 150});
}

TEST(Win32StretchCopy, CopiesOffTheSurfaceOrWithoutAreaAreEmpty) {
  EXPECT_TRUE(clip_stretch_copy({700, 0, 1340, 480}, nullptr, 640, 480, 640, 480).empty);
  EXPECT_TRUE(clip_stretch_copy({0, -480, 640, 0}, nullptr, 640, 480, 640, 480).empty);
  EXPECT_TRUE(clip_stretch_copy({0, 0, 0, 10}, nullptr, 640, 480, 640, 480).empty);
  EXPECT_TRUE(clip_stretch_copy({10, 10, 5, 20}, nullptr, 640, 480, 640, 480).empty);
}

}  // namespace
