// Storage of the Win32 session.
#include "platform/win32/win32_session.h"

namespace platform::win32 {

Win32Session& session() {
  static Win32Session state;
  return state;
}

}  // namespace platform::win32
