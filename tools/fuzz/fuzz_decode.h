// One fuzzing step for the decoder: decode arbitrary bytes through both paths, read every row and
// check the decoder's promises on the way. Shared by the libFuzzer target and the replay test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tools {

// Pictures above this many pixels are only constructed, not decoded, so that the fuzzer spends
// its time on the parser rather than on megabytes of filler data.
inline constexpr std::int64_t kFuzzMaxPixels = std::int64_t{1} << 22;

// Decodes data on the fast and on the integer path. Returns an empty string when the decoder kept
// every promise (rows of the stated length, the return codes of a failure, the stream closed
// exactly once), else a description of the first broken one.
std::string fuzz_decode(const std::uint8_t* data, std::size_t size);

}  // namespace tools
