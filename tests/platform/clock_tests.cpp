// The clock: readings subtract across the 32-bit wrap, a virtual clock serves both the
// reading and the wait, and the system clock moves.
#include <gtest/gtest.h>

#include "platform/system_clock.h"
#include "tests/support/virtual_clock.h"

namespace {

TEST(Clock, VirtualClockServesReadingsAndWaits) {
  test_support::VirtualClock virtual_clock(5000);
  platform::Clock& clock = virtual_clock;
  EXPECT_EQ(clock.now_ms(), 5000u);
  clock.sleep_ms(120);
  clock.sleep_ms(0);
  clock.sleep_ms(30);
  EXPECT_EQ(clock.now_ms(), 5150u);
  ASSERT_EQ(virtual_clock.sleep_count(), 3u);
  EXPECT_EQ(virtual_clock.sleeps()[0], 120u);
  EXPECT_EQ(virtual_clock.sleeps()[1], 0u);
  EXPECT_EQ(virtual_clock.total_slept_ms(), 150u);
  virtual_clock.advance(50);
  EXPECT_EQ(clock.now_ms(), 5200u);
  virtual_clock.set(7);
  EXPECT_EQ(clock.now_ms(), 7u);
  virtual_clock.clear_sleeps();
  EXPECT_EQ(virtual_clock.sleep_count(), 0u);
}

TEST(Clock, ReadingsAcrossTheWrapSubtractCorrectly) {
  test_support::VirtualClock virtual_clock(0xFFFFFFF0u);
  platform::Clock& clock = virtual_clock;
  const std::uint32_t before = clock.now_ms();
  clock.sleep_ms(0x30);
  const std::uint32_t after = clock.now_ms();
  EXPECT_EQ(after, 0x20u);
  EXPECT_EQ(after - before, 0x30u);
}

TEST(Clock, SystemClockMovesForwardAndAWaitOfZeroReturns) {
  platform::SystemClock system_clock;
  platform::Clock& clock = system_clock;
  clock.sleep_ms(0);
  const std::uint32_t a = clock.now_ms();
  clock.sleep_ms(2);
  const std::uint32_t b = clock.now_ms();
  // At least the wait has passed, and the difference is a small forward step.
  EXPECT_GE(b - a, 2u);
  EXPECT_LT(b - a, 0x80000000u);
}

}  // namespace
