// Whole pictures made with cjpeg in every layout: the vector and scalar paths give the same
// bytes, progressive and multi-scan sequential files give the same pixels as their interleaved
// baseline twins (same coefficients), and the integer path stays within 1.0 mean absolute error
// of djpeg's integer decode with replicated chroma.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "decode_harness.h"
#include "scalar_decode.h"

namespace {

using jpeg_test::Bytes;
using jpeg_test::decode;
using jpeg_test::Decoded;
using jpeg_test::make_with_cjpeg;

struct Picture {
  const char* name;
  int width;
  int height;
  const char* options;
};

const Picture kPictures[] = {
    {"h2v2 baseline", 67, 45, "-quality 90 -sample 2x2"},
    {"h2v1 baseline", 40, 17, "-quality 75 -sample 2x1"},
    {"h1v2 baseline", 17, 33, "-quality 85 -sample 1x2"},
    {"h1v1 baseline", 15, 15, "-quality 95 -sample 1x1"},
    {"grey baseline", 23, 9, "-quality 80 -grayscale"},
    {"h2v2 extended, 16-bit tables", 33, 31, "-quality 3 -sample 2x2 -baseline"},
    {"h2v2 progressive", 67, 45, "-quality 90 -sample 2x2 -progressive"},
    {"h1v1 progressive", 15, 15, "-quality 95 -sample 1x1 -progressive"},
    {"grey progressive", 23, 9, "-quality 80 -grayscale -progressive"},
    {"h2v2 restart 1", 67, 45, "-quality 90 -sample 2x2 -restart 1B"},
    {"h2v2 restart 5 progressive", 67, 45, "-quality 90 -sample 2x2 -restart 5B -progressive"},
    {"RGB h1v1 baseline", 21, 10, "-quality 90 -rgb -sample 1x1"},
    {"RGB h2v2 baseline", 21, 19, "-quality 90 -rgb -sample 2x2,1x1,1x1"},
    {"1x1 h2v2", 1, 1, "-quality 90 -sample 2x2"},
    {"17x17 h2v2 progressive", 17, 17, "-quality 50 -sample 2x2 -progressive"},
};

TEST(Pictures, VectorAndScalarPathsGiveIdenticalBytes) {
  for (const Picture& p : kPictures) {
    const Bytes jpeg = make_with_cjpeg(p.width, p.height, p.options);
    ASSERT_FALSE(jpeg.empty()) << jpeg_test::kNeedsJpegTools;
    for (bool fast : {true, false}) {
      const Decoded vector = decode(jpeg, fast);
      ASSERT_TRUE(vector.ok()) << p.name << " error " << vector.error_code;
      EXPECT_EQ(vector.pixels, jpeg_test::decode_scalar(jpeg, fast))
          << p.name << (fast ? " fast" : " integer");
    }
  }
}

TEST(Pictures, ProgressiveFilesEqualTheirBaselineTwins) {
  for (const char* sampling : {"-sample 2x2", "-sample 1x1", "-sample 2x1", "-grayscale"}) {
    const std::string options = std::string("-quality 88 ") + sampling;
    const Bytes baseline = make_with_cjpeg(61, 37, options);
    ASSERT_FALSE(baseline.empty()) << jpeg_test::kNeedsJpegTools;
    const Bytes progressive = make_with_cjpeg(61, 37, options + " -progressive");
    for (bool fast : {true, false}) {
      const Decoded a = decode(baseline, fast);
      const Decoded b = decode(progressive, fast);
      ASSERT_TRUE(a.ok());
      ASSERT_TRUE(b.ok()) << sampling << " error " << b.error_code;
      EXPECT_EQ(a.pixels, b.pixels) << sampling << (fast ? " fast" : " integer");
    }
  }
}

TEST(Pictures, NonInterleavedSequentialFilesEqualTheirInterleavedTwins) {
  const std::string script = jpeg_test::work_file("separate_scans.txt");
  {
    std::ofstream out(script);
    out << "0;\n1;\n2;\n";
  }
  const Bytes interleaved = make_with_cjpeg(50, 34, "-quality 90 -sample 2x2");
  ASSERT_FALSE(interleaved.empty()) << jpeg_test::kNeedsJpegTools;
  const Bytes separate = make_with_cjpeg(50, 34, "-quality 90 -sample 2x2 -scans " + script);
  ASSERT_FALSE(separate.empty());
  for (bool fast : {true, false}) {
    const Decoded a = decode(interleaved, fast);
    const Decoded b = decode(separate, fast);
    ASSERT_TRUE(a.ok());
    ASSERT_TRUE(b.ok()) << "error " << b.error_code;
    EXPECT_EQ(a.pixels, b.pixels);
  }
}

// djpeg's decode of the same file as packed RGB or grey, or empty without djpeg.
Bytes djpeg_pixels(const Bytes& jpeg, const std::string& dct) {
  if (std::system("djpeg -version >/dev/null 2>&1") != 0) return {};
  const std::string in = jpeg_test::work_file("ref.jpg");
  const std::string out = jpeg_test::work_file("ref.pnm");
  {
    std::ofstream f(in, std::ios::binary);
    f.write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
  }
  const std::string command = "djpeg -dct " + dct + " -nosmooth -pnm -outfile " + out + " " + in;
  if (std::system(command.c_str()) != 0) return {};
  Bytes pnm = jpeg_test::read_file(out);
  // Skip the three header lines (magic, size, maximum).
  std::size_t pos = 0;
  for (int lines = 0; lines < 3 && pos < pnm.size(); ++pos) {
    if (pnm[pos] == '\n') ++lines;
  }
  return Bytes(pnm.begin() + static_cast<std::ptrdiff_t>(pos), pnm.end());
}

TEST(Pictures, IntegerPathStaysWithinOneOfDjpegInEveryLayout) {
  for (const Picture& p : kPictures) {
    const Bytes jpeg = make_with_cjpeg(p.width, p.height, p.options);
    ASSERT_FALSE(jpeg.empty()) << jpeg_test::kNeedsJpegTools;
    const Bytes reference = djpeg_pixels(jpeg, "int");
    ASSERT_FALSE(reference.empty()) << jpeg_test::kNeedsJpegTools;
    const Decoded ours = decode(jpeg, false);
    ASSERT_TRUE(ours.ok()) << p.name;
    const int channels = ours.bytes_per_pixel == 1 ? 1 : 3;
    ASSERT_EQ(reference.size(), static_cast<std::size_t>(p.width * p.height * channels)) << p.name;
    double total = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(p.width * p.height); ++i) {
      for (int c = 0; c < channels; ++c) {
        const int a = ours.pixels[i * static_cast<std::size_t>(ours.bytes_per_pixel) +
                                  static_cast<std::size_t>(c)];
        const int b =
            reference[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
        total += std::abs(a - b);
      }
    }
    EXPECT_LE(total / (p.width * p.height * channels), 1.0) << p.name;
  }
}

}  // namespace
