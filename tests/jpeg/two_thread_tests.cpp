// Two-thread decoding delivers the same rows as one thread, byte for byte, on both paths and with
// restart markers, sequential and progressive, and fails at the same row with the same code on
// damaged data. Under the tsan preset these runs also prove the hand-over between the threads
// free of data races.
#include <gtest/gtest.h>

#include <string>

#include "decode_harness.h"

namespace {

using jpeg_test::Bytes;
using jpeg_test::Decoded;

// The second thread from the smallest picture on, so that small pictures test it quickly.
Decoded decode(const Bytes& jpeg, bool fast, std::int32_t threads) {
  return jpeg_test::decode_stages(jpeg, fast, threads, 0);
}

void expect_same(const Decoded& one, const Decoded& two, const std::string& what) {
  EXPECT_EQ(one.error_code, two.error_code) << what;
  EXPECT_EQ(one.row_result, two.row_result) << what;
  EXPECT_TRUE(one.pixels == two.pixels) << what << ": rows differ (" << one.pixels.size() << " and "
                                        << two.pixels.size() << " bytes)";
}

constexpr int kWidth = 320;
constexpr int kHeight = 203;

TEST(TwoThreads, SameRowsAsOneThreadAlsoWhenTheDataBreaksOff) {
  // Progressive files decode their scans on both threads (scan_pipeline.h).
  const char* const options[] = {"-quality 92 -sample 2x2",
                                 "-quality 95 -sample 1x1 -restart 3B",
                                 "-quality 80 -grayscale",
                                 "-quality 90 -sample 2x1 -restart 1",
                                 "-quality 90 -sample 2x2 -progressive",
                                 "-quality 85 -sample 1x1 -progressive -restart 1"};
  for (const char* option : options) {
    const Bytes jpeg = jpeg_test::make_with_cjpeg(kWidth, kHeight, option);
    ASSERT_FALSE(jpeg.empty()) << "cjpeg failed (Debian package libjpeg-turbo-progs)";
    for (const bool fast : {true, false}) {
      const std::string what = std::string(option) + (fast ? ", fast path" : ", integer path");
      const Decoded one = decode(jpeg, fast, 1);
      ASSERT_TRUE(one.ok()) << what;
      expect_same(one, decode(jpeg, fast, 2), what);
    }
    // A run pushed past the block in the middle of the data, and the data cut short there.
    Bytes damaged = jpeg;
    for (std::size_t i = jpeg.size() / 2; i < jpeg.size() / 2 + 64; ++i) damaged[i] = 0x07;
    expect_same(decode(damaged, true, 1), decode(damaged, true, 2),
                std::string(option) + " damaged");
    const Bytes cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() / 2));
    expect_same(decode(cut, true, 1), decode(cut, true, 2), std::string(option) + " cut");
  }
}

TEST(TwoThreads, UsedFromItsSizeOnThroughThePublicInterfaceAndReleasedMidway) {
#if defined(MQ_JPEG_NO_THREADS)
  GTEST_SKIP() << "built without threads: every decode runs on the caller's thread";
#endif
  const std::int32_t width = 2048;
  const auto height = static_cast<std::int32_t>(jpeg::detail::kPipelineMinPixels / width);
  const Bytes large = jpeg_test::make_with_cjpeg(width, height, "-quality 50 -sample 2x2");
  const Bytes small = jpeg_test::make_with_cjpeg(width, height - 1, "-quality 50 -sample 2x2");
  for (const bool large_picture : {true, false}) {
    jpeg_test::Stages stages(large_picture ? large : small, true);
    stages.d->threads = 2;
    ASSERT_EQ(stages.open_and_start(), 0);
    EXPECT_EQ(stages.d->pipeline != nullptr, large_picture);
    // The worker runs ahead; releasing after one row must stop it cleanly (ASan, TSan).
    EXPECT_EQ(stages.next_row(), 0);
  }
  const Decoded one = jpeg_test::decode(large, true, 1);
  ASSERT_TRUE(one.ok());
  const Decoded two = jpeg_test::decode(large, true, 2);
  EXPECT_EQ(two.closes, 1);
  expect_same(one, two, "public interface");
}

}  // namespace
