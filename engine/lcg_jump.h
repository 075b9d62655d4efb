// Jumping the engine's generator ahead: the state after k steps from s is mul(k) * s +
// add(k), so the draws of a whole batch of blocks can be computed side by side instead of
// one after the other.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/lcg.h"

namespace engine {

// Blocks whose draws are computed together.
inline constexpr std::int32_t kBatch = 256;

// mul(k) and add(k) for the steps of a batch, split by parity: the x draw of block i is
// step 2i + 1 and its y draw step 2i + 2.
struct LcgJumps {
  std::uint32_t x_mul[kBatch], x_add[kBatch], y_mul[kBatch], y_add[kBatch];
};

constexpr LcgJumps make_lcg_jumps() {
  LcgJumps j{};
  std::uint32_t mul = 1;
  std::uint32_t add = 0;
  for (std::int32_t k = 1; k <= 2 * kBatch; ++k) {
    mul *= kLcgMultiplier;
    add = add * kLcgMultiplier + kLcgIncrement;
    const auto i = static_cast<std::size_t>((k - 1) / 2);
    if (k % 2 == 1) {
      j.x_mul[i] = mul;
      j.x_add[i] = add;
    } else {
      j.y_mul[i] = mul;
      j.y_add[i] = add;
    }
  }
  return j;
}

inline constexpr LcgJumps kLcgJumps = make_lcg_jumps();

// The x and y draws of block i (i < kBatch) of a batch whose generator state was s.
constexpr std::uint32_t batch_draw_x(std::uint32_t s, std::int32_t i) {
  return (s * kLcgJumps.x_mul[i] + kLcgJumps.x_add[i]) >> 16;
}
constexpr std::uint32_t batch_draw_y(std::uint32_t s, std::int32_t i) {
  return (s * kLcgJumps.y_mul[i] + kLcgJumps.y_add[i]) >> 16;
}

// The generator state after the draws of n blocks (1 <= n <= kBatch) from s.
constexpr std::uint32_t after_batch(std::uint32_t s, std::int32_t n) {
  return s * kLcgJumps.y_mul[n - 1] + kLcgJumps.y_add[n - 1];
}

}  // namespace engine
