// The default report of an over-release.
#include "platform/reference_counted.h"

#include <cstdio>

namespace platform {

void report_over_release(const char* what) {
  std::fprintf(stderr, "moviquel: %s released more often than referenced\n", what);
}

}  // namespace platform
