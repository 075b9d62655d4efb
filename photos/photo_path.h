// Paths as the photo code's strings hold them: in UTF-8 on Windows, where the library's own
// narrow strings are in the ANSI code page (which cannot hold every name, and whose
// conversions throw on a name it cannot hold); the file system's bytes elsewhere, valid
// UTF-8 or not.
#pragma once

#include <filesystem>
#include <string>

namespace photos {

inline std::filesystem::path path_of(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string text_of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace photos
