// The program's one notion of time: a wrapping millisecond counter and a wait, both
// served by the system clock unless a test installs a clock of its own.
#pragma once

#include <cstdint>

namespace platform {

// A source of milliseconds and a way to wait. The system clock is used when none is set.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t now_ms() = 0;
  virtual void sleep_ms(std::uint32_t ms) = 0;
};

// Milliseconds of the current clock; subtract readings in unsigned 32-bit arithmetic.
// Safe to call at any time, including during static initialisation.
std::uint32_t now_ms();
// Waits ms milliseconds on the current clock.
void sleep_ms(std::uint32_t ms);
// Installs clock (not owned; it must outlive its use); null returns to the system clock.
void set_clock(Clock* clock);

}  // namespace platform
