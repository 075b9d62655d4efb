// Picture preparation: centring with the figures of 640x480, 320x240, 800x600 and 641
// columns, decoding against TurboJPEG's decode of the same file, grey pictures, refused
// pictures, and the SourceImage left alone by a refused picture.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "app/picture_preparation.h"
#include "engine/frame_buffers.h"
#include "jpeg/jpeg_decoder.h"
#include "jpeg/memory_input_stream.h"
#include "tests/app/picture_test_support.h"

namespace {

using picture_test::Picture;
using picture_test::Sampling;

constexpr std::uint32_t kFill = 0x404020u;
constexpr std::int32_t kW = 640;
constexpr std::int32_t kH = 480;

// A picture whose every pixel names its own position: (x << 12 | y) + 1, never the fill.
std::vector<std::uint32_t> numbered(std::int32_t width, std::int32_t height) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      pixels[static_cast<std::size_t>(y * width + x)] =
          (static_cast<std::uint32_t>(x) << 12 | static_cast<std::uint32_t>(y)) + 1u;
    }
  }
  return pixels;
}

std::uint32_t numbered_at(std::int32_t x, std::int32_t y) {
  return (static_cast<std::uint32_t>(x) << 12 | static_cast<std::uint32_t>(y)) + 1u;
}

std::vector<std::uint32_t> centred(std::int32_t width, std::int32_t height) {
  std::vector<std::uint32_t> target(kW * kH, 0xDEADBEEFu);
  const std::vector<std::uint32_t> picture = numbered(width, height);
  app::centre_picture(target.data(), kW, kH, picture.data(), width, height, kFill);
  return target;
}

// Checks that target pixel (x, y) shows picture pixel (x - dx, y - dy) inside the given
// target rectangle (inclusive) and the fill everywhere else.
void expect_placed(const std::vector<std::uint32_t>& target, std::int32_t left, std::int32_t top,
                   std::int32_t right, std::int32_t bottom, std::int32_t dx, std::int32_t dy) {
  std::int32_t wrong = 0;
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      const bool inside = x >= left && x <= right && y >= top && y <= bottom;
      const std::uint32_t want = inside ? numbered_at(x - dx, y - dy) : kFill;
      if (target[static_cast<std::size_t>(y * kW + x)] != want && wrong++ < 5) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(CentrePicture, FullSizePictureFillsTheTargetExactly) {
  expect_placed(centred(640, 480), 0, 0, 639, 479, 0, 0);
}

TEST(CentrePicture, QuarterSizePictureSitsAt160By120InsideTheFill) {
  const std::vector<std::uint32_t> target = centred(320, 240);
  expect_placed(target, 160, 120, 479, 359, 160, 120);
  // The border is red 64, green 64, blue 32, stored blue, green, red, zero.
  std::array<std::uint8_t, 4> bytes{};
  std::memcpy(bytes.data(), &target[0], 4);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{32, 64, 64, 0}));
}

TEST(CentrePicture, LargerPictureShowsItsMiddleColumns80To719AndRows60To539) {
  expect_placed(centred(800, 600), 0, 0, 639, 479, -80, -60);
}

TEST(CentrePicture, OneColumnTooWideLosesOnlyItsRightmostColumn) {
  expect_placed(centred(641, 480), 0, 0, 639, 479, 0, 0);
}

TEST(CentrePicture, OddDifferencePutsTheExtraBorderRightAndBottom) {
  // 639 x 477: (640 - 639) / 2 = 0 columns left, (480 - 477) / 2 = 1 row on top.
  expect_placed(centred(639, 477), 0, 1, 638, 477, 0, 1);
}

TEST(CentrePicture, EachAxisIsHandledOnItsOwn) {
  // Wide and low: cut to columns 80..719, placed at rows 120..359.
  expect_placed(centred(800, 240), 0, 120, 639, 359, -80, 120);
  // Narrow and tall: placed at columns 160..479, cut to rows 60..539.
  expect_placed(centred(320, 600), 160, 0, 479, 479, 160, -60);
}

