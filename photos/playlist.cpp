// The playing order over the files the walk finds.
#include "photos/playlist.h"

#include <algorithm>
#include <utility>

namespace photos {

Playlist::Playlist(PhotoWalk walk, bool shuffle, std::uint32_t seed)
    : Playlist([walk = std::move(walk)]() mutable { return walk.next(); }, shuffle, seed) {}

Playlist::Playlist(EntrySource source, bool shuffle, std::uint32_t seed)
    : walk_(std::move(source)), shuffle_(shuffle), random_(seed) {}

std::vector<WalkEntry> Playlist::take_problems() {
  return std::exchange(problems_, {});
}

bool Playlist::discover_one() {
  while (!walk_done_) {
    std::optional<WalkEntry> entry = walk_();
    if (!entry) {
      walk_done_ = true;
      break;
    }
    if (!entry->problem.empty()) {
      problems_.push_back(std::move(*entry));
      continue;
    }
    files_.push_back(std::move(entry->path));
    dropped_.push_back(false);
    return true;
  }
  return false;
}

const std::string& Playlist::path(std::int64_t position) const {
  const auto index = static_cast<std::size_t>(position);
  return files_[shuffle_ ? played_[index] : index];
}

void Playlist::drop(std::int64_t position) {
  const auto index = static_cast<std::size_t>(position);
  dropped_[shuffle_ ? played_[index] : index] = true;
}

std::optional<std::size_t> Playlist::next_file() {
  for (;;) {
    if (round_next_ == round_.size()) {
      while (discover_one()) {
      }
      round_.clear();
      for (std::size_t file = 0; file < files_.size(); ++file) {
        if (usable(file)) round_.push_back(file);
      }
      if (round_.empty()) return std::nullopt;
      std::shuffle(round_.begin(), round_.end(), random_);
      // A new round must not start with the photo that ended the last one: the last played
      // that is still usable (files found bad when met may have come after it).
      const auto last_shown = std::find_if(played_.rbegin(), played_.rend(),
                                           [this](std::size_t played) { return usable(played); });
      if (round_.size() > 1 && last_shown != played_.rend() && round_.front() == *last_shown) {
        std::swap(round_.front(), round_[1 + random_() % (round_.size() - 1)]);
      }
      round_next_ = 0;
    }
    // One dropped since its round was drawn is passed over.
    const std::size_t file = round_[round_next_++];
    if (usable(file)) return file;
  }
}

std::optional<std::int64_t> Playlist::after(std::optional<std::int64_t> position) {
  if (shuffle_) {
    std::size_t index = position ? static_cast<std::size_t>(*position) + 1 : 0;
    // Forward again through photos already played (after going back), then new ones.
    for (; index < played_.size(); ++index) {
      if (usable(played_[index])) return static_cast<std::int64_t>(index);
    }
    const std::optional<std::size_t> file = next_file();
    if (!file) return std::nullopt;
    played_.push_back(*file);
    return static_cast<std::int64_t>(played_.size() - 1);
  }
  // The path order wraps round to the first file at the end of the walk.
  const std::size_t start = position ? static_cast<std::size_t>(*position) + 1 : 0;
  bool wrapped = false;
  for (std::size_t index = start;; ++index) {
    if (index == files_.size() && !discover_one()) {
      if (wrapped || files_.empty()) return std::nullopt;
      wrapped = true;
      index = 0;
      if (index == files_.size()) return std::nullopt;
    }
    if (wrapped && index >= start) return std::nullopt;  // once round: all dropped
    if (usable(index)) return static_cast<std::int64_t>(index);
  }
}

std::optional<std::int64_t> Playlist::before(std::int64_t position) {
  if (shuffle_) {
    for (std::int64_t index = position - 1; index >= 0; --index) {
      if (usable(played_[static_cast<std::size_t>(index)])) return index;
    }
    return std::nullopt;  // the first photo played has none before it
  }
  // Before the first file comes the last one, so the whole walk is read.
  for (std::int64_t step = 1; step <= static_cast<std::int64_t>(files_.size()) + 1; ++step) {
    std::int64_t index = position - step;
    if (index < 0) {
      while (discover_one()) {
      }
      index += static_cast<std::int64_t>(files_.size());
      if (index < 0) return std::nullopt;
    }
    if (index == position) return std::nullopt;
    if (usable(static_cast<std::size_t>(index))) return index;
  }
  return std::nullopt;
}

}  // namespace photos
