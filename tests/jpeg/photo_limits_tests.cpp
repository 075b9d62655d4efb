// Users' photos: the refusals a person reads, one small file each, and the size limits of
// photos (65535 x 65535 within the memory budget) beside the embedded pictures' 8192.
#include <gtest/gtest.h>

#include <string>

#include "decode_harness.h"
#include "jpeg/error_codes.h"

namespace {

using jpeg_test::Bytes;

struct Outcome {
  std::int32_t code = 0;
  std::int64_t offset = 0;
};

// Constructs and starts a decoder with the photo limits (or the embedded pictures' ones).
Outcome start_photo(const Bytes& jpeg, bool photo_sizes = true) {
  jpeg_test::TestStream stream(jpeg);
  jpeg::DecoderOptions options;
  options.photo_sizes = photo_sizes;
  jpeg::JpegDecoder decoder(&stream, options);
  if (decoder.error_code == 0) decoder.start();
  return {decoder.error_code, decoder.error_offset};
}

std::size_t frame_header(const Bytes& jpeg) {
  for (std::size_t i = 2; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) return i;
  }
  return 0;
}

// The same file with its frame marker, precision, size or component count changed.
Bytes with_frame(Bytes jpeg, int marker, int precision, int width, int height) {
  const std::size_t sof = frame_header(jpeg);
  jpeg[sof + 1] = static_cast<std::uint8_t>(marker);
  jpeg[sof + 4] = static_cast<std::uint8_t>(precision);
  jpeg[sof + 5] = static_cast<std::uint8_t>(height >> 8);
  jpeg[sof + 6] = static_cast<std::uint8_t>(height);
  jpeg[sof + 7] = static_cast<std::uint8_t>(width >> 8);
  jpeg[sof + 8] = static_cast<std::uint8_t>(width);
  return jpeg;
}

TEST(PhotoRefusals, EachHasItsCodeAndAText) {
  const Bytes good = jpeg_test::make_with_cjpeg(24, 16, "-quality 80 -sample 2x2");
  ASSERT_FALSE(good.empty()) << jpeg_test::kNeedsJpegTools;
  const Bytes arithmetic = jpeg_test::make_with_cjpeg(24, 16, "-quality 80 -arithmetic");
  ASSERT_FALSE(arithmetic.empty()) << jpeg_test::kNeedsJpegTools;
  Bytes cut = good;
  cut.resize(good.size() / 2);
  cut.push_back(0xFF);
  cut.push_back(0xD0);  // a restart marker where none is due
  // Two components: the component count byte follows the size, each component 3 bytes.
  Bytes two = good;
  const std::size_t sof = frame_header(two);
  two[sof + 3] = static_cast<std::uint8_t>(two[sof + 3] - 3);
  two[sof + 9] = 2;
  two.erase(two.begin() + static_cast<std::ptrdiff_t>(sof + 10 + 6),
            two.begin() + static_cast<std::ptrdiff_t>(sof + 10 + 9));
  const struct {
    const char* name;
    Bytes jpeg;
    std::int32_t code;
    const char* text;
  } cases[] = {
      {"text file", Bytes(600, 'a'), jpeg::NoStartOfImage, "not a JPEG file"},
      {"arithmetic", arithmetic, jpeg::ArithmeticCoding, "arithmetic-coded JPEG is not supported"},
      {"progressive arithmetic", with_frame(good, 0xCA, 8, 24, 16), jpeg::ArithmeticCoding,
       "arithmetic-coded JPEG is not supported"},
      {"lossless", with_frame(good, 0xC3, 8, 24, 16), jpeg::UnsupportedFrame,
       "lossless or hierarchical JPEG is not supported"},
      {"hierarchical", with_frame(good, 0xC5, 8, 24, 16), jpeg::UnsupportedFrame,
       "lossless or hierarchical JPEG is not supported"},
      {"12-bit", with_frame(good, 0xC1, 12, 24, 16), jpeg::SamplePrecision,
       "12-bit JPEG is not supported (only 8-bit samples)"},
      {"two components", two, jpeg::ComponentCount,
       "JPEG with 2 or 4 components (CMYK, YCCK) is not supported"},
      {"too large", with_frame(good, 0xC2, 8, 60000, 60000), jpeg::ImageTooLarge,
       "the photo is too large to decode (it needs more than 256 MB)"},
  };
  for (const auto& c : cases) {
    const Outcome o = start_photo(c.jpeg);
    EXPECT_EQ(o.code, c.code) << c.name << ": " << jpeg::error_name(o.code);
    EXPECT_STREQ(jpeg::error_text(o.code), c.text) << c.name;
  }
  // Damaged data is named so, with the offset where the decoder stopped.
  const jpeg_test::Decoded damaged = jpeg_test::decode(cut);
  EXPECT_STREQ(jpeg::error_text(damaged.error_code),
               "the JPEG data is damaged (a marker out of place)");
  for (std::int32_t code = -200; code >= -237; --code) {
    EXPECT_STRNE(jpeg::error_text(code), "unknown error") << code;
  }
  EXPECT_STREQ(jpeg::error_text(0), "no error");
}

TEST(PhotoRefusals, TheOffsetPointsAtTheFrameOfAnUnsupportedFile) {
  const Bytes good = jpeg_test::make_with_cjpeg(24, 16, "-quality 80");
  ASSERT_FALSE(good.empty()) << jpeg_test::kNeedsJpegTools;
  const Bytes twelve = with_frame(good, 0xC1, 12, 24, 16);
  const Outcome o = start_photo(twelve);
  ASSERT_EQ(o.code, jpeg::SamplePrecision);
  // The input is read a buffer at a time, but the offset is that of the parser: just past the
  // precision byte.
  EXPECT_EQ(o.offset, static_cast<std::int64_t>(frame_header(good) + 5));
}

TEST(PhotoLimits, PhotosReachBeyond8192WithinTheBudgetAndEmbeddedPicturesDoNot) {
  const Bytes good = jpeg_test::make_with_cjpeg(24, 16, "-quality 80 -sample 2x2");
  ASSERT_FALSE(good.empty()) << jpeg_test::kNeedsJpegTools;
  // Sequential: only rows of blocks are held, so even 65535 x 65535 fits the budget.
  const Bytes wide = with_frame(good, 0xC0, 8, 65535, 65535);
  EXPECT_EQ(start_photo(wide).code, 0);
  EXPECT_EQ(start_photo(wide, false).code, jpeg::ImageHeight);
  const Bytes width_9000 = with_frame(good, 0xC0, 8, 9000, 100);
  EXPECT_EQ(start_photo(width_9000, false).code, jpeg::ImageWidth);
  // Progressive: the coefficients of the whole picture, 2 bytes each (and DC twice): 10000 x
  // 10000 in 4:2:0 takes 305 MB and is refused, 9000 x 9000 takes 247 MB.
  EXPECT_EQ(start_photo(with_frame(good, 0xC2, 8, 10000, 10000)).code, jpeg::ImageTooLarge);
  EXPECT_NE(start_photo(with_frame(good, 0xC2, 8, 9000, 9000)).code, jpeg::ImageTooLarge);
}

}  // namespace
