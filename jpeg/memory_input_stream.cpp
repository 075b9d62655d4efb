// The in-memory byte source of the decoder.
#include "jpeg/memory_input_stream.h"

#include <cstring>

namespace jpeg {

MemoryInputStream::MemoryInputStream(const std::uint8_t* data, std::int32_t length)
    : at_end_(length <= 0), length_(length), data_(data) {}

std::int32_t MemoryInputStream::read(std::uint8_t* buffer, std::int32_t max_bytes, bool& at_end) {
  // An empty source is an empty stream, whatever its data pointer.
  if (at_end_) {
    at_end = true;
    return 0;
  }
  if (data_ == nullptr) return kReadError;
  std::int32_t count = 0;
  if (max_bytes > 0) count = max_bytes < length_ - position_ ? max_bytes : length_ - position_;
  if (count > 0) {
    std::memcpy(buffer, data_ + position_, static_cast<std::size_t>(count));
    position_ += count;
  }
  if (count < max_bytes) {
    at_end_ = true;
    at_end = true;
  }
  return count;
}

const std::uint8_t* MemoryInputStream::contents(std::int32_t& size, std::int32_t& delivered) const {
  size = length_;
  delivered = position_;
  return length_ > 0 ? data_ : nullptr;
}

}  // namespace jpeg
