// The clock: readings subtract across the 32-bit wrap, and a virtual clock takes over both
// the reading and the wait.
#include "app/clock.h"

#include <gtest/gtest.h>

namespace {

class ClockTest : public ::testing::Test {
 protected:
  void TearDown() override { app::set_clock(nullptr); }
};

TEST_F(ClockTest, VirtualClockServesReadingsAndWaits) {
  app::VirtualClock clock(5000);
  app::set_clock(&clock);
  EXPECT_EQ(app::now_ms(), 5000u);
  app::sleep_ms(120);
  app::sleep_ms(0);
  app::sleep_ms(30);
  EXPECT_EQ(app::now_ms(), 5150u);
  ASSERT_EQ(clock.sleep_count(), 3u);
  EXPECT_EQ(clock.sleeps()[0], 120u);
  EXPECT_EQ(clock.sleeps()[1], 0u);
  EXPECT_EQ(clock.total_slept_ms(), 150u);
  clock.advance(50);
  EXPECT_EQ(app::now_ms(), 5200u);
  clock.set(7);
  EXPECT_EQ(app::now_ms(), 7u);
  clock.clear_sleeps();
  EXPECT_EQ(clock.sleep_count(), 0u);
}

TEST_F(ClockTest, ReadingsAcrossTheWrapSubtractCorrectly) {
  app::VirtualClock clock(0xFFFFFFF0u);
  app::set_clock(&clock);
  const std::uint32_t before = app::now_ms();
  app::sleep_ms(0x30);
  const std::uint32_t after = app::now_ms();
  EXPECT_EQ(after, 0x20u);
  EXPECT_EQ(after - before, 0x30u);
}

TEST_F(ClockTest, NullClockReturnsToTheSystemClock) {
  app::VirtualClock clock(42);
  app::set_clock(&clock);
  app::set_clock(nullptr);
  // The system clock does not stand still at the virtual value, and a wait of 0 returns.
  app::sleep_ms(0);
  EXPECT_EQ(clock.sleep_count(), 0u);
  const std::uint32_t a = app::now_ms();
  const std::uint32_t b = app::now_ms();
  EXPECT_LT(b - a, 0x80000000u);
}

}  // namespace
