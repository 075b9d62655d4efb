// The photos a player shows: the playlist, the worker that fits them, the photo on screen and
// the one after it, fitted before it is due. Files that cannot be shown are told in one line
// each and dropped; nothing here ever waits on a photo except start().
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "photos/photo_fitter.h"
#include "photos/playlist.h"

namespace photos {

struct PhotoShowHooks {
  // One line about a file that cannot be shown, "PATH: why", without the line end.
  std::function<void(const std::string&)> report;
  // A photo has just become the one shown.
  std::function<void(const std::string&)> shown;
  // A show begun without a photo has found none it can show.
  std::function<void()> nothing_to_show;
};

class PhotoShow {
 public:
  PhotoShow(Playlist playlist, std::unique_ptr<PhotoFitter> fitter, PhotoShowHooks hooks);

  // Fits the first photo that can be shown, telling of those that cannot; false when there
  // is none at all. Only for a fitter that can wait.
  bool start();
  // Asks for the first photo without waiting: it becomes current in a later poll, or the show
  // is exhausted.
  void begin();
  // Whether a photo is current, and when none is and none can come.
  bool has_current() const { return !current_.empty(); }
  bool exhausted() const { return current_.empty() && !wanted_; }
  // The photo shown now: frame.width * frame.height words 0x00RRGGBB.
  const std::vector<std::uint32_t>& current() const { return current_; }
  // Asks for the photo after, or before, the one shown; it becomes current in a later poll.
  // Asking again before it came moves on from that one.
  void want_next();
  void want_previous();
  // Once per frame: takes what the worker finished, tells of bad files, and returns true
  // when the photo asked for has become current.
  bool poll();

 private:
  void tell_problems();
  void report(const std::string& path, const std::string& problem);
  // Keeps the worker on the photo that should be fitted next: the one asked for, or else the
  // one after the current.
  void keep_loading();
  void make_current(LoadedPhoto& loaded);

  Playlist playlist_;
  PhotoShowHooks hooks_;
  std::unique_ptr<PhotoFitter> loader_;
  std::int64_t current_position_ = 0;
  std::vector<std::uint32_t> current_;
  // The photo asked for, and the way to go on when it cannot be shown.
  std::optional<std::int64_t> wanted_;
  bool wanted_forward_ = true;
  // A photo the worker has fitted, waiting to be shown.
  std::optional<LoadedPhoto> ready_;
};

}  // namespace photos
