// Entry points of the decoder (provisional: refuses every stream until the stages arrive).
#include "jpeg/jpeg_decoder.h"

#include "jpeg/error_codes.h"

namespace jpeg {

JpegDecoder::JpegDecoder(JpegInputStream* stream, bool fast_path) {
  (void)fast_path;
  error_code = UnsupportedFrame;
  if (stream != nullptr) {
    stream->open();
    stream->close();
  }
}

JpegDecoder::~JpegDecoder() {
  release();
}

std::int32_t JpegDecoder::start() {
  return -1;
}

std::int32_t JpegDecoder::read_scanline(const std::uint8_t*& line, std::int32_t& line_bytes) {
  (void)line;
  (void)line_bytes;
  return -1;
}

void JpegDecoder::release() {}

}  // namespace jpeg
