// Row delivery: every read_scanline result, the sampling layouts with odd heights, the largest
// sizes, restart intervals and markers, and the release rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "decode_harness.h"
#include "jpeg/error_codes.h"
#include "jpeg/jpeg_decoder.h"

namespace {

using jpeg_test::Bytes;
using jpeg_test::decode;
using jpeg_test::Decoded;
using jpeg_test::EntropyWriter;
using jpeg_test::JpegBuilder;

// A flat 3-component picture: every Y block has DC 8 * ky, Cb 8 * kb and Cr 8 * kr, so every
// sample is 128 + k on both transform paths (quantisation 1 throughout).
Bytes flat_colour(int width, int height, int hy, int vy, int ky, int kb, int kr,
                  int restart_interval = 0, int fill_bytes = 0,
                  const std::array<int, 3>& ids = {1, 2, 3}) {
  const jpeg_test::HuffTable dc = jpeg_test::dc_table();
  const jpeg_test::HuffTable ac = jpeg_test::ac_table();
  JpegBuilder b;
  b.soi().dqt(0, 1).dht(0, 0, dc).dht(1, 0, ac);
  if (restart_interval != 0) b.dri(restart_interval);
  b.sof(0xC0, width, height, {{ids[0], hy, vy, 0}, {ids[1], 1, 1, 0}, {ids[2], 1, 1, 0}});
  b.sos({{ids[0], 0, 0}, {ids[1], 0, 0}, {ids[2], 0, 0}});
  const int mcus = ((width + 8 * hy - 1) / (8 * hy)) * ((height + 8 * vy - 1) / (8 * vy));
  EntropyWriter w;
  int rst = 0;
  for (int m = 0; m < mcus; ++m) {
    const bool fresh = m == 0 || (restart_interval != 0 && m % restart_interval == 0);
    if (m != 0 && fresh) {
      b.raw(w.finish()).raw(Bytes(static_cast<std::size_t>(fill_bytes), 0xFF));
      b.marker(static_cast<std::uint8_t>(0xD0 + rst));
      rst = (rst + 1) & 7;
    }
    for (int k = 0; k < hy * vy; ++k) {
      w.dc(dc, fresh && k == 0 ? 8 * ky : 0);
      w.eob(ac);
    }
    for (int kc : {kb, kr}) {
      w.dc(dc, fresh ? 8 * kc : 0);
      w.eob(ac);
    }
  }
  b.raw(w.finish()).eoi();
  return b.bytes();
}

int clamp255(int v) {
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// The conversion of one pixel: the JFIF equations (ITU-T T.871 clause 7) in 16.16 fixed point.
std::array<int, 3> rgb_of(int y, int cb, int cr) {
  const int red = clamp255(y + ((91882 * (cr - 128) + 32768) >> 16));
  const int green = clamp255(y + ((-22554 * (cb - 128) + 32768 - 46802 * (cr - 128)) >> 16));
  const int blue = clamp255(y + ((116130 * (cb - 128) + 32768) >> 16));
  return {red, green, blue};
}

// Callers may compare with the numbers rather than the names.
static_assert(jpeg::DecodeOk == 0 && jpeg::AllRowsDelivered == 1 && jpeg::NotReady == -1 &&
              jpeg::RowDecodeFailed == -227 && jpeg::JpegInputStream::kReadError == -1);

TEST(ReadScanline, BeforeStartReturnsMinusOne) {
  jpeg_test::TestStream s(jpeg_test::grey_dc_image(8, 8, {0}));
  jpeg::JpegDecoder d(&s, true);
  const std::uint8_t* line = nullptr;
  std::int32_t n = -5;
  EXPECT_EQ(d.read_scanline(line, n), jpeg::NotReady);
  EXPECT_EQ(n, -5);
  EXPECT_EQ(d.error_code, 0);
}

TEST(ReadScanline, AfterTheLastRowReturnsOneAndLeavesItsOutputsAlone) {
  jpeg_test::TestStream s(jpeg_test::grey_dc_image(8, 3, {8}));
  jpeg::JpegDecoder d(&s, false);
  ASSERT_EQ(d.start(), 0);
  EXPECT_EQ(d.start(), 0) << "a second start does nothing";
  const std::uint8_t* line = nullptr;
  std::int32_t n = 0;
  for (int y = 0; y < 3; ++y) {
    ASSERT_EQ(d.read_scanline(line, n), 0);
    EXPECT_EQ(n, 8);
    EXPECT_EQ(line[0], 129);
  }
  const std::uint8_t* untouched = reinterpret_cast<const std::uint8_t*>(&n);
  std::int32_t m = 77;
  line = untouched;
  EXPECT_EQ(d.read_scanline(line, m), jpeg::AllRowsDelivered);
  EXPECT_EQ(line, untouched);
  EXPECT_EQ(m, 77);
  EXPECT_EQ(d.read_scanline(line, m), jpeg::AllRowsDelivered);
  EXPECT_EQ(d.error_code, 0);
  EXPECT_EQ(s.closes, 0);
  d.release();
  EXPECT_EQ(s.closes, 1);
}

TEST(ReadScanline, CorruptDataReturnsMinus227ThenMinusOne) {
  // The second block's AC data runs past position 63: a run of 15 then a coefficient at k = 64.
  const jpeg_test::HuffTable dc = jpeg_test::dc_table();
  const jpeg_test::HuffTable ac = jpeg_test::ac_table();
  JpegBuilder b = jpeg_test::grey_preamble(8, 16);
  EntropyWriter w;
  w.dc(dc, 0);
  w.eob(ac);
  w.dc(dc, 0);
  for (int i = 0; i < 3; ++i) w.zrl(ac);
  w.ac(ac, 15, 1);
  b.raw(w.finish()).eoi();
  jpeg_test::TestStream s(b.bytes());
  jpeg::JpegDecoder d(&s, true);
  ASSERT_EQ(d.start(), 0);
  const std::uint8_t* line = nullptr;
  std::int32_t n = 0;
  for (int y = 0; y < 8; ++y) ASSERT_EQ(d.read_scanline(line, n), 0);
  EXPECT_EQ(d.read_scanline(line, n), jpeg::RowDecodeFailed);
  EXPECT_EQ(d.error_code, jpeg::CorruptData);
  EXPECT_EQ(s.closes, 1);
  EXPECT_EQ(d.read_scanline(line, n), jpeg::NotReady);
  EXPECT_EQ(d.start(), jpeg::NotReady);
  d.release();
  EXPECT_EQ(s.closes, 1);
}

TEST(ReadScanline, ReportsTheSpecificCodeOfAFailureInsideARow) {
  Bytes b = flat_colour(32, 8, 1, 1, 1, 2, 3, 1);
  // Restart markers out of order: the second one (FF D1) becomes FF D2.
  for (std::size_t i = 0; i + 1 < b.size(); ++i) {
    if (b[i] == 0xFF && b[i + 1] == 0xD1) b[i + 1] = 0xD2;
  }
  const Decoded r = decode(b);
  EXPECT_EQ(r.row_result, jpeg::RowDecodeFailed);
  EXPECT_EQ(r.error_code, jpeg::RestartMarkerMissing);
  EXPECT_EQ(r.closes, 1);
}

TEST(Layouts, FlatPicturesConvertExactlyInEveryLayout) {
  struct Case {
    int hy, vy, width, height;
  };
  for (const Case c :
       {Case{1, 1, 24, 8}, Case{2, 1, 32, 8}, Case{1, 2, 16, 16}, Case{2, 2, 32, 32}}) {
    for (bool fast : {true, false}) {
      const Decoded r = decode(flat_colour(c.width, c.height, c.hy, c.vy, 10, -20, 30), fast);
      ASSERT_TRUE(r.ok()) << c.hy << "x" << c.vy;
      ASSERT_EQ(r.bytes_per_pixel, 4);
      const auto want = rgb_of(138, 108, 158);
      for (std::size_t p = 0; p < r.pixels.size(); p += 4) {
        ASSERT_EQ(r.pixels[p], want[0]) << p;
        ASSERT_EQ(r.pixels[p + 1], want[1]) << p;
        ASSERT_EQ(r.pixels[p + 2], want[2]) << p;
        ASSERT_EQ(r.pixels[p + 3], 0) << "the fourth byte stays zero";
      }
    }
  }
}

TEST(Layouts, AdobeTransformThenJfifThenComponentIdsDecideWhetherSamplesAreRgb) {
  const Bytes numbered = flat_colour(16, 8, 1, 1, 10, -20, 30);
  const Bytes rgb_ids = flat_colour(16, 8, 1, 1, 10, -20, 30, 0, 0, {'R', 'G', 'B'});
  auto after_soi = [](Bytes b, std::initializer_list<Bytes> segments) {
    for (const Bytes& s : segments) b.insert(b.begin() + 2, s.begin(), s.end());
    return b;
  };
  auto segment = [](std::uint8_t code, const Bytes& payload) {
    JpegBuilder b;
    b.segment(code, payload);
    return b.bytes();
  };
  const Bytes jfif = segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1, 0, 0});
  const Bytes cut_jfif = segment(0xE0, {'J', 'F', 'I', 'F', 0});  // too short to count
  auto adobe = [&](std::uint8_t transform) {
    return segment(0xEE, {'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, transform});
  };
  struct Case {
    const char* name;
    Bytes jpeg;
    bool rgb;
  };
  const Case cases[] = {
      {"ids R G B", rgb_ids, true},
      {"ids R G B and JFIF", after_soi(rgb_ids, {jfif}), false},
      {"ids R G B and a cut JFIF segment", after_soi(rgb_ids, {cut_jfif}), true},
      {"ids R G B and Adobe transform 1", after_soi(rgb_ids, {adobe(1)}), false},
      {"ids 1 2 3", numbered, false},
      {"ids 1 2 3, JFIF and Adobe transform 0", after_soi(numbered, {jfif, adobe(0)}), true},
  };
  const std::array<int, 3> ycc = rgb_of(138, 108, 158);
  for (const Case& c : cases) {
    for (bool fast : {true, false}) {
      const Decoded r = decode(c.jpeg, fast);
      ASSERT_TRUE(r.ok()) << c.name;
      const std::array<int, 3> want = c.rgb ? std::array<int, 3>{138, 108, 158} : ycc;
      EXPECT_EQ((std::array<int, 3>{r.pixels[0], r.pixels[1], r.pixels[2]}), want)
          << c.name << (fast ? ", fast" : ", plain");
    }
  }
}

TEST(Layouts, TwoRowLayoutsAlternateTheLineBuffersAndAllowOddHeights) {
  for (int vy : {2}) {
    for (int hy : {1, 2}) {
      const int height = 13;
      jpeg_test::TestStream s(flat_colour(8 * hy, height, hy, vy, 1, 2, 3));
      jpeg::JpegDecoder d(&s, true);
      ASSERT_EQ(d.start(), 0);
      EXPECT_EQ(d.bytes_per_pixel, 4);
      std::vector<const std::uint8_t*> lines;
      for (int y = 0; y < height; ++y) {
        const std::uint8_t* line = nullptr;
        std::int32_t n = 0;
        ASSERT_EQ(d.read_scanline(line, n), 0);
        EXPECT_EQ(n, 8 * hy * 4);
        lines.push_back(line);
      }
      for (std::size_t y = 2; y < lines.size(); ++y) EXPECT_EQ(lines[y], lines[y - 2]);
      EXPECT_NE(lines[0], lines[1]);
      const std::uint8_t* line = nullptr;
      std::int32_t n = 0;
      EXPECT_EQ(d.read_scanline(line, n), jpeg::AllRowsDelivered);
    }
  }
}

TEST(Layouts, ComponentCountsAndSamplingOutsideTheLayoutsAreRefusedByStart) {
  auto picture = [](const std::vector<jpeg_test::ComponentSpec>& comps) {
    JpegBuilder b;
    b.soi().dqt(0, 1).dht(0, 0, jpeg_test::dc_table()).dht(1, 0, jpeg_test::ac_table());
    b.sof(0xC0, 16, 16, comps).sos({{1, 0, 0}}).raw({0x00}).eoi();
    return decode(b.bytes());
  };
  Decoded four = picture({{1, 1, 1, 0}, {2, 1, 1, 0}, {3, 1, 1, 0}, {4, 1, 1, 0}});
  EXPECT_EQ(four.constructor_error, 0);
  EXPECT_EQ(four.start_result, jpeg::NotReady);
  EXPECT_EQ(four.error_code, jpeg::ComponentCount);
  EXPECT_EQ(picture({{1, 1, 1, 0}, {2, 1, 1, 0}}).error_code, jpeg::ComponentCount);
  EXPECT_EQ(picture({{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 1, 1, 0}}).error_code,
            jpeg::SamplingUnsupported);
  EXPECT_EQ(picture({{1, 4, 4, 0}, {2, 1, 1, 0}, {3, 1, 1, 0}}).error_code,
            jpeg::SamplingUnsupported);
}

TEST(Layouts, OneComponentWithFactorsTwoByTwoUsesTheGreyLayout) {
  JpegBuilder b;
  b.soi().dqt(0, 1).dht(0, 0, jpeg_test::dc_table()).dht(1, 0, jpeg_test::ac_table());
  b.sof(0xC0, 16, 8, {{1, 2, 2, 0}}).sos({{1, 0, 0}});
  EntropyWriter w;
  w.dc(jpeg_test::dc_table(), 16);
  w.eob(jpeg_test::ac_table());
  w.dc(jpeg_test::dc_table(), 8);
  w.eob(jpeg_test::ac_table());
  b.raw(w.finish()).eoi();
  const Decoded r = decode(b.bytes());
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.bytes_per_pixel, 1);
  EXPECT_EQ(r.pixels[0], 130);
  EXPECT_EQ(r.pixels[8], 131);
}

TEST(Sizes, Width8192InTheTwoByTwoLayoutDecodes) {
  const Decoded r = decode(flat_colour(8192, 16, 2, 2, 0, 0, 0));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.width, 8192);
  EXPECT_EQ(r.pixels.size(), 8192u * 16u * 4u);
  EXPECT_EQ(r.pixels[4 * 8191], 128);
}

