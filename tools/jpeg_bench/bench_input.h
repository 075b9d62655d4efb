// What the benchmarks print about an input file: its coding mode and chroma layout.
#pragma once

#include <cstdint>
#include <vector>

namespace bench {

// True when the frame header is SOF2 (progressive).
bool is_progressive(const std::vector<std::uint8_t>& bytes);
// The layout of TurboJPEG's subsampling code: "4:2:0", "grey" and so on.
const char* layout_name(int subsampling);

}  // namespace bench
