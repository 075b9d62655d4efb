// The virtual clock's record of waits.
#include "tests/support/virtual_clock.h"

namespace test_support {

void VirtualClock::sleep_ms(std::uint32_t ms) {
  sleeps_.push_back(ms);
  time_ms_ += ms;
}

std::uint64_t VirtualClock::total_slept_ms() const {
  std::uint64_t total = 0;
  for (const std::uint32_t ms : sleeps_) total += ms;
  return total;
}

}  // namespace test_support
