// Dispatch of now_ms and sleep_ms to the installed clock, and the virtual clock for tests.
#include "app/clock.h"

#include "platform/system_clock.h"

namespace app {

namespace {

// Constant-initialised, so readings during static initialisation see the system clock.
Clock* current_clock = nullptr;

}  // namespace

std::uint32_t now_ms() {
  return current_clock != nullptr ? current_clock->now_ms() : platform::system_now_ms();
}

void sleep_ms(std::uint32_t ms) {
  if (current_clock != nullptr) {
    current_clock->sleep_ms(ms);
  } else {
    platform::system_sleep_ms(ms);
  }
}

void set_clock(Clock* clock) {
  current_clock = clock;
}

void VirtualClock::sleep_ms(std::uint32_t ms) {
  sleeps_.push_back(ms);
  time_ms_ += ms;
}

std::uint64_t VirtualClock::total_slept_ms() const {
  std::uint64_t total = 0;
  for (const std::uint32_t ms : sleeps_) total += ms;
  return total;
}

}  // namespace app
