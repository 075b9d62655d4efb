// Progressive scans (T.81 G.1.2): DC and AC bands, successive approximation, EOB runs with
// restarts, the band checks, and the whole-image store against sequential equivalents.
#include <gtest/gtest.h>

#include "decode_harness.h"
#include "jpeg/decoder_steps.h"
#include "jpeg/error_codes.h"

namespace {

using jpeg_test::Bytes;
using jpeg_test::decode;
using jpeg_test::Decoded;
using jpeg_test::EntropyWriter;
using jpeg_test::JpegBuilder;
using jpeg_test::Stages;

constexpr std::size_t kNatural[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

const jpeg_test::HuffTable& dc() {
  static const jpeg_test::HuffTable t = jpeg_test::dc_table();
  return t;
}
const jpeg_test::HuffTable& ac() {
  static const jpeg_test::HuffTable t = jpeg_test::ac_table();
  return t;
}

// A progressive grey picture of `blocks` blocks in one row, with its tables, before any scan.
JpegBuilder progressive_grey(int blocks, int restart_interval = 0) {
  JpegBuilder b;
  b.soi().dqt(0, 1).dht(0, 0, dc()).dht(1, 0, ac());
  if (restart_interval != 0) b.dri(restart_interval);
  b.sof(0xC2, 8 * blocks, 8, {{1, 1, 1, 0}});
  return b;
}

void dc_first_scan(JpegBuilder& b, const std::vector<int>& diffs, int al = 0) {
  b.sos({{1, 0, 0}}, 0, 0, 0, al);
  EntropyWriter w;
  for (int diff : diffs) w.dc(dc(), diff);
  b.raw(w.finish());
}

// The coefficients (natural order, unquantised) of every block, through the fast path.
std::vector<std::vector<int>> coefficients(const Bytes& jpeg, std::int32_t* error = nullptr) {
  Stages s(jpeg, true);
  std::int32_t e = s.open_and_start();
  std::vector<std::vector<int>> blocks;
  if (e == 0) e = s.next_row();
  if (error != nullptr) *error = e;
  if (e != 0) return blocks;
  for (int i = 0; i < s.d->blocks_per_row; ++i) {
    blocks.emplace_back(s.block(i), s.block(i) + 64);
  }
  return blocks;
}

TEST(Progressive, DcOnlyPictureEqualsItsSequentialTwin) {
  JpegBuilder b = progressive_grey(3);
  dc_first_scan(b, {80, -240, 16});
  b.eoi();
  const Decoded p = decode(b.bytes());
  const Decoded s = decode(jpeg_test::grey_dc_image(24, 8, {80, -240, 16}));
  ASSERT_TRUE(p.ok());
  ASSERT_TRUE(s.ok());
  EXPECT_EQ(p.pixels, s.pixels);
  EXPECT_EQ(p.pixels[0], 138);
  EXPECT_EQ(p.pixels[8], 108);
}

TEST(Progressive, DcRefinementSetsTheLowBit) {
  JpegBuilder b = progressive_grey(2);
  dc_first_scan(b, {40, -12}, 1);
  b.sos({{1, 0, 0}}, 0, 0, 1, 0);
  EntropyWriter w;
  w.bits(0b11, 2);
  b.raw(w.finish()).eoi();
  const auto blocks = coefficients(b.bytes());
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0][0], (40 << 1) | 1);
  EXPECT_EQ(blocks[1][0], (28 << 1) | 1);
}

TEST(Progressive, EobRunLeavesBlocksUntouchedAndARestartEndsIt) {
  JpegBuilder b = progressive_grey(4);
  dc_first_scan(b, {0, 0, 0, 0});
  b.sos({{1, 0, 0}}, 1, 63, 0, 0);
  EntropyWriter w;
  w.ac(ac(), 0, 3);
  w.symbol(ac(), 0x10);  // EOB run of 2 + 1 = 3: this block and the next two
  w.bits(1, 1);
  w.ac(ac(), 2, -2);
  w.symbol(ac(), 0x00);
  b.raw(w.finish()).eoi();
  const auto blocks = coefficients(b.bytes());
  ASSERT_EQ(blocks.size(), 4u);
  EXPECT_EQ(blocks[0][1], 3);
  for (std::size_t i = 1; i < 3; ++i) {
    for (std::size_t n = 0; n < 64; ++n) EXPECT_EQ(blocks[i][n], 0) << i << " " << n;
  }
  EXPECT_EQ(blocks[3][kNatural[3]], -2);

  // Restart interval 1: a marker between the two blocks of every scan.
  JpegBuilder r = progressive_grey(2, 1);
  r.sos({{1, 0, 0}}, 0, 0, 0, 0);
  EntropyWriter d;
  d.dc(dc(), 0);
  r.raw(d.finish()).marker(0xD0);
  d.dc(dc(), 0);
  r.raw(d.finish());
  r.sos({{1, 0, 0}}, 1, 63, 0, 0);
  EntropyWriter a;
  a.symbol(ac(), 0x20);  // a run of 4 + 0: would cover the next block without the restart
  a.bits(0, 2);
  r.raw(a.finish()).marker(0xD0);
  a.ac(ac(), 0, 5);
  a.symbol(ac(), 0x00);
  r.raw(a.finish()).eoi();
  const auto restarted = coefficients(r.bytes());
  ASSERT_EQ(restarted.size(), 2u);
  EXPECT_EQ(restarted[1][1], 5);
}

