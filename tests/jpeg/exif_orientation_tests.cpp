// The EXIF orientation: the value jpegexiforient writes is the value read, in both TIFF byte
// orders; each value's mapping turns ImageMagick's stored picture into its -auto-orient one;
// anything malformed reads as 1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "decode_harness.h"
#include "jpeg/exif_orientation.h"

namespace {

using jpeg_test::Bytes;
using jpeg_test::work_file;

constexpr char kNeedsTools[] =
    "convert, cjpeg or jpegexiforient failed or is missing: install the Debian packages "
    "imagemagick and libjpeg-turbo-progs";

void put16(Bytes& b, int v, bool big_endian) {
  const auto high = static_cast<std::uint8_t>(v >> 8);
  const auto low = static_cast<std::uint8_t>(v);
  b.push_back(big_endian ? high : low);
  b.push_back(big_endian ? low : high);
}

void put32(Bytes& b, std::uint32_t v, bool big_endian) {
  put16(b, static_cast<int>(big_endian ? v >> 16 : v & 0xFFFF), big_endian);
  put16(b, static_cast<int>(big_endian ? v & 0xFFFF : v >> 16), big_endian);
}

// An APP1 payload: "Exif\0\0", a TIFF header and an IFD0 of a Make entry and the orientation.
Bytes exif_payload(bool big_endian, int orientation, int type = 3, std::uint32_t count = 1) {
  Bytes b = {'E', 'x', 'i', 'f', 0, 0};
  b.push_back(big_endian ? 'M' : 'I');
  b.push_back(big_endian ? 'M' : 'I');
  put16(b, 42, big_endian);
  put32(b, 8, big_endian);
  put16(b, 2, big_endian);
  put16(b, 0x010F, big_endian);  // Make, ASCII "Cam" in the value field
  put16(b, 2, big_endian);
  put32(b, 4, big_endian);
  for (const char c : {'C', 'a', 'm', '\0'}) b.push_back(static_cast<std::uint8_t>(c));
  put16(b, 0x0112, big_endian);
  put16(b, type, big_endian);
  put32(b, count, big_endian);
  put16(b, orientation, big_endian);
  put16(b, 0, big_endian);
  put32(b, 0, big_endian);  // no IFD1
  return b;
}

std::int32_t read_orientation(const Bytes& payload) {
  return jpeg::exif_orientation(payload.data(), static_cast<std::int32_t>(payload.size()));
}

// A small photo with an Exif segment after SOI holding orientation 1.
Bytes photo_with_exif(bool big_endian) {
  const std::string ppm = work_file("photo.ppm");
  const std::string jpg = work_file("photo.jpg");
  const std::string make = "convert rose: -resize 37x23! " + ppm + " && cjpeg -quality 95 " +
                           "-sample 1x1 -outfile " + jpg + " " + ppm;
  if (std::system(make.c_str()) != 0) return {};
  Bytes jpeg = jpeg_test::read_file(jpg);
  const Bytes payload = exif_payload(big_endian, 1);
  Bytes segment = {0xFF, 0xE1};
  put16(segment, static_cast<int>(payload.size() + 2), true);
  segment.insert(segment.end(), payload.begin(), payload.end());
  jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
  return jpeg;
}

std::string command_output(const std::string& command) {
  const std::string out = work_file("out.txt");
  if (std::system((command + " > " + out).c_str()) != 0) return {};
  const Bytes text = jpeg_test::read_file(out);
  return std::string(text.begin(), text.end());
}

struct Pnm {
  int width = 0;
  int height = 0;
  Bytes rgb;
};

Pnm read_ppm(const std::string& path) {
  Pnm p;
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maximum = 0;
  in >> magic >> p.width >> p.height >> maximum;
  in.get();
  p.rgb.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 3);
  in.read(reinterpret_cast<char*>(p.rgb.data()), static_cast<std::streamsize>(p.rgb.size()));
  return p;
}

