// The keyed XOR stream that scrambles and descrambles the embedded pictures: a linear
// congruential generator of 1 to 32 state bits whose top 8 state bits key each byte.
#pragma once

#include <cstdint>

namespace app {

// A linear congruential generator over `width` bits; fields in this order.
struct ScrambleGenerator {
  std::uint32_t width = 0;  // state bits, 1..32
  std::uint32_t mask = 0;   // 2^width - 1
  std::uint32_t shift = 0;  // width - 8 above 8 bits, else 0: brings the top 8 bits down
  std::uint32_t state = 0;
  std::uint32_t multiplier = 0;  // 5 mod 8 before masking
  std::uint32_t increment = 0;   // odd before masking

  // Sets the generator up for a width (0 counts as 1, above 32 as 32); the state becomes 1.
  explicit ScrambleGenerator(std::uint32_t bits) { init(bits); }
  void init(std::uint32_t bits);
  // Advances the state and returns the new state.
  std::uint32_t next();
};

// XORs every byte of buffer with the top 8 state bits of a generator of `width` bits that
// starts from seed (masked to the width) and steps once before each byte. The same call
// scrambles and descrambles. Returns false, leaving the buffer untouched, for a null
// buffer, a negative length or a width outside 1..32.
bool descramble(std::uint8_t* buffer, std::int32_t length, std::uint32_t seed, std::uint32_t width);

}  // namespace app
