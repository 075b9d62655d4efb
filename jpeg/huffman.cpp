// Huffman lookup construction (T.81 Annex C) and the refill paths of the entropy bit readers.
#include "jpeg/huffman.h"

namespace jpeg::detail {

const std::uint8_t kZigzag[80] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                  12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                  35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                  58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
                                  63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63};

bool huffman_counts_valid(const std::uint8_t counts[17]) {
  std::uint32_t code = 0;
  for (int l = 1; l <= 16; ++l) {
    code += counts[l];
    if (code > (1u << l)) return false;
    code <<= 1;
  }
  return true;
}

namespace {

// The with_value entry of window q, whose code gives p (peek's form, or kPeekSlow).
std::uint32_t with_value_of(std::uint32_t q, std::uint16_t p, bool dc) {
  if ((p & kPeekSlow) != 0) return 0;
  const std::int32_t len = p >> 8;
  const std::int32_t symbol = p & 0xFF;
  const std::int32_t run = dc ? 0 : symbol >> 4;
  const std::int32_t size = dc ? symbol : symbol & 15;
  if (!dc && size == 0) {
    // End of block and a run of 16 zeros, flagged so that callers can tell them apart.
    if (run == 0) return kWithValueEob | static_cast<std::uint32_t>(len);
    if (run == 15) return kWithValueZrl | (15u << 8) | static_cast<std::uint32_t>(len);
    return 0;
  }
  if (size > 16 || len + size > kPeekBits || len + size == 0) return 0;
  std::int32_t value = 0;
  if (size != 0) {
    const auto bits =
        static_cast<std::int32_t>((q >> (kPeekBits - len - size)) & ((1u << size) - 1));
    value = extend(bits, size);
  }
  return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(value)) << 16) |
         static_cast<std::uint32_t>(run << 8) | static_cast<std::uint32_t>(len + size);
}

// How many windows from q on (q included, up to the next aligned boundary) get the same
// with_value entry as q when their peek entry is p too: it reads no bits below its code and
// extra bits.
std::uint32_t windows_alike(std::uint32_t q, std::uint16_t p, bool dc) {
  std::int32_t used = 0;  // slow windows: all alike (0)
  if ((p & kPeekSlow) == 0) {
    const std::int32_t len = p >> 8;
    const std::int32_t size = dc ? (p & 0xFF) : (p & 0x0F);
    const bool reads_value = (dc || size != 0) && size <= 16 && len + size <= kPeekBits;
    used = reads_value ? len + size : 0;  // an entry that reads no extra bits fits every window
  }
  const std::uint32_t span = 1u << (kPeekBits - used);
  return span - (q & (span - 1));
}

}  // namespace

