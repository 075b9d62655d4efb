// The photo show's bookkeeping on the player's thread.
#include "photos/photo_show.h"

#include <utility>

namespace photos {

PhotoShow::PhotoShow(Playlist playlist, std::unique_ptr<PhotoFitter> fitter, PhotoShowHooks hooks)
    : playlist_(std::move(playlist)), hooks_(std::move(hooks)), loader_(std::move(fitter)) {}

void PhotoShow::report(const std::string& path, const std::string& problem) {
  if (hooks_.report) hooks_.report(path + ": " + problem);
}

void PhotoShow::tell_problems() {
  for (const WalkEntry& entry : playlist_.take_problems()) report(entry.path, entry.problem);
}

void PhotoShow::make_current(LoadedPhoto& loaded) {
  current_position_ = loaded.position;
  current_ = std::move(loaded.photo.pixels);
  if (hooks_.shown) hooks_.shown(loaded.path);
}

bool PhotoShow::start() {
  std::optional<std::int64_t> position = playlist_.after(std::nullopt);
  for (; position; position = playlist_.after(std::nullopt)) {
    tell_problems();
    loader_->request(*position, playlist_.path(*position));
    std::optional<LoadedPhoto> loaded = loader_->take(true);
    if (loaded && loaded->photo.problem.empty()) {
      make_current(*loaded);
      keep_loading();
      return true;
    }
    if (loaded) report(loaded->path, loaded->photo.problem);
    playlist_.drop(*position);
  }
  tell_problems();
  return false;
}

void PhotoShow::begin() {
  wanted_ = playlist_.after(std::nullopt);
  wanted_forward_ = true;
  keep_loading();
  if (!wanted_ && hooks_.nothing_to_show) hooks_.nothing_to_show();
}

void PhotoShow::want_next() {
  if (!has_current()) return;  // the first photo is still to come
  const std::int64_t from = wanted_.value_or(current_position_);
  wanted_ = playlist_.after(from);
  wanted_forward_ = true;
  if (wanted_ == current_position_) wanted_.reset();  // the only photo left
  keep_loading();
}

void PhotoShow::want_previous() {
  if (!has_current()) return;
  const std::int64_t from = wanted_.value_or(current_position_);
  wanted_ = playlist_.before(from);
  wanted_forward_ = false;
  if (wanted_ == current_position_) wanted_.reset();
  keep_loading();
}

void PhotoShow::keep_loading() {
  tell_problems();
  std::optional<std::int64_t> target = wanted_;
  if (!target && !has_current()) return;
  if (!target) {
    target = playlist_.after(current_position_);
    if (target == current_position_) return;  // nothing else to fit ahead
  }
  if (!target || (ready_ && ready_->position == *target) || loader_->busy_with(*target)) return;
  loader_->request(*target, playlist_.path(*target));
}

bool PhotoShow::poll() {
  if (std::optional<LoadedPhoto> loaded = loader_->take(false)) {
    if (loaded->photo.problem.empty()) {
      ready_ = std::move(loaded);
    } else {
      report(loaded->path, loaded->photo.problem);
      playlist_.drop(loaded->position);
      // Asked for and not showable: go on the same way from it.
      if (wanted_ == loaded->position) {
        wanted_ = wanted_forward_ ? playlist_.after(loaded->position)
                                  : playlist_.before(loaded->position);
        if (has_current() && wanted_ == current_position_) wanted_.reset();
        if (!wanted_ && !has_current() && hooks_.nothing_to_show) hooks_.nothing_to_show();
      }
    }
  }
  bool switched = false;
  if (wanted_ && ready_ && ready_->position == *wanted_) {
    make_current(*ready_);
    ready_.reset();
    wanted_.reset();
    switched = true;
  }
  keep_loading();
  return switched;
}

}  // namespace photos
