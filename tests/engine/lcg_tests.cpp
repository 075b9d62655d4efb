// The generator against its definition, and the fast remainders its batched draws use.
#include "engine/lcg.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/fast_mod.h"
#include "tests/engine/engine_test_support.h"

namespace {

using engine_test::ref_lcg;

TEST(Generator, SequenceFromZeroAndOne) {
  std::uint32_t state = 0;
  EXPECT_EQ(engine::lcg_next(state), 13849);
  EXPECT_EQ(state, 0x361962E9u);
  EXPECT_EQ(engine::lcg_next(state), 55799);
  EXPECT_EQ(engine::lcg_next(state), 41945);
  state = 1;
  EXPECT_EQ(engine::lcg_next(state), 39585);
}

TEST(Generator, MatchesItsDefinitionOverManySteps) {
  std::uint32_t engine_state = 0xDEADBEEF;
  std::uint32_t ref_state = 0xDEADBEEF;
  for (int i = 0; i < 100000; ++i) {
    ASSERT_EQ(engine::lcg_next(engine_state), ref_lcg(ref_state));
  }
  EXPECT_EQ(engine_state, ref_state);
}

TEST(FastRemainder, AgreesWithDivisionForAllDivisorSizes) {
  std::uint32_t rng = 5;
  std::vector<std::uint64_t> divisors = {
      1,   2,   3,     5,     7,     80,         480,         560,         639,
      640, 641, 65535, 65536, 65537, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 0x100000000ull};
  for (int i = 0; i < 64; ++i) divisors.push_back((ref_lcg(rng) << 15 | ref_lcg(rng)) + 1u);
  for (std::uint64_t d : divisors) {
    const engine::FastMod mod(d);
    std::vector<std::uint32_t> values = {
        0,          1,          static_cast<std::uint32_t>(d - 1 > 0x7FFFFFFF ? 5 : d - 1),
        0x7FFFFFFF, 0x7FFFFFFE, 65535};
    for (int k = 0; k < 2000; ++k)
      values.push_back((ref_lcg(rng) << 16 | ref_lcg(rng)) & 0x7FFFFFFFu);
    for (std::uint32_t v : values) {
      ASSERT_EQ(mod(v), static_cast<std::uint32_t>(v % d)) << v << " mod " << d;
      ASSERT_EQ(mod.reduce(v), static_cast<std::uint32_t>(v % d)) << v << " mod " << d;
    }
  }
}

// The 32-bit forms against plain division: every 16-bit value by every divisor up to 4096
// and by large ones; and every sum below 2^17 with totals around where the mask wraps.
TEST(FastRemainder, ThirtyTwoBitFormsAgreeWithDivisionExhaustively) {
  std::vector<std::uint64_t> divisors = {0, 4097, 32767, 32768, 65535, 65536, 65537, 1000003};
  for (std::uint64_t d : {0x7FFFFFFFull, 0x80000000ull, 0x80000001ull, 0xFFFFFFFFull,
                          0x100000000ull, 0xFFFFFFFFFFFFFF00ull}) {
    divisors.push_back(d);
  }
  for (std::uint64_t d = 1; d <= 4096; ++d) divisors.push_back(d);
  for (std::uint64_t d : divisors) {
    const std::uint64_t by = d == 0 ? 1 : d;
    const engine::FastMod mod(d);
    for (std::uint32_t v = 0; v < 65536; ++v) {
      ASSERT_EQ(mod.reduce16(v), v % by) << v << " mod " << d;
    }
  }
  const std::vector<std::uint64_t> sizes = {
      0,     1,      2,      3,        4,          5,           6,           7,
      480,   131071, 131072, 131073,   640,        641,         4095,        65535,
      65536, 65537,  99991,  1u << 20, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFFFFFFFFF00ull};
  const std::vector<std::uint32_t> totals = {0,           1,           12345,       0x7FFE0000u,
                                             0x7FFF0001u, 0x7FFFFFFFu, 0x80000000u, 0x8000FFFFu,
                                             0x7FFE0001u, 0xFFFEFFFFu, 0xFFFFFFFFu, 0x9E3779B9u};
  for (std::uint64_t d : sizes) {
    const std::uint64_t by = d == 0 ? 1 : d;
    for (std::uint32_t total : totals) {
      const engine::OffsetMod mod(d, total);
      for (std::uint32_t small = 0; small < (1u << 17); ++small) {
        const std::uint32_t value = (small + total) & 0x7FFFFFFFu;
        ASSERT_EQ(mod.reduce(small), value % by) << small << " + " << total << " mod " << d;
        if (mod.near()) {
          ASSERT_EQ(mod.reduce_near(small), value % by) << small << " + " << total << " mod " << d;
        }
      }
    }
  }
}

}  // namespace
