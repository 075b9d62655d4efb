// The fit's geometry in both modes, fed with stored pictures of two colours: the scale chosen,
// where the bars fall, what cover crops, and where a quarter turn puts the stored top.
#include <gtest/gtest.h>

#include <vector>

#include "jpeg/photo_fit.h"

namespace {

constexpr std::uint32_t kFill = 0x123456;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;

// A stored picture red where is_red(x, y), green elsewhere, fitted into 640x480.
template <typename IsRed>
std::vector<std::uint32_t> fit(std::int32_t width, std::int32_t height, std::int32_t orientation,
                               jpeg::FitMode mode, IsRed is_red) {
  const jpeg::FitFrame frame{640, 480, mode, kFill};
  jpeg::PhotoFit f(frame, orientation, width, height, 4);
  EXPECT_TRUE(f.ok());
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const bool red = is_red(x, y);
      std::uint8_t* p = &row[static_cast<std::size_t>(x) * 4];
      p[0] = red ? 255 : 0;
      p[1] = red ? 0 : 255;
      p[2] = 0;
    }
    f.add_row(row.data());
  }
  std::vector<std::uint32_t> pixels(640 * 480);
  f.finish(pixels.data());
  return pixels;
}

std::uint32_t at(const std::vector<std::uint32_t>& p, int x, int y) {
  return p[static_cast<std::size_t>(y) * 640 + static_cast<std::size_t>(x)];
}

int count(const std::vector<std::uint32_t>& p, std::uint32_t colour) {
  int n = 0;
  for (std::uint32_t v : p) n += v == colour ? 1 : 0;
  return n;
}

TEST(PhotoFit, TakesTheLargestReductionThatStillCoversTheFrame) {
  const jpeg::FitFrame cover{640, 480, jpeg::FitMode::cover, 0};
  const jpeg::FitFrame contain{640, 480, jpeg::FitMode::contain, 0};
  EXPECT_EQ(jpeg::fit_scale(4032, 3024, 1, cover), 4);
  EXPECT_EQ(jpeg::fit_scale(8000, 6000, 1, cover), 8);
  EXPECT_EQ(jpeg::fit_scale(3024, 4032, 6, cover), 4);    // upright 4032 x 3024
  EXPECT_EQ(jpeg::fit_scale(3024, 4032, 1, cover), 4);    // 756 x 1008 still covers 640 across
  EXPECT_EQ(jpeg::fit_scale(3024, 4032, 1, contain), 8);  // the whole of it in 360 x 480
  EXPECT_EQ(jpeg::fit_scale(1000, 750, 1, cover), 1);
  EXPECT_EQ(jpeg::fit_scale(100, 68, 1, contain), 1);
}

TEST(PhotoFit, AFourByThreePhotoOfOddSizeFillsTheFrameInBothModes) {
  for (jpeg::FitMode mode : {jpeg::FitMode::cover, jpeg::FitMode::contain}) {
    const auto p = fit(1001, 751, 1, mode, [](int x, int) { return x < 500; });
    EXPECT_EQ(count(p, kFill), 0);
    EXPECT_EQ(at(p, 0, 240), kRed);
    EXPECT_EQ(at(p, 639, 240), kGreen);
  }
}

TEST(PhotoFit, ASixteenByNinePhotoIsCroppedAtItsSidesOrBarredAboveAndBelow) {
  // Red in the left quarter: cover keeps the middle 1200 of 1600 columns, so red ends a sixth
  // of the way across the frame.
  const auto cover = fit(1600, 900, 1, jpeg::FitMode::cover, [](int x, int) { return x < 400; });
  EXPECT_EQ(count(cover, kFill), 0);
  EXPECT_EQ(at(cover, 105, 240), kRed);
  EXPECT_EQ(at(cover, 108, 240), kGreen);
  const auto contain =
      fit(1600, 900, 1, jpeg::FitMode::contain, [](int x, int) { return x < 400; });
  EXPECT_EQ(count(contain, kFill), 640 * 120);  // 640 x 360 in the middle
  EXPECT_EQ(at(contain, 320, 59), kFill);
  EXPECT_EQ(at(contain, 320, 60), kGreen);
  EXPECT_EQ(at(contain, 320, 419), kGreen);
  EXPECT_EQ(at(contain, 320, 420), kFill);
  EXPECT_EQ(at(contain, 159, 240), kRed);
  EXPECT_EQ(at(contain, 160, 240), kGreen);
}

