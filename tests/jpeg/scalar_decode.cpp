// Compiled with the decoder's namespace renamed to jpeg_scalar (see CMakeLists.txt).
#include "scalar_decode.h"

#include "jpeg/jpeg_decoder.h"
#include "jpeg/memory_input_stream.h"

namespace jpeg_test {

std::vector<std::uint8_t> decode_scalar(const std::vector<std::uint8_t>& bytes, bool fast_path) {
  std::vector<std::uint8_t> pixels;
  jpeg::MemoryInputStream stream(bytes.data(), static_cast<std::int32_t>(bytes.size()));
  jpeg::JpegDecoder d(&stream, fast_path);
  if (d.error_code == 0 && d.start() == 0) {
    for (std::int32_t y = 0; y < d.height; ++y) {
      const std::uint8_t* line = nullptr;
      std::int32_t n = 0;
      if (d.read_scanline(line, n) != 0) {
        pixels.clear();
        break;
      }
      pixels.insert(pixels.end(), line, line + n);
    }
  }
  d.release();
  return pixels;
}

}  // namespace jpeg_test
