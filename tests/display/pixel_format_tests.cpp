// PixelFormat: layouts from masks, clamping of odd masks, pack and unpack, the colour table
// and the row converters.
#include "display/pixel_format.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using display::PixelFormat;
using display::PixelLayout;

TEST(PixelFormat, Masks565GiveTheStandardLayout) {
  PixelLayout pf;
  pf.set_default_masks();
  EXPECT_EQ(pf.red_bits, 5);
  EXPECT_EQ(pf.green_bits, 6);
  EXPECT_EQ(pf.blue_bits, 5);
  EXPECT_EQ(pf.red_shift, 11);
  EXPECT_EQ(pf.green_shift, 5);
  EXPECT_EQ(pf.blue_shift, 0);
  EXPECT_EQ(pf.red_loss, 3);
  EXPECT_EQ(pf.green_loss, 2);
  EXPECT_EQ(pf.blue_loss, 3);
  EXPECT_EQ(pf.red_max, 31);
  EXPECT_EQ(pf.green_max, 63);
  EXPECT_EQ(pf.blue_max, 31);
  EXPECT_EQ(pf.red_low, 11);
  EXPECT_EQ(pf.red_high, 15);
  EXPECT_EQ(pf.green_low, 5);
  EXPECT_EQ(pf.green_high, 10);
  EXPECT_EQ(pf.blue_low, 0);
  EXPECT_EQ(pf.blue_high, 4);
}

TEST(PixelFormat, Masks555PutRedAtBitTen) {
  PixelLayout pf;
  pf.set_masks(0x7C00, 0x03E0, 0x001F);
  EXPECT_EQ(pf.red_shift, 10);
  EXPECT_EQ(pf.green_shift, 5);
  EXPECT_EQ(pf.blue_shift, 0);
  EXPECT_EQ(pf.red_bits, 5);
  EXPECT_EQ(pf.green_bits, 5);
  EXPECT_EQ(pf.blue_bits, 5);
}

TEST(PixelFormat, OddMasksAreClampedIntoTheSixteenBits) {
  PixelLayout pf;
  // Zero: a 1-bit channel at bit 0.
  pf.set_masks(0, 0x0FFF, 0xF0000);
  EXPECT_EQ(pf.red_bits, 1);
  EXPECT_EQ(pf.red_loss, 7);
  EXPECT_EQ(pf.red_max, 1);
  EXPECT_EQ(pf.red_shift, 0);
  EXPECT_EQ(pf.red_high, 0);
  // Twelve bits: true low and high, but only 8 bits of value.
  EXPECT_EQ(pf.green_low, 0);
  EXPECT_EQ(pf.green_high, 11);
  EXPECT_EQ(pf.green_bits, 8);
  EXPECT_EQ(pf.green_loss, 0);
  EXPECT_EQ(pf.green_max, 255);
  // Entirely above bit 15: pinned to bit 15.
  EXPECT_EQ(pf.blue_low, 15);
  EXPECT_EQ(pf.blue_high, 15);
  EXPECT_EQ(pf.blue_bits, 1);
  // Straddling bit 15: cut at 15.
  pf.set_masks(0x1F800, 0, 0);
  EXPECT_EQ(pf.red_low, 11);
  EXPECT_EQ(pf.red_high, 15);
  EXPECT_EQ(pf.red_bits, 5);
}

TEST(PixelFormat, PackAndUnpackIn565) {
  PixelLayout pf;
  pf.set_default_masks();
  EXPECT_EQ(pf.pack(255, 255, 255), 0xFFFF);
  EXPECT_EQ(pf.pack(127, 127, 127), 0x7BEF);
  EXPECT_EQ(pf.pack(0, 0, 0), 0x0000);
  const display::Rgb white = pf.unpack(0xFFFF);
  EXPECT_EQ(white.r, 248);
  EXPECT_EQ(white.g, 252);
  EXPECT_EQ(white.b, 248);
  // Only the low 16 bits of the argument count.
  const display::Rgb red = pf.unpack(0x1F800);
  EXPECT_EQ(red.r, 248);
  EXPECT_EQ(red.g, 0);
  EXPECT_EQ(red.b, 0);
}

