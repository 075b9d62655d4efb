// Dequantisation and both inverse DCTs: worked sample figures, the pre-scaled table,
// and the agreement of the vector and scalar fast transforms on arbitrary blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <tuple>

#include "jpeg/decoder_kernels.h"
#include "jpeg/idct.h"
#include "jpeg/idct_kernels.h"

namespace {

using jpeg::detail::store_quant_table;
using jpeg::detail::transform_block_fast_scalar;
using jpeg::detail::transform_block_integer;

// The fast transform the decoder uses on this processor.
void transform_block_fast(const std::int16_t* coef, const std::uint16_t* quant, std::uint8_t* out) {
  jpeg::detail::choose_kernels().transform_block_fast(coef, quant, out);
}

struct Block {
  std::int16_t coef[64] = {};
  std::uint16_t quant[64] = {};
  std::uint8_t out[64] = {};
};

// A fast-path table with every value v, stored as the DQT reader stores it.
void fast_table(std::uint16_t* stored, std::uint16_t v) {
  std::uint16_t zigzag[64];
  for (auto& q : zigzag) q = v;
  store_quant_table(stored, zigzag, true);
}

TEST(Idct, PrescaleTableIsTheRoundedAanScale) {
  auto s = [](int k) { return k == 0 ? 1.0 : std::sqrt(2.0) * std::cos(k * M_PI / 16.0); };
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) {
      EXPECT_EQ(jpeg::detail::kQuantPrescale[8 * r + c],
                static_cast<int>(std::lround(16384.0 * s(r) * s(c))))
          << r << "," << c;
    }
  }
  EXPECT_EQ(jpeg::detail::kQuantPrescale[63], 1247);
}

TEST(Idct, FastTableHoldsFourTimesTheDcValueAndWrapsTo16Bits) {
  std::uint16_t stored[64];
  for (int v : {1, 8, 99, 255, 16383}) {
    fast_table(stored, static_cast<std::uint16_t>(v));
    EXPECT_EQ(stored[0], 4 * v);
  }
  fast_table(stored, 65535);
  EXPECT_EQ(stored[0], 65532) << "(65535 * 16384 + 2048) >> 12 = 262140, low 16 bits";
  std::uint16_t zigzag[64];
  for (int k = 0; k < 64; ++k) zigzag[k] = static_cast<std::uint16_t>(k + 1);
  std::uint16_t plain[64];
  store_quant_table(plain, zigzag, false);
  for (int k = 0; k < 64; ++k) EXPECT_EQ(plain[k], k + 1) << "integer path keeps zigzag order";
}

TEST(Idct, ZeroDcGives128OnBothPaths) {
  Block b;
  fast_table(b.quant, 16);
  transform_block_fast(b.coef, b.quant, b.out);
  for (std::uint8_t s : b.out) EXPECT_EQ(s, 128);
  std::int16_t work[64] = {};
  transform_block_integer(work, b.out);
  for (std::uint8_t s : b.out) EXPECT_EQ(s, 128);
}

TEST(Idct, IntegerPathDcOf80Gives138) {
  std::int16_t work[64] = {80};
  std::uint8_t out[64];
  transform_block_integer(work, out);
  for (int c = 0; c < 8; ++c) EXPECT_EQ(work[c], 320) << "pass-1 values";
  for (std::uint8_t s : out) EXPECT_EQ(s, 138);
}

TEST(Idct, FastPathDcRoundsDownWhereTheIntegerPathRounds) {
  // q * v = -20: fast ((4 * -20) >> 5) + 128 = 125; integer ((-80 + 16) >> 5) + 128 = 126.
  Block b;
  fast_table(b.quant, 4);
  b.coef[0] = -5;
  transform_block_fast(b.coef, b.quant, b.out);
  for (std::uint8_t s : b.out) EXPECT_EQ(s, 125);
  std::int16_t work[64] = {-20};
  transform_block_integer(work, b.out);
  for (std::uint8_t s : b.out) EXPECT_EQ(s, 126);
}

TEST(Idct, FirstHorizontalTermGivesTheWorkedRowsOnBothPaths) {
  Block b;
  fast_table(b.quant, 8);
  b.coef[1] = 10;
  transform_block_fast(b.coef, b.quant, b.out);
  const std::uint8_t fast_row[8] = {141, 139, 135, 130, 125, 120, 116, 114};
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) EXPECT_EQ(b.out[8 * r + c], fast_row[c]) << r << "," << c;
  }
  std::int16_t work[64] = {0, 80};
  transform_block_integer(work, b.out);
  const std::uint8_t integer_row[8] = {142, 140, 136, 131, 125, 120, 116, 114};
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) EXPECT_EQ(b.out[8 * r + c], integer_row[c]) << r << "," << c;
  }
}

