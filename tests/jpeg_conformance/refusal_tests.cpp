// Files the decoder must refuse, with the exact code and at the step that the code belongs to:
// cjpeg's and ImageMagick's files in modes it does not decode, and headers patched from a good
// baseline file.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "jpeg/error_codes.h"
#include "jpeg/jpeg_decoder.h"
#include "jpeg/memory_input_stream.h"
#include "tests/jpeg_conformance/conformance_support.h"

namespace conformance {
namespace {

enum class Step { Construction, Start };

// Decodes on both paths and expects the code from the given step: a constructor failure leaves
// error_code set; a start failure returns NotReady with error_code set.
void expect_refused(const std::vector<std::uint8_t>& bytes, std::int32_t code, Step step,
                    const std::string& what) {
  ASSERT_FALSE(bytes.empty()) << what;
  for (const bool fast_path : {true, false}) {
    SCOPED_TRACE(what + (fast_path ? " (fast path)" : " (integer path)"));
    jpeg::MemoryInputStream stream(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    jpeg::JpegDecoder decoder(&stream, fast_path);
    if (step == Step::Construction) {
      EXPECT_EQ(decoder.error_code, code) << jpeg::error_name(decoder.error_code);
      EXPECT_EQ(decoder.start(), jpeg::NotReady);
    } else {
      ASSERT_EQ(decoder.error_code, 0) << jpeg::error_name(decoder.error_code);
      EXPECT_EQ(decoder.start(), jpeg::NotReady);
      EXPECT_EQ(decoder.error_code, code) << jpeg::error_name(decoder.error_code);
    }
    const std::uint8_t* line = nullptr;
    std::int32_t line_bytes = 0;
    EXPECT_EQ(decoder.read_scanline(line, line_bytes), jpeg::NotReady);
    decoder.release();
  }
}

// For refusals the decoder may make while reading the headers or at the latest while preparing
// the scan: the code must come from whichever step fails, and no row is delivered.
void expect_refused_by_start(const std::vector<std::uint8_t>& bytes, std::int32_t code,
                             const std::string& what) {
  ASSERT_FALSE(bytes.empty()) << what;
  for (const bool fast_path : {true, false}) {
    SCOPED_TRACE(what + (fast_path ? " (fast path)" : " (integer path)"));
    jpeg::MemoryInputStream stream(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    jpeg::JpegDecoder decoder(&stream, fast_path);
    EXPECT_EQ(decoder.start(), jpeg::NotReady);
    EXPECT_EQ(decoder.error_code, code) << jpeg::error_name(decoder.error_code);
    decoder.release();
  }
}

std::vector<std::uint8_t> picture(const char* name) {
  return read_bytes(picture_dir() + "/" + name + ".jpg");
}

// Offset of the frame marker's code byte (the byte after FF) in a file whose segments before the
// frame are well formed; 0 when there is none.
std::size_t frame_marker_at(const std::vector<std::uint8_t>& bytes) {
  std::size_t at = 2;
  while (at + 3 < bytes.size() && bytes[at] == 0xFF) {
    const std::uint8_t marker = bytes[at + 1];
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) return at + 1;
    at += 2 + static_cast<std::size_t>(bytes[at + 2] << 8 | bytes[at + 3]);
  }
  return 0;
}

// The baseline 4:2:0 picture with one frame header byte replaced. Offsets count from the
// marker code: +3 precision, +4/+5 height, +6/+7 width, +8 component count.
std::vector<std::uint8_t> patched_frame(std::size_t offset, std::uint8_t value) {
  std::vector<std::uint8_t> bytes = picture("photo_420");
  const std::size_t marker = frame_marker_at(bytes);
  if (marker == 0 || marker + offset >= bytes.size()) return {};
  bytes[marker + offset] = value;
  return bytes;
}

// Offset of the marker code byte of the first segment with this marker; 0 when there is none.
std::size_t segment_at(const std::vector<std::uint8_t>& bytes, std::uint8_t wanted) {
  std::size_t at = 2;
  while (at + 3 < bytes.size() && bytes[at] == 0xFF) {
    if (bytes[at + 1] == wanted) return at + 1;
    if (bytes[at + 1] == 0xDA) return 0;
    at += 2 + static_cast<std::size_t>(bytes[at + 2] << 8 | bytes[at + 3]);
  }
  return 0;
}

// The baseline 4:2:0 picture with the byte at `offset` from the code of its first `marker`
// segment replaced.
std::vector<std::uint8_t> patched_segment(std::uint8_t marker, std::size_t offset,
                                          std::uint8_t value) {
  std::vector<std::uint8_t> bytes = picture("photo_420");
  const std::size_t at = segment_at(bytes, marker);
  if (at == 0 || at + offset >= bytes.size()) return {};
  bytes[at + offset] = value;
  return bytes;
}

// Frame component k's bytes sit at +9 + 3k (identifier), +10 + 3k (H, V), +11 + 3k (Tq).
TEST(RefusedHeaders, QuantisationSelectorOfFourGivesTableSelectorInvalid) {
  expect_refused_by_start(patched_segment(0xC0, 11, 4), jpeg::TableSelectorInvalid, "Y Tq 4");
  expect_refused_by_start(patched_segment(0xC0, 17, 4), jpeg::TableSelectorInvalid, "Cr Tq 4");
}

TEST(RefusedHeaders, SamplingFactorsOfZeroOrAboveFourGiveSamplingFactorInvalid) {
  expect_refused_by_start(patched_segment(0xC0, 10, 0x02), jpeg::SamplingFactorInvalid, "H 0");
  expect_refused_by_start(patched_segment(0xC0, 13, 0x10), jpeg::SamplingFactorInvalid, "V 0");
  expect_refused_by_start(patched_segment(0xC0, 10, 0x52), jpeg::SamplingFactorInvalid, "H 5");
  // 4x4 is a valid factor pair, just not one of the five layouts.
  expect_refused_by_start(patched_segment(0xC0, 10, 0x44), jpeg::SamplingUnsupported, "4x4");
}

// Scan header: +3 Ns, then per component +4 + 2k (selector) and +5 + 2k (Td, Ta).
TEST(RefusedHeaders, HuffmanSelectorsOfFourGiveTableSelectorInvalid) {
  expect_refused_by_start(patched_segment(0xDA, 5, 0x40), jpeg::TableSelectorInvalid, "Td 4");
  expect_refused_by_start(patched_segment(0xDA, 7, 0x14), jpeg::TableSelectorInvalid, "Ta 4");
  expect_refused_by_start(patched_segment(0xDA, 7, 0x13), jpeg::HuffmanTableMissing, "Ta 3");
}

TEST(RefusedHeaders, ScanComponentsUnknownOrTwiceAreRefused) {
  expect_refused_by_start(patched_segment(0xDA, 4, 9), jpeg::ScanComponentUnknown, "Cs 9");
  std::vector<std::uint8_t> twice = picture("photo_420");
  const std::size_t sos = segment_at(twice, 0xDA);
  ASSERT_NE(sos, 0u);
  twice[sos + 6] = twice[sos + 4];
  expect_refused_by_start(twice, jpeg::ScanComponentsInvalid, "Y twice");
}

// cjpeg's luminance DC table has the counts 0, 1, 5, 1, 1, 1, 1, 1, 1 for lengths 1..9. Three
// codes of length 1 (with the same total) cannot exist: a prefix code has room for two.
TEST(RefusedHeaders, OversubscribedHuffmanCountsGiveHuffmanTableInvalid) {
  std::vector<std::uint8_t> bytes = picture("photo_420");
  const std::size_t dht = segment_at(bytes, 0xC4);
  ASSERT_NE(dht, 0u);
  ASSERT_EQ(bytes[dht + 3], 0x00) << "first table is not DC table 0";
  ASSERT_EQ(bytes[dht + 5], 1);
  ASSERT_EQ(bytes[dht + 6], 5);
  bytes[dht + 4] = 3;
  bytes[dht + 5] = 0;
  bytes[dht + 6] = 3;
  expect_refused_by_start(bytes, jpeg::HuffmanTableInvalid, "3 codes of length 1");
}

TEST(RefusedFiles, ArithmeticCodingFromCjpegGivesArithmeticCoding) {
  expect_refused(picture("refuse_arithmetic"), jpeg::ArithmeticCoding, Step::Construction,
                 "cjpeg -arithmetic (SOF9)");
}

// Progressive arithmetic coding is SOF10, which the frame check meets before any DAC segment:
// it is one of the frame types the decoder does not handle at all.
TEST(RefusedFiles, ProgressiveArithmeticCodingGivesUnsupportedFrame) {
  expect_refused(picture("refuse_arithmetic_progressive"), jpeg::UnsupportedFrame,
                 Step::Construction, "cjpeg -arithmetic -progressive (SOF10)");
}

TEST(RefusedFiles, CmykFromImageMagickGivesComponentCountAtStart) {
  expect_refused(picture("refuse_cmyk"), jpeg::ComponentCount, Step::Start,
                 "ImageMagick -colorspace CMYK (four components)");
}

TEST(RefusedFiles, SamplingLayoutsOutsideTheFiveGiveSamplingUnsupported) {
  expect_refused(picture("refuse_sampling_411"), jpeg::SamplingUnsupported, Step::Start,
                 "cjpeg -sample 4x1");
  expect_refused(picture("refuse_sampling_chroma_larger"), jpeg::SamplingUnsupported, Step::Start,
                 "cjpeg -sample 1x1,2x2,1x1");
}

TEST(RefusedFiles, TwelveBitPrecisionGivesSamplePrecision) {
  expect_refused(patched_frame(3, 12), jpeg::SamplePrecision, Step::Construction,
                 "precision byte 12");
}

TEST(RefusedFiles, LosslessAndHierarchicalFramesGiveUnsupportedFrame) {
  for (const int code : {0xC3, 0xC5, 0xC6, 0xC7, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}) {
    expect_refused(patched_frame(0, static_cast<std::uint8_t>(code)), jpeg::UnsupportedFrame,
                   Step::Construction, "frame marker FF " + std::to_string(code));
  }
}

TEST(RefusedFiles, ArithmeticFrameMarkerGivesArithmeticCoding) {
  expect_refused(patched_frame(0, 0xC9), jpeg::ArithmeticCoding, Step::Construction,
                 "frame marker FF C9");
}

TEST(RefusedFiles, ImpossibleSizesGiveImageHeightAndImageWidth) {
  std::vector<std::uint8_t> zero_height = patched_frame(4, 0);
  if (!zero_height.empty()) zero_height[frame_marker_at(zero_height) + 5] = 0;
  expect_refused(zero_height, jpeg::ImageHeight, Step::Construction, "height 0");
  // 0x2001 = 8193.
  std::vector<std::uint8_t> wide = patched_frame(6, 0x20);
  if (!wide.empty()) wide[frame_marker_at(wide) + 7] = 0x01;
  expect_refused(wide, jpeg::ImageWidth, Step::Construction, "width 8193");
}

TEST(RefusedFiles, DacSegmentBeforeTheFrameGivesArithmeticCoding) {
  std::vector<std::uint8_t> bytes = picture("photo_420");
  ASSERT_GT(bytes.size(), 2u);
  const std::vector<std::uint8_t> dac = {0xFF, 0xCC, 0x00, 0x04, 0x00, 0x10};
  bytes.insert(bytes.begin() + 2, dac.begin(), dac.end());
  expect_refused(bytes, jpeg::ArithmeticCoding, Step::Construction, "DAC after SOI");
}

TEST(RefusedFiles, FileCutAfterTheFrameHeaderGivesUnexpectedMarkerAtStart) {
  std::vector<std::uint8_t> bytes = picture("photo_420");
  const std::size_t marker = frame_marker_at(bytes);
  ASSERT_NE(marker, 0u);
  const std::size_t length = static_cast<std::size_t>(bytes[marker + 1] << 8 | bytes[marker + 2]);
  bytes.resize(marker + 1 + length);
  expect_refused(bytes, jpeg::UnexpectedMarker, Step::Start, "cut after the frame header");
}

}  // namespace
}  // namespace conformance
