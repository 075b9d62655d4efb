// The sanitizer builds' stand-in for heap_peak.cpp: nothing is counted.
#include "tools/jpeg_bench/heap_peak.h"

namespace bench {

bool heap_counted() {
  return false;
}

void heap_peak_reset() {}

std::int64_t heap_peak_bytes() {
  return 0;
}

}  // namespace bench