TEST(CentrePicture, NullPointersOrNegativeSizesChangeNothing) {
  std::vector<std::uint32_t> target(16, 7u);
  const std::vector<std::uint32_t> picture(16, 9u);
  app::centre_picture(nullptr, 4, 4, picture.data(), 4, 4, kFill);
  app::centre_picture(target.data(), 4, 4, nullptr, 4, 4, kFill);
  app::centre_picture(target.data(), -4, 4, picture.data(), 4, 4, kFill);
  app::centre_picture(target.data(), 4, 4, picture.data(), 4, -4, kFill);
  EXPECT_EQ(target, std::vector<std::uint32_t>(16, 7u));
}

// Mean absolute difference of each channel between a decoded record and a reference.
std::array<double, 3> mean_difference(const app::DecodedPicture& ours, const Picture& reference) {
  std::array<double, 3> sum{};
  const std::int32_t count = ours.width * ours.height;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint32_t p = ours.pixels[static_cast<std::size_t>(i)];
    const std::array<int, 3> mine = {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)};
    for (std::size_t c = 0; c < 3; ++c) {
      sum[c] += std::abs(mine[c] - int(reference.pixels[static_cast<std::size_t>(i) * 3 + c]));
    }
  }
  for (double& s : sum) s /= count;
  return sum;
}

void expect_matches_reference(const std::vector<std::uint8_t>& jpeg, const char* what) {
  const Picture reference = picture_test::reference_decode(jpeg);
  ASSERT_GT(reference.width, 0) << what;
  app::DecodedPicture ours;
  ASSERT_TRUE(app::decode_picture(&ours, jpeg.data(), static_cast<std::int32_t>(jpeg.size())))
      << what;
  ASSERT_EQ(ours.width, reference.width) << what;
  ASSERT_EQ(ours.height, reference.height) << what;
  const std::array<double, 3> difference = mean_difference(ours, reference);
  for (std::size_t c = 0; c < 3; ++c) {
    EXPECT_LE(difference[c], picture_test::kFastPathMeanBound) << what << ", channel " << c;
  }
  // The fourth byte of every pixel is zero.
  for (std::int32_t i = 0; i < ours.width * ours.height; ++i) {
    ASSERT_EQ(ours.pixels[static_cast<std::size_t>(i)] >> 24, 0u) << what << ", pixel " << i;
  }
}

TEST(DecodePicture, ColourPicturesMatchTurboJpegInEveryLayout) {
  const Picture colour = picture_test::squares(200, 120, 3);
  expect_matches_reference(picture_test::encode(colour, Sampling::k420), "4:2:0 baseline");
  expect_matches_reference(picture_test::encode(colour, Sampling::k444), "4:4:4 baseline");
  expect_matches_reference(picture_test::encode(colour, Sampling::k420, true), "4:2:0 progressive");
}

TEST(DecodePicture, GreyPictureHasEqualRedGreenAndBlue) {
  const std::vector<std::uint8_t> jpeg =
      picture_test::encode(picture_test::squares(96, 72, 1), Sampling::kGrey);
  expect_matches_reference(jpeg, "grey");
  app::DecodedPicture ours;
  ASSERT_TRUE(app::decode_picture(&ours, jpeg.data(), static_cast<std::int32_t>(jpeg.size())));
  std::int32_t unequal = 0;
  for (std::int32_t i = 0; i < ours.width * ours.height; ++i) {
    const std::uint32_t p = ours.pixels[static_cast<std::size_t>(i)];
    if ((p >> 16 & 0xFF) != (p & 0xFF) || (p >> 8 & 0xFF) != (p & 0xFF)) ++unequal;
  }
  EXPECT_EQ(unequal, 0);
}

void expect_refused(const std::vector<std::uint8_t>& jpeg, std::int32_t length, const char* what) {
  app::DecodedPicture picture;
  // Something from an earlier picture, so that the refusal must clear it.
  const std::vector<std::uint8_t> good =
      picture_test::encode(picture_test::squares(16, 16, 3), Sampling::k444);
  ASSERT_TRUE(app::decode_picture(&picture, good.data(), static_cast<std::int32_t>(good.size())));
  EXPECT_FALSE(app::decode_picture(&picture, jpeg.data(), length)) << what;
  EXPECT_EQ(picture.pixels, nullptr) << what;
  EXPECT_EQ(picture.width, 0) << what;
  EXPECT_EQ(picture.height, 0) << what;
  EXPECT_EQ(picture.fast_path, 1) << what;
}