TEST(Progressive, RefinementMeetingAnEobRunRefinesOnlyNonZeroCoefficients) {
  JpegBuilder b = progressive_grey(1);
  dc_first_scan(b, {0});
  b.sos({{1, 0, 0}}, 1, 5, 0, 1);
  EntropyWriter w;
  w.ac(ac(), 0, 1);   // k = 1: 1 << 1
  w.ac(ac(), 1, -1);  // k = 3: -1 << 1
  w.symbol(ac(), 0x00);
  b.raw(w.finish());
  b.sos({{1, 0, 0}}, 1, 5, 1, 0);
  w.symbol(ac(), 0x00);  // EOB run of 1: corrections only
  w.bits(0b11, 2);       // one bit per non-zero coefficient in 1..5
  b.raw(w.finish()).eoi();
  const auto blocks = coefficients(b.bytes());
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0][kNatural[1]], 3);
  EXPECT_EQ(blocks[0][kNatural[3]], -3);
  for (std::size_t k : {2u, 4u, 5u}) EXPECT_EQ(blocks[0][kNatural[k]], 0) << k;
}

TEST(Progressive, RefinementPlacesNewCoefficientsAfterItsZeroRun) {
  JpegBuilder b = progressive_grey(1);
  dc_first_scan(b, {0});
  b.sos({{1, 0, 0}}, 1, 63, 0, 1);
  EntropyWriter w;
  w.ac(ac(), 1, 1);  // k = 2 holds 2
  w.symbol(ac(), 0x00);
  b.raw(w.finish());
  b.sos({{1, 0, 0}}, 1, 63, 1, 0);
  w.symbol(ac(), 0x21);  // run 2, size 1: skip two zero coefficients
  w.bits(0, 1);          // the new coefficient is -1
  w.bits(1, 1);          // correction for k = 2 on the way
  w.symbol(ac(), 0x00);
  b.raw(w.finish()).eoi();
  const auto blocks = coefficients(b.bytes());
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0][kNatural[1]], 0);
  EXPECT_EQ(blocks[0][kNatural[2]], 3);
  EXPECT_EQ(blocks[0][kNatural[3]], 0);
  EXPECT_EQ(blocks[0][kNatural[4]], -1);
}

