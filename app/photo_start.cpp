// Starting a photo show.
#include "app/photo_start.h"

#include <random>

#include "app/picture_preparation.h"
#include "display/frame_size.h"

namespace app {

std::unique_ptr<photos::PhotoShow> start_photo_show(const PhotoRequest& request,
                                                    photos::PhotoShowHooks hooks) {
  const jpeg::FitFrame frame{display::kFrameWidth, display::kFrameHeight,
                             request.fit_contain ? jpeg::FitMode::contain : jpeg::FitMode::cover,
                             kSourceImageFill};
  photos::Playlist playlist(photos::PhotoWalk(request.paths), request.shuffle,
                            std::random_device{}());
  auto show = std::make_unique<photos::PhotoShow>(std::move(playlist), frame, std::move(hooks));
  if (!show->start()) return nullptr;
  return show;
}

}  // namespace app
