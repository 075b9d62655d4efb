// The browser's clock. A page cannot block: the layers' waits, which pace the desktop's
// loop, are deferred instead. A wait moves the clock's reading ahead at once, as if it
// had been slept, and the caller makes the next frame only once real time has caught up
// (due()). The player sees the same times as on the desktop, and nothing spins.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace platform::web {

class DeferredWaitClock : public Clock {
 public:
  // host gives real time (not owned; null: the system clock); its waits are never called.
  explicit DeferredWaitClock(Clock* host = nullptr) : host_(host) {}

  // Real time, or the end of the wait last asked for while that is still ahead; never less
  // than a reading already given.
  std::uint32_t now_ms() override;
  // Ends the wait ms from now (as now_ms reads it); returns at once.
  void sleep_ms(std::uint32_t ms) override;

  // True when no wait is pending or real time has reached its end.
  bool due();
  // Milliseconds of real time until due (0 when due).
  std::uint32_t wait_left_ms();

 private:
  std::uint32_t real_ms();

  Clock* host_;
  bool waiting_ = false;
  bool ahead_ = false;  // floor_ is later than the last real reading
  std::uint32_t floor_ = 0;
};

}  // namespace platform::web
