// Pixel block operations: copies (aligned, unaligned, overlapping), the 50% blend, masks,
// the word fill and the channel-keeping masks.
#include "engine/block_ops.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/engine/engine_test_support.h"

namespace {

using engine_test::ref_lcg;

using engine_test::layout555;
using engine_test::layout565;

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

TEST(MaskRows, CountZeroTouchesNothing) {
  std::array<std::uint16_t, 2> row = {0xFFFF, 0xFFFF};
  engine::mask_row(row.data(), 0, 0);
  engine::mask_row_pairs(row.data(), 0, 0);
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

TEST(Fill32, WritesExactlyNWords) {
  std::array<std::uint32_t, 5> words{};
  engine::fill32(words.data() + 1, 0x00336699u, 3);
  EXPECT_EQ(words, (std::array<std::uint32_t, 5>{0, 0x00336699u, 0x00336699u, 0x00336699u, 0}));
}

}  // namespace
