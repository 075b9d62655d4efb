// The worker: one request slot, one result slot.
#include "photos/photo_loader.h"

#include <utility>

namespace photos {

PhotoLoader::PhotoLoader(const jpeg::FitFrame& frame) : frame_(frame), thread_([this] { run(); }) {}

PhotoLoader::~PhotoLoader() {
  {
    const std::lock_guard lock(mutex_);
    ending_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void PhotoLoader::request(std::int64_t position, std::string path) {
  {
    const std::lock_guard lock(mutex_);
    asked_ = LoadedPhoto{position, std::move(path), {}};
  }
  changed_.notify_all();
}

bool PhotoLoader::busy_with(std::int64_t position) const {
  const std::lock_guard lock(mutex_);
  if (asked_) return asked_->position == position;
  return (working_ && *working_ == position) || (done_ && done_->position == position);
}

std::optional<LoadedPhoto> PhotoLoader::take(bool wait) {
  std::optional<LoadedPhoto> taken;
  {
    std::unique_lock lock(mutex_);
    if (wait) changed_.wait(lock, [this] { return done_.has_value() || (!asked_ && !working_); });
    taken = std::exchange(done_, std::nullopt);
  }
  // The worker waits for its result to be taken before it starts the next request.
  if (taken) changed_.notify_all();
  return taken;
}

void PhotoLoader::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    // A finished photo is handed over before the next is started, so at most two frames and
    // one decoder are held at a time.
    changed_.wait(lock, [this] { return ending_ || (asked_ && !done_); });
    if (ending_) return;
    LoadedPhoto job = std::move(*asked_);
    asked_.reset();
    working_ = job.position;
    lock.unlock();
    job.photo = fit_photo_file(job.path, frame_);
    lock.lock();
    working_.reset();
    done_ = std::move(job);
    changed_.notify_all();
  }
}

}  // namespace photos
