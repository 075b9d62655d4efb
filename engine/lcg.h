// The engine's pseudo-random generator: state * 1686629717 + 907633385 modulo 2^32, each
// draw the top 16 bits of the new state.
#pragma once

#include <cstdint>

namespace engine {

inline constexpr std::uint32_t kLcgMultiplier = 1686629717u;  // 0x6487ED55
inline constexpr std::uint32_t kLcgIncrement = 907633385u;    // 0x361962E9

// Advances state one step and returns its top 16 bits.
inline std::uint16_t lcg_next(std::uint32_t& state) {
  state = state * kLcgMultiplier + kLcgIncrement;
  return static_cast<std::uint16_t>(state >> 16);
}

}  // namespace engine
