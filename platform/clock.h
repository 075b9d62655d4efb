// The program's one notion of time: a wrapping millisecond counter and a wait. The entry
// gives the system clock to whatever needs time; tests give a virtual one.
#pragma once

#include <cstdint>

namespace platform {

// A source of milliseconds and a way to wait.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds of this clock; subtract readings in unsigned 32-bit arithmetic.
  virtual std::uint32_t now_ms() = 0;
  // Waits ms milliseconds on this clock.
  virtual void sleep_ms(std::uint32_t ms) = 0;
};

}  // namespace platform
