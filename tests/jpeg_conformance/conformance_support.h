// Helpers of the conformance tests: files, PNM references from djpeg, decoding and comparison.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/jpeg_decode/decode_picture.h"

namespace conformance {

// Folder of the pictures that make_pictures.sh wrote at build time.
std::string picture_dir();

// Reads a whole file; an empty vector when it cannot be read.
std::vector<std::uint8_t> read_bytes(const std::string& path);

// Reads a binary PGM (P5) or PPM (P6) with maximum value 255; channels 0 when it is not one.
tools::DecodedPicture read_pnm(const std::string& path);

// Mean absolute difference per channel (0..255 scale) of two pictures of equal size and channel
// count, and the largest single difference; empty means when the pictures do not match in shape.
struct Difference {
  std::vector<double> mean_per_channel;
  int largest = 0;
  double worst_mean() const;
};
Difference compare(const tools::DecodedPicture& ours, const tools::DecodedPicture& reference);

// The names of the regular files in a folder with the given extension, sorted.
std::vector<std::string> files_in(const std::string& dir, const std::string& extension);

}  // namespace conformance