TEST(Progressive, BandChecksHaveTheirCodes) {
  auto scan_error = [](int ns, int ss, int se, int ah, int al) {
    JpegBuilder b;
    b.soi().dqt(0, 1).dht(0, 0, dc()).dht(1, 0, ac());
    b.sof(0xC2, 8, 8, {{1, 1, 1, 0}, {2, 1, 1, 0}, {3, 1, 1, 0}});
    std::vector<jpeg_test::ScanComponent> comps{{1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
    comps.resize(static_cast<std::size_t>(ns));
    b.sos(comps, ss, se, ah, al).raw({0x00, 0x00}).eoi();
    return decode(b.bytes()).error_code;
  };
  EXPECT_EQ(scan_error(2, 1, 63, 0, 0), jpeg::ProgressiveScanRange) << "interleaved AC";
  EXPECT_EQ(scan_error(1, 0, 5, 0, 0), jpeg::ProgressiveScanRange) << "DC band with Se 5";
  EXPECT_EQ(scan_error(1, 5, 4, 0, 0), jpeg::ProgressiveScanRange);
  EXPECT_EQ(scan_error(1, 1, 64, 0, 0), jpeg::ProgressiveScanRange);
  EXPECT_EQ(scan_error(1, 1, 63, 2, 0), jpeg::SuccessiveApproximation);
  EXPECT_EQ(scan_error(1, 0, 0, 0, 14), jpeg::ProgressiveScanRange);
  EXPECT_EQ(scan_error(3, 0, 0, 0, 13), 0);
}

TEST(Progressive, RefinementSymbolOfSizeTwoIsCorrupt) {
  JpegBuilder b = progressive_grey(1);
  dc_first_scan(b, {0});
  b.sos({{1, 0, 0}}, 1, 63, 1, 0);
  EntropyWriter w;
  w.ac(ac(), 0, 2);
  b.raw(w.finish()).eoi();
  const Decoded r = decode(b.bytes());
  EXPECT_EQ(r.start_result, jpeg::NotReady);
  EXPECT_EQ(r.error_code, jpeg::CorruptData);
  EXPECT_EQ(r.closes, 1);
}

TEST(Progressive, MarkersBetweenScansOtherThanSosAreRefusedAndTablesMayChange) {
  JpegBuilder b = progressive_grey(1);
  dc_first_scan(b, {8});
  b.segment(0xE5, {1, 2, 3}).dqt(0, 2).dht(1, 0, ac());
  b.sos({{1, 0, 0}}, 1, 63, 0, 0);
  EntropyWriter w;
  w.symbol(ac(), 0x00);
  b.raw(w.finish()).eoi();
  const Decoded ok = decode(b.bytes());
  ASSERT_TRUE(ok.ok());
  EXPECT_EQ(ok.pixels[0], 130) << "the table redefined between scans applies to the output";

  JpegBuilder bad = progressive_grey(1);
  dc_first_scan(bad, {8});
  bad.sof(0xC2, 8, 8, {{1, 1, 1, 0}});
  EXPECT_EQ(decode(bad.bytes()).error_code, jpeg::UnexpectedMarker);
}

TEST(Progressive, FileEndingBeforeEoiShowsWhatTheScansGave) {
  JpegBuilder b = progressive_grey(2);
  dc_first_scan(b, {16, 8});
  const Decoded r = decode(b.bytes());
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.pixels[0], 130);
  EXPECT_EQ(r.pixels[8], 131);
}

TEST(Progressive, StoreTakes130BytesPerBlockAndRowsAllocateNothing) {
  // A 640x480 h2v2 progressive picture with a DC scan only: 4800 + 2 x 1200 blocks.
  JpegBuilder b;
  b.soi().dqt(0, 1).dht(0, 0, dc()).dht(1, 0, ac());
  b.sof(0xC2, 640, 480, {{1, 2, 2, 0}, {2, 1, 1, 0}, {3, 1, 1, 0}});
  b.sos({{1, 0, 0}, {2, 0, 0}, {3, 0, 0}}, 0, 0, 0, 0);
  EntropyWriter w;
  for (int m = 0; m < 40 * 30; ++m) {
    for (int k = 0; k < 6; ++k) w.dc(dc(), 0);
  }
  b.raw(w.finish()).eoi();
  Stages s(b.bytes(), true);
  const std::uint64_t before_start = [&] {
    Stages header_only(b.bytes(), true);
    EXPECT_EQ(header_only.run([&] { jpeg::detail::construct(*header_only.d); }), 0);
    return header_only.d->allocated_bytes;
  }();
  ASSERT_EQ(s.open_and_start(), 0);
  const jpeg::detail::DecoderState& d = *s.d;
  const std::size_t rows = 2 * (static_cast<std::size_t>(d.line_size) + 8) +
                           static_cast<std::size_t>(d.blocks_per_row) * (128 + 64 + 1);
  const std::size_t lookups = 2 * sizeof(jpeg::detail::HuffmanLookup);
  const std::uint64_t store = d.allocated_bytes - before_start - rows - lookups;
  EXPECT_EQ(store, 130u * (4800u + 1200u + 1200u));
  const std::uint64_t after_start = d.allocated_bytes;
  for (int r = 0; r < d.mcu_rows; ++r) ASSERT_EQ(s.next_row(), 0);
  EXPECT_EQ(d.allocated_bytes, after_start);
}

}  // namespace

TEST(Progressive, ThousandsOfScansOverALargeFrameEndWithinAWorkBudget) {
  // 8192x8192 grey, 2^20 blocks. Every code of this AC table, the 1-bits read past the data
  // included, is an EOB run of up to 32767 blocks, so each data-less scan walks every block.
  const jpeg_test::HuffTable runs = jpeg_test::HuffTable::uniform({0x00, 0xE0}, 1);
  JpegBuilder b;
  b.soi().dqt(0, 1).dht(1, 0, runs).sof(0xC2, 8192, 8192, {{1, 1, 1, 0}});
  constexpr int kScans = 5000;
  for (int i = 0; i < kScans; ++i) b.sos({{1, 0, 0}}, 1, 63, 0, 0);
  b.eoi();
  ASSERT_LT(b.bytes().size(), 64u * 1024u);
  Stages s(b.bytes(), true);
  EXPECT_EQ(s.open_and_start(), jpeg::TooManyScans);
  constexpr std::int64_t kBlocks = 1 << 20;
  EXPECT_EQ(s.d->blocks_visited, (jpeg::detail::kMaxScanPasses + 1) * kBlocks)
      << "refused at the first scan past the budget, before walking it";
}
