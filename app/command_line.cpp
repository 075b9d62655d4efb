// Parsing of the Linux player's options, GNU style ("--scale 2" or "--scale=2"), and the
// texts it prints.
#include "app/command_line.h"

#include <cstring>
#include <string_view>

#include "resources/about_texts.h"
#include "resources/version.h"

namespace app {

namespace {

constexpr char kHelp[] =
    "Usage: moviquel [--window] [--scale N] [--window-id ID | --root] [--shuffle]\n"
    "                [--fit cover|contain] [--help] [--version] [PATH...]\n"
    "\n"
    "Plays the Moviquel animated picture, full screen when the desktop allows it, or the\n"
    "JPEG photos in the files and folders given (folders are read with their subfolders;\n"
    "hidden files are skipped; a file that cannot be shown is named on standard error).\n"
    "\n"
    "Options:\n"
    "  --window        start in a window, without trying full screen\n"
    "  --scale N       show the window's picture N times larger (N from 1 to 8)\n"
    "  --window-id ID  draw into the existing X window ID (decimal or 0x hexadecimal), as a\n"
    "                  screensaver does; XSCREENSAVER_WINDOW in the environment does the same\n"
    "  --root          draw into the root window, as a screensaver (under xscreensaver,\n"
    "                  into xscreensaver's window, which stands for it)\n"
    "  --shuffle       play the photos in random order, each once before any repeats\n"
    "  --fit MODE      cover (the default): fill the frame with the photo's middle;\n"
    "                  contain: show the whole photo, with bars\n"
    "  --help          print this help and exit\n"
    "  --version       print the product name and version and exit\n"
    "\n"
    "Keys:\n"
    "  T, Alt+Enter      switch between full screen and a window\n"
    "  P                 show or hide the frame timings\n"
    "  Esc, Alt+X        quit\n"
    "  F10, Alt+F        open the File menu (in a window)\n"
    "  Left, Backspace   with photos, the previous photo\n"
    "  any other key     switch between the main and the info picture; the next photo\n"
    "\n"
    "Mouse buttons:\n"
    "  right           show the info picture\n"
    "  left            on the info picture, open the web page\n"
    "\n"
    "Each photo plays for 30 seconds, upright by its EXIF orientation; from the info\n"
    "picture, any key goes back to the photo.\n"
    "\n"
    "Drawing into a screensaver's window, the player leaves the keys and the mouse to the\n"
    "screensaver, shows no menu and no messages, and ends on SIGTERM. Given no paths there,\n"
    "it plays the image folder of xscreensaver's settings (imageDirectory in ~/.xscreensaver,\n"
    "with chooseRandomImages on), shuffled.\n";

constexpr char kUsageHint[] = "Try 'moviquel --help' for more information.\n";

bool all_digits(std::string_view text, bool hexadecimal) {
  if (text.empty()) return false;
  for (const char c : text) {
    const bool digit = c >= '0' && c <= '9';
    const bool hex_letter = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!digit && !(hexadecimal && hex_letter)) return false;
  }
  return true;
}

// An X window id: decimal or 0x hexadecimal, not 0, within the 32 bits X gives an id.
bool parse_window_id(std::string_view text, std::uint32_t* out) {
  const bool hexadecimal = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  if (hexadecimal) text.remove_prefix(2);
  if (!all_digits(text, hexadecimal)) return false;
  const std::uint64_t base = hexadecimal ? 16 : 10;
  std::uint64_t value = 0;
  for (const char c : text) {
    const std::uint64_t digit = c <= '9' ? static_cast<std::uint64_t>(c - '0')
                                         : static_cast<std::uint64_t>((c | 0x20) - 'a' + 10);
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) return false;
  }
  if (value == 0) return false;
  *out = static_cast<std::uint32_t>(value);
  return true;
}

bool parse_scale(std::string_view text, std::int32_t* out) {
  if (text.size() != 1 || !all_digits(text, false)) return false;
  const std::int32_t value = text[0] - '0';
  if (value < 1 || value > kMaxScale) return false;
  *out = value;
  return true;
}

}  // namespace

CommandLine parse_command_line(int argc, const char* const* argv, const char* screensaver_window) {
  CommandLine line;
  bool window_id_given = false;
  bool root_given = false;
  const auto bad = [&line](std::string text) {
    line.error = "moviquel: " + std::move(text);
    return line;
  };
  bool options_ended = false;
  for (int i = 0; i < argc; ++i) {
    const std::string_view argument(argv[i]);
    if (options_ended || argument == "-" || argument.rfind("-", 0) != 0) {
      line.paths.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    std::string_view name = argument;
    std::string_view value;
    bool has_value = false;
    if (const std::size_t equals = argument.find('=');
        argument.rfind("--", 0) == 0 && equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
      has_value = true;
    }
    const std::string shown(name);
    const bool takes_value = name == "--scale" || name == "--window-id" || name == "--fit";
    if (takes_value && !has_value) {
      if (i + 1 >= argc) return bad("option '" + shown + "' needs a value");
      value = argv[++i];
      has_value = true;
    }
    if (!takes_value && has_value &&
        (name == "--window" || name == "--root" || name == "--help" || name == "--version" ||
         name == "--shuffle")) {
      return bad("option '" + shown + "' takes no value");
    }
    if (name == "--window") {
      line.start_windowed = true;
    } else if (name == "--root") {
      root_given = true;
    } else if (name == "--help") {
      line.show_help = true;
    } else if (name == "--version") {
      line.show_version = true;
    } else if (name == "--shuffle") {
      line.shuffle = true;
    } else if (name == "--fit") {
      if (value != "cover" && value != "contain") {
        return bad("--fit takes cover or contain, not '" + std::string(value) + "'");
      }
      line.fit_contain = value == "contain";
    } else if (name == "--scale") {
      if (!parse_scale(value, &line.scale)) {
        return bad("--scale takes a whole number from 1 to 8, not '" + std::string(value) + "'");
      }
    } else if (name == "--window-id") {
      if (!parse_window_id(value, &line.window_id)) {
        return bad("--window-id takes an X window id (decimal or 0x hexadecimal), not '" +
                   std::string(value) + "'");
      }
      window_id_given = true;
    } else {
      return bad("unknown option '" + std::string(argument) + "'");
    }
  }
  if (window_id_given && root_given) return bad("--window-id and --root exclude each other");
  if (window_id_given) {
    line.target = DrawTarget::kWindowId;
  } else if (root_given && (screensaver_window == nullptr || *screensaver_window == '\0')) {
    line.target = DrawTarget::kRootWindow;
  } else if (screensaver_window != nullptr && *screensaver_window != '\0') {
    // Under xscreensaver its window stands for the root window (the virtual root its own
    // programs draw on), so "moviquel --root" in its list draws where it can be seen.
    if (!parse_window_id(screensaver_window, &line.window_id)) {
      return bad("XSCREENSAVER_WINDOW is not an X window id: '" + std::string(screensaver_window) +
                 "'");
    }
    line.target = DrawTarget::kWindowId;
  }
  return line;
}

int refuse_usage(const std::string& line, std::FILE* err) {
  std::fprintf(err, "%s\n%s", line.c_str(), kUsageHint);
  return 2;
}

int answer_command_line(const CommandLine& line, std::FILE* out, std::FILE* err) {
  if (!line.error.empty()) return refuse_usage(line.error, err);
  if (line.show_help) {
    std::fputs(kHelp, out);
    return 0;
  }
  if (line.show_version) {
    std::fputs(MQ_ABOUT_PRODUCT_TEXT " " MQ_VERSION_TEXT "\n", out);
    return 0;
  }
  return -1;
}

}  // namespace app
