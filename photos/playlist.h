// The order photos play in: the order of their paths, or shuffled rounds in which every photo
// comes once before any repeats. Files are found through the walk only when the order needs
// them, and a file that cannot be shown is dropped for good.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "photos/photo_walk.h"

namespace photos {

// The files in the order of their paths, one per call, or problems; none at the end.
using EntrySource = std::function<std::optional<WalkEntry>()>;

class Playlist {
 public:
  // Shuffled rounds need every file, so they finish the walk first; the path order reads it
  // as it goes. seed makes the shuffle repeatable.
  Playlist(PhotoWalk walk, bool shuffle, std::uint32_t seed);
  // The same over entries from elsewhere (the files a browser page was given).
  Playlist(EntrySource source, bool shuffle, std::uint32_t seed);

  // Paths the walk could not read, each once, since the last call.
  std::vector<WalkEntry> take_problems();

  // The photo after (or before) the one at position, in playing order; the first one for no
  // position. None when no photo is left. Positions are stable: they name a place in the
  // order played so far.
  std::optional<std::int64_t> after(std::optional<std::int64_t> position);
  std::optional<std::int64_t> before(std::int64_t position);
  const std::string& path(std::int64_t position) const;

  // The photo at position cannot be shown: it is never given again.
  void drop(std::int64_t position);

 private:
  // Reads the walk until one more file is known; false at its end.
  bool discover_one();
  // The file index for a position not yet played, extending the order (a new round when
  // shuffled); none when every file is dropped.
  std::optional<std::size_t> next_file();
  bool usable(std::size_t file) const { return !dropped_[file]; }

  EntrySource walk_;
  bool walk_done_ = false;
  bool shuffle_;
  std::mt19937 random_;
  std::vector<std::string> files_;
  std::vector<bool> dropped_;
  std::vector<WalkEntry> problems_;
  // The playing order so far: file indices. With the path order, position = file index.
  std::vector<std::size_t> played_;
  // The current shuffled round and how far it has been played.
  std::vector<std::size_t> round_;
  std::size_t round_next_ = 0;
};

}  // namespace photos
