// Reading the screen saver's command line.
#include "app/saver_command_line.h"

namespace app {

namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t';
}

const char* skip_spaces(const char* text) {
  while (is_space(*text)) ++text;
  return text;
}

// The decimal number at text, which must be all that is left but spaces; false otherwise.
bool read_handle(const char* text, std::uintptr_t* out) {
  if (*text < '0' || *text > '9') return false;
  std::uintptr_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + static_cast<std::uintptr_t>(*text - '0');
  }
  *out = value;
  return *skip_spaces(text) == '\0';
}

}  // namespace

SaverCommand parse_saver_command_line(const char* text) {
  if (text == nullptr) return {};
  text = skip_spaces(text);
  if (*text == '\0') return {};
  if (*text == '/' || *text == '-') ++text;
  SaverCommand command;
  switch (*text | 0x20) {  // the letter in lower case
    case 's':
      command.mode = SaverMode::kRun;
      break;
    case 'p':
      command.mode = SaverMode::kPreview;
      break;
    case 'c':
      command.mode = SaverMode::kSettings;
      break;
    default:
      return {SaverMode::kNone, 0};
  }
  ++text;
  if (*text == ':') ++text;
  text = skip_spaces(text);
  const bool has_handle = read_handle(text, &command.window);
  if (command.mode == SaverMode::kPreview && (!has_handle || command.window == 0)) {
    return {SaverMode::kNone, 0};
  }
  if (!has_handle) command.window = 0;
  return command;
}

}  // namespace app
