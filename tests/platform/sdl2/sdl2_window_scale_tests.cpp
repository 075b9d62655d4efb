// The window's scale on screens of several sizes, its menu bar 20 pixels high.
#include <gtest/gtest.h>

#include "platform/sdl2/sdl2_window_scale.h"

namespace platform::sdl2 {
namespace {

struct Row {
  int requested, width, height;
  int scale;
  bool reduced;
};

TEST(Sdl2WindowScale, AskedForAsFarAsTheScreenHoldsItElseFourFifthsOfTheScreen) {
  const Row rows[] = {
      {3, 1920, 1080, 2, true},   // 1920x1460 is too tall; 1280x980 fits
      {8, 1920, 1080, 2, true},   // 5120x3860
      {2, 1920, 1080, 2, false},  // exactly what was asked
      {2, 1280, 980, 2, false},   // the whole screen, menu bar included
      {2, 1280, 979, 1, true},    // one row short
      {4, 600, 400, 1, true},     // smaller than the picture: at least 1
      {0, 1920, 1080, 1, false},  // 80 %: 1536x864 holds 640x500 only
      {0, 3840, 2160, 3, false},  // 3072x1728 holds 1920x1460
      {0, 2560, 1600, 2, false},  // 2048x1280 holds 1280x980
      {0, 600, 400, 1, false},
  };
  for (const Row& r : rows) {
    const WindowScale got = choose_window_scale(r.requested, r.width, r.height, 20);
    EXPECT_EQ(got.scale, r.scale) << r.requested << " on " << r.width << "x" << r.height;
    EXPECT_EQ(got.reduced, r.reduced) << r.requested << " on " << r.width << "x" << r.height;
  }
}

}  // namespace
}  // namespace platform::sdl2
