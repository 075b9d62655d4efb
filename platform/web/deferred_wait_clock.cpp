// The clock that defers waits.
#include "platform/web/deferred_wait_clock.h"

#include "platform/system_clock.h"

namespace platform::web {

namespace {

// Whether a is later than b on the wrapping 32-bit clock.
bool later(std::uint32_t a, std::uint32_t b) {
  return static_cast<std::int32_t>(a - b) > 0;
}

}  // namespace

std::uint32_t DeferredWaitClock::real_ms() {
  return host_ != nullptr ? host_->now_ms() : system_now_ms();
}

std::uint32_t DeferredWaitClock::now_ms() {
  const std::uint32_t real = real_ms();
  if (ahead_ && later(floor_, real)) return floor_;
  ahead_ = false;
  floor_ = real;
  return real;
}

void DeferredWaitClock::sleep_ms(std::uint32_t ms) {
  floor_ = now_ms() + ms;
  ahead_ = true;
  waiting_ = true;
}

bool DeferredWaitClock::due() {
  return wait_left_ms() == 0;
}

std::uint32_t DeferredWaitClock::wait_left_ms() {
  if (!waiting_) return 0;
  const std::uint32_t real = real_ms();
  if (later(floor_, real)) return floor_ - real;
  waiting_ = false;
  return 0;
}

}  // namespace platform::web
