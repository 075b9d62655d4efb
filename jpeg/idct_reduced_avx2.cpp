// The reduced transforms in AVX2: two blocks at once, one in each 128-bit half, through
// idct_reduced_lanes.h; an odd last block goes to the SSE2 form. Compiled for AVX2
// (CMakeLists.txt) and reached only through the kernel table once the processor is known to run
// it, so this file includes no header that defines functions outside its own templates.
#include "jpeg/instruction_sets.h"

#if defined(MQ_JPEG_AVX2)

#include <immintrin.h>

#include <cstring>

#include "jpeg/idct_kernels.h"
#include "jpeg/idct_reduced_lanes.h"

namespace jpeg::detail {

namespace {

namespace lanes = reduced_lanes;

struct Avx2Lanes {
  using Vector = __m256i;
  static Vector madd(Vector a, Vector b) { return _mm256_madd_epi16(a, b); }
  static Vector add32(Vector a, Vector b) { return _mm256_add_epi32(a, b); }
  template <int N>
  static Vector srai32(Vector a) {
    return _mm256_srai_epi32(a, N);
  }
  static Vector set32(std::int32_t v) { return _mm256_set1_epi32(v); }
  static Vector set4x32(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
    return _mm256_setr_epi32(a, b, c, d, a, b, c, d);
  }
  static Vector weights(const std::int16_t* w) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(w)));
  }
  static Vector unpack_lo16(Vector a, Vector b) { return _mm256_unpacklo_epi16(a, b); }
  static Vector unpack_lo32(Vector a, Vector b) { return _mm256_unpacklo_epi32(a, b); }
  static Vector unpack_hi32(Vector a, Vector b) { return _mm256_unpackhi_epi32(a, b); }
  static Vector unpack_lo64(Vector a, Vector b) { return _mm256_unpacklo_epi64(a, b); }
  static Vector unpack_hi64(Vector a, Vector b) { return _mm256_unpackhi_epi64(a, b); }
  static Vector packs32(Vector a, Vector b) { return _mm256_packs_epi32(a, b); }
  static Vector shuffle_pairs(Vector a) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(a, _MM_SHUFFLE(3, 1, 2, 0)),
                                  _MM_SHUFFLE(3, 1, 2, 0));
  }
  static Vector shift8(Vector a) { return _mm256_srli_si256(a, 8); }
};

inline __m256i load_pair(const std::int16_t* a, const std::int16_t* b) {
  return _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a))),
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)), 1);
}

// The eight rows of blocks a and b, dequantised (the product wraps to 16 bits, as on the
// scalar form); returns whether the rows named by late are zero in both.
template <bool Quantised>
inline bool load_blocks(const std::int16_t* a, const std::int16_t* b, const std::uint16_t* quant,
                        std::uint32_t late, __m256i* x) {
  __m256i any = _mm256_setzero_si256();
#pragma GCC unroll 8
  for (int v = 0; v < 8; ++v) {
    const __m256i c = load_pair(a + 8 * v, b + 8 * v);
    if ((late >> v & 1) != 0) any = _mm256_or_si256(any, c);
    if constexpr (Quantised) {
      const __m256i q = _mm256_broadcastsi128_si256(
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(quant + 8 * v)));
      x[v] = _mm256_mullo_epi16(c, q);
    } else {
      x[v] = c;
    }
  }
  return _mm256_testz_si256(any, any) != 0;
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
  std::int32_t b = 0;
  for (; b + 2 <= count; b += 2, coef += 2 * coef_step, out += 2 * out_step) {
    __m256i x[8];
    const bool late_zero =
        load_blocks<Quantised>(coef, coef + coef_step, quant, lanes::kLateRows4, x);
    __m256i y[4];
    lanes::reduce4<Avx2Lanes>(x, late_zero, y);
    const __m256i bytes =
        _mm256_packus_epi16(_mm256_packs_epi32(y[0], y[1]), _mm256_packs_epi32(y[2], y[3]));
    store_rows(_mm256_castsi256_si128(bytes), 4, 4, out, stride);
    store_rows(_mm256_extracti128_si256(bytes, 1), 4, 4, out + out_step, stride);
  }
  if (b < count) transform_blocks_reduced4_sse2(coef, coef_step, quant, out, out_step, stride, 1);
}

template <bool Quantised>
void blocks2(const std::int16_t* coef, std::int32_t coef_step, const std::uint16_t* quant,
             std::uint8_t* out, std::int32_t out_step, std::int32_t stride, std::int32_t count) {
  const __m256i zero = _mm256_setzero_si256();
  std::int32_t b = 0;
  for (; b + 2 <= count; b += 2, coef += 2 * coef_step, out += 2 * out_step) {
    __m256i x[8];
    const bool late_zero =
        load_blocks<Quantised>(coef, coef + coef_step, quant, lanes::kLateRows2, x);
    const __m256i y = lanes::reduce2<Avx2Lanes>(x, late_zero);
    const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(y, zero), zero);
    store_rows(_mm256_castsi256_si128(bytes), 2, 2, out, stride);
    store_rows(_mm256_extracti128_si256(bytes, 1), 2, 2, out + out_step, stride);
  }
  if (b < count) transform_blocks_reduced2_sse2(coef, coef_step, quant, out, out_step, stride, 1);
}

}  // namespace

void transform_blocks_reduced4_avx2(const std::int16_t* coef, std::int32_t coef_step,
                                    const std::uint16_t* quant, std::uint8_t* out,
                                    std::int32_t out_step, std::int32_t stride,
                                    std::int32_t count) {
  if (quant != nullptr) {
    blocks4<true>(coef, coef_step, quant, out, out_step, stride, count);
  } else {
    blocks4<false>(coef, coef_step, quant, out, out_step, stride, count);
  }
}

void transform_blocks_reduced2_avx2(const std::int16_t* coef, std::int32_t coef_step,
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
