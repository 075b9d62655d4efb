// Huffman decoding (T.81 Annex C and F.2.2): the lookup tables, the plain 32-bit and fast 64-bit
// entropy bit readers, symbol decoding and EXTEND.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "jpeg/decoder_state.h"
#include "jpeg/input.h"

namespace jpeg::detail {

// Natural (row-major) index of each zigzag position (T.81 Figure A.6), with 16 extra entries
// of 63 so that a run that overshoots in the fast reader still indexes inside the table.
extern const std::uint8_t kZigzag[80];

// True when the counts (entries 1..16) give codes that all fit in their lengths.
bool huffman_counts_valid(const std::uint8_t counts[17]);

// (Re)builds the lookup of a slot from its counts and symbols; dc selects how with_value reads
// the symbols (a DC difference size, or an AC run and size).
void build_lookup(HuffmanLookup& t, const std::uint8_t counts[17], const std::uint8_t symbols[256],
                  bool dc);

// Switches from header reading to entropy-coded data; reprime does the same after a restart
// marker. Both start exactly at the current input position.
void enter_entropy_mode(DecoderState& d, bool fast);

// ---- Plain reader: bits left-aligned in 32 bits, at least 16 valid after every operation.

inline void plain_fill(DecoderState& d) {
  while (d.bit_count <= 24) {
    d.bits |= static_cast<std::uint32_t>(next_scan_byte(d)) << (24 - d.bit_count);
    d.bit_count += 8;
  }
}

// The next n bits (n = 0..16), most significant first.
inline std::int32_t plain_get_bits(DecoderState& d, std::int32_t n) {
  if (n == 0) return 0;
  const std::uint32_t v = d.bits >> (32 - n);
  d.bits <<= n;
  d.bit_count -= n;
  if (d.bit_count < 16) plain_fill(d);
  return static_cast<std::int32_t>(v);
}

inline std::int32_t plain_decode_symbol(DecoderState& d, const HuffmanLookup& t) {
  std::int32_t e = t.fast[d.bits >> 24];
  if (e >= 0) {
    plain_get_bits(d, t.length[e]);
    return e;
  }
  plain_get_bits(d, 8);
  while (e < 0) e = t.tree[-e - plain_get_bits(d, 1)];
  return e;
}

// EXTEND of T.81 F.2.2.1 on the next s bits (s = 1..16).
inline std::int32_t extend(std::int32_t v, std::int32_t s) {
  return v < (1 << (s - 1)) ? v - ((1 << s) - 1) : v;
}

inline std::int32_t plain_receive_extend(DecoderState& d, std::int32_t s) {
  return extend(plain_get_bits(d, s), s);
}

// ---- Fast reader: bits left-aligned in 64 bits; callers keep it in locals while they work.

struct FastBits {
  std::uint64_t acc;
  std::int32_t count;
};

// Appends bytes one at a time through the unstuffing path until at least 57 bits are valid.
// A caller that keeps the reader in locals keeps it in registers with the by-value form; callers
// that pass the reader on by reference (the progressive scans) run faster with the in-place one.
FastBits fast_fill_slow(DecoderState& d, FastBits b);
void fast_fill_slow_in_place(DecoderState& d, FastBits& b);

// Makes at least 32 bits valid: enough for one symbol and its extra bits. in_registers picks
// the form of the slow path, as above.
template <bool in_registers = false>
inline void fast_fill(DecoderState& d, FastBits& b) {
  if (b.count >= 32) return;
  if (d.available >= 8) {
    std::uint64_t raw;
    std::memcpy(&raw, d.cursor, 8);  // the stream's first byte lowest
    // A flag in the top bit of each FF byte; the lowest flag is exact (borrows only run upward).
    const std::uint64_t ff = (~raw - 0x0101010101010101ull) & raw & 0x8080808080808080ull;
    std::int32_t n = (63 - b.count) >> 3;
    if (ff == 0) {
      // No FF among the eight: all of them go in, those past the whole bytes taken included.
      // The bits below count are then the stream's next bits, and whatever later fills those
      // positions (the next fill, or the byte-by-byte path) writes the same bits there.
      b.acc |= __builtin_bswap64(raw) >> b.count;
      b.count |= 56;  // count + 8 n
      d.cursor += n;
      d.available -= n;
      return;
    }
    n = std::min(n, __builtin_ctzll(ff) >> 3);  // stop in front of the FF
    if (n > 0) {
      const std::uint64_t v = __builtin_bswap64(raw) & (~std::uint64_t{0} << (64 - 8 * n));
      b.acc |= v >> b.count;
      b.count += 8 * n;
      d.cursor += n;
      d.available -= n;
      if (b.count >= 32) return;
    }
  }
  // An FF (stuffed, or a marker) or the end of the buffer: byte by byte.
  if constexpr (in_registers) {
    b = fast_fill_slow(d, b);
  } else {
    fast_fill_slow_in_place(d, b);
  }
}

inline std::int32_t fast_get_bits(FastBits& b, std::int32_t n) {
  const std::int32_t v = static_cast<std::int32_t>(b.acc >> (63 - n) >> 1);
  b.acc <<= n;
  b.count -= n;
  return v;
}

// Needs 16 valid bits.
inline std::int32_t fast_decode_symbol(FastBits& b, const HuffmanLookup& t) {
  const std::uint16_t p = t.peek[b.acc >> (64 - kPeekBits)];
  if ((p & kPeekSlow) == 0) {
    const std::int32_t len = p >> 8;
    b.acc <<= len;
    b.count -= len;
    return p & 0xFF;
  }
  // A code longer than the peek: walk the tree on the window, then consume all at once.
  std::int32_t e = t.fast[b.acc >> 56];
  std::int32_t steps = 0;
  while (e < 0) {
    const std::int32_t bit = static_cast<std::int32_t>((b.acc >> (55 - steps)) & 1);
    e = t.tree[-e - bit];
    ++steps;
  }
  b.acc <<= 8 + steps;
  b.count -= 8 + steps;
  return e;
}

}  // namespace jpeg::detail
