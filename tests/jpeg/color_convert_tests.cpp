// Colour conversion: the table ends and worked pixels, and every (Cb, Cr) pair through the
// row converters (of MCUs and of reduced rows) against the fixed-point formulas.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "jpeg/color_convert.h"
#include "jpeg/decoder_kernels.h"

namespace {

using jpeg::detail::DecoderState;

int clamp255(int v) {
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// A decoder state set up by hand for the h1v1 layout with the given number of MCUs.
struct H1v1Rows {
  explicit H1v1Rows(int mcus)
      : d(std::make_unique<DecoderState>()),
        samples(static_cast<std::size_t>(mcus) * 3 * 64),
        line(static_cast<std::size_t>(mcus) * 8 * 4 + 8, 0) {
    d->mcus_per_row = mcus;
    d->samples = samples.data();
    d->line1 = line.data();
    d->kernels = jpeg::detail::choose_kernels();
    jpeg::detail::build_color_tables(*d);
  }
  // Sets pixel (column j of MCU m, row y) to (Y, Cb, Cr).
  void set(int m, int j, int y, int luma, int cb, int cr) {
    std::uint8_t* mcu = samples.data() + 3 * 64 * m + 8 * y + j;
    mcu[0] = static_cast<std::uint8_t>(luma);
    mcu[64] = static_cast<std::uint8_t>(cb);
    mcu[128] = static_cast<std::uint8_t>(cr);
  }
  std::unique_ptr<DecoderState> d;
  std::vector<std::uint8_t> samples;
  std::vector<std::uint8_t> line;
};

TEST(ColorTables, EndsAreTheJfifFactorsInFixedPoint) {
  auto d = std::make_unique<DecoderState>();
  jpeg::detail::build_color_tables(*d);
  EXPECT_EQ(d->cr_to_red[0], -179);
  EXPECT_EQ(d->cr_to_red[255], 178);
  EXPECT_EQ(d->cb_to_blue[0], -227);
  EXPECT_EQ(d->cb_to_blue[255], 225);
  EXPECT_EQ(d->cb_to_green[128], 32768);
  EXPECT_EQ(d->cr_to_green[128], 0);
  EXPECT_EQ(d->cb_to_green[0], 2919680);
  EXPECT_EQ(d->cr_to_green[255], -5943854);
}

TEST(ColorConvert, WorkedPixelsMatchTheJfifConversion) {
  H1v1Rows rows(1);
  rows.set(0, 0, 0, 128, 128, 128);
  rows.set(0, 1, 0, 255, 128, 255);
  rows.set(0, 2, 0, 0, 0, 128);
  rows.set(0, 3, 0, 100, 0, 255);
  jpeg::detail::convert_h1v1(*rows.d, 0);
  const std::uint8_t* p = rows.line.data();
  EXPECT_EQ(p[0], 128);
  EXPECT_EQ(p[1], 128);
  EXPECT_EQ(p[2], 128);
  EXPECT_EQ(p[4], 255) << "255 + 178 clamps";
  EXPECT_EQ(p[10], 0) << "0 - 227 clamps";
  EXPECT_EQ(p[12], 255);
  EXPECT_EQ(p[13], 53) << "100 + ((2919680 - 5943854) >> 16)";
  EXPECT_EQ(p[14], 0);
  for (int i = 3; i < 32; i += 4) EXPECT_EQ(p[i], 0) << "the fourth byte stays zero";
}

TEST(ColorConvert, EveryChromaPairMatchesTheFormulas) {
  const int pairs = 256 * 256;
  H1v1Rows rows(pairs / 8);
  // The reduced pictures' converter, on rows of planes, ending in a group of fewer than 16.
  const int plane_width = pairs - 5;
  std::vector<std::uint8_t> luma_row(pairs), cb_row(pairs), cr_row(pairs);
  std::vector<std::uint8_t> plane_line(4 * static_cast<std::size_t>(pairs), 0);
  for (int luma : {0, 1, 77, 128, 200, 255}) {
    for (int i = 0; i < pairs; ++i) {
      rows.set(i / 8, i % 8, 3, luma, i >> 8, i & 255);
      luma_row[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(luma);
      cb_row[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i >> 8);
      cr_row[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i & 255);
    }
    jpeg::detail::convert_h1v1(*rows.d, 3);
    rows.d->kernels.convert_row(*rows.d, luma_row.data(), cb_row.data(), cr_row.data(),
                                plane_line.data(), plane_width);
    ASSERT_EQ(std::vector<std::uint8_t>(plane_line.begin(), plane_line.begin() + 4 * plane_width),
              std::vector<std::uint8_t>(rows.line.begin(), rows.line.begin() + 4 * plane_width))
        << luma;
    for (int i = 0; i < pairs; ++i) {
      const int cb = (i >> 8) - 128;
      const int cr = (i & 255) - 128;
      const std::uint8_t* p = rows.line.data() + 4 * i;
      ASSERT_EQ(p[0], clamp255(luma + ((91882 * cr + 32768) >> 16))) << luma << " " << i;
      ASSERT_EQ(p[1], clamp255(luma + ((-22554 * cb + 32768 - 46802 * cr) >> 16))) << i;
      ASSERT_EQ(p[2], clamp255(luma + ((116130 * cb + 32768) >> 16))) << i;
      ASSERT_EQ(p[3], 0);
    }
  }
}

}  // namespace
