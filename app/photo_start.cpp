// Starting a photo show.
#include "app/photo_start.h"

#include <random>

#include "app/photo_frame.h"
#include "photos/photo_loader.h"

namespace app {

std::unique_ptr<photos::PhotoShow> start_photo_show(const PhotoRequest& request,
                                                    photos::PhotoShowHooks hooks) {
  const jpeg::FitFrame frame = photo_frame(request.fit_contain);
  photos::Playlist playlist(photos::PhotoWalk(request.paths), request.shuffle,
                            std::random_device{}());
  auto show = std::make_unique<photos::PhotoShow>(
      std::move(playlist), std::make_unique<photos::PhotoLoader>(frame), std::move(hooks));
  if (!show->start()) return nullptr;
  return show;
}

}  // namespace app
