// The scrambling generator and the XOR pass over a buffer.
#include "app/scramble.h"

#include "app/scramble_key.h"

namespace app {

void ScrambleGenerator::init(std::uint32_t bits) {
  width = bits == 0 ? 1u : (bits > 32 ? 32u : bits);
  mask = width == 32 ? 0xFFFFFFFFu : (1u << width) - 1u;
  multiplier = scramble_multiplier(width) & mask;
  increment = scramble_increment(width) & mask;
  shift = width > 8 ? width - 8 : 0;
  state = 1;
}

std::uint32_t ScrambleGenerator::next() {
  // Unsigned arithmetic wraps modulo 2^32 before the mask, as the generator requires.
  state = (multiplier * state + increment) & mask;
  return state;
}

bool descramble(std::uint8_t* buffer, std::int32_t length, std::uint32_t seed,
                std::uint32_t width) {
  if (buffer == nullptr || length < 0 || width < 1 || width > 32) return false;
  ScrambleGenerator generator(width);
  generator.state = seed & generator.mask;
  for (std::int32_t i = 0; i < length; ++i) {
    const std::uint32_t key = (generator.next() >> generator.shift) & 0xFFu;
    buffer[i] = static_cast<std::uint8_t>(buffer[i] ^ key);
  }
  return true;
}

}  // namespace app
