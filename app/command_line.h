// The Linux player's command line: what it asks for, its help and version texts, and the
// answer (text and exit status) to --help, --version and bad input. The Windows executable
// takes no command line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace app {

// Where the animation is drawn.
enum class DrawTarget {
  kOwnWindow,   // the player's own window, full screen or windowed
  kWindowId,    // an existing X window (a screensaver's), named by its id
  kRootWindow,  // the X root window
};

struct CommandLine {
  bool start_windowed = false;  // --window: no full-screen attempt, no refusal message
  std::int32_t scale = 0;       // --scale N: the window's picture area N times larger; 0: not given
  DrawTarget target = DrawTarget::kOwnWindow;
  std::uint32_t window_id = 0;  // the X window id with DrawTarget::kWindowId
  // Photos: files and folders to play instead of the main picture, in the order of their
  // paths unless shuffled, fitted into the frame by cover (cropped) or contain (bars).
  std::vector<std::string> paths;
  bool shuffle = false;
  bool fit_contain = false;
  bool show_help = false;
  bool show_version = false;
  std::string error;  // one line without its end of line; not empty when the input is bad
};

inline constexpr std::int32_t kMaxScale = 8;

// Reads the arguments after the program name. screensaver_window is the value of
// XSCREENSAVER_WINDOW (null when unset): a screensaver daemon names its window there.
// --window-id takes precedence over it; --root gives way to it, because that window stands
// for the root window while the daemon runs.
CommandLine parse_command_line(int argc, const char* const* argv, const char* screensaver_window);

// Answers --help and --version on out (status 0) and bad input on err (one line and the
// usage hint, status 2). -1 when the player should start.
int answer_command_line(const CommandLine& line, std::FILE* out, std::FILE* err);

// Writes line (without its end of line) and the usage hint to err; returns status 2. For
// values found bad only once the display is reached.
int refuse_usage(const std::string& line, std::FILE* err);

}  // namespace app
