// The walk over files and folders, with std::filesystem's non-throwing calls.
#include "photos/photo_walk.h"

#include <algorithm>
#include <system_error>

#include "photos/photo_path.h"

namespace photos {

namespace fs = std::filesystem;

namespace {

bool hidden(const fs::path& path) {
  const std::string name = text_of(path.filename());
  return !name.empty() && name[0] == '.';
}

std::string problem_text(const std::error_code& error) {
  if (error == std::errc::no_such_file_or_directory) return "no such file or folder";
  return error.message();
}

}  // namespace

PhotoWalk::PhotoWalk(std::vector<std::string> paths) : named_(std::move(paths)) {}

bool PhotoWalk::first_visit(const fs::path& path) {
  std::error_code error;
  const fs::path canonical = fs::canonical(path, error);
  // A path that cannot be resolved is taken as it is written: reading it will say why.
  return visited_.insert(text_of(error ? path : canonical)).second;
}

std::optional<WalkEntry> PhotoWalk::enter(const fs::path& path, bool named) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error) {
    // A dangling link inside a folder is not worth a line; a named path that is not there is.
    if (!named) return std::nullopt;
    return WalkEntry{text_of(path), problem_text(error)};
  }
  if (!first_visit(path)) return std::nullopt;
  if (fs::is_regular_file(status)) return WalkEntry{text_of(path), {}};
  if (!fs::is_directory(status)) {
    if (!named) return std::nullopt;  // sockets, devices and pipes in a folder are skipped
    return WalkEntry{text_of(path), "not a file or folder"};
  }
  Folder folder;
  fs::directory_iterator it(path, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    if (!hidden(it->path())) folder.entries.push_back(it->path());
  }
  if (error) return WalkEntry{text_of(path), "cannot read the folder: " + error.message()};
  std::sort(folder.entries.begin(), folder.entries.end());
  folders_.push_back(std::move(folder));
  return std::nullopt;
}

std::optional<WalkEntry> PhotoWalk::next() {
  for (;;) {
    if (!folders_.empty()) {
      Folder& folder = folders_.back();
      if (folder.next == folder.entries.size()) {
        folders_.pop_back();
        continue;
      }
      // Copied: entering a folder may move the stack that holds this one.
      const fs::path path = folder.entries[folder.next++];
      if (std::optional<WalkEntry> entry = enter(path, false)) return entry;
      continue;
    }
    if (next_named_ == named_.size()) return std::nullopt;
    const fs::path path = path_of(named_[next_named_++]);
    if (std::optional<WalkEntry> entry = enter(path, true)) return entry;
  }
}

}  // namespace photos
