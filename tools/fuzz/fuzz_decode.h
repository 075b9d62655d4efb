// One fuzzing step for the decoder: decode arbitrary bytes, read every row and check the
// decoder's promises on the way. Shared by the libFuzzer targets and the replay tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tools {

// Pictures above this many pixels are only constructed, not decoded, so that the fast target
// spends its time on the parser rather than on megabytes of filler data.
inline constexpr std::int64_t kFuzzMaxPixels = std::int64_t{1} << 16;
// The tests and the whole-picture target decode real pictures (up to 8192x24) but not a damaged
// header's 8192x8192.
inline constexpr std::int64_t kTestMaxPixels = std::int64_t{1} << 22;

// The decoding paths one step runs.
enum class FuzzPaths { both, fast, integer };

// Decodes data on the chosen paths. Returns an empty string when the decoder kept every promise
// (rows of the stated length, the return codes of a failure, the stream closed exactly once,
// and on both paths the same error code), else a description of the first broken one. Pictures of
// more than max_pixels pixels are only constructed. threads is handed to the decoder (2 lets large
// sequential pictures decode their rows on a second thread).
std::string fuzz_decode(const std::uint8_t* data, std::size_t size,
                        std::int64_t max_pixels = kFuzzMaxPixels, FuzzPaths paths = FuzzPaths::both,
                        std::int32_t threads = 1);

}  // namespace tools
