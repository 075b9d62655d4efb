// The desktop's fitter: a worker thread that reads and fits one photo file at a time, so that
// the player's frames go on while a photo is decoded.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "photos/photo_fitter.h"

namespace photos {

class PhotoLoader final : public PhotoFitter {
 public:
  explicit PhotoLoader(const jpeg::FitFrame& frame);
  // Waits for the photo being decoded, if any, and ends the thread.
  ~PhotoLoader() override;
  PhotoLoader(const PhotoLoader&) = delete;
  PhotoLoader& operator=(const PhotoLoader&) = delete;

  void request(std::int64_t position, std::string path) override;
  bool busy_with(std::int64_t position) const override;
  std::optional<LoadedPhoto> take(bool wait) override;

 private:
  void run();

  const jpeg::FitFrame frame_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<LoadedPhoto> asked_;  // path and position only
  std::optional<std::int64_t> working_;
  std::optional<LoadedPhoto> done_;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace photos
