// The photo fuzzing step.
#include "tools/fuzz/fuzz_photo.h"

#include <cstring>
#include <vector>

#include "jpeg/error_codes.h"
#include "jpeg/exif_orientation.h"
#include "jpeg/jpeg_decoder.h"
#include "jpeg/memory_input_stream.h"
#include "jpeg/photo_fit.h"

namespace tools {

std::string fuzz_photo(const std::uint8_t* data, std::size_t size, std::int64_t max_pixels,
                       std::uint32_t selector) {
  const auto length = static_cast<std::int32_t>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size);
  const std::int32_t read = jpeg::exif_orientation(data, length);
  if (read < 1 || read > 8) return "an orientation outside 1..8";
  const std::int32_t scale = 1 << (selector & 3);
  const auto orientation = static_cast<std::int32_t>(((selector >> 2) & 7) + 1);
  const jpeg::FitMode mode = (selector & 32) != 0 ? jpeg::FitMode::contain : jpeg::FitMode::cover;
  jpeg::DecoderOptions options;
  options.fast_path = (selector & 64) == 0;
  options.scale_denominator = scale;
  options.photo_sizes = true;
  jpeg::MemoryInputStream stream(data, length);
  jpeg::JpegDecoder decoder(&stream, options);
  if (decoder.orientation < 1 || decoder.orientation > 8) return "an orientation outside 1..8";
  if (decoder.error_code != 0) {
    if (std::strcmp(jpeg::error_text(decoder.error_code), "unknown error") == 0) {
      return "a refusal without a text";
    }
    return {};
  }
  if (std::int64_t{decoder.width} * decoder.height > max_pixels) return {};
  if (decoder.start() != jpeg::DecodeOk) {
    return decoder.error_code == 0 ? "start failed without a code" : std::string();
  }
  if (decoder.output_width != (decoder.width + scale - 1) / scale ||
      decoder.output_height != (decoder.height + scale - 1) / scale) {
    return "a reduced size that is not the frame's divided and rounded up";
  }
  const jpeg::FitFrame frame{64, 48, mode, 0x102030};
  jpeg::PhotoFit fit(frame, orientation, decoder.output_width, decoder.output_height,
                     decoder.bytes_per_pixel);
  if (!fit.ok()) return "the fit could not allocate its accumulators";
  for (std::int32_t y = 0; y < decoder.output_height; ++y) {
    const std::uint8_t* line = nullptr;
    std::int32_t line_bytes = 0;
    const std::int32_t result = decoder.read_scanline(line, line_bytes);
    if (result != jpeg::DecodeOk) {
      return result == jpeg::RowDecodeFailed && decoder.error_code != 0
                 ? std::string()
                 : "a row failed without its codes";
    }
    if (line_bytes != decoder.output_width * decoder.bytes_per_pixel)
      return "a row of the wrong length";
    fit.add_row(line);
  }
  std::vector<std::uint32_t> pixels(64 * 48);
  fit.finish(pixels.data());
  const std::uint8_t* after = nullptr;
  std::int32_t after_bytes = 0;
  if (decoder.read_scanline(after, after_bytes) != jpeg::AllRowsDelivered) {
    return "a row past the last";
  }
  return {};
}

std::string fuzz_photo_every_scale(const std::uint8_t* data, std::size_t size,
                                   std::int64_t max_pixels, std::uint32_t selector) {
  for (std::uint32_t scale = 0; scale < 4; ++scale) {
    const std::string broken = fuzz_photo(data, size, max_pixels, (selector & ~3U) | scale);
    if (!broken.empty()) return broken + " at 1/" + std::to_string(1 << scale);
  }
  return {};
}

}  // namespace tools
