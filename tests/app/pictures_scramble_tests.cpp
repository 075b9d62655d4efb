// The scrambling generator and descramble: set-up, key bytes for widths 8, 24 and 32,
// refusals, seed masking and the round trip. Expected key bytes were worked out by hand
// from the generator's definition and the build's multiplier/increment rule.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <numeric>
#include <vector>

#include "app/scramble.h"
#include "app/scramble_key.h"

namespace {

std::vector<std::uint8_t> key_stream(std::uint32_t seed, std::uint32_t width, std::size_t n) {
  std::vector<std::uint8_t> zeros(n, 0);
  EXPECT_TRUE(app::descramble(zeros.data(), static_cast<std::int32_t>(n), seed, width));
  return zeros;
}

std::vector<std::uint8_t> sample_bytes() {
  std::vector<std::uint8_t> bytes(1000);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>((i * 7919u + 13u) >> 3);
  }
  return bytes;
}

TEST(ScrambleGenerator, SetUpClampsTheWidthAndStartsFromStateOne) {
  app::ScrambleGenerator zero(0);
  EXPECT_EQ(zero.width, 1u);
  EXPECT_EQ(zero.mask, 1u);
  EXPECT_EQ(zero.shift, 0u);
  EXPECT_EQ(zero.state, 1u);

  app::ScrambleGenerator wide(40);
  EXPECT_EQ(wide.width, 32u);
  EXPECT_EQ(wide.mask, 0xFFFFFFFFu);
  EXPECT_EQ(wide.shift, 24u);

  app::ScrambleGenerator eight(8);
  EXPECT_EQ(eight.mask, 0xFFu);
  EXPECT_EQ(eight.shift, 0u);
  // 0x41C64E6D + 8 * 8 = 0x41C64EAD; (0x3039 + 16) | 1 = 0x3049; both masked to 8 bits.
  EXPECT_EQ(eight.multiplier, 0xADu);
  EXPECT_EQ(eight.increment, 0x49u);

  app::ScrambleGenerator twelve(12);
  EXPECT_EQ(twelve.mask, 0xFFFu);
  EXPECT_EQ(twelve.shift, 4u);
}

TEST(ScrambleGenerator, MultiplierIsFiveModEightAndIncrementOddForEveryWidth) {
  for (std::uint32_t width = 1; width <= 32; ++width) {
    EXPECT_EQ(app::scramble_multiplier(width) % 8u, 5u) << "width " << width;
    EXPECT_EQ(app::scramble_increment(width) % 2u, 1u) << "width " << width;
  }
}

TEST(ScrambleGenerator, RunsThroughEveryStateBeforeRepeatingForWidthsUpToSixteen) {
  for (std::uint32_t width = 1; width <= 16; ++width) {
    app::ScrambleGenerator generator(width);
    const std::uint32_t period = 1u << width;
    std::vector<bool> seen(period, false);
    for (std::uint32_t i = 0; i < period; ++i) {
      const std::uint32_t state = generator.next();
      ASSERT_LT(state, period);
      ASSERT_FALSE(seen[state]) << "width " << width << " repeats after " << i << " steps";
      seen[state] = true;
    }
    EXPECT_EQ(generator.state, 1u) << "width " << width << " returns to its start";
  }
}

TEST(Descramble, WidthEightUsesTheWholeStateAsKey) {
  // Seed 0x5A; states 0xAD * s + 0x49 mod 256.
  const std::vector<std::uint8_t> expected = {0x1B, 0x88, 0x31, 0x66, 0x37, 0x74};
  EXPECT_EQ(key_stream(0x5A, 8, 6), expected);
}

TEST(Descramble, WidthThirtyTwoUsesTheTopByteOfTheState) {
  // States 0x5007D0FF, 0xE10CDE0C, 0x94486F95, 0x9F84ADEA, 0xCA25731B, 0x825987F8.
  const std::vector<std::uint8_t> expected = {0x50, 0xE1, 0x94, 0x9F, 0xCA, 0x82};
  EXPECT_EQ(key_stream(0x6D51C0DE, 32, 6), expected);
}

TEST(Descramble, BuildKeyUsesTheTopEightOfTwentyFourBits) {
  ASSERT_EQ(app::kScrambleWidth, 24u);
  ASSERT_EQ(app::kScrambleSeed, 0x6D51C0DEu);
  // States 0x97996F, 0xD969EC, 0x6FA2E5, 0x027DAA, 0xB3BD4B, 0x049B98.
  const std::vector<std::uint8_t> expected = {0x97, 0xD9, 0x6F, 0x02, 0xB3, 0x04};
  EXPECT_EQ(key_stream(app::kScrambleSeed, app::kScrambleWidth, 6), expected);
}

TEST(Descramble, NarrowWidthKeysWithTheStateItself) {
  // Width 4: multiplier 0x41C64E8D & 15 = 13, increment 0x3041 & 15 = 1, seed 0xE.
  const std::vector<std::uint8_t> expected = {0x7, 0xC, 0xD, 0xA, 0x3, 0x8};
  EXPECT_EQ(key_stream(0x6D51C0DE, 4, 6), expected);
}

TEST(Descramble, SeedBitsAboveTheWidthAreIgnored) {
  EXPECT_EQ(key_stream(0x0000005A, 8, 64), key_stream(0xABCDEF5A, 8, 64));
  EXPECT_EQ(key_stream(0x0051C0DE, 24, 64), key_stream(0x6D51C0DE, 24, 64));
  EXPECT_NE(key_stream(0x0051C0DE, 32, 64), key_stream(0x6D51C0DE, 32, 64));
}

TEST(Descramble, TwiceWithTheSameKeyGivesBackTheInput) {
  const std::vector<std::uint8_t> original = sample_bytes();
  for (std::uint32_t width : {1u, 7u, 8u, 9u, 24u, 32u}) {
    std::vector<std::uint8_t> bytes = original;
    const auto length = static_cast<std::int32_t>(bytes.size());
    ASSERT_TRUE(app::descramble(bytes.data(), length, 0xCAFEF00Du, width));
    EXPECT_NE(bytes, original) << "width " << width;
    ASSERT_TRUE(app::descramble(bytes.data(), length, 0xCAFEF00Du, width));
    EXPECT_EQ(bytes, original) << "width " << width;
  }
}

TEST(Descramble, EmptyBufferSucceedsAndChangesNothing) {
  std::array<std::uint8_t, 4> bytes = {1, 2, 3, 4};
  EXPECT_TRUE(app::descramble(bytes.data(), 0, 1234, 24));
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
}

TEST(Descramble, RefusesBadArgumentsAndLeavesTheBufferUntouched) {
  std::array<std::uint8_t, 4> bytes = {1, 2, 3, 4};
  const std::array<std::uint8_t, 4> before = bytes;
  EXPECT_FALSE(app::descramble(bytes.data(), 4, 1234, 0));
  EXPECT_FALSE(app::descramble(bytes.data(), 4, 1234, 33));
  EXPECT_FALSE(app::descramble(bytes.data(), -1, 1234, 24));
  EXPECT_FALSE(app::descramble(nullptr, 4, 1234, 24));
  EXPECT_FALSE(app::descramble(nullptr, 0, 1234, 24));
  EXPECT_EQ(bytes, before);
}

}  // namespace
