// Decoding at 1/2, 1/4 and 1/8: against djpeg -scale of cjpeg-made photographs in every layout,
// on both paths and both thread counts. djpeg runs at its defaults, which interpolate the chroma
// of 4:2:2 and 4:4:0 at 1/2 and 1/4 as the decoder does (and replicate it at 1/8).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "decode_harness.h"
#include "jpeg/error_codes.h"
#include "jpeg/scan_split.h"

namespace {

using jpeg_test::Bytes;
using jpeg_test::decode;
using jpeg_test::Decoded;
using jpeg_test::work_file;

constexpr char kNeedsTools[] =
    "convert, cjpeg or djpeg failed or is missing: install the Debian packages imagemagick and "
    "libjpeg-turbo-progs";

// ImageMagick's built-in photograph enlarged to width x height, compressed by cjpeg.
Bytes photo_jpeg(int width, int height, const std::string& options) {
  const std::string ppm =
      work_file("photo_" + std::to_string(width) + "x" + std::to_string(height) + ".ppm");
  const std::string jpg = work_file("photo.jpg");
  const std::string make = "convert rose: -resize " + std::to_string(width) + "x" +
                           std::to_string(height) + "! " + ppm + " && cjpeg " + options +
                           " -outfile " + jpg + " " + ppm;
  if (std::system(make.c_str()) != 0) return {};
  return jpeg_test::read_file(jpg);
}

// The same coefficients rewritten by jpegtran with the given options (-progressive: a
// progressive file of the sequential one's blocks).
Bytes jpegtran(const Bytes& jpeg, const std::string& options) {
  const std::string in = work_file("twin_in.jpg");
  const std::string out = work_file("twin_out.jpg");
  std::FILE* f = std::fopen(in.c_str(), "wb");
  if (f == nullptr) return {};
  std::fwrite(jpeg.data(), 1, jpeg.size(), f);
  std::fclose(f);
  const std::string command = "jpegtran " + options + " -outfile " + out + " " + in;
  if (std::system(command.c_str()) != 0) return {};
  return jpeg_test::read_file(out);
}

// djpeg's decode at 1/scale as packed RGB or grey (the header of its PNM dropped).
Bytes djpeg_scaled(const Bytes& jpeg, int scale) {
  const std::string in = work_file("in.jpg");
  const std::string out = work_file("out.pnm");
  {
    std::FILE* f = std::fopen(in.c_str(), "wb");
    if (f == nullptr) return {};
    std::fwrite(jpeg.data(), 1, jpeg.size(), f);
    std::fclose(f);
  }
  const std::string command =
      "djpeg -dct int -pnm -scale 1/" + std::to_string(scale) + " -outfile " + out + " " + in;
  if (std::system(command.c_str()) != 0) return {};
  const Bytes pnm = jpeg_test::read_file(out);
  std::size_t pos = 0;
  for (int lines = 0; lines < 3 && pos < pnm.size(); ++pos) {
    if (pnm[pos] == '\n') ++lines;
  }
  return Bytes(pnm.begin() + static_cast<std::ptrdiff_t>(pos), pnm.end());
}

// The decoder's rows packed like djpeg's: 4-byte pixels lose their fourth byte.
Bytes packed(const Decoded& r) {
  if (r.bytes_per_pixel == 1) return r.pixels;
  Bytes out;
  for (std::size_t i = 0; i < r.pixels.size(); i += 4) {
    out.insert(out.end(), r.pixels.begin() + static_cast<std::ptrdiff_t>(i),
               r.pixels.begin() + static_cast<std::ptrdiff_t>(i + 3));
  }
  return out;
}

TEST(ScaledDecode, StaysWithinAHalfOnAverageAndSixAtMostOfDjpegInEveryLayout) {
  const char* layouts[] = {"-sample 2x2",
                           "-sample 2x1",
                           "-sample 1x2",
                           "-sample 1x2 -progressive -restart 1",
                           "-sample 1x1",
                           "-grayscale",
                           "-sample 2x2 -progressive",
                           "-sample 1x1 -progressive -restart 3B",
                           "-rgb -sample 1x1"};
  for (const char* layout : layouts) {
    const Bytes jpeg = photo_jpeg(421, 277, std::string("-quality 90 ") + layout);
    ASSERT_FALSE(jpeg.empty()) << kNeedsTools;
    for (int scale : {2, 4, 8}) {
      const Bytes reference = djpeg_scaled(jpeg, scale);
      ASSERT_FALSE(reference.empty()) << kNeedsTools;
      for (bool fast : {true, false}) {
        const Decoded r = decode(jpeg, fast, 1, scale);
        ASSERT_TRUE(r.ok()) << layout << " 1/" << scale << " error " << r.error_code;
        EXPECT_EQ(r.width, (421 + scale - 1) / scale);
        EXPECT_EQ(r.height, (277 + scale - 1) / scale);
        const Bytes ours = packed(r);
        ASSERT_EQ(ours.size(), reference.size()) << layout << " 1/" << scale;
        long total = 0;
        int largest = 0;
        for (std::size_t i = 0; i < ours.size(); ++i) {
          const int difference = std::abs(int{ours[i]} - int{reference[i]});
          total += difference;
          largest = difference > largest ? difference : largest;
        }
        const double mean = static_cast<double>(total) / static_cast<double>(ours.size());
        EXPECT_LE(mean, 0.5) << layout << " 1/" << scale << (fast ? " fast" : " integer");
        EXPECT_LE(largest, 6) << layout << " 1/" << scale << (fast ? " fast" : " integer");
      }
    }
  }
}

TEST(ScaledDecode, GivesTheSameBytesOnOneAndTwoThreads) {
  // Progressive files also decode their scans on two threads, and the worker assembles and
  // transforms the rows from the store (4:4:0 keeps rows across MCU rows, 4:2:2 does not).
  // Sequential scans at 1/8 are split: the worker decodes their later part from a guessed MCU
  // start, and the caller takes its rows once the two meet; damage and a cut inside that part, and
  // another picture after the end (as phones append one), must change nothing either.
  for (const char* layout :
       {"-sample 2x2 -restart 2", "-sample 2x1", "-sample 1x2", "-grayscale", "-sample 1x1",
        "-sample 1x2 -progressive", "-sample 2x1 -progressive -restart 1"}) {
    const Bytes jpeg = photo_jpeg(203, 99, std::string("-quality 85 ") + layout);
    ASSERT_FALSE(jpeg.empty()) << kNeedsTools;
    const std::size_t three_quarters = jpeg.size() * 3 / 4;
    Bytes damaged = jpeg;
    for (std::size_t i = three_quarters; i < three_quarters + 32; ++i) damaged[i] = 0x07;
    const Bytes cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(three_quarters));
    Bytes followed = jpeg;
    followed.insert(followed.end(), jpeg.begin(), jpeg.end());
    for (int scale : {2, 4, 8}) {
      for (bool fast : {true, false}) {
        const std::string what = std::string(layout) + " 1/" + std::to_string(scale);
        const Decoded one = decode(jpeg, fast, 1, scale);
        const Decoded two = jpeg_test::decode_stages(jpeg, fast, 2, 0, scale);
        ASSERT_TRUE(one.ok() && two.ok()) << what;
        EXPECT_EQ(one.pixels, two.pixels) << what;
        for (const Bytes* variant : {&std::as_const(damaged), &cut, &std::as_const(followed)}) {
          const Decoded a = decode(*variant, fast, 1, scale);
          const Decoded b = jpeg_test::decode_stages(*variant, fast, 2, 0, scale);
          EXPECT_EQ(a.error_code, b.error_code) << what;
          EXPECT_EQ(a.row_result, b.row_result) << what;
          EXPECT_EQ(a.pixels, b.pixels) << what;
        }
      }
    }
  }
}

