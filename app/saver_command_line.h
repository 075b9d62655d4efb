// The screen saver's command line as Windows gives it: /s to run, /p HWND to preview in a
// window of the Screen Saver Settings dialog, /c (or /c:HWND, or nothing) for the settings.
#pragma once

#include <cstdint>

namespace app {

enum class SaverMode {
  kSettings,  // /c, /c:HWND or no argument: the settings dialog
  kRun,       // /s: full screen until the user moves
  kPreview,   // /p HWND: a child window of HWND
  kNone,      // anything else: nothing to do
};

struct SaverCommand {
  SaverMode mode = SaverMode::kSettings;
  // The decimal window handle after /p or /c (0: none given).
  std::uintptr_t window = 0;
};

// Reads the text after the program's name: the option with '/' or '-' in any case, its
// handle after ':' or spaces. A preview without a handle is kNone.
SaverCommand parse_saver_command_line(const char* text);

}  // namespace app
