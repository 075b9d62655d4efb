// One photo from its bytes to the player's frame, or the reason it cannot be shown, in words a
// person can read: the file read with a size bound, formats that are not JPEG named, the
// decoder's refusals with the byte where it stopped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jpeg/photo_fit.h"

namespace photos {

// Files larger than this are not read: no photo the decoder accepts needs it.
inline constexpr std::int64_t kMaxPhotoFileBytes = std::int64_t{256} << 20;

// Bytes of a file, or why they could not be had.
struct FileBytes {
  std::vector<std::uint8_t> bytes;
  std::string problem;  // empty when read
};

// Reads the whole file at path, refusing one over kMaxPhotoFileBytes.
FileBytes read_photo_file(const std::string& path);

// A photo fitted into the frame (frame.width * frame.height words 0x00RRGGBB), or why not.
struct FittedPhoto {
  std::vector<std::uint32_t> pixels;
  std::string problem;  // empty when fitted
};

// Decodes bytes into the frame, upright by their EXIF orientation.
FittedPhoto fit_photo(const std::vector<std::uint8_t>& bytes, const jpeg::FitFrame& frame);

}  // namespace photos
