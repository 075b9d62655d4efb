// The files under the paths a user names, one at a time and in the order of their paths:
// folders are read one by one as the walk reaches them, so the first photo of a large tree
// is known at once.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace photos {

// One step of a walk: a file to try, or a path that could not be read (problem says why).
struct WalkEntry {
  std::string path;
  std::string problem;  // empty for a file
};

class PhotoWalk {
 public:
  // The paths are taken in the order given. A named file is taken whatever its name; inside
  // folders, hidden files and folders (names starting with '.') are skipped.
  explicit PhotoWalk(std::vector<std::string> paths);

  // The next file or unreadable path; none when the walk is over. Each folder and each file
  // is given once, however many links lead to it, so link loops end.
  std::optional<WalkEntry> next();

 private:
  // A folder being read: its entries sorted by name, and the next one to give.
  struct Folder {
    std::vector<std::filesystem::path> entries;
    std::size_t next = 0;
  };

  // Opens a folder (the walk descends into it) or returns the file or problem it is.
  std::optional<WalkEntry> enter(const std::filesystem::path& path, bool named);
  // True the first time a file or folder is met, by its canonical path.
  bool first_visit(const std::filesystem::path& path);

  std::vector<std::string> named_;
  std::size_t next_named_ = 0;
  std::vector<Folder> folders_;
  std::set<std::string> visited_;
};

}  // namespace photos
