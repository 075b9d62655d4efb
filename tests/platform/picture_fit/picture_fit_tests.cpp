// The picture's placement: whole-number enlargement centred with black bars, reduction with
// the aspect kept, and area points mapped back to picture pixels.
#include <gtest/gtest.h>

#include "platform/picture_fit/picture_fit.h"

namespace platform {
namespace {

void expect_area(const PictureArea& a, std::int32_t x, std::int32_t y, std::int32_t w,
                 std::int32_t h) {
  EXPECT_EQ(a.x, x);
  EXPECT_EQ(a.y, y);
  EXPECT_EQ(a.width, w);
  EXPECT_EQ(a.height, h);
}

TEST(PictureFit, WholeNumberEnlargementCentredInTheArea) {
  expect_area(fit_picture(640, 480), 0, 0, 640, 480);
  expect_area(fit_picture(1920, 1080), 320, 60, 1280, 960);  // 2x: 2.25 does not fit whole
  expect_area(fit_picture(1024, 768), 192, 144, 640, 480);
  expect_area(fit_picture(3840, 2160), 640, 120, 2560, 1920);  // 4x
  expect_area(fit_picture(1920, 1440), 0, 0, 1920, 1440);
  expect_area(fit_picture(2000, 481), 680, 0, 640, 480);
}

TEST(PictureFit, SmallAreasGetTheReducedPictureWithItsAspect) {
  expect_area(fit_picture(320, 480), 0, 120, 320, 240);
  expect_area(fit_picture(400, 150), 100, 0, 200, 150);
  expect_area(fit_picture(1, 1), 0, 0, 1, 1);
  expect_area(fit_picture(0, 480), 0, 0, 0, 0);
  expect_area(fit_picture(-640, 480), 0, 0, 0, 0);
  expect_area(scaled_picture(0, 20, 3), 0, 20, 1920, 1440);
  expect_area(scaled_picture(0, 0, 0), 0, 0, 640, 480);
}

TEST(PictureFit, AreaPointsMapToPicturePixelsAndBarsToTheNearestEdge) {
  const PictureArea full = fit_picture(1920, 1080);
  const auto expect_point = [&](std::int32_t x, std::int32_t y, std::int32_t px, std::int32_t py) {
    const PicturePoint p = to_picture(full, x, y);
    EXPECT_EQ(p.x, px) << x << "," << y;
    EXPECT_EQ(p.y, py) << x << "," << y;
  };
  expect_point(320, 60, 0, 0);
  expect_point(321, 61, 0, 0);
  expect_point(322, 62, 1, 1);
  expect_point(1599, 1019, 639, 479);
  expect_point(960, 540, 320, 240);
  expect_point(0, 0, 0, 0);            // left and top bars
  expect_point(1919, 1079, 639, 479);  // right and bottom bars
  const PicturePoint small = to_picture(fit_picture(320, 240), 160, 120);
  EXPECT_EQ(small.x, 320);
  EXPECT_EQ(small.y, 240);
  const PicturePoint none = to_picture(PictureArea{}, 5, 5);
  EXPECT_EQ(none.x, 0);
}

}  // namespace
}  // namespace platform
