// Pixel block operations: the generator, copies (aligned, unaligned, overlapping), the 50%
// blend, masks, remaps, the channel-keeping masks and the dithered conversion.
#include "engine/block_ops.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine/fast_mod.h"
#include "engine/layer.h"
#include "tests/engine/engine_test_support.h"

namespace {

using engine_test::ref_lcg;

display::PixelLayout layout565() {
  display::PixelLayout pf;
  pf.set_default_masks();
  return pf;
}

display::PixelLayout layout555() {
  display::PixelLayout pf;
  pf.set_masks(0x7C00, 0x03E0, 0x001F);
  return pf;
}

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

TEST(CopyBlock, PairAndSinglePathsCopyTheSamePixels) {
  constexpr std::int32_t kStride = 16;
  std::array<std::uint16_t, kStride * 4> src{};
  for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<std::uint16_t>(1000 + i);
  std::array<std::uint16_t, kStride * 4> even{};
  std::array<std::uint16_t, kStride * 4> odd{};
  // Even start indices on both sides: two pairs and one pixel per row.
  engine::copy_block(even.data(), 6, 1, src.data(), 2, 0, 6, 2, kStride);
  // Odd destination start: five single pixels per row.
  engine::copy_block(odd.data(), 7, 1, src.data(), 2, 0, 6, 2, kStride);
  for (std::int32_t y = 0; y < 3; ++y) {
    for (std::int32_t x = 0; x < 5; ++x) {
      const std::uint16_t expected = src[static_cast<std::size_t>(y * kStride + 2 + x)];
      EXPECT_EQ(even[static_cast<std::size_t>((y + 1) * kStride + 6 + x)], expected);
      EXPECT_EQ(odd[static_cast<std::size_t>((y + 1) * kStride + 7 + x)], expected);
    }
  }
  // Nothing outside the destination rectangle was touched.
  std::size_t written = 0;
  for (std::uint16_t p : even) written += p != 0;
  EXPECT_EQ(written, 15u);
}

TEST(CopyBlock, InPlaceSourceLeftOfDestinationSmears) {
  std::array<std::uint16_t, 16> row = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  // Source columns 2..9 onto 3..10: every pixel is read just after its left neighbour wrote it.
  engine::copy_block(row.data(), 3, 0, row.data(), 2, 0, 9, 0, 16);
  const std::array<std::uint16_t, 16> expected = {1, 2, 3, 3,  3,  3,  3,  3,
                                                  3, 3, 3, 12, 13, 14, 15, 16};
  EXPECT_EQ(row, expected);
}

TEST(CopyBlock, InPlaceSourceRightOfDestinationShiftsCleanly) {
  std::array<std::uint16_t, 16> row = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  engine::copy_block(row.data(), 2, 0, row.data(), 3, 0, 10, 0, 16);
  const std::array<std::uint16_t, 16> expected = {1,  2,  4,  5,  6,  7,  8,  9,
                                                  10, 11, 11, 12, 13, 14, 15, 16};
  EXPECT_EQ(row, expected);
}

TEST(CopyBlock, InPlaceSourceAboveDestinationSmearsDownwards) {
  constexpr std::int32_t kStride = 4;
  std::array<std::uint16_t, kStride * 4> buf{};
  for (std::size_t i = 0; i < buf.size(); ++i) buf[i] = static_cast<std::uint16_t>(i);
  // Rows 0..2 onto rows 1..3, even distance: the pair path, same single-pixel result.
  engine::copy_block(buf.data(), 0, 1, buf.data(), 0, 0, 3, 2, kStride);
  for (std::int32_t y = 0; y < 4; ++y) {
    for (std::int32_t x = 0; x < 4; ++x)
      EXPECT_EQ(buf[static_cast<std::size_t>(y * kStride + x)], x);
  }
}

TEST(CopyBlock, EmptyHeightCopiesNothing) {
  std::array<std::uint16_t, 8> src = {1, 2, 3, 4, 5, 6, 7, 8};
  std::array<std::uint16_t, 8> dst{};
  engine::copy_block(dst.data(), 0, 0, src.data(), 0, 1, 3, 0, 4);
  EXPECT_EQ(dst, (std::array<std::uint16_t, 8>{}));
}

TEST(Blend, Constants565) {
  const display::PixelLayout pf = layout565();
  const std::uint32_t h = pf.pack(127, 127, 127);
  const std::uint32_t halve = h | h << 16;
  const std::uint32_t l = ~(2 * h) & 0xFFFF;
  const std::uint32_t low = l | l << 16;
  EXPECT_EQ(halve, 0x7BEF7BEFu);
  EXPECT_EQ(low, 0x08210821u);
  // Pairs and the odd last pixel: white under black, black under white, equal pixels.
  std::array<std::uint16_t, 3> dst = {0xFFFF, 0x0000, 0x1234};
  const std::array<std::uint16_t, 3> src = {0x0000, 0xFFFF, 0x1234};
  engine::blend_row(dst.data(), src.data(), 3, halve, low);
  EXPECT_EQ(dst[0], 0x8410);
  EXPECT_EQ(dst[1], 0x7BEF);
  EXPECT_EQ(dst[2], 0x1234);
}

TEST(Blend, EachChannelIsHalfOfEachPlusTheDestinationLowBit) {
  const std::uint32_t halve = 0x7BEF7BEF;
  const std::uint32_t low = 0x08210821;
  std::uint32_t rng = 99;
  std::vector<std::uint16_t> dst(1001);
  std::vector<std::uint16_t> src(1001);
  for (std::size_t i = 0; i < dst.size(); ++i) {
    dst[i] = static_cast<std::uint16_t>(ref_lcg(rng));
    src[i] = static_cast<std::uint16_t>(ref_lcg(rng));
  }
  const std::vector<std::uint16_t> before = dst;
  engine::blend_row(dst.data(), src.data(), 1001, halve, low);
  for (std::size_t i = 0; i < dst.size(); ++i) {
    const std::uint32_t d = before[i];
    const std::uint32_t s = src[i];
    std::uint32_t expected = 0;
    for (const auto& [shift, max] : {std::pair{11u, 31u}, std::pair{5u, 63u}, std::pair{0u, 31u}}) {
      const std::uint32_t dc = (d >> shift) & max;
      const std::uint32_t sc = (s >> shift) & max;
      expected |= (sc / 2 + dc / 2 + (dc & 1)) << shift;
    }
    ASSERT_EQ(dst[i], expected) << i;
  }
}

TEST(Blend, Constants555PutTheTopBitIntoTheLowMask) {
  const display::PixelLayout pf = layout555();
  const std::uint32_t h = pf.pack(127, 127, 127);
  EXPECT_EQ(h | h << 16, 0x3DEF3DEFu);
  const std::uint32_t l = ~(2 * h) & 0xFFFF;
  EXPECT_EQ(l | l << 16, 0x84218421u);
}

TEST(BlendBlock, RowsAdvanceByTheirOwnStrides) {
  std::array<std::uint16_t, 12> dst{};
  dst.fill(0xFFFF);
  std::array<std::uint16_t, 6> src{};
  engine::blend_block(dst.data(), 1, 1, 4, src.data(), 0, 0, 1, 1, 2, 0x7BEF7BEF, 0x08210821);
  const std::array<std::uint16_t, 12> expected = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF,  //
                                                  0xFFFF, 0x8410, 0x8410, 0xFFFF,  //
                                                  0xFFFF, 0x8410, 0x8410, 0xFFFF};
  EXPECT_EQ(dst, expected);
}

