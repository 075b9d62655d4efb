// The program's one notion of time: a wrapping millisecond counter and a wait, both
// served by the system clock unless a test installs a clock of its own.
#pragma once

#include <cstdint>
#include <vector>

namespace app {

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

// A clock for tests: time moves only when told to, and a wait moves it by the time waited.
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(std::uint32_t start_ms = 0) : time_ms_(start_ms) {}

  std::uint32_t now_ms() override { return time_ms_; }
  // Records the wait and advances virtual time by it; nothing blocks.
  void sleep_ms(std::uint32_t ms) override;

  void set(std::uint32_t ms) { time_ms_ = ms; }
  void advance(std::uint32_t ms) { time_ms_ += ms; }

  // Every wait since construction or the last clear_sleeps, in order.
  const std::vector<std::uint32_t>& sleeps() const { return sleeps_; }
  std::size_t sleep_count() const { return sleeps_.size(); }
  std::uint64_t total_slept_ms() const;
  void clear_sleeps() { sleeps_.clear(); }

 private:
  std::uint32_t time_ms_;
  std::vector<std::uint32_t> sleeps_;
};

}  // namespace app
