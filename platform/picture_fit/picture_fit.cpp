// Whole-number enlargement of the picture, centring and the way back from area points.
#include "platform/picture_fit/picture_fit.h"

#include <algorithm>

namespace platform {

PictureArea fit_picture(std::int32_t area_width, std::int32_t area_height) {
  if (area_width <= 0 || area_height <= 0) return {};
  const std::int32_t scale = std::min(area_width / kPictureWidth, area_height / kPictureHeight);
  PictureArea placed;
  if (scale >= 1) {
    placed.width = kPictureWidth * scale;
    placed.height = kPictureHeight * scale;
  } else if (static_cast<std::int64_t>(area_width) * kPictureHeight <=
             static_cast<std::int64_t>(area_height) * kPictureWidth) {
    // Narrower than 4:3: the width decides.
    placed.width = area_width;
    placed.height = std::max(1, area_width * kPictureHeight / kPictureWidth);
  } else {
    placed.height = area_height;
    placed.width = std::max(1, area_height * kPictureWidth / kPictureHeight);
  }
  placed.x = (area_width - placed.width) / 2;
  placed.y = (area_height - placed.height) / 2;
  return placed;
}

PictureArea scaled_picture(std::int32_t x, std::int32_t y, std::int32_t scale) {
  const std::int32_t factor = std::max(1, scale);
  return PictureArea{x, y, kPictureWidth * factor, kPictureHeight * factor};
}

PicturePoint to_picture(const PictureArea& placed, std::int32_t x, std::int32_t y) {
  if (placed.width <= 0 || placed.height <= 0) return {};
  const auto map = [](std::int32_t at, std::int32_t start, std::int32_t size, std::int32_t full) {
    const std::int64_t scaled = static_cast<std::int64_t>(at - start) * full / size;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(scaled, 0, full - 1));
  };
  return PicturePoint{map(x, placed.x, placed.width, kPictureWidth),
                      map(y, placed.y, placed.height, kPictureHeight)};
}

}  // namespace platform