TEST(ChannelKeepMask, Values565And555) {
  const display::PixelLayout pf = layout565();
  EXPECT_EQ(engine::channel_keep_mask(0, 0, 0, pf), 0xFFFFFFFFu);
  EXPECT_EQ(engine::channel_keep_mask(1, 1, 1, pf), 0xF7DEF7DEu);
  EXPECT_EQ(engine::channel_keep_mask(1, 2, 3, pf), 0xF798F798u);
  // Beyond the channel width the whole channel goes; below 0 counts as 0.
  EXPECT_EQ(engine::channel_keep_mask(9, 0, -4, pf), 0x07FF07FFu);
  EXPECT_EQ(engine::channel_keep_mask(0, 0, 0, layout555()), 0x7FFF7FFFu);
}

TEST(ChannelKeepMask, WidestChannel) {
  EXPECT_EQ(engine::widest_channel(layout565()), 6);
  EXPECT_EQ(engine::widest_channel(layout555()), 5);
  display::PixelLayout wide;
  wide.set_masks(0xFF00, 0x00F0, 0x000F);
  EXPECT_EQ(engine::widest_channel(wide), 8);
}

TEST(MaskAndRemapRows, CountZeroTouchesNothing) {
  std::array<std::uint16_t, 2> row = {0xFFFF, 0xFFFF};
  engine::mask_row(row.data(), 0, 0);
  engine::mask_row_pairs(row.data(), 0, 0);
  std::array<std::uint16_t, 65536> table{};
  engine::remap_row(row.data(), row.data(), 0, table.data());
  EXPECT_EQ(row[0], 0xFFFF);
  EXPECT_EQ(row[1], 0xFFFF);
}

