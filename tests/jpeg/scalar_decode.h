// Whole-picture decoding through a second build of the decoder whose vector paths are switched
// off (namespace jpeg_scalar), for comparing the vector and scalar paths byte for byte.
#pragma once

#include <cstdint>
#include <vector>

namespace jpeg_test {

// The rows of the picture, or an empty vector when the scalar build refuses it.
std::vector<std::uint8_t> decode_scalar(const std::vector<std::uint8_t>& jpeg, bool fast_path);

}  // namespace jpeg_test
