// Construction and headers: SOI search, marker segments, frame and scan headers, and the codes
// of every malformed header, including this decoder's own refusals.
#include <gtest/gtest.h>

#include "decode_harness.h"
#include "jpeg/error_codes.h"
#include "jpeg/jpeg_decoder.h"
#include "jpeg/memory_input_stream.h"

namespace {

using jpeg_test::Bytes;
using jpeg_test::decode;
using jpeg_test::Decoded;
using jpeg_test::JpegBuilder;

// A complete 8x8 grey picture with one flat block (DC difference 8, quantisation 1).
Bytes small_picture() {
  return jpeg_test::grey_dc_image(8, 8, {8});
}

// The same picture with prefix bytes in front of it.
Bytes with_prefix(const Bytes& prefix, const Bytes& picture) {
  Bytes b = prefix;
  b.insert(b.end(), picture.begin(), picture.end());
  return b;
}

std::int32_t constructor_error(const Bytes& b) {
  jpeg_test::TestStream s(b);
  jpeg::JpegDecoder d(&s, true);
  const std::int32_t code = d.error_code;
  EXPECT_EQ(s.opens, 1);
  if (code != 0) {
    EXPECT_EQ(s.closes, 1) << "a failed constructor closes the stream once";
  }
  d.release();
  EXPECT_EQ(s.closes, 1);
  return code;
}

TEST(ErrorCodes, TableGivesNamesAndNumbers) {
  EXPECT_EQ(jpeg::HuffmanCountsTooLarge, -200);
  EXPECT_EQ(jpeg::OutOfMemory, -233);
  EXPECT_STREQ(jpeg::error_name(-227), "CorruptData");
  EXPECT_STREQ(jpeg::error_name(-217), "NoStartOfImage");
  EXPECT_STREQ(jpeg::error_name(-214), "HuffmanTableInvalid");
  EXPECT_STREQ(jpeg::error_name(0), "None");
  EXPECT_STREQ(jpeg::error_name(-1), "Unknown");
  for (std::int32_t code = -235; code <= -200; ++code) {
    EXPECT_STRNE(jpeg::error_name(code), "Unknown") << code;
  }
}

TEST(MemoryInputStream, SetsEndOnlyWhenShortAndNeverClearsIt) {
  const std::uint8_t data[5] = {1, 2, 3, 4, 5};
  jpeg::MemoryInputStream s(data, 5);
  std::uint8_t buffer[8] = {};
  bool at_end = false;
  EXPECT_EQ(s.read(buffer, 5, at_end), 5);
  EXPECT_FALSE(at_end) << "a read that fills the request exactly leaves the flag alone";
  EXPECT_EQ(buffer[4], 5);
  EXPECT_EQ(s.read(buffer, 5, at_end), 0);
  EXPECT_TRUE(at_end);
  bool again = false;
  EXPECT_EQ(s.read(buffer, 3, again), 0);
  EXPECT_TRUE(again);
  jpeg::MemoryInputStream short_read(data, 3);
  bool flag = false;
  EXPECT_EQ(short_read.read(buffer, 8, flag), 3);
  EXPECT_TRUE(flag);
  jpeg::MemoryInputStream none(nullptr, 3);
  EXPECT_EQ(none.read(buffer, 1, flag), jpeg::JpegInputStream::kReadError);
  bool empty_flag = false;
  jpeg::MemoryInputStream empty(data, 0);
  EXPECT_EQ(empty.read(buffer, 1, empty_flag), 0);
  EXPECT_TRUE(empty_flag);
  // Zero bytes with no data pointer are an empty stream too: nothing failed to be read, the
  // stream just holds no start of image.
  jpeg::MemoryInputStream nothing(nullptr, 0);
  empty_flag = false;
  EXPECT_EQ(nothing.read(buffer, 1, empty_flag), 0);
  EXPECT_TRUE(empty_flag);
  jpeg::JpegDecoder decoder(&nothing, true);
  EXPECT_EQ(decoder.error_code, jpeg::NoStartOfImage);
}

TEST(StartOfImage, IsFoundAtOffsetZeroWhateverFollows) {
  Bytes b = small_picture();
  b.insert(b.begin() + 2, {0x00, 0x12, 0x34});  // junk between SOI and the first marker
  EXPECT_TRUE(decode(b).ok());
}

TEST(StartOfImage, IsFoundAfter300BytesOfJunk) {
  const Decoded r = decode(with_prefix(Bytes(300, 0x55), small_picture()));
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.width, 8);
}

