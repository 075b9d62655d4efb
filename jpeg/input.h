// Byte input of the decoder: the 4096-byte buffer with push-back room and the FF D9 end filler.
#pragma once

#include <cstdint>

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Points the cursor at the empty buffer.
void init_input(DecoderState& d);

// Reads from the stream until the buffer is full or the stream ends (-232 on a failed read),
// then writes the end filler after the last valid byte.
void refill_input(DecoderState& d);

// Slow half of next_byte: refills, and past the end returns FF, D9, FF, D9, ...
std::uint8_t next_byte_slow(DecoderState& d);

inline std::uint8_t next_byte(DecoderState& d) {
  if (d.available == 0) return next_byte_slow(d);
  --d.available;
  return *d.cursor++;
}

// Skips n bytes as n calls of next_byte would, a buffer at a time.
void skip_bytes(DecoderState& d, std::int32_t n);

// Reads the rest of the stream into one block of memory (-232 on a failed read, -231 when memory
// runs out) and serves the input from there on, as if the whole file had been one buffer. The
// block, kPushBackBytes of room and then the bytes, is held in block, which the caller frees with
// std::free (also after a failure); size is the number of bytes.
void read_rest_of_input(DecoderState& d, std::uint8_t*& block, std::int32_t& size);

// When the stream holds its bytes in memory, serves the rest of the input from there, in place,
// and returns true; the stream is not read again. Returns false, changing nothing, otherwise.
bool read_rest_in_place(DecoderState& d);

// Returns one byte to the input, in front of the cursor; the push-back room in front of the
// buffer holds it when the cursor stands at the start.
inline void unread_byte(DecoderState& d, std::uint8_t b) {
  // Usually the byte is still there, the cursor having only stepped over it: it is not written
  // again, so that input shared by two threads (scan_pipeline.h) is only ever read.
  --d.cursor;
  if (*d.cursor != b) *d.cursor = b;
  ++d.available;
}

inline std::int32_t read_u8(DecoderState& d) {
  return next_byte(d);
}

inline std::int32_t read_u16(DecoderState& d) {
  const std::int32_t high = next_byte(d);
  return (high << 8) | next_byte(d);
}

// The next byte of entropy-coded data, unstuffed (FF 00 gives FF). At a marker it returns FF
// without consuming the marker, so the data continues as 1-bits.
std::uint8_t next_scan_byte(DecoderState& d);

}  // namespace jpeg::detail
