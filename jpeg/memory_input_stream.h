// A JpegInputStream over a byte array in memory that it does not own.
#pragma once

#include <cstdint>

#include "jpeg/jpeg_decoder.h"

namespace jpeg {

class MemoryInputStream : public JpegInputStream {
 public:
  // data is borrowed and must outlive the stream; a length of 0 or less is an empty stream.
  MemoryInputStream(const std::uint8_t* data, std::int32_t length);
  ~MemoryInputStream() override = default;

  // Copies the next bytes; returns kReadError when a stream of some length has no data
  // pointer. A read that fills the request exactly leaves the end flags alone, even when it
  // took the last byte.
  std::int32_t read(std::uint8_t* buffer, std::int32_t max_bytes, bool& at_end) override;

  // The array itself, or null for an empty stream or one without a data pointer.
  const std::uint8_t* contents(std::int32_t& size, std::int32_t& delivered) const override;

 private:
  bool at_end_;
  std::int32_t length_;
  std::int32_t position_ = 0;
  const std::uint8_t* data_;
};

}  // namespace jpeg