TEST(ScaledDecode, ASplitScanTakesTheWorkersRowsOnceTheTwoMeet) {
#if defined(MQ_JPEG_NO_THREADS)
  GTEST_SKIP() << "built without threads: every decode runs on the caller's thread";
#endif
  for (const char* layout : {"-sample 2x2", "-sample 1x1 -restart 1", "-grayscale"}) {
    const Bytes jpeg = photo_jpeg(421, 277, std::string("-quality 90 ") + layout);
    ASSERT_FALSE(jpeg.empty()) << kNeedsTools;
    jpeg_test::Stages stages(jpeg, true);
    stages.d->threads = 2;
    stages.d->pipeline_min_pixels = 0;
    stages.d->split_waits = true;
    stages.d->scale = 8;
    ASSERT_EQ(stages.open_and_start(), 0) << layout;
    std::int32_t rows = 0;
    while (rows < stages.d->mcu_rows && stages.next_row() == 0) ++rows;
    EXPECT_EQ(rows, stages.d->mcu_rows) << layout;
    // The worker takes about the last third of the data.
    EXPECT_GE(jpeg::detail::rows_from_worker(*stages.d), stages.d->mcu_rows / 4) << layout;
  }
}

TEST(ScaledDecode, AProgressiveFileGivesTheBytesOfItsSequentialTwinAtEveryScale) {
  // At 1/8 the AC scans of components transformed to one sample per block are skipped, not
  // decoded (4:2:0 chroma there is still transformed to 2x2), restart markers and all.
  const char* cases[][2] = {{"-sample 2x2", "-progressive"},
                            {"-sample 1x1", "-progressive -restart 1"},
                            {"-grayscale", "-progressive -restart 2"}};
  for (const auto& [layout, rewrite] : cases) {
    const Bytes sequential = photo_jpeg(203, 99, std::string("-quality 85 ") + layout);
    const Bytes progressive = jpegtran(sequential, rewrite);
    ASSERT_FALSE(sequential.empty() || progressive.empty()) << kNeedsTools << ", jpegtran";
    for (int scale : {1, 2, 4, 8}) {
      for (bool fast : {true, false}) {
        const Decoded twin = decode(sequential, fast, 1, scale);
        const Decoded r = decode(progressive, fast, 1, scale);
        ASSERT_TRUE(twin.ok() && r.ok()) << layout << " 1/" << scale;
        EXPECT_EQ(r.pixels, twin.pixels) << layout << " 1/" << scale << (fast ? " fast" : "");
      }
    }
  }
}

