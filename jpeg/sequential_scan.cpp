// Entropy decoding of sequential MCU rows (T.81 F.2.2), plain and fast variants. Both decode the
// same coefficients; the plain one also dequantises them.
#include "jpeg/sequential_scan.h"

#include <cstring>

#include "jpeg/huffman.h"
#include "jpeg/scan_setup.h"

#if defined(MQ_JPEG_SSE2)
#include <emmintrin.h>
#endif

namespace jpeg::detail {

namespace {

// Zeroes one block of coefficients with eight vector stores. GCC turns a 128-byte memset, and
// stores of a zero it can see, into `rep stos`, whose start-up costs more than the stores: the
// empty asm hides the zero from it.
inline void clear_block(std::int16_t* block) {
#if defined(MQ_JPEG_SSE2) && defined(__GNUC__)
  __m128i zero = _mm_setzero_si128();
  __asm__("" : "+x"(zero));
  // Unrolled by hand: GCC keeps a counted loop of four instructions per store otherwise.
#pragma GCC unroll 8
  for (std::int32_t i = 0; i < 8; ++i)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(block) + i, zero);
#else
  std::memset(block, 0, 64 * sizeof(std::int16_t));
#endif
}

// Zeroes the coefficients at zigzag positions [from, to).
inline void clear_zigzag(std::int16_t* block, std::int32_t from, std::int32_t to) {
  for (std::int32_t k = from; k < to; ++k) block[kZigzag[k]] = 0;
}

inline std::int32_t min32(std::int32_t a, std::int32_t b) {
  return a < b ? a : b;
}

inline std::int16_t low16(std::uint32_t v) {
  return static_cast<std::int16_t>(v);
}

}  // namespace

void decode_mcu_row(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water) {
  std::int16_t* block = coef;
  std::uint8_t* hw_count = high_water;
  for (std::int32_t m = 0; m < d.scan_mcus_per_row; ++m) {
    if (d.restart_interval != 0 && d.mcus_left == 0) process_restart(d, false);
    for (std::int32_t j = 0; j < d.scan_blocks_per_mcu; ++j) {
      FrameComponent& c = d.comp[d.block_comp[j]];
      const std::uint16_t* q = d.quant[c.tq];
      const std::int32_t s = plain_decode_symbol(d, *d.block_dc[j]);
      if (s > 16) fail(CorruptData);
      if (s != 0) c.predictor += static_cast<std::uint32_t>(plain_receive_extend(d, s));
      block[0] = low16(c.predictor * q[0]);
      const HuffmanLookup& ac = *d.block_ac[j];
      const std::int32_t hw = *hw_count;
      std::int32_t k = 1;
      while (k <= 63) {
        const std::int32_t rs = plain_decode_symbol(d, ac);
        const std::int32_t r = rs >> 4;
        const std::int32_t size = rs & 15;
        if (size != 0) {
          if (k + r > 63) fail(CorruptData);
          if (k < hw) clear_zigzag(block, k, k + min32(r, hw - k));
          k += r;
          const std::int32_t v = plain_receive_extend(d, size);
          block[kZigzag[k]] = low16(static_cast<std::uint32_t>(v) * q[k]);
          ++k;
        } else if (r == 15) {
          if (k + 15 > 63) fail(CorruptData);
          if (k < hw) clear_zigzag(block, k, k + min32(16, hw - k));
          k += 16;
        } else {
          break;
        }
      }
      if (k < hw) clear_zigzag(block, k, hw);
      *hw_count = static_cast<std::uint8_t>(k);
      block += 64;
      ++hw_count;
    }
    --d.mcus_left;
  }
}

