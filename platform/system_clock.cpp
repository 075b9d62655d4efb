// The host clock: the multimedia timer and Sleep on Windows, the monotonic clock and
// nanosleep elsewhere.
#include "platform/system_clock.h"

#ifdef _WIN32
#include <windows.h>
// windows.h first: mmsystem.h needs its types.
#include <mmsystem.h>
#else
#include <cerrno>
#include <ctime>
#endif

namespace platform {

#ifdef _WIN32

std::uint32_t system_now_ms() {
  return static_cast<std::uint32_t>(timeGetTime());
}

void system_sleep_ms(std::uint32_t ms) {
  Sleep(static_cast<DWORD>(ms));
}

#else

std::uint32_t system_now_ms() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                  static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);
}

void system_sleep_ms(std::uint32_t ms) {
  timespec left{};
  left.tv_sec = static_cast<time_t>(ms / 1000u);
  left.tv_nsec = static_cast<long>(ms % 1000u) * 1000000L;
  // A signal cuts the sleep short; carry on with what is left.
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

#endif

}  // namespace platform