TEST(MaskBlock, EvenStartUsesPairsOddStartUsesSinglePixels) {
  // A mask word with unequal halves shows which path ran.
  const std::uint32_t mask = 0x00FF'FF00;
  std::array<std::uint16_t, 8> even{};
  even.fill(0xFFFF);
  engine::mask_block(even.data(), 2, 0, 3, 1, 4, mask);
  EXPECT_EQ(even, (std::array<std::uint16_t, 8>{0xFFFF, 0xFFFF, 0xFF00, 0x00FF, 0xFFFF, 0xFFFF,
                                                0xFF00, 0x00FF}));
  std::array<std::uint16_t, 8> odd{};
  odd.fill(0xFFFF);
  engine::mask_block(odd.data(), 1, 0, 3, 0, 4, mask);
  EXPECT_EQ(odd, (std::array<std::uint16_t, 8>{0xFFFF, 0xFF00, 0xFF00, 0xFF00, 0xFFFF, 0xFFFF,
                                               0xFFFF, 0xFFFF}));
}

TEST(RemapBlock, WorksInPlaceAndFromAnotherBuffer) {
  std::vector<std::uint16_t> table(65536);
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint16_t>(i ^ 0x5555);
  std::array<std::uint16_t, 9> buf = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  engine::remap_block(buf.data(), 1, 1, 3, buf.data(), 1, 1, 2, 2, 3, table.data());
  EXPECT_EQ(buf, (std::array<std::uint16_t, 9>{1, 2, 3, 4, 5 ^ 0x5555, 6 ^ 0x5555, 7, 8 ^ 0x5555,
                                               9 ^ 0x5555}));
  std::array<std::uint16_t, 9> dst{};
  const std::array<std::uint16_t, 4> src = {10, 11, 12, 13};
  engine::remap_block(dst.data(), 0, 1, 3, src.data(), 0, 0, 1, 1, 2, table.data());
  EXPECT_EQ(dst, (std::array<std::uint16_t, 9>{0, 0, 0, 10 ^ 0x5555, 11 ^ 0x5555, 0, 12 ^ 0x5555,
                                               13 ^ 0x5555, 0}));
}

TEST(Fill32, WritesExactlyNWords) {
  std::array<std::uint32_t, 5> words{};
  engine::fill32(words.data() + 1, 0x00336699u, 3);
  EXPECT_EQ(words, (std::array<std::uint32_t, 5>{0, 0x00336699u, 0x00336699u, 0x00336699u, 0}));
}

