// One photo from its file or bytes to the player's frame, or the reason it cannot be shown, in
// words a person can read: formats that are not JPEG named, the decoder's refusals with the
// byte where it stopped. A file is read as the decoder asks, never held whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jpeg/photo_fit.h"

namespace photos {

// A photo fitted into the frame (frame.width * frame.height words 0x00RRGGBB), or why not.
struct FittedPhoto {
  std::vector<std::uint32_t> pixels;
  std::string problem;  // empty when fitted
};

// Decodes the file at path into the frame, upright by its EXIF orientation.
FittedPhoto fit_photo_file(const std::string& path, const jpeg::FitFrame& frame);

// The same for a photo's bytes (at most 2 GB).
FittedPhoto fit_photo(const std::vector<std::uint8_t>& bytes, const jpeg::FitFrame& frame);

}  // namespace photos
