// The two settings the image folder needs, read line by line: "name:" then blanks and the value.
#include "app/xscreensaver_settings.h"

#include <fstream>
#include <sstream>
#include <string_view>

namespace app {

namespace {

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::string> xscreensaver_image_folder(const std::string& settings,
                                                     const std::string& home) {
  std::optional<std::string> folder;
  bool random_images = false;
  std::istringstream lines(settings);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string_view name = trimmed(std::string_view(line).substr(0, colon));
    const std::string_view value = trimmed(std::string_view(line).substr(colon + 1));
    if (name == "imageDirectory") {
      folder = std::string(value);
    } else if (name == "chooseRandomImages") {
      random_images = value == "True" || value == "true" || value == "on" || value == "yes";
    }
  }
  if (!random_images || !folder || folder->empty()) return std::nullopt;
  if (folder->rfind("~/", 0) == 0) *folder = home + folder->substr(1);
  return folder;
}

std::optional<std::string> read_xscreensaver_image_folder(const std::string& home) {
  std::ifstream file(home + "/.xscreensaver");
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  return xscreensaver_image_folder(text.str(), home);
}

}  // namespace app