void build_lookup(HuffmanLookup& t, const std::uint8_t counts[17], const std::uint8_t symbols[256],
                  bool dc) {
  // The window tables below are written whole (pairs only for AC tables, the only ones that use
  // them); the tree needs clearing.
  std::memset(t.fast, 0, sizeof(t.fast));
  std::memset(t.length, 0, sizeof(t.length));
  std::memset(t.tree, 0, sizeof(t.tree));
  std::int32_t next_node = -1;
  std::uint32_t code = 0;
  std::int32_t k = 0;
  // T.81 Figure C.2: consecutive codes within a length, doubled between lengths.
  for (std::int32_t len = 1; len <= 16; ++len) {
    for (std::int32_t i = 0; i < counts[len]; ++i, ++k, ++code) {
      const std::uint8_t v = symbols[k];
      t.length[v] = static_cast<std::uint8_t>(len);
      if (code >= (1u << len)) fail(HuffmanTableInvalid);
      if (len <= 8) {
        const std::uint32_t first = code << (8 - len);
        for (std::uint32_t j = 0; j < (1u << (8 - len)); ++j) t.fast[first + j] = v;
        continue;
      }
      const std::uint32_t p = code >> (len - 8);
      if (t.fast[p] == 0) {
        if (next_node < -511) fail(HuffmanTableInvalid);
        t.fast[p] = next_node;
        next_node -= 2;
      }
      std::int32_t node = t.fast[p];
      if (node > 0) fail(HuffmanTableInvalid);  // a longer code under a short one
      for (std::int32_t bit = len - 9; bit >= 0; --bit) {
        const std::int32_t slot = ((code >> bit) & 1) != 0 ? -node - 1 : -node;
        if (bit == 0) {
          t.tree[slot] = v;
          break;
        }
        if (t.tree[slot] == 0) {
          if (next_node < -511) fail(HuffmanTableInvalid);
          t.tree[slot] = next_node;
          next_node -= 2;
        }
        node = t.tree[slot];
        if (node > 0) fail(HuffmanTableInvalid);
      }
    }
    code <<= 1;
  }
  // The peek table replays the decoding above on every kPeekBits-bit window.
  for (std::uint32_t q = 0; q < (1u << kPeekBits); ++q) {
    std::int32_t e = t.fast[q >> (kPeekBits - 8)];
    if (e >= 0) {
      t.peek[q] = static_cast<std::uint16_t>((t.length[e] << 8) | e);
      continue;
    }
    std::int32_t consumed = 8;
    for (std::int32_t bit = kPeekBits - 9; bit >= 0 && e < 0; --bit) {
      e = t.tree[-e - static_cast<std::int32_t>((q >> bit) & 1)];
      ++consumed;
    }
    t.peek[q] = e >= 0 ? static_cast<std::uint16_t>((consumed << 8) | e) : kPeekSlow;
  }
  // Symbol and coefficient in one step: the common short codes with few extra bits. An entry
  // depends on its window only through the extra bits, so each one computed is copied over the
  // windows that share its code and those bits.
  for (std::uint32_t q = 0; q < (1u << kPeekBits);) {
    const std::uint16_t p = t.peek[q];
    const std::uint32_t entry = with_value_of(q, p, dc);
    const std::uint32_t end = q + windows_alike(q, p, dc);
    do {
      t.with_value[q++] = entry;
    } while (q < end && t.peek[q] == p);
  }
  if (dc) return;
  // Two coefficients in one step: a second code that fits in what the first leaves of the window.
  constexpr std::uint32_t window_mask = (1u << kPeekBits) - 1;
  for (std::uint32_t q = 0; q < (1u << kPeekBits); ++q) {
    const std::uint32_t first = t.with_value[q];
    PairEntry entry{0, 0, kPairNone, 0, 0, 0};
    if (first != 0) {
      const std::uint32_t first_bits = first & 0xFF;
      entry.bits = static_cast<std::uint8_t>(first_bits);
      entry.second = 0;
      entry.end_of_block = (first & kWithValueEob) != 0 ? 1 : 0;
      if (entry.end_of_block == 0) {
        entry.first = static_cast<std::uint8_t>((first >> 8) & 0x0F);
        entry.second = entry.first;
        entry.first_value = static_cast<std::int16_t>(first >> 16);
        const std::uint32_t second = t.with_value[(q << first_bits) & window_mask];
        if (second != 0 && (second & 0xFF) <= kPeekBits - first_bits) {
          entry.bits = static_cast<std::uint8_t>(first_bits + (second & 0xFF));
          if ((second & kWithValueEob) != 0) {
            // One step to the end mark, so that a first coefficient at 63 goes the slow way:
            // there the block ends without an end of block, and the code that follows is the
            // next DC.
            entry.second = static_cast<std::uint8_t>(entry.first + 1);
            entry.end_of_block = 1;
          } else {
            entry.second = static_cast<std::uint8_t>(entry.first + 1 + ((second >> 8) & 0x0F));
            entry.second_value = static_cast<std::int16_t>(second >> 16);
          }
        }
      }
    }
    t.pairs[q] = entry;
  }
}

void fast_fill_slow_in_place(DecoderState& d, FastBits& b) {
  while (b.count <= 56) {
    b.acc |= static_cast<std::uint64_t>(next_scan_byte(d)) << (56 - b.count);
    b.count += 8;
  }
}

FastBits fast_fill_slow(DecoderState& d, FastBits b) {
  fast_fill_slow_in_place(d, b);
  return b;
}

void enter_entropy_mode(DecoderState& d, bool fast) {
  d.padding_bytes = 0;
  if (fast) {
    FastBits b{0, 0};
    fast_fill<true>(d, b);
    d.bits64 = b.acc;
    d.bit_count64 = b.count;
  } else {
    d.bits = 0;
    d.bit_count = 0;
    plain_fill(d);
  }
}

}  // namespace jpeg::detail
