// The peak of the heap in use, counted at every allocation and release where the bench
// replaces the C allocator's entry points (not under the sanitizers, whose allocator forbids it).
#pragma once

#include <cstdint>

namespace bench {

// False in a build that does not count (heap_peak_bytes is then always 0).
bool heap_counted();
// Starts a new peak from the bytes in use now.
void heap_peak_reset();
// The most bytes in use since the last reset, over the bytes in use at the reset.
std::int64_t heap_peak_bytes();

}  // namespace bench
