#include "engine/drift_pattern.h"

#include <algorithm>
#include <cstddef>

#include "engine/fast_mod.h"
#include "engine/lcg_jump.h"

namespace engine {

bool DriftPattern::prepare(std::uint32_t seed, std::int32_t count, std::int32_t w, std::int32_t h) {
  if (count < 1 || count > kMaxBlocks || w < 1 || w > 0xFFFF || h < 1 || h > 0xFFFF) {
    return false;
  }
  if (!points_.empty() && seed == seed_ && count == count_ && w == w_ && h == h_) return true;
  points_.resize(static_cast<std::size_t>(count));
  const FastMod mod_w(static_cast<std::uint64_t>(w));
  const FastMod mod_h(static_cast<std::uint64_t>(h));
  std::uint32_t state = seed;
  for (std::int32_t done = 0; done < count;) {
    const std::int32_t n = std::min(kBatch, count - done);
    std::uint32_t* out = points_.data() + done;
    for (std::int32_t i = 0; i < n; ++i) {
      const std::uint32_t x = (state * kLcgJumps.x_mul[i] + kLcgJumps.x_add[i]) >> 16;
      const std::uint32_t y = (state * kLcgJumps.y_mul[i] + kLcgJumps.y_add[i]) >> 16;
      out[i] = mod_w(x) | mod_h(y) << 16;
    }
    state = state * kLcgJumps.y_mul[n - 1] + kLcgJumps.y_add[n - 1];
    done += n;
  }
  seed_ = seed;
  count_ = count;
  w_ = w;
  h_ = h;
  return true;
}

}  // namespace engine