TEST(ExifOrientation, ReadsWhatJpegexiforientWroteAndMapsPixelsAsImageMagickTurnsThem) {
  for (bool big_endian : {false, true}) {
    Bytes jpeg = photo_with_exif(big_endian);
    ASSERT_FALSE(jpeg.empty()) << kNeedsTools;
    const std::string path = work_file("oriented.jpg");
    for (int orientation = 1; orientation <= 8; ++orientation) {
      {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(jpeg.data()),
                  static_cast<std::streamsize>(jpeg.size()));
      }
      const std::string set =
          "jpegexiforient -" + std::to_string(orientation) + " " + path + " >/dev/null";
      ASSERT_EQ(std::system(set.c_str()), 0) << kNeedsTools;
      ASSERT_EQ(command_output("jpegexiforient " + path), std::to_string(orientation) + "\n");
      const Bytes tagged = jpeg_test::read_file(path);
      jpeg_test::TestStream stream(tagged);
      jpeg::JpegDecoder decoder(&stream, true);
      EXPECT_EQ(decoder.orientation, orientation) << (big_endian ? "MM " : "II ") << orientation;

      const std::string stored = work_file("stored.ppm");
      const std::string upright = work_file("upright.ppm");
      ASSERT_EQ(std::system(("convert " + path + " " + stored + " && convert " + path +
                             " -auto-orient " + upright)
                                .c_str()),
                0)
          << kNeedsTools;
      const Pnm s = read_ppm(stored);
      const Pnm u = read_ppm(upright);
      const bool swaps = jpeg::orientation_swaps_axes(orientation);
      ASSERT_EQ(u.width, swaps ? s.height : s.width) << orientation;
      ASSERT_EQ(u.height, swaps ? s.width : s.height) << orientation;
      int wrong = 0;
      for (int y = 0; y < u.height; ++y) {
        for (int x = 0; x < u.width; ++x) {
          const jpeg::StoredPoint p = jpeg::stored_point(orientation, x, y, s.width, s.height);
          for (int c = 0; c < 3; ++c) {
            const auto at = static_cast<std::size_t>((y * u.width + x) * 3 + c);
            const auto from = static_cast<std::size_t>((p.y * s.width + p.x) * 3 + c);
            wrong += u.rgb[at] != s.rgb[from] ? 1 : 0;
          }
        }
      }
      EXPECT_EQ(wrong, 0) << "orientation " << orientation;
    }
  }
}

TEST(ExifOrientation, AnythingMissingMalformedOrOutOfRangeReadsAsOne) {
  for (bool big_endian : {false, true}) {
    EXPECT_EQ(read_orientation(exif_payload(big_endian, 6)), 6);
    EXPECT_EQ(read_orientation(exif_payload(big_endian, 0)), 1);
    EXPECT_EQ(read_orientation(exif_payload(big_endian, 9)), 1);
    EXPECT_EQ(read_orientation(exif_payload(big_endian, 6, 4)), 1);     // LONG, not SHORT
    EXPECT_EQ(read_orientation(exif_payload(big_endian, 6, 3, 2)), 1);  // two values
    Bytes absurd = exif_payload(big_endian, 6);
    absurd[14] = absurd[15] = 0xFF;  // 65535 entries in a 44-byte payload
    EXPECT_EQ(read_orientation(absurd), 1);
    Bytes far = exif_payload(big_endian, 6);
    far[10 + (big_endian ? 0 : 3)] = 0xF0;  // IFD0 beyond the payload
    EXPECT_EQ(read_orientation(far), 1);
    Bytes order = exif_payload(big_endian, 6);
    order[7] = big_endian ? 'I' : 'M';
    EXPECT_EQ(read_orientation(order), 1);
    // Cut anywhere before the value, it reads as 1; from the value on, the tag is whole.
    const Bytes whole = exif_payload(big_endian, 8);
    for (std::size_t size = 0; size < whole.size(); ++size) {
      const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_EQ(read_orientation(cut), size >= 40 ? 8 : 1) << size;
    }
  }
  EXPECT_EQ(jpeg::exif_orientation(nullptr, 0), 1);
  EXPECT_EQ(read_orientation(Bytes{'J', 'F', 'I', 'F', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0}), 1);
}

}  // namespace
