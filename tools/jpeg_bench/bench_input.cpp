// The frame marker and the layout names of the benchmarks' tables.
#include "tools/jpeg_bench/bench_input.h"

#include <cstddef>

namespace bench {

bool is_progressive(const std::vector<std::uint8_t>& bytes) {
  std::size_t i = 2;
  while (i + 3 < bytes.size()) {
    if (bytes[i] != 0xFF) return false;
    const std::uint8_t marker = bytes[i + 1];
    if (marker == 0xC2) return true;
    if (marker == 0xC0 || marker == 0xC1 || marker == 0xDA) return false;
    i += 2 + static_cast<std::size_t>(bytes[i + 2] << 8 | bytes[i + 3]);
  }
  return false;
}

const char* layout_name(int subsampling) {
  static const char* const names[] = {"4:4:4", "4:2:2", "4:2:0", "grey", "4:4:0", "4:1:1"};
  return subsampling >= 0 && subsampling < 6 ? names[subsampling] : "other";
}

}  // namespace bench