TEST(Sizes, Height8192Decodes) {
  const Decoded r = decode(jpeg_test::grey_dc_image(8, 8192, std::vector<int>(1024, 0)));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.pixels.size(), 8u * 8192u);
}

TEST(Sizes, OnePixelPictureDecodes) {
  const Decoded r = decode(flat_colour(1, 1, 2, 2, 3, 0, 0));
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.pixels.size(), 4u);
  EXPECT_EQ(r.pixels[0], 131);
}

TEST(Restart, IntervalsOneAndOddGiveTheSamePictureAsNone) {
  const Decoded plain = decode(flat_colour(40, 24, 1, 1, 5, -3, 7));
  ASSERT_TRUE(plain.ok());
  for (int interval : {1, 3, 7}) {
    for (bool fast : {true, false}) {
      // Fill bytes (FF) in front of a marker are allowed and skipped.
      for (int fill : {0, 3}) {
        const Decoded r = decode(flat_colour(40, 24, 1, 1, 5, -3, 7, interval, fill), fast);
        ASSERT_TRUE(r.ok()) << interval << " " << fill;
        EXPECT_EQ(r.pixels, plain.pixels) << interval << " " << fill;
      }
    }
  }
}

TEST(Restart, JunkBeforeAMarkerIsSkippedPastStuffedAndFillBytesOnBothPaths) {
  // Flat pictures come out exactly on both paths, so one picture is expected of both.
  const Bytes clean = flat_colour(40, 8, 1, 1, 5, -3, 7, 2);
  const Decoded want = decode(clean);
  ASSERT_TRUE(want.ok());
  const Bytes rst0 = {0xFF, 0xD0};
  const auto at = std::search(clean.begin(), clean.end(), rst0.begin(), rst0.end()) - clean.begin();
  // Junk with a stuffed FF 00 and fill bytes in front of a stuffed byte; shortened from the
  // front, so that the readers have taken different amounts of it when the interval ends.
  const Bytes junk = {0x12, 0x34, 0x56, 0x78, 0x12, 0x34, 0x56, 0x78, 0x12, 0x34,
                      0x56, 0x78, 0xFF, 0x00, 0x34, 0xFF, 0xFF, 0x00, 0x9A};
  for (std::size_t skip = 0; skip < junk.size(); ++skip) {
    Bytes b = clean;
    b.insert(b.begin() + at, junk.begin() + static_cast<std::ptrdiff_t>(skip), junk.end());
    for (bool fast : {true, false}) {
      const Decoded r = decode(b, fast);
      ASSERT_TRUE(r.ok()) << "skip " << skip << (fast ? " fast" : " plain") << ": "
                          << jpeg::error_name(r.error_code);
      EXPECT_EQ(r.pixels, want.pixels) << skip;
    }
  }
  // Any other marker met on the way still ends the picture.
  Bytes other = clean;
  other.insert(other.begin() + at, {0x12, 0xFF, 0x00, 0xFF, 0xD5});
  for (bool fast : {true, false}) {
    EXPECT_EQ(decode(other, fast).error_code, jpeg::RestartMarkerMissing) << fast;
  }
}

