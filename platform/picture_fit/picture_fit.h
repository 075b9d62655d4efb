// Where the 640x480 picture goes in an area of another size, and where a point of that area
// falls in the picture: the geometry of full screen, of an enlarged window and of a
// screensaver's window.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr std::int32_t kPictureWidth = 640;
inline constexpr std::int32_t kPictureHeight = 480;

// A rectangle of the area: its top-left corner and its size, in pixels.
struct PictureArea {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

struct PicturePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// The picture centred in an area of area_width x area_height, enlarged by the largest whole
// number that fits, so every picture pixel becomes the same sharp square; in an area smaller
// than the picture, reduced with its aspect kept. Empty for an empty area.
PictureArea fit_picture(std::int32_t area_width, std::int32_t area_height);

// The picture enlarged scale times (at least once), its top-left corner at (x, y).
PictureArea scaled_picture(std::int32_t x, std::int32_t y, std::int32_t scale);

// The picture pixel under the area point (x, y); points outside the picture land on its
// nearest edge, because the whole area stands for the picture's window.
PicturePoint to_picture(const PictureArea& placed, std::int32_t x, std::int32_t y);

}  // namespace platform
