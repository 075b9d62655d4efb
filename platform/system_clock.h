// The real millisecond clock and the real wait of the host system.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds from a monotonic system counter, truncated to 32 bits (wraps after 2^32 ms).
std::uint32_t system_now_ms();
// Blocks the calling thread for at least ms milliseconds.
void system_sleep_ms(std::uint32_t ms);

}  // namespace platform