TEST(StartOfImage, AtOffset511IsFoundAndAt512IsNot) {
  EXPECT_EQ(constructor_error(with_prefix(Bytes(510, 0x00), small_picture())), 0);
  EXPECT_EQ(constructor_error(with_prefix(Bytes(511, 0x00), small_picture())), 0);
  EXPECT_EQ(constructor_error(with_prefix(Bytes(512, 0x00), small_picture())),
            jpeg::NoStartOfImage);
}

TEST(StartOfImage, FoundAfterJunkMustBeFollowedByFF) {
  Bytes b = with_prefix(Bytes(20, 0x11), {0xFF, 0xD8, 0x00});
  Bytes rest = small_picture();
  b.insert(b.end(), rest.begin() + 2, rest.end());
  EXPECT_EQ(constructor_error(b), jpeg::NoStartOfImage);
}

TEST(StartOfImage, MissingOrEmptyInputIsRefused) {
  EXPECT_EQ(constructor_error({}), jpeg::NoStartOfImage);
  EXPECT_EQ(constructor_error(Bytes(100, 0xFF)), jpeg::NoStartOfImage);
}

TEST(Markers, ArithmeticAndUnsupportedFramesAreRefused) {
  auto frame = [](std::uint8_t sof) {
    JpegBuilder b;
    b.soi().dqt(0, 1).sof(sof, 8, 8, {{1, 1, 1, 0}});
    return b.bytes();
  };
  EXPECT_EQ(constructor_error(frame(0xC9)), jpeg::ArithmeticCoding);
  for (int sof : {0xC3, 0xC5, 0xC6, 0xC7, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}) {
    EXPECT_EQ(constructor_error(frame(static_cast<std::uint8_t>(sof))), jpeg::UnsupportedFrame)
        << sof;
  }
  JpegBuilder dac;
  dac.soi().segment(0xCC, {0, 0});
  EXPECT_EQ(constructor_error(dac.bytes()), jpeg::ArithmeticCoding);
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0x01}), jpeg::UnexpectedMarker);
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xC8}), jpeg::UnexpectedMarker);
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xD3}), jpeg::UnexpectedMarker);
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xD9}), jpeg::UnsupportedFrame);
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xDA}), jpeg::UnsupportedFrame);
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xD8}), jpeg::UnsupportedFrame);
}

TEST(Markers, SkippedSegmentsAndFillBytesAreAccepted) {
  JpegBuilder b;
  b.soi().segment(0xE0, {'J', 'F', 'I', 'F', 0}).raw({0xFF, 0xFF, 0xFF});
  b.segment(0xFE, {'h', 'i'}).segment(0xEF, {});
  // A camera's Exif segment is often tens of kilobytes: longer than the input buffer.
  b.segment(0xE1, Bytes(20000, 0x5A));
  Bytes rest = small_picture();
  b.raw(Bytes(rest.begin() + 2, rest.end()));
  const Decoded r = decode(b.bytes());
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.pixels, decode(small_picture()).pixels);
  // Cut inside that segment, the skip runs into the end filler and no frame is found.
  const Bytes cut(b.bytes().begin(), b.bytes().begin() + 12000);
  EXPECT_EQ(decode(cut).constructor_error, jpeg::UnsupportedFrame);
}

TEST(Markers, SegmentLengthErrorsHaveTheirCodes) {
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01}), jpeg::SegmentLength);
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x01}), jpeg::QuantSegmentLength);
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x01}), jpeg::HuffmanSegmentLength);
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xDD, 0x00, 0x05, 0, 1, 0}),
            jpeg::RestartSegmentLength);
  // DQT: selector 4, and a 16-bit table that runs past a segment sized for an 8-bit one.
  JpegBuilder q4;
  q4.soi().segment(0xDB, Bytes(65, 0x04));
  EXPECT_EQ(constructor_error(q4.bytes()), jpeg::QuantSlotInvalid);
  Bytes q16(65, 0x01);
  q16[0] = 0x10;
  JpegBuilder qlong;
  qlong.soi().segment(0xDB, q16).raw(Bytes(64, 0x01));
  EXPECT_EQ(constructor_error(qlong.bytes()), jpeg::QuantTableLength);
}