TEST(PixelFormat, TableHoldsChannelsMovedToTheTopWithoutReplication) {
  PixelFormat pf;
  pf.init_default();
  EXPECT_EQ(pf.rgb_table[0xFFFF], 0x00F8FCF8u);
  EXPECT_EQ(pf.rgb_table[0xF800], 0x00F80000u);
  EXPECT_EQ(pf.rgb_table[0x0000], 0u);
  for (std::uint32_t p = 0; p < 65536; ++p) {
    const std::uint32_t expected =
        ((p >> 11) << 3) << 16 | (((p >> 5) & 63) << 2) << 8 | (p & 31) << 3;
    ASSERT_EQ(pf.rgb_table[p], expected) << "pixel " << p;
  }
}

TEST(PixelFormat, Table555IgnoresTheTopBit) {
  PixelFormat pf;
  pf.init_from_masks(0x7C00, 0x03E0, 0x001F);
  EXPECT_EQ(pf.rgb_table[0x8000], 0u);
  EXPECT_EQ(pf.rgb_table[0xFFFF], pf.rgb_table[0x7FFF]);
  EXPECT_EQ(pf.rgb_table[0x7C00], 0x00F80000u);
}

TEST(PixelFormat, ConstructionAllocatesATableThatInitDefaultFills) {
  display::PixelFormat format;
  ASSERT_NE(format.rgb_table, nullptr);
  format.init_default();
  EXPECT_EQ(format.rgb_table[0xFFFF], 0x00F8FCF8u);
}

class RowConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    pf_.init_default();
    for (std::size_t i = 0; i < src_.size(); ++i) {
      src_[i] = static_cast<std::uint16_t>(i * 2654435761u >> 7);
    }
  }
  PixelFormat pf_;
  std::vector<std::uint16_t> src_ = std::vector<std::uint16_t>(641);
};

TEST_F(RowConversion, To24WritesThreeBytesPerPixelAndNoMore) {
  std::vector<std::uint8_t> dst(1920 + 16, 0xAA);
  display::convert_row_to_24(dst.data(), src_.data(), 1280, pf_.rgb_table);
  for (std::size_t i = 0; i < 640; ++i) {
    const std::uint32_t c = pf_.rgb_table[src_[i]];
    ASSERT_EQ(dst[3 * i], c & 0xFF);
    ASSERT_EQ(dst[3 * i + 1], (c >> 8) & 0xFF);
    ASSERT_EQ(dst[3 * i + 2], (c >> 16) & 0xFF);
  }
  for (std::size_t i = 1920; i < dst.size(); ++i) EXPECT_EQ(dst[i], 0xAA) << i;
}

TEST_F(RowConversion, OddByteCountIgnoresTheHalfPixel) {
  std::vector<std::uint8_t> dst24(16, 0xAA);
  display::convert_row_to_24(dst24.data(), src_.data(), 5, pf_.rgb_table);
  EXPECT_EQ(dst24[5], pf_.rgb_table[src_[1]] >> 16 & 0xFF);
  EXPECT_EQ(dst24[6], 0xAA);
  std::vector<std::uint8_t> dst32(16, 0xAA);
  display::convert_row_to_32(dst32.data(), src_.data(), 3, pf_.rgb_table);
  EXPECT_EQ(dst32[3], 0);
  EXPECT_EQ(dst32[4], 0xAA);
}

TEST_F(RowConversion, To32WritesBlueGreenRedZeroAtAnyAlignment) {
  std::vector<std::uint8_t> dst(4 * 640 + 8, 0xAA);
  // One byte in, so the destination is not word aligned.
  display::convert_row_to_32(dst.data() + 1, src_.data(), 1280, pf_.rgb_table);
  EXPECT_EQ(dst[0], 0xAA);
  for (std::size_t i = 0; i < 640; ++i) {
    const std::uint32_t c = pf_.rgb_table[src_[i]];
    ASSERT_EQ(dst[1 + 4 * i], c & 0xFF);
    ASSERT_EQ(dst[2 + 4 * i], (c >> 8) & 0xFF);
    ASSERT_EQ(dst[3 + 4 * i], (c >> 16) & 0xFF);
    ASSERT_EQ(dst[4 + 4 * i], 0);
  }
  EXPECT_EQ(dst[1 + 4 * 640], 0xAA);
}

}  // namespace
