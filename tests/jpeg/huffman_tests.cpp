// Huffman decoding of sequential scans at the level of coefficients: lookup construction, runs
// at the end of a block, high-water counts, the DC predictor, stuffing, and the agreement of
// the plain and fast readers.
#include <gtest/gtest.h>

#include <algorithm>

#include "decode_harness.h"
#include "jpeg/error_codes.h"
#include "jpeg/huffman.h"

namespace {

using jpeg_test::Bytes;
using jpeg_test::EntropyWriter;
using jpeg_test::JpegBuilder;
using jpeg_test::Stages;

// Natural index of each zigzag position (T.81 Figure A.6), written out independently.
constexpr int kNatural[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                              12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                              35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                              58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// A grey picture 8 pixels wide whose blocks (one per MCU row) are written by the callback.
Bytes grey_column(int blocks, int q, const std::function<void(EntropyWriter&)>& write) {
  JpegBuilder b = jpeg_test::grey_preamble(8, 8 * blocks, q);
  EntropyWriter w;
  write(w);
  b.raw(w.finish()).eoi();
  return b.bytes();
}

const jpeg_test::HuffTable& dc() {
  static const jpeg_test::HuffTable t = jpeg_test::dc_table();
  return t;
}
const jpeg_test::HuffTable& ac() {
  static const jpeg_test::HuffTable t = jpeg_test::ac_table();
  return t;
}

TEST(HuffmanLookup, ZigzagTableMatchesT81) {
  for (int k = 0; k < 64; ++k) EXPECT_EQ(jpeg::detail::kZigzag[k], kNatural[k]) << k;
}

TEST(HuffmanLookup, TwoHundredFiftyFiveCodesOfLength16HangUnderOneEntry) {
  std::uint8_t counts[17] = {};
  counts[16] = 255;
  std::uint8_t symbols[256] = {};
  for (int i = 0; i < 255; ++i) symbols[i] = static_cast<std::uint8_t>(i);
  auto t = std::make_unique<jpeg::detail::HuffmanLookup>();
  jpeg::detail::build_lookup(*t, counts, symbols, false);
  EXPECT_LT(t->fast[0], 0);
  for (int p = 1; p < 256; ++p) EXPECT_EQ(t->fast[p], 0) << p;
  // 255 nodes: identifiers -1, -3, ..., -509, so 510 of the 512 slots belong to nodes.
  int lowest = 0;
  for (int s = 0; s < 512; ++s) lowest = std::min(lowest, t->tree[s]);
  EXPECT_EQ(lowest, -509);
  EXPECT_EQ(t->tree[510], 0);
  EXPECT_EQ(t->tree[511], 0);
  for (int v = 0; v < 255; ++v) EXPECT_EQ(t->length[v], 16);
  // Every code decodes back to its symbol on the plain walk and on the fast reader.
  for (int v = 0; v < 255; ++v) {
    jpeg::detail::FastBits b{static_cast<std::uint64_t>(v) << 48, 64};
    EXPECT_EQ(jpeg::detail::fast_decode_symbol(b, *t), v);
    EXPECT_EQ(b.count, 48);
  }
}

TEST(HuffmanLookup, UnmatchedPatternsDecodeAsSymbolZero) {
  // Two codes: 0 -> symbol 5 (1 bit), 10 -> symbol 0 (2 bits); 11 matches nothing.
  std::uint8_t counts[17] = {};
  counts[1] = 1;
  counts[2] = 1;
  std::uint8_t symbols[256] = {5, 0};
  auto t = std::make_unique<jpeg::detail::HuffmanLookup>();
  jpeg::detail::build_lookup(*t, counts, symbols, false);
  jpeg::detail::FastBits b{0xC000000000000000ull, 64};
  EXPECT_EQ(jpeg::detail::fast_decode_symbol(b, *t), 0);
  EXPECT_EQ(b.count, 62) << "consumes the length of symbol 0's code";
}

TEST(HuffmanLookup, OversubscribedCountsAreDetected) {
  std::uint8_t ok[17] = {};
  ok[2] = 4;
  EXPECT_TRUE(jpeg::detail::huffman_counts_valid(ok));
  std::uint8_t over[17] = {};
  over[2] = 3;
  over[1] = 1;
  EXPECT_FALSE(jpeg::detail::huffman_counts_valid(over));
  std::uint8_t long_over[17] = {};
  long_over[4] = 15;
  long_over[5] = 3;  // 15 four-bit codes leave room for only two of five bits
  EXPECT_FALSE(jpeg::detail::huffman_counts_valid(long_over));
}

// Decodes the first n MCU rows on both variants and checks that they agree.
struct BothVariants {
  BothVariants(const Bytes& b, int rows) : fast(b, true), plain(b, false) {
    fast_error = fast.open_and_start();
    plain_error = plain.open_and_start();
    for (int r = 0; r < rows && fast_error == 0; ++r) fast_error = fast.next_row();
    for (int r = 0; r < rows && plain_error == 0; ++r) plain_error = plain.next_row();
  }
  Stages fast;
  Stages plain;
  std::int32_t fast_error = 0;
  std::int32_t plain_error = 0;
};

TEST(SequentialScan, ZrlAtPosition48EndsTheBlockWithoutEob) {
  BothVariants v(grey_column(2, 1,
                             [](EntropyWriter& w) {
                               w.dc(dc(), 0);
                               for (int k = 1; k < 48; ++k) w.ac(ac(), 0, k);
                               w.zrl(ac());  // k = 48 -> 64: no EOB follows
                               w.dc(dc(), 7);
                               w.eob(ac());
                             }),
                 2);
  ASSERT_EQ(v.fast_error, 0);
  ASSERT_EQ(v.plain_error, 0);
  EXPECT_EQ(v.fast.block(0)[0], 7) << "the next block's DC was read where it belongs";
  EXPECT_EQ(v.fast.d->high_water[0], 1);
}

TEST(SequentialScan, ShortCodesUpToPosition63LeaveTheNextBlocksDcAlone) {
  // One-bit AC codes (0 = end of block, 1 = run 0 size 1), so that several fit in one lookup.
  // The first block fills all 63 positions and has no end of block; the next block's DC code
  // begins with 0, which in the AC table would read as an end of block.
  jpeg_test::HuffTable short_ac = jpeg_test::HuffTable::uniform({0x00, 0x01}, 1);
  JpegBuilder b;
  b.soi().dqt(0, 1).dht(0, 0, dc()).dht(1, 0, short_ac);
  b.sof(0xC0, 16, 8, {{1, 1, 1, 0}}).sos({{1, 0, 0}});
  EntropyWriter w;
  w.dc(dc(), 0);
  for (int k = 1; k < 64; ++k) w.ac(short_ac, 0, (k & 1) != 0 ? 1 : -1);
  w.dc(dc(), 7);
  w.ac(short_ac, 0, 1);
  w.eob(short_ac);
  b.raw(w.finish()).eoi();
  BothVariants v(b.bytes(), 1);
  ASSERT_EQ(v.fast_error, 0);
  ASSERT_EQ(v.plain_error, 0);
  for (int k = 1; k < 64; ++k) EXPECT_EQ(v.fast.block(0)[kNatural[k]], (k & 1) != 0 ? 1 : -1) << k;
  EXPECT_EQ(v.fast.block(1)[0], 7) << "the next block's DC was read where it belongs";
  EXPECT_EQ(v.fast.block(1)[1], 1);
  EXPECT_EQ(v.fast.d->high_water[0], 64);
  EXPECT_EQ(v.fast.d->high_water[1], 2);
}

TEST(SequentialScan, ZrlAtPosition49IsCorrupt) {
  BothVariants v(grey_column(1, 1,
                             [](EntropyWriter& w) {
                               w.dc(dc(), 0);
                               for (int k = 1; k < 49; ++k) w.ac(ac(), 0, 1);
                               w.zrl(ac());
                             }),
                 1);
  EXPECT_EQ(v.fast_error, jpeg::CorruptData);
  EXPECT_EQ(v.plain_error, jpeg::CorruptData);
}

TEST(SequentialScan, RunNineAtPosition54IsAcceptedAndTenIsNot) {
  auto picture = [](int run) {
    return grey_column(1, 1, [run](EntropyWriter& w) {
      w.dc(dc(), 0);
      for (int k = 1; k < 54; ++k) w.ac(ac(), 0, 2);
      w.ac(ac(), run, -3);
      w.eob(ac());
    });
  };
  BothVariants nine(picture(9), 1);
  ASSERT_EQ(nine.fast_error, 0);
  ASSERT_EQ(nine.plain_error, 0);
  EXPECT_EQ(nine.fast.block(0)[63], -3);
  EXPECT_EQ(nine.fast.block(0)[kNatural[62]], 0);
  EXPECT_EQ(nine.fast.d->high_water[0], 64) << "a coefficient at 63 ends the block";
  EXPECT_EQ(nine.plain.d->high_water[0], 64);
  BothVariants ten(picture(10), 1);
  EXPECT_EQ(ten.fast_error, jpeg::CorruptData);
  EXPECT_EQ(ten.plain_error, jpeg::CorruptData);
}

TEST(SequentialScan, ASingleEobClearsWhatTheBlockHeldBefore) {
  BothVariants v(grey_column(2, 2,
                             [](EntropyWriter& w) {
                               w.dc(dc(), 1);
                               for (int k = 1; k < 40; ++k) w.ac(ac(), 0, k % 2 == 0 ? 3 : -4);
                               w.eob(ac());
                               w.dc(dc(), 0);
                               w.eob(ac());
                             }),
                 1);
  ASSERT_EQ(v.fast_error, 0);
  EXPECT_EQ(v.fast.d->high_water[0], 40);
  EXPECT_EQ(v.plain.d->high_water[0], 40);
  EXPECT_EQ(v.fast.block(0)[kNatural[39]], -4);
  EXPECT_EQ(v.plain.block(0)[kNatural[39]], -8) << "the plain variant dequantises (q = 2)";
  ASSERT_EQ(v.fast.next_row(), 0);
  ASSERT_EQ(v.plain.next_row(), 0);
  for (int n = 1; n < 64; ++n) {
    EXPECT_EQ(v.fast.block(0)[n], 0) << n;
    EXPECT_EQ(v.plain.block(0)[n], 0) << n;
  }
  EXPECT_EQ(v.fast.block(0)[0], 1);
  EXPECT_EQ(v.plain.block(0)[0], 2);
  EXPECT_EQ(v.fast.d->high_water[0], 1);
  EXPECT_EQ(v.plain.d->high_water[0], 1);
}

TEST(SequentialScan, RunsBelowTheHighWaterCountAreCleared) {
  BothVariants v(grey_column(2, 1,
                             [](EntropyWriter& w) {
                               w.dc(dc(), 0);
                               for (int k = 1; k < 30; ++k) w.ac(ac(), 0, 5);
                               w.eob(ac());
                               w.dc(dc(), 0);
                               w.ac(ac(), 0, 9);
                               w.ac(ac(), 15, 1);  // k = 2..16 skipped, coefficient at 17
                               w.zrl(ac());        // k = 18..33
                               w.ac(ac(), 0, 2);   // at 34
                               w.eob(ac());
                             }),
                 2);
  ASSERT_EQ(v.fast_error, 0);
  ASSERT_EQ(v.plain_error, 0);
  for (const Stages* s : {&v.fast, &v.plain}) {
    const std::int16_t* b = s->block(0);
    for (int k = 1; k < 64; ++k) {
      const int want = k == 1 ? 9 : (k == 17 ? 1 : (k == 34 ? 2 : 0));
      EXPECT_EQ(b[kNatural[k]], want) << k;
    }
    EXPECT_EQ(s->d->high_water[0], 35);
  }
}

TEST(SequentialScan, DcPredictorLivesIn32BitsAndOnlyTheStoredValueWraps) {
  BothVariants v(grey_column(4, 1,
                             [](EntropyWriter& w) {
                               for (int diff : {32767, 32767, 32767, -40000}) {
                                 w.dc(dc(), diff);
                                 w.eob(ac());
                               }
                             }),
                 3);
  ASSERT_EQ(v.fast_error, 0);
  ASSERT_EQ(v.plain_error, 0);
  EXPECT_EQ(v.fast.block(0)[0], static_cast<std::int16_t>(98301 - 65536));
  EXPECT_EQ(v.plain.block(0)[0], static_cast<std::int16_t>(98301 - 65536));
  ASSERT_EQ(v.fast.next_row(), 0);
  ASSERT_EQ(v.plain.next_row(), 0);
  EXPECT_EQ(v.fast.d->comp[0].predictor, static_cast<std::uint32_t>(98301 - 40000));
  EXPECT_EQ(v.fast.block(0)[0], static_cast<std::int16_t>(58301 - 65536));
}

TEST(SequentialScan, DcSymbolZeroAddsNothingAndDcSizeAbove16IsCorrupt) {
  BothVariants zero(grey_column(2, 1,
                                [](EntropyWriter& w) {
                                  w.dc(dc(), -5);
                                  w.eob(ac());
                                  w.dc(dc(), 0);
                                  w.eob(ac());
                                }),
                    2);
  ASSERT_EQ(zero.fast_error, 0);
  EXPECT_EQ(zero.fast.block(0)[0], -5);
  EXPECT_EQ(zero.plain.block(0)[0], -5);
  BothVariants big(grey_column(1, 1,
                               [](EntropyWriter& w) {
                                 w.symbol(dc(), 17);
                                 w.bits(0x1FFFF, 17);
                               }),
                   1);
  EXPECT_EQ(big.fast_error, jpeg::CorruptData);
  EXPECT_EQ(big.plain_error, jpeg::CorruptData);
}

TEST(SequentialScan, StuffedFFDecodesAsDataByte) {
  const Bytes b = grey_column(1, 1, [](EntropyWriter& w) {
    w.dc(dc(), 0);
    w.ac(ac(), 0, 255);  // 8-bit code then 8 one-bits: forms FF in the stream
    w.ac(ac(), 0, -255);
    w.eob(ac());
  });
  const std::uint8_t stuffed[2] = {0xFF, 0x00};
  ASSERT_NE(std::search(b.begin(), b.end(), std::begin(stuffed), std::end(stuffed)), b.end());
  BothVariants v(b, 1);
  ASSERT_EQ(v.fast_error, 0);
  EXPECT_EQ(v.fast.block(0)[kNatural[1]], 255);
  EXPECT_EQ(v.fast.block(0)[kNatural[2]], -255);
  EXPECT_EQ(v.plain.block(0)[kNatural[2]], -255);
}

TEST(SequentialScan, DataEndingEarlyContinuesAsOneBits) {
  // Only the first of two blocks is written: the second reads 1-bits from the filler, which
  // match no code here and decode as symbol 0 (DC difference 0, then EOB).
  BothVariants v(grey_column(2, 1,
                             [](EntropyWriter& w) {
                               w.dc(dc(), 12);
                               w.ac(ac(), 0, 1);
                               w.eob(ac());
                             }),
                 2);
  ASSERT_EQ(v.fast_error, 0);
  ASSERT_EQ(v.plain_error, 0);
  EXPECT_EQ(v.fast.block(0)[0], 12);
  EXPECT_EQ(v.plain.block(0)[0], 12);
  for (int n = 1; n < 64; ++n) EXPECT_EQ(v.fast.block(0)[n], 0);
}

TEST(SequentialScan, RestartIntervalOneRestartsThePredictorEveryMcu) {
  const jpeg_test::HuffTable& d = dc();
  JpegBuilder b;
  b.soi().dqt(0, 1).dht(0, 0, d).dht(1, 0, ac()).dri(1);
  b.sof(0xC0, 24, 8, {{1, 1, 1, 0}}).sos({{1, 0, 0}});
  EntropyWriter w;
  for (int m = 0; m < 3; ++m) {
    if (m > 0) b.raw(w.finish()).marker(static_cast<std::uint8_t>(0xD0 + m - 1));
    w.dc(d, 10 * (m + 1));  // relative to a predictor of 0 after every marker
    w.eob(ac());
  }
  b.raw(w.finish()).eoi();
  BothVariants v(b.bytes(), 1);
  ASSERT_EQ(v.fast_error, 0);
  ASSERT_EQ(v.plain_error, 0);
  for (int m = 0; m < 3; ++m) {
    EXPECT_EQ(v.fast.block(m)[0], 10 * (m + 1));
    EXPECT_EQ(v.plain.block(m)[0], 10 * (m + 1));
  }
}

// The photograph with junk in front of every restart marker: a stuffed FF 00 among other
// bytes, cut shorter at each marker so that the readers hold different amounts of it.
Bytes with_junk_before_restart_markers(const Bytes& jpeg) {
  const Bytes junk = {0x12, 0x34, 0x56, 0x78, 0x12, 0x34, 0x56, 0x78, 0xFF, 0x00, 0x34};
  Bytes out;
  std::size_t markers = 0;
  for (std::size_t i = 0; i < jpeg.size(); ++i) {
    if (i > 0 && jpeg[i - 1] == 0xFF && (jpeg[i] & 0xF8) == 0xD0) {
      out.pop_back();
      const auto skip = static_cast<std::ptrdiff_t>(markers++ % junk.size());
      out.insert(out.end(), junk.begin() + skip, junk.end());
      out.push_back(0xFF);
    }
    out.push_back(jpeg[i]);
  }
  EXPECT_GT(markers, junk.size());
  return out;
}

TEST(SequentialScan, PlainAndFastVariantsDecodeTheSameCoefficientsOfAPhotograph) {
  const Bytes clean = jpeg_test::make_with_cjpeg(120, 72, "-quality 93 -sample 2x2 -restart 3B");
  ASSERT_FALSE(clean.empty()) << jpeg_test::kNeedsJpegTools;
  for (const Bytes& jpeg : {clean, with_junk_before_restart_markers(clean)}) {
    Stages fast(jpeg, true);
    Stages plain(jpeg, false);
    ASSERT_EQ(fast.open_and_start(), 0);
    ASSERT_EQ(plain.open_and_start(), 0);
    const int rows = fast.d->mcu_rows;
    for (int r = 0; r < rows; ++r) {
      ASSERT_EQ(fast.next_row(), 0) << jpeg.size() << " bytes";
      ASSERT_EQ(plain.next_row(), 0) << jpeg.size() << " bytes";
      for (int blk = 0; blk < fast.d->blocks_per_row; ++blk) {
        const int comp = fast.d->block_comp[blk % fast.d->blocks_per_mcu];
        const std::uint16_t* q = plain.d->quant[plain.d->comp[comp].tq];  // zigzag order
        for (int k = 0; k < 64; ++k) {
          const int n = kNatural[k];
          ASSERT_EQ(static_cast<std::int16_t>(fast.block(blk)[n] * q[k]), plain.block(blk)[n])
              << "row " << r << " block " << blk << " k " << k;
        }
        ASSERT_EQ(fast.d->high_water[blk], plain.d->high_water[blk]);
      }
    }
  }
}

}  // namespace
