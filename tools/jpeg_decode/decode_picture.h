// Decodes a JPEG held in memory into a packed RGB or grey picture, for the command-line tools.
#pragma once

#include <cstdint>
#include <vector>

#include "jpeg/jpeg_decoder.h"

namespace tools {

struct DecodedPicture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t channels = 0;         // 3 (RGB) or 1 (grey)
  std::vector<std::uint8_t> pixels;  // width * height * channels bytes, rows top to bottom
  std::int32_t error_code = 0;       // the decoder's code of the first fatal error, or 0
  std::int64_t error_offset = 0;     // with error_code: where in the data the decoder failed
};

// Runs the decoder the way the player does (construct, start, every row, release) over data,
// at 1/scale of the frame's size. On failure error_code is the decoder's code and pixels holds
// the rows delivered before it.
DecodedPicture decode_picture(const std::uint8_t* data, std::int32_t size, bool fast_path,
                              std::int32_t threads = 1, std::int32_t scale = 1);
// The same with every decoder option; error_offset is the decoder's on failure.
DecodedPicture decode_picture(const std::uint8_t* data, std::int32_t size,
                              const jpeg::DecoderOptions& options);

// Decodes data into the decoder's own row format (4 bytes per pixel, or 1 for grey) copied row
// after row into out, as the player does; returns the decoder's error code (0 on success).
// This is the timed step of the benchmarks: no repacking of pixels.
std::int32_t decode_rows(const std::uint8_t* data, std::int32_t size, bool fast_path,
                         std::vector<std::uint8_t>& out, std::int32_t threads = 1,
                         std::int32_t scale = 1);
std::int32_t decode_rows(const std::uint8_t* data, std::int32_t size,
                         const jpeg::DecoderOptions& options, std::vector<std::uint8_t>& out);

// Reads a whole file; false when it cannot be read or is larger than 2 GiB.
bool read_file(const char* path, std::vector<std::uint8_t>& bytes);

}  // namespace tools