TEST(DecodePicture, RefusesFourAndTwoComponentPictures) {
  const std::vector<std::uint8_t> cmyk = picture_test::encode_cmyk(32, 32);
  ASSERT_FALSE(cmyk.empty());
  expect_refused(cmyk, static_cast<std::int32_t>(cmyk.size()), "CMYK");
  const std::vector<std::uint8_t> two = picture_test::with_two_components(
      picture_test::encode(picture_test::squares(32, 32, 3), Sampling::k444));
  ASSERT_FALSE(two.empty());
  expect_refused(two, static_cast<std::int32_t>(two.size()), "two components");
}

// Rows the decoder delivers from the first length bytes of jpeg before it stops, and
// whether it then reports an error.
std::pair<std::int32_t, bool> rows_before_error(const std::vector<std::uint8_t>& jpeg,
                                                std::int32_t length) {
  jpeg::MemoryInputStream stream(jpeg.data(), length);
  jpeg::JpegDecoder decoder(&stream, true);
  std::int32_t rows = 0;
  if (decoder.error_code == 0 && decoder.start() == 0) {
    const std::uint8_t* line = nullptr;
    std::int32_t bytes = 0;
    while (decoder.read_scanline(line, bytes) == 0) ++rows;
  }
  const bool failed = decoder.error_code != 0;
  decoder.release();
  return {rows, failed};
}

TEST(DecodePicture, RefusesATruncatedPictureAsAWholeEvenWhenMostRowsDecoded) {
  // A cut inside the scan is decoded on filler bytes; whether that ends in an error
  // depends on where the cut falls. Take the longest cut that does end in one after
  // more than half of the rows, as the decoder itself shows.
  const std::vector<std::uint8_t> jpeg =
      picture_test::encode(picture_test::squares(256, 256, 3), Sampling::k420);
  std::int32_t cut = 0;
  for (auto length = static_cast<std::int32_t>(jpeg.size()) - 2; length > 0; length -= 7) {
    const auto [rows, failed] = rows_before_error(jpeg, length);
    if (failed && rows > 128) {
      cut = length;
      break;
    }
  }
  ASSERT_GT(cut, 0) << "no cut of the picture makes the decoder fail late";
  expect_refused(jpeg, cut, "cut inside the last rows");
  // Cut right before the scan header: there is no scan at all.
  std::int32_t scan = 0;
  for (std::size_t i = 2; i + 1 < jpeg.size() && scan == 0; ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) scan = static_cast<std::int32_t>(i);
  }
  ASSERT_GT(scan, 0);
  expect_refused(jpeg, scan, "headers only");
}

TEST(DecodePicture, RefusesEmptyAndMissingData) {
  const std::vector<std::uint8_t> jpeg =
      picture_test::encode(picture_test::squares(16, 16, 3), Sampling::k444);
  expect_refused(jpeg, 0, "length 0");
  expect_refused(jpeg, -5, "negative length");
  app::DecodedPicture picture;
  EXPECT_FALSE(app::decode_picture(&picture, nullptr, 100));
}

TEST(PrepareSourceImage, CentresAQuarterSizePictureInTheFill) {
  const Picture picture = picture_test::squares(320, 240, 3);
  const std::vector<std::uint8_t> jpeg = picture_test::encode(picture, Sampling::k444);
  std::vector<std::uint32_t> source_image(static_cast<std::size_t>(kW * kH));
  ASSERT_TRUE(app::prepare_source_image(source_image.data(), jpeg.data(),
                                        static_cast<std::int32_t>(jpeg.size())));
  const Picture reference = picture_test::reference_decode(jpeg);
  std::array<double, 3> sum{};
  std::int32_t border_wrong = 0;
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      const std::uint32_t p = source_image[static_cast<std::size_t>(y * kW + x)];
      if (x < 160 || x > 479 || y < 120 || y > 359) {
        border_wrong += p != kFill ? 1 : 0;
        continue;
      }
      for (std::int32_t c = 0; c < 3; ++c) {
        const int mine = static_cast<int>(p >> (16 - 8 * c) & 0xFF);
        sum[static_cast<std::size_t>(c)] += std::abs(mine - reference.at(x - 160, y - 120, c));
      }
    }
  }
  EXPECT_EQ(border_wrong, 0);
  for (double s : sum) EXPECT_LE(s / (320 * 240), picture_test::kFastPathMeanBound);
}

