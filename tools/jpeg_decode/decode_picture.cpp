// Decodes a JPEG held in memory into a packed RGB or grey picture, for the command-line tools.
#include "tools/jpeg_decode/decode_picture.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <limits>

#include "jpeg/error_codes.h"
#include "jpeg/jpeg_decoder.h"
#include "jpeg/memory_input_stream.h"

namespace tools {

DecodedPicture decode_picture(const std::uint8_t* data, std::int32_t size, bool fast_path,
                              std::int32_t threads, std::int32_t scale) {
  return decode_picture(data, size, jpeg::DecoderOptions{fast_path, threads, scale, false});
}

DecodedPicture decode_picture(const std::uint8_t* data, std::int32_t size,
                              const jpeg::DecoderOptions& options) {
  DecodedPicture picture;
  jpeg::MemoryInputStream stream(data, size);
  jpeg::JpegDecoder decoder(&stream, options);
  picture.width = decoder.width;
  picture.height = decoder.height;
  if (decoder.error_code != 0 || decoder.start() != 0) {
    picture.error_code = decoder.error_code != 0 ? decoder.error_code : jpeg::UnexpectedMarker;
    picture.error_offset = decoder.error_offset;
    decoder.release();
    return picture;
  }
  picture.width = decoder.output_width;
  picture.height = decoder.output_height;
  picture.channels = decoder.bytes_per_pixel == 1 ? 1 : 3;
  const auto width = static_cast<std::size_t>(decoder.output_width);
  const auto channels = static_cast<std::size_t>(picture.channels);
  picture.pixels.reserve(width * static_cast<std::size_t>(decoder.output_height) * channels);
  for (std::int32_t y = 0; y < decoder.output_height; ++y) {
    const std::uint8_t* line = nullptr;
    std::int32_t line_bytes = 0;
    if (decoder.read_scanline(line, line_bytes) != jpeg::DecodeOk) {
      picture.error_code = decoder.error_code != 0 ? decoder.error_code : jpeg::CorruptData;
      break;
    }
    if (picture.channels == 1) {
      picture.pixels.insert(picture.pixels.end(), line, line + width);
    } else {
      for (std::size_t x = 0; x < width; ++x) {
        picture.pixels.insert(picture.pixels.end(), line + 4 * x, line + 4 * x + 3);
      }
    }
  }
  if (picture.error_code == 0 && decoder.error_code != 0) picture.error_code = decoder.error_code;
  picture.error_offset = decoder.error_offset;
  decoder.release();
  return picture;
}

std::int32_t decode_rows(const std::uint8_t* data, std::int32_t size, bool fast_path,
                         std::vector<std::uint8_t>& out, std::int32_t threads, std::int32_t scale) {
  return decode_rows(data, size, jpeg::DecoderOptions{fast_path, threads, scale, false}, out);
}

std::int32_t decode_rows(const std::uint8_t* data, std::int32_t size,
                         const jpeg::DecoderOptions& options, std::vector<std::uint8_t>& out) {
  jpeg::MemoryInputStream stream(data, size);
  jpeg::JpegDecoder decoder(&stream, options);
  std::int32_t code = decoder.error_code;
  if (code == 0 && decoder.start() != 0) code = decoder.error_code;
  if (code == 0) {
    const std::size_t row_bytes = static_cast<std::size_t>(decoder.output_width) *
                                  static_cast<std::size_t>(decoder.bytes_per_pixel);
    out.resize(row_bytes * static_cast<std::size_t>(decoder.output_height));
    std::uint8_t* target = out.data();
    for (std::int32_t y = 0; y < decoder.output_height && code == 0; ++y) {
      const std::uint8_t* line = nullptr;
      std::int32_t line_bytes = 0;
      if (decoder.read_scanline(line, line_bytes) != jpeg::DecodeOk) {
        code = decoder.error_code != 0 ? decoder.error_code : jpeg::CorruptData;
      } else {
        std::memcpy(target, line, row_bytes);
        target += row_bytes;
      }
    }
  }
  decoder.release();
  return code;
}

bool read_file(const char* path, std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  bytes.clear();
  std::uint8_t chunk[65536];
  std::size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + count);
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) break;
  }
  const bool ok =
      std::ferror(file) == 0 &&
      bytes.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  std::fclose(file);
  return ok;
}

}  // namespace tools