TEST(Markers, HuffmanSegmentErrorsHaveTheirCodes) {
  Bytes too_many{0x00};
  for (int l = 1; l <= 16; ++l) too_many.push_back(16);  // 256 codes
  JpegBuilder a;
  a.soi().segment(0xC4, too_many).raw(Bytes(256, 0));
  EXPECT_EQ(constructor_error(a.bytes()), jpeg::HuffmanCountsTooLarge);

  Bytes slot{0x14};  // AC class, Th 4
  for (int l = 1; l <= 16; ++l) slot.push_back(l == 2 ? 1 : 0);
  slot.push_back(0);
  JpegBuilder b;
  b.soi().segment(0xC4, slot);
  EXPECT_EQ(constructor_error(b.bytes()), jpeg::HuffmanSlotInvalid);

  Bytes cut = slot;
  cut[0] = 0x00;
  cut.pop_back();  // the segment ends before its one symbol
  JpegBuilder c;
  c.soi().segment(0xC4, cut).raw({0x00, 0xFF, 0xD9});
  EXPECT_EQ(constructor_error(c.bytes()), jpeg::HuffmanSegmentLength);
}

TEST(Markers, OversubscribedHuffmanCountsAreRefused) {
  Bytes over{0x00};
  for (int l = 1; l <= 16; ++l) over.push_back(l == 1 ? 3 : 0);  // three 1-bit codes
  over.insert(over.end(), {0, 1, 2});
  JpegBuilder b;
  b.soi().segment(0xC4, over);
  EXPECT_EQ(constructor_error(b.bytes()), jpeg::HuffmanTableInvalid);
  Bytes full{0x00};
  for (int l = 1; l <= 16; ++l) full.push_back(l == 1 ? 2 : 0);  // exactly fills length 1
  full.insert(full.end(), {0, 1});
  JpegBuilder ok;
  ok.soi().segment(0xC4, full).dqt(0, 1).sof(0xC0, 8, 8, {{1, 1, 1, 0}});
  EXPECT_EQ(constructor_error(ok.bytes()), 0);
}

TEST(FrameHeader, SizesUpTo8192AreAcceptedAnd8193IsNot) {
  auto frame = [](int w, int h) {
    JpegBuilder b;
    b.soi().sof(0xC0, w, h, {{1, 1, 1, 0}});
    return b.bytes();
  };
  EXPECT_EQ(constructor_error(frame(8192, 8192)), 0);
  EXPECT_EQ(constructor_error(frame(8193, 8)), jpeg::ImageWidth);
  EXPECT_EQ(constructor_error(frame(0, 8)), jpeg::ImageWidth);
  EXPECT_EQ(constructor_error(frame(8, 8193)), jpeg::ImageHeight);
  EXPECT_EQ(constructor_error(frame(8, 0)), jpeg::ImageHeight);
}

TEST(FrameHeader, FieldErrorsHaveTheirCodes) {
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 12, 0, 8, 0, 8, 1, 1, 0x11, 0}),
            jpeg::SamplePrecision);
  JpegBuilder five;
  five.soi().sof(0xC0, 8, 8,
                 {{1, 1, 1, 0}, {2, 1, 1, 0}, {3, 1, 1, 0}, {4, 1, 1, 0}, {5, 1, 1, 0}});
  EXPECT_EQ(constructor_error(five.bytes()), jpeg::TooManyComponents);
  EXPECT_EQ(constructor_error({0xFF, 0xD8, 0xFF, 0xC0, 0, 12, 8, 0, 8, 0, 8, 1, 1, 0x11, 0}),
            jpeg::FrameHeaderLength);
}

TEST(FrameHeader, BadSamplingFactorsAndSelectorsAreRefused) {
  auto frame = [](int h, int v, int tq) {
    JpegBuilder b;
    b.soi().sof(0xC0, 8, 8, {{1, h, v, tq}, {2, 1, 1, 0}, {3, 1, 1, 0}});
    return b.bytes();
  };
  EXPECT_EQ(constructor_error(frame(0, 1, 0)), jpeg::SamplingFactorInvalid);
  EXPECT_EQ(constructor_error(frame(1, 0, 0)), jpeg::SamplingFactorInvalid);
  EXPECT_EQ(constructor_error(frame(5, 1, 0)), jpeg::SamplingFactorInvalid);
  EXPECT_EQ(constructor_error(frame(4, 4, 0)), 0);
  EXPECT_EQ(constructor_error(frame(1, 1, 4)), jpeg::TableSelectorInvalid);
  EXPECT_EQ(constructor_error(frame(1, 1, 3)), 0);
}

