// The clock: readings subtract across the 32-bit wrap, and a virtual clock takes over both
// the reading and the wait.
#include "platform/fake/virtual_clock.h"

#include <gtest/gtest.h>

namespace {

class ClockTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::set_clock(nullptr); }
};

TEST_F(ClockTest, VirtualClockServesReadingsAndWaits) {
  platform::fake::VirtualClock clock(5000);
  platform::set_clock(&clock);
  EXPECT_EQ(platform::now_ms(), 5000u);
  platform::sleep_ms(120);
  platform::sleep_ms(0);
  platform::sleep_ms(30);
  EXPECT_EQ(platform::now_ms(), 5150u);
  ASSERT_EQ(clock.sleep_count(), 3u);
  EXPECT_EQ(clock.sleeps()[0], 120u);
  EXPECT_EQ(clock.sleeps()[1], 0u);
  EXPECT_EQ(clock.total_slept_ms(), 150u);
  clock.advance(50);
  EXPECT_EQ(platform::now_ms(), 5200u);
  clock.set(7);
  EXPECT_EQ(platform::now_ms(), 7u);
  clock.clear_sleeps();
  EXPECT_EQ(clock.sleep_count(), 0u);
}

TEST_F(ClockTest, ReadingsAcrossTheWrapSubtractCorrectly) {
  platform::fake::VirtualClock clock(0xFFFFFFF0u);
  platform::set_clock(&clock);
  const std::uint32_t before = platform::now_ms();
  platform::sleep_ms(0x30);
  const std::uint32_t after = platform::now_ms();
  EXPECT_EQ(after, 0x20u);
  EXPECT_EQ(after - before, 0x30u);
}

TEST_F(ClockTest, NullClockReturnsToTheSystemClock) {
  platform::fake::VirtualClock clock(42);
  platform::set_clock(&clock);
  platform::set_clock(nullptr);
  // The system clock does not stand still at the virtual value, and a wait of 0 returns.
  platform::sleep_ms(0);
  EXPECT_EQ(clock.sleep_count(), 0u);
  const std::uint32_t a = platform::now_ms();
  const std::uint32_t b = platform::now_ms();
  EXPECT_LT(b - a, 0x80000000u);
}

}  // namespace