namespace {

// The AC coefficients of one block from position 1 on; returns the position after the last.
// Without store they are decoded and dropped.
template <bool store>
__attribute__((always_inline)) inline std::uint32_t decode_ac_fast(DecoderState& d, FastBits& b,
                                                                   const HuffmanLookup& ac,
                                                                   std::int16_t* block) {
  // Unsigned positions index the tables without a sign extension.
  std::uint32_t k = 1;
  while (k <= 63) {
    fast_fill<true>(d, b);
    const PairEntry& entry = ac.pairs[b.acc >> (64 - kPeekBits)];
    // A run of 16 zeros is a run of 15 and a stored zero. With one coefficient the second
    // position is the first, and the zero stored there first is overwritten.
    const std::uint32_t second = k + entry.second;
    // Past the end, the second code may be the next block's: the path below takes one code.
    if (second <= 63) {
      [[maybe_unused]] const std::uint32_t first = k + entry.first;
      b.acc <<= entry.bits;
      b.count -= entry.bits;
      if constexpr (store) {
        block[kZigzag[second]] = entry.second_value;
        block[kZigzag[first]] = entry.first_value;
      }
      if (entry.end_of_block != 0) {
        k = second;  // the end mark
        break;
      }
      k = second + 1;
      continue;
    }
    const std::int32_t rs = fast_decode_symbol(b, ac);
    const std::int32_t r = rs >> 4;
    const std::int32_t size = rs & 15;
    if (size != 0) {
      k += static_cast<std::uint32_t>(r);
      if (k > 63) fail(CorruptData);
      const std::int32_t v = extend(fast_get_bits(b, size), size);
      if constexpr (store) block[kZigzag[k]] = static_cast<std::int16_t>(v);
      ++k;
    } else if (r == 15) {
      if (k + 15 > 63) fail(CorruptData);
      k += 16;
    } else {
      break;
    }
  }
  return k;
}

// Inlined into both builds below. drop_ac serves the 1/8 scale, where the transform of a block
// that gives one pixel reads only its DC: the AC coefficients of such blocks are decoded and
// dropped, and the blocks are neither cleared nor written past their first value.
template <bool blocks_cleared, bool drop_ac>
__attribute__((always_inline)) inline void decode_fast(DecoderState& d, std::int16_t* coef,
                                                       std::uint8_t* high_water,
                                                       std::int32_t mcus) {
  FastBits b{d.bits64, d.bit_count64};
  std::int16_t* block = coef;
  std::uint8_t* hw_count = high_water;
  const std::int32_t per_mcu = d.scan_blocks_per_mcu;
  bool drop[kMaxBlocksPerMcu] = {};
  if constexpr (drop_ac) {
    for (std::int32_t j = 0; j < per_mcu; ++j) {
      const std::int32_t c = d.block_comp[j];
      drop[j] = c < d.plane_count && d.block_size[c] == 1;
    }
  }
  for (std::int32_t m = 0; m < mcus; ++m) {
    if (d.restart_interval != 0 && d.mcus_left == 0) {
      process_restart(d, true);
      b = FastBits{d.bits64, d.bit_count64};
    }
    for (std::int32_t j = 0; j < per_mcu; ++j) {
      // Clearing the whole block up front gives the same coefficients as clearing only the
      // positions below the high-water count, at a cost of a few vector stores.
      if (!blocks_cleared && !(drop_ac && drop[j])) clear_block(block);
      FrameComponent& c = d.comp[d.block_comp[j]];
      fast_fill<true>(d, b);
      const HuffmanLookup& dc = *d.block_dc[j];
      const std::uint32_t dc_entry = dc.with_value[b.acc >> (64 - kPeekBits)];
      if (dc_entry != 0) {
        const std::int32_t len = static_cast<std::int32_t>(dc_entry & 0xFF);
        b.acc <<= len;
        b.count -= len;
        c.predictor += static_cast<std::uint32_t>(static_cast<std::int16_t>(dc_entry >> 16));
      } else {
        const std::int32_t s = fast_decode_symbol(b, dc);
        if (s != 0) {
          if (s > 16) fail(CorruptData);
          c.predictor += static_cast<std::uint32_t>(extend(fast_get_bits(b, s), s));
        }
      }
      block[0] = low16(c.predictor);
      const HuffmanLookup& ac = *d.block_ac[j];
      const std::uint32_t k = drop_ac && drop[j] ? decode_ac_fast<false>(d, b, ac, block)
                                                 : decode_ac_fast<true>(d, b, ac, block);
      *hw_count = static_cast<std::uint8_t>(k);
      block += 64;
      ++hw_count;
    }
    --d.mcus_left;
  }
  d.bits64 = b.acc;
  d.bit_count64 = b.count;
}

template <bool blocks_cleared, bool drop_ac>
void decode_fast_baseline(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water,
                          std::int32_t mcus) {
  decode_fast<blocks_cleared, drop_ac>(d, coef, high_water, mcus);
}

#if defined(MQ_JPEG_BMI2)
// The same loop with BMI2's flag-free shifts: the reader's shifts by a code length sit on the
// chain from one symbol to the next, and the plain x86-64 shift by CL also writes the flags.
template <bool blocks_cleared, bool drop_ac>
__attribute__((target("bmi,bmi2"))) void decode_fast_bmi2(DecoderState& d, std::int16_t* coef,
                                                          std::uint8_t* high_water,
                                                          std::int32_t mcus) {
  decode_fast<blocks_cleared, drop_ac>(d, coef, high_water, mcus);
}
#endif

template <bool blocks_cleared, bool drop_ac>
void decode_fast_isa(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water,
                     std::int32_t mcus) {
#if defined(MQ_JPEG_BMI2)
  static const bool bmi2 = __builtin_cpu_supports("bmi2") != 0;
  if (bmi2) {
    decode_fast_bmi2<blocks_cleared, drop_ac>(d, coef, high_water, mcus);
    return;
  }
#endif
  decode_fast_baseline<blocks_cleared, drop_ac>(d, coef, high_water, mcus);
}

template <bool blocks_cleared>
void decode_fast_dispatch(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water,
                          std::int32_t mcus) {
  if (d.scale == 8) {
    decode_fast_isa<blocks_cleared, true>(d, coef, high_water, mcus);
  } else {
    decode_fast_isa<blocks_cleared, false>(d, coef, high_water, mcus);
  }
}

}  // namespace

void decode_mcu_row_fast(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water) {
  decode_fast_dispatch<false>(d, coef, high_water, d.scan_mcus_per_row);
}

void decode_mcu_row_fast_into_zeros(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water) {
  decode_fast_dispatch<true>(d, coef, high_water, d.scan_mcus_per_row);
}

void decode_mcus_fast(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water,
                      std::int32_t mcus) {
  decode_fast_dispatch<false>(d, coef, high_water, mcus);
}

}  // namespace jpeg::detail