TEST(Construction, ReadFailureIsReportedAndClosesTheStreamOnce) {
  jpeg_test::TestStream s(small_picture(), 0);
  jpeg::JpegDecoder d(&s, true);
  EXPECT_EQ(d.error_code, jpeg::ReadFailed);
  EXPECT_EQ(s.closes, 1);
  EXPECT_EQ(d.start(), jpeg::NotReady);
  d.release();
  d.release();
  EXPECT_EQ(s.closes, 1);
}

TEST(Construction, ReadsInSmallChunksGiveTheSamePicture) {
  const Bytes b = jpeg_test::grey_dc_image(64, 64, std::vector<int>(64, 3));
  const Decoded whole = decode(b);
  jpeg_test::TestStream s(b, -1, 7);
  jpeg::JpegDecoder d(&s, true);
  ASSERT_EQ(d.error_code, 0);
  ASSERT_EQ(d.start(), 0);
  Bytes pixels;
  for (int y = 0; y < d.height; ++y) {
    const std::uint8_t* line = nullptr;
    std::int32_t n = 0;
    ASSERT_EQ(d.read_scanline(line, n), 0);
    pixels.insert(pixels.end(), line, line + n);
  }
  EXPECT_EQ(pixels, whole.pixels);
}

TEST(Construction, TablesAndRestartIntervalBeforeTheFrameStayInForce) {
  const Decoded r = decode(small_picture());
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.width, 8);
  EXPECT_EQ(r.height, 8);
  EXPECT_EQ(r.bytes_per_pixel, 1);
}

TEST(Construction, FileCutInsideAHeaderFailsWithThatHeadersCode) {
  const Bytes whole = small_picture();
  // Past the end the decoder reads FF D9 pairs: a precision of FF, or Huffman counts of FF.
  auto cut_after = [&](std::uint8_t marker, std::size_t extra) {
    for (std::size_t i = 0; i + 1 < whole.size(); ++i) {
      if (whole[i] == 0xFF && whole[i + 1] == marker) {
        return Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(i + 2 + extra));
      }
    }
    return Bytes{};
  };
  EXPECT_EQ(constructor_error(cut_after(0xC0, 2)), jpeg::SamplePrecision);
  EXPECT_EQ(constructor_error(cut_after(0xC4, 3)), jpeg::HuffmanCountsTooLarge);
}

TEST(EndOfImage, SegmentsAfterTheScanAreSkippedAndARefusedMarkerLosesTheLastRows) {
  const jpeg_test::HuffTable dc = jpeg_test::dc_table();
  const jpeg_test::HuffTable ac = jpeg_test::ac_table();
  auto picture = [&](const Bytes& trailer) {
    JpegBuilder b = jpeg_test::grey_preamble(8, 16);
    jpeg_test::EntropyWriter w;
    for (int i = 0; i < 2; ++i) {
      w.dc(dc, 8);
      w.eob(ac);
    }
    b.raw(w.finish()).raw(trailer).eoi();
    return b.bytes();
  };
  JpegBuilder tables;
  tables.segment(0xFE, {'x'}).segment(0xE2, {1, 2}).dqt(1, 5);
  const Decoded ok = decode(picture(tables.bytes()));
  EXPECT_TRUE(ok.ok());
  EXPECT_EQ(ok.pixels[8 * 15], 130);

  jpeg_test::TestStream s(picture({0xFF, 0x01}));
  jpeg::JpegDecoder d(&s, true);
  ASSERT_EQ(d.start(), 0);
  const std::uint8_t* line = nullptr;
  std::int32_t n = 0;
  for (int y = 0; y < 8; ++y) ASSERT_EQ(d.read_scanline(line, n), 0);
  EXPECT_EQ(d.read_scanline(line, n), jpeg::RowDecodeFailed);
  EXPECT_EQ(d.error_code, jpeg::UnexpectedMarker);
  EXPECT_EQ(s.closes, 1);
}

}  // namespace
