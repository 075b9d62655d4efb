// Making the Windows backends of one run.
#include "platform/win32/win32_backend.h"

namespace platform::win32 {

Win32Backend::Win32Backend(const Win32Options& options) {
  session.instance = options.instance;
  session.kind = options.kind;
  session.preview_parent = options.preview_parent;
  display.set_windowed_only(options.kind == MainWindowKind::kPreview);
}

Services Win32Backend::services() {
  return Services{&display, &windows, &resources, &shell, &clock};
}

std::unique_ptr<Win32Backend> make_win32_backend(const Win32Options& options) {
  return std::make_unique<Win32Backend>(options);
}

}  // namespace platform::win32