TEST(ScaledDecode, ASkippedScanRefusesBadRestartMarkersAsADecodedOneDoes) {
  // Grey at 1/8 skips every AC scan; the last scan is an AC refinement with a marker each row.
  const Bytes jpeg =
      jpegtran(photo_jpeg(64, 48, "-quality 85 -grayscale"), "-progressive -restart 1");
  ASSERT_FALSE(jpeg.empty()) << kNeedsTools << ", jpegtran";
  std::size_t last = 0;  // the last RSTn
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && (jpeg[i + 1] & 0xF8) == 0xD0) last = i;
  }
  ASSERT_GT(last, 0u);
  Bytes renumbered = jpeg;
  renumbered[last + 1] = static_cast<std::uint8_t>(0xD0 + ((renumbered[last + 1] + 1) & 7));
  Bytes missing = jpeg;
  missing.erase(missing.begin() + static_cast<std::ptrdiff_t>(last),
                missing.begin() + static_cast<std::ptrdiff_t>(last + 2));
  Bytes extra = jpeg;
  extra.insert(extra.end() - 2, {0xFF, renumbered[last + 1]});
  const std::pair<const Bytes*, std::int32_t> cases[] = {{&renumbered, jpeg::RestartMarkerMissing},
                                                         {&missing, jpeg::RestartMarkerMissing},
                                                         {&extra, jpeg::UnexpectedMarker}};
  for (const auto& [damaged, code] : cases) {
    EXPECT_EQ(decode(*damaged, true, 1, 1).error_code, code);
    EXPECT_EQ(decode(*damaged, true, 1, 8).error_code, code);
  }
}

TEST(ScaledDecode, RefusesAScaleOtherThanOneTwoFourOrEight) {
  const Bytes jpeg = photo_jpeg(16, 16, "-quality 85");
  ASSERT_FALSE(jpeg.empty()) << kNeedsTools;
  for (int scale : {0, 3, 16}) {
    const Decoded r = decode(jpeg, true, 1, scale);
    EXPECT_EQ(r.error_code, jpeg::ScaleInvalid) << scale;
  }
}

}  // namespace