TEST(PhotoFit, AQuarterTurnPutsTheStoredTopAtTheRightOfAPortrait) {
  // Stored 801 x 601, shown turned a quarter clockwise (orientation 6) as 601 x 801: in contain
  // a box of 360 x 480 from x = 140, the stored top rows at its right edge.
  const auto p = fit(801, 601, 6, jpeg::FitMode::contain, [](int, int y) { return y < 100; });
  EXPECT_EQ(count(p, kFill), 280 * 480);
  EXPECT_EQ(at(p, 139, 240), kFill);
  EXPECT_EQ(at(p, 140, 240), kGreen);
  EXPECT_EQ(at(p, 499, 240), kRed);
  EXPECT_EQ(at(p, 500, 240), kFill);
  // Orientation 8 turns the other way: the stored top at the left.
  const auto q = fit(801, 601, 8, jpeg::FitMode::contain, [](int, int y) { return y < 100; });
  EXPECT_EQ(at(q, 140, 240), kRed);
  EXPECT_EQ(at(q, 499, 240), kGreen);
  // In cover the portrait fills the frame, cropped top and bottom.
  const auto c = fit(801, 601, 6, jpeg::FitMode::cover, [](int, int y) { return y < 100; });
  EXPECT_EQ(count(c, kFill), 0);
  EXPECT_EQ(at(c, 639, 0), kRed);
  EXPECT_EQ(at(c, 0, 479), kGreen);
}

TEST(PhotoFit, AReductionIsTheRoundedMeanOfEachFramePixelsFootprint) {
  // Every sample different, in cover. Stored 1203 x 777: 1036 columns from column 83 onto 640
  // (runs of one or two stored pixels per frame column), all 777 rows onto 480; stored
  // 2000 x 1500 (runs of three or four): all of it. Upright column u of the region lands in
  // frame column (u - start) * 640 / region. A plain model sums each footprint; the mirrored
  // and turned orientations (2, 3, 4) read the stored rows from the right, from the bottom, or
  // both.
  struct Case {
    int width, height, start, region;
  };
  const auto sample = [](int x, int y, int c) {
    return static_cast<std::uint32_t>((x * 7 + y * 13 + c * 101 + (x * y) % 17) & 255);
  };
  for (const Case k : {Case{1203, 777, 83, 1036}, Case{2000, 1500, 0, 2000}}) {
    for (std::int32_t orientation : {1, 2, 3, 4}) {
      const jpeg::FitFrame frame{640, 480, jpeg::FitMode::cover, kFill};
      jpeg::PhotoFit f(frame, orientation, k.width, k.height, 4);
      ASSERT_TRUE(f.ok());
      std::vector<std::uint64_t> model(640 * 480 * 4, 0);
      std::vector<std::uint8_t> row(static_cast<std::size_t>(k.width) * 4);
      for (int y = 0; y < k.height; ++y) {
        for (int x = 0; x < k.width; ++x) {
          for (int c = 0; c < 3; ++c)
            row[static_cast<std::size_t>(4 * x + c)] = static_cast<std::uint8_t>(sample(x, y, c));
          const int u = orientation == 2 || orientation == 3 ? k.width - 1 - x : x;
          const int v = orientation == 3 || orientation == 4 ? k.height - 1 - y : y;
          if (u < k.start || u >= k.start + k.region) continue;
          const auto at_model = static_cast<std::size_t>((v * 480 / k.height) * 640 +
                                                         (u - k.start) * 640 / k.region) *
                                4;
          for (int c = 0; c < 3; ++c)
            model[at_model + static_cast<std::size_t>(c)] += sample(x, y, c);
          model[at_model + 3] += 1;
        }
        f.add_row(row.data());
      }
      std::vector<std::uint32_t> pixels(640 * 480);
      f.finish(pixels.data());
      for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint64_t* m = &model[4 * i];
        ASSERT_GT(m[3], 0U) << i;
        const auto mean = [m](int c) { return (m[c] + m[3] / 2) / m[3]; };
        const std::uint64_t expected = mean(0) << 16 | mean(1) << 8 | mean(2);
        ASSERT_EQ(pixels[i], expected)
            << k.width << " x " << k.height << ", orientation " << orientation << ", pixel " << i;
      }
    }
  }
}

}  // namespace
