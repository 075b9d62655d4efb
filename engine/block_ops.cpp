// The channel-keeping masks; the row and block routines are inline in the header because the
// effect runs call them per block.
#include "engine/block_ops.h"

#include <algorithm>

namespace engine {

namespace {

// Bits high - keep + 1 .. high of a 16-bit word.
std::uint32_t top_bits(std::int32_t high, std::int32_t keep) {
  std::uint32_t m = 0;
  for (std::int32_t i = 0; i < 16; ++i) {
    if (high - keep + 1 <= i && i <= high) m |= 1u << i;
  }
  return m;
}

}  // namespace

std::uint32_t channel_keep_mask(std::int32_t nr, std::int32_t ng, std::int32_t nb,
                                const display::PixelLayout& pf) {
  const std::int32_t kr = pf.red_bits - std::clamp(nr, 0, std::max(pf.red_bits, 0));
  const std::int32_t kg = pf.green_bits - std::clamp(ng, 0, std::max(pf.green_bits, 0));
  const std::int32_t kb = pf.blue_bits - std::clamp(nb, 0, std::max(pf.blue_bits, 0));
  const std::uint32_t m =
      top_bits(pf.red_high, kr) | top_bits(pf.green_high, kg) | top_bits(pf.blue_high, kb);
  return m | m << 16;
}

}  // namespace engine