TEST(Restart, IntervalZeroTurnsRestartsOff) {
  Bytes b = flat_colour(16, 8, 1, 1, 1, 1, 1);
  JpegBuilder dri;
  dri.dri(0);
  b.insert(b.begin() + 2, dri.bytes().begin(), dri.bytes().end());
  EXPECT_TRUE(decode(b).ok());
}

TEST(Restart, MissingMarkerFailsAtTheNextMarker) {
  // An interval of 1 announced but no markers written.
  Bytes b = flat_colour(32, 8, 1, 1, 1, 1, 1);
  JpegBuilder dri;
  dri.dri(1);
  b.insert(b.begin() + 2, dri.bytes().begin(), dri.bytes().end());
  const Decoded r = decode(b);
  EXPECT_EQ(r.row_result, jpeg::RowDecodeFailed);
  EXPECT_EQ(r.error_code, jpeg::RestartMarkerMissing);
}

TEST(Start, FileCutAfterTheFrameHeaderFindsEndOfImage) {
  JpegBuilder b;
  b.soi().dqt(0, 1).sof(0xC0, 8, 8, {{1, 1, 1, 0}});
  const Decoded r = decode(b.bytes());
  EXPECT_EQ(r.constructor_error, 0);
  EXPECT_EQ(r.start_result, jpeg::NotReady);
  EXPECT_EQ(r.error_code, jpeg::UnexpectedMarker);
  EXPECT_EQ(r.closes, 1);
}

