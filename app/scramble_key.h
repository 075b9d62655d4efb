// The build's scrambling key: the seed, the generator width and the rule that derives the
// generator's multiplier and increment from the width. The player's descrambling and the
// build's scrambling tool both read it, so the two always agree.
#pragma once

#include <cstdint>

namespace app {

// Seed of the keyed XOR stream over both embedded pictures.
inline constexpr std::uint32_t kScrambleSeed = 0x6D51C0DEu;
// Number of state bits of the generator, 1 to 32.
inline constexpr std::uint32_t kScrambleWidth = 24;

// Multiplier for a width: a fixed base that is 5 mod 8, moved by a multiple of 8 per width
// bit, so it stays 5 mod 8 and the generator runs through its full period.
constexpr std::uint32_t scramble_multiplier(std::uint32_t width) {
  return 0x41C64E6Du + (width << 3);
}

// Increment for a width: odd for every width, as the full period needs.
constexpr std::uint32_t scramble_increment(std::uint32_t width) {
  return (0x3039u + 2u * width) | 1u;
}

static_assert(scramble_multiplier(kScrambleWidth) % 8u == 5u);
static_assert(scramble_increment(kScrambleWidth) % 2u == 1u);

}  // namespace app
