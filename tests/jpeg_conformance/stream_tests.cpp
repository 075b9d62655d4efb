// The decoder over byte sources other than one memory block: a source that hands out a few bytes
// per call must give the same picture, and a source that fails part way must end in ReadFailed
// with the stream closed exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "jpeg/error_codes.h"
#include "jpeg/jpeg_decoder.h"
#include "tests/jpeg_conformance/conformance_support.h"

namespace conformance {
namespace {

// Hands out at most `chunk` bytes per read and fails (returns -1) once `fail_at` bytes have
// been delivered, when fail_at is not negative. Counts the decoder's open and close calls.
class TrickleStream : public jpeg::JpegInputStream {
 public:
  TrickleStream(const std::vector<std::uint8_t>& bytes, std::int32_t chunk, std::int64_t fail_at)
      : bytes_(bytes), chunk_(chunk), fail_at_(fail_at) {}

  std::int32_t read(std::uint8_t* buffer, std::int32_t max_bytes, bool& at_end) override {
    if (fail_at_ >= 0 && static_cast<std::int64_t>(position_) >= fail_at_) return kReadError;
    const std::size_t left = bytes_.size() - position_;
    const std::size_t count =
        std::min({left, static_cast<std::size_t>(chunk_), static_cast<std::size_t>(max_bytes)});
    if (count > 0) std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    if (position_ == bytes_.size()) at_end = true;
    return static_cast<std::int32_t>(count);
  }
  void open() override { ++opens; }
  void close() override { ++closes; }

  int opens = 0;
  int closes = 0;

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::int32_t chunk_;
  std::int64_t fail_at_;
  std::size_t position_ = 0;
};

struct Outcome {
  std::int32_t error_code = 0;
  std::vector<std::uint8_t> rows;
};

Outcome decode(jpeg::JpegInputStream& stream, bool fast_path) {
  Outcome outcome;
  jpeg::JpegDecoder decoder(&stream, fast_path);
  if (decoder.error_code == 0 && decoder.start() == 0) {
    for (std::int32_t y = 0; y < decoder.height; ++y) {
      const std::uint8_t* line = nullptr;
      std::int32_t line_bytes = 0;
      if (decoder.read_scanline(line, line_bytes) != 0) break;
      outcome.rows.insert(outcome.rows.end(), line, line + line_bytes);
    }
  }
  outcome.error_code = decoder.error_code;
  decoder.release();
  return outcome;
}

const char* const kPictures[] = {"photo_420", "photo_444_progressive", "photo_422_restart_3",
                                 "photo_gray_progressive", "wide_8192_420"};

TEST(ByteSources, ASourceThatHandsOutFewBytesPerCallGivesTheSamePicture) {
  for (const char* name : kPictures) {
    const std::vector<std::uint8_t> bytes = read_bytes(picture_dir() + "/" + name + ".jpg");
    ASSERT_FALSE(bytes.empty()) << name;
    for (const bool fast_path : {true, false}) {
      TrickleStream whole(bytes, 1 << 30, -1);
      const Outcome expected = decode(whole, fast_path);
      ASSERT_EQ(expected.error_code, 0) << name;
      for (const std::int32_t chunk : {1, 7, 4095}) {
        TrickleStream trickle(bytes, chunk, -1);
        const Outcome outcome = decode(trickle, fast_path);
        EXPECT_EQ(outcome.error_code, 0) << name << " in chunks of " << chunk;
        EXPECT_TRUE(outcome.rows == expected.rows) << name << " in chunks of " << chunk;
        EXPECT_EQ(trickle.opens, 1);
        EXPECT_EQ(trickle.closes, 1);
      }
    }
  }
}

TEST(ByteSources, ASourceThatFailsPartWayGivesReadFailedAndIsClosedOnce) {
  for (const char* name : kPictures) {
    const std::vector<std::uint8_t> bytes = read_bytes(picture_dir() + "/" + name + ".jpg");
    ASSERT_FALSE(bytes.empty()) << name;
    // Fail points: before anything, inside the headers, and spread over the entropy data.
    std::vector<std::int64_t> fail_points = {0, 1, 100};
    for (std::int64_t i = 1; i < 8; ++i) {
      fail_points.push_back(static_cast<std::int64_t>(bytes.size()) * i / 8);
    }
    for (const bool fast_path : {true, false}) {
      for (const std::int64_t fail_at : fail_points) {
        TrickleStream failing(bytes, 4096, fail_at);
        const Outcome outcome = decode(failing, fast_path);
        // A failure after the decoder already read everything it needs cannot be seen; any
        // failure it does see must be reported as ReadFailed.
        if (outcome.error_code != 0) {
          EXPECT_EQ(outcome.error_code, jpeg::ReadFailed)
              << name << " failing at " << fail_at << ": " << jpeg::error_name(outcome.error_code);
        }
        EXPECT_EQ(failing.closes, 1) << name << " failing at " << fail_at;
      }
    }
  }
}

}  // namespace
}  // namespace conformance
