// Input buffering, byte reading with the end filler, and unstuffing of entropy-coded bytes.
#include "jpeg/input.h"

#include <cstdlib>
#include <cstring>

namespace jpeg::detail {

namespace {

std::uint8_t* buffer_start(DecoderState& d) {
  return d.input + kPushBackBytes;
}

}  // namespace

void init_input(DecoderState& d) {
  d.cursor = buffer_start(d);
  d.available = 0;
}

void refill_input(DecoderState& d) {
  std::uint8_t* start = buffer_start(d);
  // Past the end the buffer already holds the filler at its start: writing it again for every
  // byte would make each filler byte cost a whole refill.
  if (d.at_end && d.cursor == start && d.available == 0) return;
  d.cursor = start;
  d.available = 0;
  if (!d.at_end) {
    while (true) {
      const std::int32_t n =
          d.stream->read(start + d.available, kInputBufferBytes - d.available, d.at_end);
      if (n < 0 || n > kInputBufferBytes - d.available) fail(ReadFailed);
      // A read that brings nothing and does not say so would make this loop spin for ever.
      if (n == 0) d.at_end = true;
      d.available += n;
      d.stream_bytes += n;
      if (d.available >= kInputBufferBytes || d.at_end) break;
    }
  }
  // A reader running past the valid bytes meets FF D9 pairs, never stale data.
  std::uint8_t* filler = start + d.available;
  for (int i = 0; i < kFillerBytes; i += 2) {
    filler[i] = 0xFF;
    filler[i + 1] = 0xD9;
  }
}

void skip_bytes(DecoderState& d, std::int32_t n) {
  while (n > 0) {
    if (d.available == 0) {
      next_byte(d);  // refills, or past the end gives a filler byte
      --n;
      continue;
    }
    const std::int32_t take = n < d.available ? n : d.available;
    d.cursor += take;
    d.available -= take;
    n -= take;
  }
}

void read_rest_of_input(DecoderState& d, std::uint8_t*& block, std::int32_t& size) {
  // A file too large for the 32-bit counts of the input is refused as too large to hold.
  constexpr std::int32_t kLargest = 1 << 30;
  std::int32_t capacity = d.available > (1 << 20) ? d.available : (1 << 20);
  block =
      static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(kPushBackBytes + capacity)));
  if (block == nullptr) fail(OutOfMemory);
  size = d.available;
  std::memcpy(block + kPushBackBytes, d.cursor, static_cast<std::size_t>(size));
  while (!d.at_end) {
    if (size == capacity) {
      if (capacity >= kLargest) fail(OutOfMemory);
      capacity *= 2;
      void* grown = std::realloc(block, static_cast<std::size_t>(kPushBackBytes + capacity));
      if (grown == nullptr) fail(OutOfMemory);
      block = static_cast<std::uint8_t*>(grown);
    }
    const std::int32_t room = capacity - size;
    const std::int32_t n = d.stream->read(block + kPushBackBytes + size, room, d.at_end);
    if (n < 0 || n > room) fail(ReadFailed);
    if (n == 0) d.at_end = true;
    size += n;
    d.stream_bytes += n;
  }
  // When the block runs out, the next refill finds the stream at its end and gives the filler.
  d.cursor = block + kPushBackBytes;
  d.available = size;
}

bool read_rest_in_place(DecoderState& d) {
  std::int32_t size = 0;
  std::int32_t delivered = 0;
  const std::uint8_t* bytes = d.stream->contents(size, delivered);
  const std::int32_t position = delivered - d.available;
  if (bytes == nullptr || position < 0 || delivered > size) return false;
  // Only ever read: the one write of the input, unread_byte's, puts back the byte that is there.
  d.cursor = const_cast<std::uint8_t*>(bytes) + position;
  d.available = size - position;
  d.stream_bytes += size - delivered;
  d.at_end = true;
  return true;
}

std::uint8_t next_byte_slow(DecoderState& d) {
  refill_input(d);
  if (d.available > 0) {
    --d.available;
    return *d.cursor++;
  }
  const std::uint8_t b = d.end_toggle == 0 ? 0xFF : 0xD9;
  d.end_toggle ^= 1;
  return b;
}

std::uint8_t next_scan_byte(DecoderState& d) {
  if (d.available == 0) {
    refill_input(d);
    if (d.available == 0) {
      ++d.padding_bytes;
      return next_byte_slow(d);  // past the end: the filler, unchanged
    }
  }
  --d.available;
  const std::uint8_t b = *d.cursor++;
  if (b != 0xFF) return b;
  if (d.available == 0) {
    refill_input(d);
    if (d.available == 0) {
      unread_byte(d, 0xFF);
      ++d.padding_bytes;
      return 0xFF;
    }
  }
  if (*d.cursor == 0x00) {
    --d.available;
    ++d.cursor;
    return 0xFF;
  }
  unread_byte(d, 0xFF);  // a marker: leave it for the marker reader
  ++d.padding_bytes;
  return 0xFF;
}

}  // namespace jpeg::detail
