// The reduced transforms in SSE2: one block at a time, through idct_reduced_lanes.h.
#include "jpeg/instruction_sets.h"

#if defined(MQ_JPEG_SSE2)

#include <emmintrin.h>

#include <cstring>

#include "jpeg/idct_kernels.h"
#include "jpeg/idct_reduced_lanes.h"

namespace jpeg::detail {

namespace {

namespace lanes = reduced_lanes;

struct Sse2Lanes {
  using Vector = __m128i;
  static Vector madd(Vector a, Vector b) { return _mm_madd_epi16(a, b); }
  static Vector add32(Vector a, Vector b) { return _mm_add_epi32(a, b); }
  template <int N>
  static Vector srai32(Vector a) {
    return _mm_srai_epi32(a, N);
  }
  static Vector set32(std::int32_t v) { return _mm_set1_epi32(v); }
  static Vector set4x32(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
    return _mm_setr_epi32(a, b, c, d);
  }
  static Vector weights(const std::int16_t* w) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
  }
  static Vector unpack_lo16(Vector a, Vector b) { return _mm_unpacklo_epi16(a, b); }
  static Vector unpack_lo32(Vector a, Vector b) { return _mm_unpacklo_epi32(a, b); }
  static Vector unpack_hi32(Vector a, Vector b) { return _mm_unpackhi_epi32(a, b); }
  static Vector unpack_lo64(Vector a, Vector b) { return _mm_unpacklo_epi64(a, b); }
  static Vector unpack_hi64(Vector a, Vector b) { return _mm_unpackhi_epi64(a, b); }
  static Vector packs32(Vector a, Vector b) { return _mm_packs_epi32(a, b); }
  static Vector shuffle_pairs(Vector a) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(a, _MM_SHUFFLE(3, 1, 2, 0)),
                               _MM_SHUFFLE(3, 1, 2, 0));
  }
  static Vector shift8(Vector a) { return _mm_srli_si128(a, 8); }
};

// The eight rows of a block, dequantised (the product wraps to 16 bits, as on the scalar
// form); returns whether the rows named by late are all zero.
template <bool Quantised>
inline bool load_block(const std::int16_t* coef, const std::uint16_t* quant, std::uint32_t late,
                       __m128i* x) {
  __m128i any = _mm_setzero_si128();
#pragma GCC unroll 8
  for (int v = 0; v < 8; ++v) {
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coef + 8 * v));
    if ((late >> v & 1) != 0) any = _mm_or_si128(any, c);
    if constexpr (Quantised) {
      x[v] = _mm_mullo_epi16(c, _mm_loadu_si128(reinterpret_cast<const __m128i*>(quant + 8 * v)));
    } else {
      x[v] = c;
    }
  }
  return _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF;
}

inline void store_rows(__m128i bytes, std::int32_t row_bytes, std::int32_t rows, std::uint8_t* out,
                       std::int32_t stride) {
  for (int j = 0; j < rows; ++j) {
    const auto four = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
    std::memcpy(out + j * stride, &four, static_cast<std::size_t>(row_bytes));
    bytes = row_bytes == 4 ? _mm_srli_si128(bytes, 4) : _mm_srli_si128(bytes, 2);
  }
}

template <bool Quantised>
void blocks4(const std::int16_t* coef, std::int32_t coef_step, const std::uint16_t* quant,
             std::uint8_t* out, std::int32_t out_step, std::int32_t stride, std::int32_t count) {
  for (std::int32_t b = 0; b < count; ++b, coef += coef_step, out += out_step) {
    __m128i x[8];
    const bool late_zero = load_block<Quantised>(coef, quant, lanes::kLateRows4, x);
    __m128i y[4];
    lanes::reduce4<Sse2Lanes>(x, late_zero, y);
    const __m128i bytes =
        _mm_packus_epi16(_mm_packs_epi32(y[0], y[1]), _mm_packs_epi32(y[2], y[3]));
    store_rows(bytes, 4, 4, out, stride);
  }
}

template <bool Quantised>
void blocks2(const std::int16_t* coef, std::int32_t coef_step, const std::uint16_t* quant,
             std::uint8_t* out, std::int32_t out_step, std::int32_t stride, std::int32_t count) {
  const __m128i zero = _mm_setzero_si128();
  for (std::int32_t b = 0; b < count; ++b, coef += coef_step, out += out_step) {
    __m128i x[8];
    const bool late_zero = load_block<Quantised>(coef, quant, lanes::kLateRows2, x);
    const __m128i y = lanes::reduce2<Sse2Lanes>(x, late_zero);
    store_rows(_mm_packus_epi16(_mm_packs_epi32(y, zero), zero), 2, 2, out, stride);
  }
}

}  // namespace

void transform_blocks_reduced4_sse2(const std::int16_t* coef, std::int32_t coef_step,
                                    const std::uint16_t* quant, std::uint8_t* out,
                                    std::int32_t out_step, std::int32_t stride,
                                    std::int32_t count) {
  if (quant != nullptr) {
    blocks4<true>(coef, coef_step, quant, out, out_step, stride, count);
  } else {
    blocks4<false>(coef, coef_step, quant, out, out_step, stride, count);
  }
}

void transform_blocks_reduced2_sse2(const std::int16_t* coef, std::int32_t coef_step,
                                    const std::uint16_t* quant, std::uint8_t* out,
                                    std::int32_t out_step, std::int32_t stride,
                                    std::int32_t count) {
  if (quant != nullptr) {
    blocks2<true>(coef, coef_step, quant, out, out_step, stride, count);
  } else {
    blocks2<false>(coef, coef_step, quant, out, out_step, stride, count);
  }
}

}  // namespace jpeg::detail

#endif
