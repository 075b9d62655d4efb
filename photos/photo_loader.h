// A worker thread that reads and fits one photo at a time, so that the player's frames go on
// while a photo is decoded.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "photos/photo_file.h"

namespace photos {

// A fitted photo (or its problem) and the playlist position it was asked for.
struct LoadedPhoto {
  std::int64_t position = 0;
  std::string path;
  FittedPhoto photo;
};

class PhotoLoader {
 public:
  explicit PhotoLoader(const jpeg::FitFrame& frame);
  // Waits for the photo being decoded, if any, and ends the thread.
  ~PhotoLoader();
  PhotoLoader(const PhotoLoader&) = delete;
  PhotoLoader& operator=(const PhotoLoader&) = delete;

  // Asks for the photo at path; a request not yet started is replaced.
  void request(std::int64_t position, std::string path);
  // Whether the position asked for last is still to come (asked, being decoded or done but
  // not yet taken).
  bool busy_with(std::int64_t position) const;
  // A finished photo, if one is waiting; with wait, blocks until one is.
  std::optional<LoadedPhoto> take(bool wait);

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
