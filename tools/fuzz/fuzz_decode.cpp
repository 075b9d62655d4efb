// One fuzzing step for the decoder: decode arbitrary bytes on one or both paths, read every row and
// check the decoder's promises on the way.
#include "tools/fuzz/fuzz_decode.h"

#include <limits>

#include "jpeg/error_codes.h"
#include "jpeg/jpeg_decoder.h"
#include "jpeg/memory_input_stream.h"

namespace tools {
namespace {

// Counts the decoder's calls of open and close around an in-memory stream.
class CountingStream : public jpeg::MemoryInputStream {
 public:
  using jpeg::MemoryInputStream::MemoryInputStream;
  void open() override { ++opens; }
  void close() override { ++closes; }
  int opens = 0;
  int closes = 0;
};

// code receives the decoder's error_code at the end (0 when the picture decoded).
std::string decode_once(const std::uint8_t* data, std::int32_t size, bool fast_path,
                        std::int64_t max_pixels, std::int32_t threads, std::int32_t& code) {
  CountingStream stream(data, size);
  std::string broken;
  {
    jpeg::JpegDecoder decoder(&stream, fast_path, threads);
    if (stream.opens != 1) broken = "open was not called exactly once";
    const bool constructed = decoder.error_code == 0;
    if (!constructed && stream.closes != 1) broken = "a failed constructor left the stream open";
    const std::int64_t pixels = std::int64_t{decoder.width} * decoder.height;
    if (constructed && pixels <= max_pixels && broken.empty()) {
      const std::int32_t started = decoder.start();
      if (started != jpeg::DecodeOk && started != jpeg::NotReady)
        broken = "start returned neither 0 nor -1";
      if (started == jpeg::NotReady && decoder.error_code == 0)
        broken = "start failed without a code";
      if (started == 0) {
        const std::int32_t row_bytes = decoder.width * decoder.bytes_per_pixel;
        std::int32_t rows = 0;
        for (; rows < decoder.height && broken.empty(); ++rows) {
          const std::uint8_t* line = nullptr;
          std::int32_t line_bytes = 0;
          const std::int32_t result = decoder.read_scanline(line, line_bytes);
          if (result == jpeg::RowDecodeFailed) {
            if (decoder.error_code == 0) broken = "read_scanline failed without a code";
            if (decoder.read_scanline(line, line_bytes) != jpeg::NotReady) {
              broken = "read_scanline after a failure did not return -1";
            }
            break;
          }
          if (result != 0) {
            broken = "read_scanline returned neither 0 nor -227 before the last row";
            break;
          }
          if (line == nullptr || line_bytes != row_bytes) {
            broken = "a row has the wrong length";
            break;
          }
          // Touch every byte of the row so that ASan sees a row that overruns its buffer.
          unsigned sum = 0;
          for (std::int32_t i = 0; i < line_bytes; ++i) sum += line[i];
          if (sum == std::numeric_limits<unsigned>::max()) broken = "unreachable";
        }
        if (broken.empty() && rows == decoder.height && decoder.error_code == 0) {
          const std::uint8_t* line = nullptr;
          std::int32_t line_bytes = -5;
          if (decoder.read_scanline(line, line_bytes) != jpeg::AllRowsDelivered ||
              line != nullptr || line_bytes != -5) {
            broken = "read_scanline after the last row did not return 1 untouched";
          }
        }
      }
    }
    decoder.release();
    decoder.release();
    code = decoder.error_code;
  }
  if (broken.empty() && stream.closes != 1) broken = "the stream was not closed exactly once";
  if (!broken.empty()) broken += fast_path ? " (fast path)" : " (integer path)";
  return broken;
}

}  // namespace

std::string fuzz_decode(const std::uint8_t* data, std::size_t size, std::int64_t max_pixels,
                        FuzzPaths paths, std::int32_t threads) {
  if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return {};
  const auto length = static_cast<std::int32_t>(size);
  std::string broken;
  std::int32_t fast_code = 0;
  std::int32_t integer_code = 0;
  if (paths != FuzzPaths::integer) {
    broken = decode_once(data, length, true, max_pixels, threads, fast_code);
  }
  if (broken.empty() && paths != FuzzPaths::fast) {
    broken = decode_once(data, length, false, max_pixels, threads, integer_code);
  }
  // The paths differ in their transforms, never in what they accept.
  if (broken.empty() && paths == FuzzPaths::both && fast_code != integer_code) {
    broken = std::string("the paths ended differently: ") + jpeg::error_name(fast_code) +
             " (fast path), " + jpeg::error_name(integer_code) + " (integer path)";
  }
  return broken;
}

}  // namespace tools
