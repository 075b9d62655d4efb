// Storage of the installed platform backends.
#include "platform/window_system.h"

namespace platform {

Services& services() {
  static Services installed;
  return installed;
}

}  // namespace platform