class DitherTest : public ::testing::Test {
 protected:
  static constexpr std::int32_t kW = 8;
  static constexpr std::int32_t kH = 4;
  void SetUp() override { engine::dither_rng = 0; }
  void TearDown() override { engine::dither_rng = 0; }

  engine::Layer make_layer(const display::PixelLayout& pf, std::int32_t noise) {
    engine::Layer layer(work_.data(), scratch_.data(), source16_.data(), source32_.data(), kW, kH);
    layer.set_pixel_format(pf);
    layer.configure(1.0f, 0, 0, noise, 0, 0, 0, 0, 0);
    layer.set_region(1, 6, 1, 2);
    return layer;
  }

  std::array<std::uint16_t, kW * kH> work_{};
  std::array<std::uint16_t, kW * kH> scratch_{};
  std::array<std::uint16_t, kW * kH> source16_{};
  std::array<std::uint32_t, kW * kH> source32_{};
};

TEST_F(DitherTest, NoiseZeroIn565AddsMinusOneToTwoToAllChannels) {
  for (std::size_t i = 0; i < source32_.size(); ++i) {
    source32_[i] = static_cast<std::uint32_t>(0x00402080u + i * 0x00010101u);
  }
  const engine::Layer layer = make_layer(layout565(), 0);
  engine::dither_convert(layer);
  std::uint32_t rng = 0;
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      const auto i = static_cast<std::size_t>(y * kW + x);
      if (x < 1 || x > 6 || y < 1 || y > 2) {
        EXPECT_EQ(source16_[i], 0) << "outside the region";
        continue;
      }
      const std::int32_t d = static_cast<std::int32_t>((ref_lcg(rng) & 0xFF) >> 6) - 1;
      const std::uint32_t v = source32_[i];
      const std::int32_t r = static_cast<std::int32_t>((v >> 16) & 0xFF) + d;
      const std::int32_t g = static_cast<std::int32_t>((v >> 8) & 0xFF) + d;
      const std::int32_t b = static_cast<std::int32_t>(v & 0xFF) + d;
      EXPECT_EQ(source16_[i], engine_test::pack565(r, g, b)) << x << "," << y;
    }
  }
  // One generator step per converted pixel.
  EXPECT_EQ(engine::dither_rng, rng);
}

TEST_F(DitherTest, NoiseSixSpansMinus127To128AndClamps) {
  // Black and white pixels: whatever the noise, they stay inside 0..255.
  for (std::size_t i = 0; i < source32_.size(); ++i) source32_[i] = (i & 1) ? 0x00FFFFFFu : 0u;
  const engine::Layer layer = make_layer(layout565(), 6);
  engine::dither_rng = 12345;
  engine::dither_convert(layer);
  std::uint32_t rng = 12345;
  for (std::int32_t y = 1; y <= 2; ++y) {
    for (std::int32_t x = 1; x <= 6; ++x) {
      const auto i = static_cast<std::size_t>(y * kW + x);
      const std::int32_t d = static_cast<std::int32_t>(ref_lcg(rng) & 0xFF) - 127;
      const std::int32_t base = (i & 1) ? 255 : 0;
      const std::int32_t c = std::clamp(base + d, 0, 255);
      EXPECT_EQ(source16_[i], engine_test::pack565(c, c, c));
    }
  }
}

TEST_F(DitherTest, EightBitChannelWithNoiseZeroAddsNothing) {
  display::PixelLayout wide;
  wide.set_masks(0xFF00, 0x00F0, 0x000F);
  for (std::size_t i = 0; i < source32_.size(); ++i) source32_[i] = 0x00C37A15u;
  const engine::Layer layer = make_layer(wide, 0);
  engine::dither_convert(layer);
  EXPECT_EQ(source16_[static_cast<std::size_t>(kW + 1)], wide.pack(0xC3, 0x7A, 0x15));
  EXPECT_EQ(source16_[static_cast<std::size_t>(2 * kW + 6)], wide.pack(0xC3, 0x7A, 0x15));
}

}  // namespace
