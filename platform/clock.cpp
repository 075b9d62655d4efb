// Dispatch of now_ms and sleep_ms to the installed clock or the system clock.
#include "platform/clock.h"

#include "platform/system_clock.h"

namespace platform {

namespace {

// Constant-initialised, so readings during static initialisation see the system clock.
Clock* current_clock = nullptr;

}  // namespace

std::uint32_t now_ms() {
  return current_clock != nullptr ? current_clock->now_ms() : system_now_ms();
}

void sleep_ms(std::uint32_t ms) {
  if (current_clock != nullptr) {
    current_clock->sleep_ms(ms);
  } else {
    system_sleep_ms(ms);
  }
}

void set_clock(Clock* clock) {
  current_clock = clock;
}

}  // namespace platform
