// The photo show of an entry point: the walk, the order and the fit the user asked for,
// started on its first photo.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "photos/photo_show.h"

namespace app {

struct PhotoRequest {
  std::vector<std::string> paths;
  bool shuffle = false;
  bool fit_contain = false;
};

// The show over the request's paths, in the player's frame on its fill colour, with the first
// photo fitted; null (every problem told through hooks.report) when no path holds a photo
// that can be shown.
std::unique_ptr<photos::PhotoShow> start_photo_show(const PhotoRequest& request,
                                                    photos::PhotoShowHooks hooks);

}  // namespace app
