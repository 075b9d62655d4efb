// What fits photos for a show, off the player's turn: a worker thread over files on the
// desktop, the page's file reads in a browser.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "photos/photo_file.h"

namespace photos {

// A fitted photo (or its problem) and the playlist position it was asked for.
struct LoadedPhoto {
  std::int64_t position = 0;
  std::string path;
  FittedPhoto photo;
};

class PhotoFitter {
 public:
  virtual ~PhotoFitter() = default;
  // Asks for the photo at path; a request not yet started may be replaced.
  virtual void request(std::int64_t position, std::string path) = 0;
  // Whether the position asked for last is still to come (asked, being fitted, or done but
  // not yet taken).
  virtual bool busy_with(std::int64_t position) const = 0;
  // A finished photo, if one is waiting; with wait (where the fitter can block), waits until
  // the photo asked for is finished.
  virtual std::optional<LoadedPhoto> take(bool wait) = 0;
};

}  // namespace photos
