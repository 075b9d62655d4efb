// Decoded pictures against djpeg, which replicates chroma like this decoder (-nosmooth): the
// integer path against `djpeg -dct int`, the fast path against `djpeg -dct fast`, as mean
// absolute differences per channel on the 0..255 scale.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/jpeg_conformance/conformance_support.h"
#include "tools/jpeg_decode/decode_picture.h"

namespace conformance {
namespace {

// The integer path runs the same transform as djpeg's -dct int apart from the rounding of its
// last step, so any error beyond that rounding (a wrong coefficient, table, layout or colour
// conversion) pushes the mean past one step. Measured: at most 0.06 on these pictures.
constexpr double kIntegerBound = 1.0;

// The fast path and djpeg's -dct fast both run the AAN transform in 16-bit lanes on tables
// pre-scaled the same way, with truncating multiplies; they part only where a last descale or
// the colour conversion rounds a step differently. Fine quantisers (quality 50..100) put the
// most non-zero terms through those multiplies: measured at most 0.21 per channel (quality 100),
// so 0.5 leaves room while still catching a colour table or a pre-scale off by one step.
constexpr double kFastBoundFine = 0.5;
// Coarse quantisers and pictures of a few pixels: the few pixels do not average a one-step
// difference away (measured at most 0.1), so these get one step.
constexpr double kFastBoundCoarse = 1.0;

// A misplaced or wrongly decoded block barely moves the mean of a large picture but shows as a
// large single difference. Rounding alone moves a sample by one step, which the colour
// conversion turns into at most three (measured: 3 on both paths).
constexpr int kLargestDifference = 8;

struct Case {
  const char* name;
  double fast_bound;
};

const Case kCases[] = {
    // Sequential layouts.
    {"photo_444", kFastBoundFine},
    {"photo_422", kFastBoundFine},
    {"photo_440", kFastBoundFine},
    {"photo_420", kFastBoundFine},
    {"photo_gray", kFastBoundFine},
    {"plasma_420_q50", kFastBoundFine},
    {"plasma_444_q100", kFastBoundFine},
    {"plasma_422_optimized", kFastBoundFine},
    // Extended sequential: 16-bit quantisation tables, SOF1.
    {"plasma_420_q5_extended", kFastBoundCoarse},
    {"photo_gray_q2_extended", kFastBoundCoarse},
    // Progressive.
    {"photo_444_progressive", kFastBoundFine},
    {"photo_422_progressive", kFastBoundFine},
    {"photo_440_progressive", kFastBoundFine},
    {"photo_420_progressive", kFastBoundFine},
    {"photo_gray_progressive", kFastBoundFine},
    {"plasma_420_q5_progressive", kFastBoundCoarse},
    {"photo_420_progressive_deep", kFastBoundFine},
    {"plasma_444_progressive_separate_dc", kFastBoundFine},
    // Largest coefficients: a one-pixel checkerboard at quality 100.
    {"checker_444_q100", kFastBoundFine},
    {"checker_420_q100_progressive", kFastBoundFine},
    // Restart intervals.
    {"photo_420_restart_1", kFastBoundFine},
    {"photo_422_restart_3", kFastBoundFine},
    {"photo_440_restart_row", kFastBoundFine},
    {"photo_gray_restart_7", kFastBoundFine},
    {"photo_420_progressive_restart_5", kFastBoundFine},
    {"photo_444_progressive_restart_1", kFastBoundFine},
    // Odd sizes.
    {"tiny_1x1_444", kFastBoundCoarse},
    {"tiny_1x1_422", kFastBoundCoarse},
    {"tiny_1x1_440", kFastBoundCoarse},
    {"tiny_1x1_420", kFastBoundCoarse},
    {"tiny_1x1_gray", kFastBoundCoarse},
    {"tiny_15x15_444", kFastBoundCoarse},
    {"tiny_15x15_422", kFastBoundCoarse},
    {"tiny_15x15_440", kFastBoundCoarse},
    {"tiny_15x15_420", kFastBoundCoarse},
    {"tiny_15x15_420_q5", kFastBoundCoarse},
    {"tiny_17x17_444", kFastBoundCoarse},
    {"tiny_17x17_422", kFastBoundCoarse},
    {"tiny_17x17_440", kFastBoundCoarse},
    {"tiny_17x17_420", kFastBoundCoarse},
    {"tiny_17x17_gray_progressive", kFastBoundCoarse},
    {"tiny_17x17_420_progressive", kFastBoundCoarse},
    {"wide_8192_420", kFastBoundFine},
    {"wide_8192_gray", kFastBoundFine},
    {"wide_8192_444_progressive", kFastBoundFine},
    {"tall_8192_440", kFastBoundFine},
    // RGB, no colour conversion: an Adobe segment, then the component ids alone.
    {"photo_rgb_420", kFastBoundFine},
    {"plasma_rgb_progressive", kFastBoundFine},
    // Written by ImageMagick.
    {"im_420_q75", kFastBoundFine},
    {"im_422_progressive", kFastBoundFine},
    {"im_gray", kFastBoundFine},
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class ReferenceDecode : public testing::TestWithParam<Case> {};

void expect_close_to_djpeg(const Case& c, bool fast_path) {
  const std::string base = picture_dir() + "/" + c.name;
  const std::vector<std::uint8_t> bytes = read_bytes(base + ".jpg");
  ASSERT_FALSE(bytes.empty()) << base << ".jpg is missing";
  const tools::DecodedPicture reference = read_pnm(base + (fast_path ? ".fast.pnm" : ".int.pnm"));
  ASSERT_GT(reference.channels, 0) << "no djpeg reference for " << c.name;

  const tools::DecodedPicture ours =
      tools::decode_picture(bytes.data(), static_cast<std::int32_t>(bytes.size()), fast_path);
  ASSERT_EQ(ours.error_code, 0) << c.name << " refused: " << ours.error_code;
  const Difference difference = compare(ours, reference);
  ASSERT_FALSE(difference.mean_per_channel.empty())
      << c.name << ": decoded " << ours.width << "x" << ours.height << "x" << ours.channels
      << ", djpeg gives " << reference.width << "x" << reference.height << "x"
      << reference.channels;
  const double bound = fast_path ? c.fast_bound : kIntegerBound;
  for (std::size_t channel = 0; channel < difference.mean_per_channel.size(); ++channel) {
    EXPECT_LE(difference.mean_per_channel[channel], bound)
        << c.name << (fast_path ? " fast" : " integer") << " path, channel " << channel
        << ", largest single difference " << difference.largest;
  }
  EXPECT_LE(difference.largest, kLargestDifference)
      << c.name << (fast_path ? " fast" : " integer") << " path";
}

TEST_P(ReferenceDecode, IntegerPathMatchesDjpegIntegerTransform) {
  expect_close_to_djpeg(GetParam(), false);
}

TEST_P(ReferenceDecode, FastPathMatchesDjpegFastTransformWithinItsBound) {
  expect_close_to_djpeg(GetParam(), true);
}

INSTANTIATE_TEST_SUITE_P(Pictures, ReferenceDecode, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& param) {
                           return std::string(param.param.name);
                         });

// A sequential file whose scans each carry one component lies outside what the rows are built
// from. The decoder may decode it (then correctly) or refuse it, but must never hand out wrong
// rows as a success.
TEST(NonInterleavedSequential, IsDecodedCorrectlyOrRefused) {
  const std::string base = picture_dir() + "/photo_420_noninterleaved";
  const std::vector<std::uint8_t> bytes = read_bytes(base + ".jpg");
  ASSERT_FALSE(bytes.empty());
  for (const bool fast_path : {false, true}) {
    const tools::DecodedPicture ours =
        tools::decode_picture(bytes.data(), static_cast<std::int32_t>(bytes.size()), fast_path);
    if (ours.error_code != 0) continue;
    const tools::DecodedPicture reference = read_pnm(base + (fast_path ? ".fast.pnm" : ".int.pnm"));
    const Difference difference = compare(ours, reference);
    EXPECT_LE(difference.worst_mean(), fast_path ? kFastBoundFine : kIntegerBound)
        << (fast_path ? "fast" : "integer") << " path delivered a wrong picture as a success";
  }
}

}  // namespace
}  // namespace conformance
