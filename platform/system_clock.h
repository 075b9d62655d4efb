// The real millisecond clock and the real wait of the host system.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace platform {

// Milliseconds from a monotonic system counter, truncated to 32 bits (wraps after 2^32 ms).
std::uint32_t system_now_ms();
// Blocks the calling thread for at least ms milliseconds.
void system_sleep_ms(std::uint32_t ms);

// The host's clock as a Clock; it has no state, so one instance serves the whole program.
class SystemClock : public Clock {
 public:
  std::uint32_t now_ms() override { return system_now_ms(); }
  void sleep_ms(std::uint32_t ms) override { system_sleep_ms(ms); }
};

}  // namespace platform