TEST(Start, ScanHeaderErrorsHaveTheirCodes) {
  auto with_scan = [](const Bytes& sos_payload, bool tables = true) {
    JpegBuilder b;
    b.soi().dqt(0, 1);
    if (tables) b.dht(0, 0, jpeg_test::dc_table()).dht(1, 0, jpeg_test::ac_table());
    b.sof(0xC0, 8, 8, {{1, 1, 1, 0}}).segment(0xDA, sos_payload).raw({0x00}).eoi();
    return decode(b.bytes()).error_code;
  };
  EXPECT_EQ(with_scan({1, 1, 0x00, 0, 63}), jpeg::ScanHeaderLength);
  EXPECT_EQ(with_scan({0, 0, 63, 0}), jpeg::ScanHeaderLength);
  EXPECT_EQ(with_scan({1, 9, 0x00, 0, 63, 0}), jpeg::ScanComponentUnknown);
  EXPECT_EQ(with_scan({1, 1, 0x00, 0, 63, 0}, false), jpeg::HuffmanTableMissing);
  EXPECT_EQ(with_scan({1, 1, 0x40, 0, 63, 0}), jpeg::TableSelectorInvalid);
  EXPECT_EQ(with_scan({1, 1, 0x04, 0, 63, 0}), jpeg::TableSelectorInvalid);
  EXPECT_EQ(with_scan({2, 1, 0x00, 1, 0x00, 0, 63, 0}), jpeg::ScanComponentsInvalid);
  JpegBuilder no_quant;
  no_quant.soi().dht(0, 0, jpeg_test::dc_table()).dht(1, 0, jpeg_test::ac_table());
  no_quant.sof(0xC0, 8, 8, {{1, 1, 1, 2}}).sos({{1, 0, 0}}).raw({0x00}).eoi();
  EXPECT_EQ(decode(no_quant.bytes()).error_code, jpeg::QuantTableMissing);
}

TEST(Release, IsSafeInEveryStateAndClosesOnce) {
  jpeg_test::TestStream s(jpeg_test::grey_dc_image(8, 8, {0}));
  {
    jpeg::JpegDecoder d(&s, true);
    ASSERT_EQ(d.start(), 0);
    d.release();
    EXPECT_EQ(s.closes, 1);
    const std::uint8_t* line = nullptr;
    std::int32_t n = 0;
    EXPECT_EQ(d.read_scanline(line, n), jpeg::NotReady);
    EXPECT_EQ(d.start(), jpeg::NotReady);
  }
  EXPECT_EQ(s.closes, 1) << "the destructor does not close a released stream again";
  jpeg_test::TestStream t(jpeg_test::grey_dc_image(8, 8, {0}));
  { jpeg::JpegDecoder forgotten(&t, true); }
  EXPECT_EQ(t.closes, 1) << "the destructor releases a decoder its owner forgot to release";
}

}  // namespace