TEST(Idct, VectorScalarAndAvx2FastTransformsGiveIdenticalBytes) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> any16(-32768, 32767);
  std::uniform_int_distribution<int> small(-300, 300);
  std::uniform_int_distribution<int> quant(0, 65535);
  const auto transform_two_blocks = jpeg::detail::choose_kernels().transform_two_blocks_fast;
  Block previous{};
  for (int i = 0; i < 20000; ++i) {
    Block b;
    const bool extreme = i % 4 == 0;
    for (int n = 0; n < 64; ++n) {
      b.coef[n] = static_cast<std::int16_t>(extreme ? any16(rng) : (n < 16 ? small(rng) : 0));
      b.quant[n] = static_cast<std::uint16_t>(extreme ? quant(rng) : 4 + (quant(rng) & 255));
    }
    std::uint8_t scalar[64];
    transform_block_fast(b.coef, b.quant, b.out);
    transform_block_fast_scalar(b.coef, b.quant, scalar);
    ASSERT_EQ(std::memcmp(b.out, scalar, 64), 0) << "block " << i;
    // The AVX2 pair, with this block in either half and the previous block in the other.
    if (transform_two_blocks == nullptr) continue;
    std::uint8_t pair[2][64];
    transform_two_blocks(b.coef, b.quant, pair[0], previous.coef, previous.quant, pair[1]);
    ASSERT_EQ(std::memcmp(pair[0], scalar, 64), 0) << "block " << i << ", low half";
    transform_two_blocks(previous.coef, previous.quant, pair[1], b.coef, b.quant, pair[0]);
    ASSERT_EQ(std::memcmp(pair[0], scalar, 64), 0) << "block " << i << ", high half";
    previous = b;
  }
}

TEST(Idct, VectorAndScalarReducedTransformsGiveIdenticalBytes) {
  // Real blocks (a few low coefficients), blocks of extreme values under extreme tables (the
  // products wrap and the kept values saturate alike), and dequantised blocks without a table.
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> any16(-32768, 32767);
  std::uniform_int_distribution<int> small(-300, 300);
  std::uniform_int_distribution<int> quant(0, 65535);
  const jpeg::detail::DecoderKernels kernels = jpeg::detail::choose_kernels();
  Block previous{};
  for (int i = 0; i < 20000; ++i) {
    Block b;
    const bool extreme = i % 4 == 0;
    for (int n = 0; n < 64; ++n) {
      b.coef[n] = static_cast<std::int16_t>(extreme ? any16(rng) : (n < 20 ? small(rng) : 0));
      b.quant[n] = static_cast<std::uint16_t>(extreme ? quant(rng) : 1 + (quant(rng) & 127));
    }
    const std::uint16_t* table = i % 3 == 2 ? nullptr : b.quant;
    // Runs of three blocks (this one, the previous and this one again), so that the AVX2
    // pairs take it in either half and the odd last one goes to SSE2.
    std::int16_t run[3][64];
    std::memcpy(run[0], b.coef, sizeof b.coef);
    std::memcpy(run[1], previous.coef, sizeof b.coef);
    std::memcpy(run[2], b.coef, sizeof b.coef);
    previous = b;
    for (const auto& [name, vector_form, scalar_form, size] :
         {std::tuple{"4x4", kernels.transform_blocks_reduced4,
                     &jpeg::detail::transform_blocks_reduced4_scalar, 4},
          std::tuple{"2x2", kernels.transform_blocks_reduced2,
                     &jpeg::detail::transform_blocks_reduced2_scalar, 2}}) {
      // Three blocks side by side in a plane of rows of 3 * size samples.
      std::uint8_t vector[48];
      std::uint8_t scalar[48];
      vector_form(run[0], 64, table, vector, size, 3 * size, 3);
      scalar_form(run[0], 64, table, scalar, size, 3 * size, 3);
      ASSERT_EQ(std::memcmp(vector, scalar, static_cast<std::size_t>(3 * size * size)), 0)
          << name << ", block " << i;
    }
  }
}

TEST(Idct, ExtremeCoefficientsStayDefinedOnTheIntegerPath) {
  for (std::int16_t v : {std::int16_t{32767}, std::int16_t{-32768}}) {
    std::int16_t work[64];
    for (int n = 0; n < 64; ++n) work[n] = static_cast<std::int16_t>(n % 2 == 0 ? v : -v - 1);
    std::uint8_t out[64];
    transform_block_integer(work, out);  // wraps by definition; UBSan checks the rest
    std::int16_t dc_only[64] = {v};
    transform_block_integer(dc_only, out);
    // x0 << 2 wraps to 16 bits (-4 and 0), so both extremes come out as mid-grey.
    EXPECT_EQ(out[0], 128) << v;
  }
}

}  // namespace
