// The EXIF orientation of a photo (EXIF 2.3 4.6.4, TIFF 6.0 tag 274) and the mapping from the
// upright picture's pixels to the stored ones that each of its eight values stands for.
#pragma once

#include <cstdint>

namespace jpeg {

// The orientation tag of IFD0 in the payload of an APP1 segment (the bytes after its length
// field): "Exif", two zero bytes, then a TIFF header in either byte order. Returns 1..8, and 1
// for anything missing, malformed or out of range. Reads only within the size bytes given.
std::int32_t exif_orientation(const std::uint8_t* payload, std::int32_t size);

// Whether the orientation turns the picture by a quarter (5..8): the upright picture's width is
// the stored height.
constexpr bool orientation_swaps_axes(std::int32_t orientation) {
  return orientation >= 5 && orientation <= 8;
}

// A stored pixel position.
struct StoredPoint {
  std::int32_t x;
  std::int32_t y;
};

// The stored pixel shown at (x, y) of the upright picture, for a stored picture of width x
// height pixels. Orientation 1 (or anything outside 2..8) is the identity.
constexpr StoredPoint stored_point(std::int32_t orientation, std::int32_t x, std::int32_t y,
                                   std::int32_t width, std::int32_t height) {
  switch (orientation) {
    case 2:  // mirrored left to right
      return {width - 1 - x, y};
    case 3:  // turned by a half
      return {width - 1 - x, height - 1 - y};
    case 4:  // mirrored top to bottom
      return {x, height - 1 - y};
    case 5:  // mirrored about the main diagonal
      return {y, x};
    case 6:  // stored turned a quarter anticlockwise: shown turned a quarter clockwise
      return {y, height - 1 - x};
    case 7:  // mirrored about the other diagonal
      return {width - 1 - y, height - 1 - x};
    case 8:  // stored turned a quarter clockwise
      return {width - 1 - y, x};
    default:
      return {x, y};
  }
}

}  // namespace jpeg
