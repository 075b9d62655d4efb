// A clock for tests and benchmarks: time moves only when told to, and a wait moves it by the
// time waited instead of blocking.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/clock.h"

namespace test_support {

class VirtualClock : public platform::Clock {
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

}  // namespace test_support
