// The frame photos are fitted into: the player's 640x480 picture, on its fill colour.
#pragma once

#include "app/picture_preparation.h"
#include "display/frame_size.h"
#include "jpeg/photo_fit.h"

namespace app {

// cover unless contain is asked for.
inline jpeg::FitFrame photo_frame(bool contain) {
  return {display::kFrameWidth, display::kFrameHeight,
          contain ? jpeg::FitMode::contain : jpeg::FitMode::cover, kSourceImageFill};
}

}  // namespace app
