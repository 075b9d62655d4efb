// Test helpers: a byte stream that counts open/close and can fail, whole-picture decoding
// through the public interface, and access to the stages on a decoder state of the test's own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "jpeg/decoder_state.h"
#include "jpeg/jpeg_decoder.h"
#include "jpeg_builder.h"

namespace jpeg_test {

// Serves a byte array in chunks of at most chunk bytes; the read numbered fail_at (0-based)
// returns kReadError. Counts open and close calls.
class TestStream : public jpeg::JpegInputStream {
 public:
  explicit TestStream(Bytes data, int fail_at = -1, std::int32_t chunk = 1 << 30)
      : data_(std::move(data)), fail_at_(fail_at), chunk_(chunk) {}
  std::int32_t read(std::uint8_t* buffer, std::int32_t max_bytes, bool& at_end) override;
  // The bytes in place, as a memory stream offers them, unless a read is to fail.
  const std::uint8_t* contents(std::int32_t& size, std::int32_t& delivered) const override {
    size = static_cast<std::int32_t>(data_.size());
    delivered = static_cast<std::int32_t>(position_);
    return fail_at_ < 0 && !data_.empty() ? data_.data() : nullptr;
  }
  void open() override { ++opens; }
  void close() override { ++closes; }

  int opens = 0;
  int closes = 0;
  int reads = 0;

 private:
  Bytes data_;
  std::size_t position_ = 0;
  int fail_at_;
  std::int32_t chunk_;
};

struct Decoded {
  std::int32_t constructor_error = 0;
  std::int32_t start_result = 0;
  std::int32_t row_result = 0;  // first non-zero read_scanline result before the last row
  std::int32_t error_code = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bytes_per_pixel = 0;
  int closes = 0;
  Bytes pixels;  // rows of width * bytes_per_pixel bytes
  bool ok() const { return error_code == 0 && start_result == 0 && row_result == 0; }
};

// Constructs, starts and reads every row at 1/scale of the frame's size; stops at the first
// failure. width and height are those of the delivered rows once start has succeeded.
Decoded decode(const Bytes& jpeg, bool fast_path = true, std::int32_t threads = 1,
               std::int32_t scale = 1);

// The decoder's stages on a state owned by the test (the state lives on the heap).
struct Stages {
  explicit Stages(const Bytes& jpeg, bool fast_path);
  ~Stages();
  // Runs f and returns 0, or the code it failed with.
  std::int32_t run(const std::function<void()>& f);
  // construct + start_decoding.
  std::int32_t open_and_start();
  // Decodes and transforms the next MCU row.
  std::int32_t next_row();
  const std::int16_t* block(int index) const { return d->coef + 64 * index; }

  Bytes bytes;
  TestStream stream;
  std::unique_ptr<jpeg::detail::DecoderState> d;
};

// Every row through the stages, as read_scanline delivers them, on threads threads; the second
// thread is used from min_pixels pixels on.
Decoded decode_stages(const Bytes& jpeg, bool fast_path, std::int32_t threads,
                      std::int64_t min_pixels, std::int32_t scale = 1);

// Bytes of a file; empty when it cannot be read.
Bytes read_file(const std::string& path);

// The path of name in a directory of this test process's own, removed when the process ends:
// ctest runs the tests side by side, each in a process of its own.
std::string work_file(const std::string& name);

// Runs cjpeg with the given options on a synthetic photograph-like PPM of width x height and
// returns the JPEG, or an empty vector when cjpeg is not available.
Bytes make_with_cjpeg(int width, int height, const std::string& options);

// What a test that found no cjpeg or djpeg says: it fails rather than skips.
inline constexpr char kNeedsJpegTools[] =
    "cjpeg or djpeg failed or is not installed: install the Debian package libjpeg-turbo-progs";

}  // namespace jpeg_test