TEST(PrepareSourceImage, RefusedPictureLeavesTheSourceImageAsItWas) {
  std::vector<std::uint32_t> source_image(static_cast<std::size_t>(kW * kH));
  for (std::int32_t i = 0; i < kW * kH; ++i)
    source_image[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i);
  const std::vector<std::uint8_t> cmyk = picture_test::encode_cmyk(64, 48);
  EXPECT_FALSE(app::prepare_source_image(source_image.data(), cmyk.data(),
                                         static_cast<std::int32_t>(cmyk.size())));
  const std::vector<std::uint8_t> jpeg =
      picture_test::encode(picture_test::squares(640, 480, 3), Sampling::k420);
  EXPECT_FALSE(app::prepare_source_image(source_image.data(), jpeg.data(),
                                         static_cast<std::int32_t>(jpeg.size() / 2)));
  EXPECT_FALSE(app::prepare_source_image(source_image.data(), jpeg.data(), 0));
  std::int32_t changed = 0;
  for (std::int32_t i = 0; i < kW * kH; ++i) {
    changed += source_image[static_cast<std::size_t>(i)] != static_cast<std::uint32_t>(i) ? 1 : 0;
  }
  EXPECT_EQ(changed, 0);
}

// The in-memory byte source the decoder reads the pictures through.
TEST(MemoryInputStream, ReadThatFillsTheRequestExactlyLeavesTheEndForTheNextRead) {
  const std::array<std::uint8_t, 5> data = {1, 2, 3, 4, 5};
  jpeg::MemoryInputStream stream(data.data(), 5);
  std::array<std::uint8_t, 8> buffer{};
  bool at_end = false;
  EXPECT_EQ(stream.read(buffer.data(), 3, at_end), 3);
  EXPECT_FALSE(at_end);
  EXPECT_EQ(stream.read(buffer.data(), 2, at_end), 2);
  EXPECT_FALSE(at_end);
  EXPECT_EQ(buffer[0], 4);
  EXPECT_EQ(buffer[1], 5);
  EXPECT_EQ(stream.read(buffer.data(), 2, at_end), 0);
  EXPECT_TRUE(at_end);
  bool again = false;
  EXPECT_EQ(stream.read(buffer.data(), 2, again), 0);
  EXPECT_TRUE(again);
}

TEST(MemoryInputStream, ReadPastTheEndGivesTheRestAndSetsTheEnd) {
  const std::array<std::uint8_t, 5> data = {1, 2, 3, 4, 5};
  jpeg::MemoryInputStream stream(data.data(), 5);
  std::array<std::uint8_t, 8> buffer{};
  bool at_end = false;
  EXPECT_EQ(stream.read(buffer.data(), 4, at_end), 4);
  EXPECT_EQ(stream.read(buffer.data(), 8, at_end), 1);
  EXPECT_TRUE(at_end);
  EXPECT_EQ(buffer[0], 5);
}

TEST(MemoryInputStream, EmptyStreamIsAtItsEndAndNullDataFails) {
  const std::array<std::uint8_t, 1> data = {1};
  jpeg::MemoryInputStream empty(data.data(), 0);
  std::array<std::uint8_t, 4> buffer{};
  bool at_end = false;
  EXPECT_EQ(empty.read(buffer.data(), 4, at_end), 0);
  EXPECT_TRUE(at_end);
  jpeg::MemoryInputStream null_data(nullptr, 10);
  bool flag = false;
  EXPECT_EQ(null_data.read(buffer.data(), 4, flag), jpeg::JpegInputStream::kReadError);
}

}  // namespace
