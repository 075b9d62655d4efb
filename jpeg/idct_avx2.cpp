// The fast transform in AVX2: two blocks at once, the low half of every register carrying one
// and the high half the other. Compiled for AVX2 (CMakeLists.txt) and called only through the
// kernel table once the processor is known to run it, so nothing here may be shared with the
// other files: this file includes no header that defines functions outside its own templates.
#include "jpeg/instruction_sets.h"

#if defined(MQ_JPEG_AVX2)

#include <immintrin.h>

#include "jpeg/idct_fast.h"
#include "jpeg/idct_kernels.h"

namespace jpeg::detail {

namespace {

// The unpack instructions work within each 128-bit half, so the transpose handles both blocks.
struct Avx2Lanes {
  using Vector = __m256i;
  static Vector add(Vector a, Vector b) { return _mm256_add_epi16(a, b); }
  static Vector sub(Vector a, Vector b) { return _mm256_sub_epi16(a, b); }
  static Vector mul_high(Vector x, std::int16_t k) {
    return _mm256_mulhi_epi16(_mm256_slli_epi16(x, 2), _mm256_set1_epi16(k));
  }
  static Vector unpack_lo16(Vector a, Vector b) { return _mm256_unpacklo_epi16(a, b); }
  static Vector unpack_hi16(Vector a, Vector b) { return _mm256_unpackhi_epi16(a, b); }
  static Vector unpack_lo32(Vector a, Vector b) { return _mm256_unpacklo_epi32(a, b); }
  static Vector unpack_hi32(Vector a, Vector b) { return _mm256_unpackhi_epi32(a, b); }
  static Vector unpack_lo64(Vector a, Vector b) { return _mm256_unpacklo_epi64(a, b); }
  static Vector unpack_hi64(Vector a, Vector b) { return _mm256_unpackhi_epi64(a, b); }
};

inline __m256i load_pair(const void* a, const void* b) {
  return _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(static_cast<const __m128i*>(a))),
      _mm_loadu_si128(static_cast<const __m128i*>(b)), 1);
}

}  // namespace

void transform_two_blocks_avx2(const std::int16_t* coef_a, const std::uint16_t* quant_a,
                               std::uint8_t* out_a, const std::int16_t* coef_b,
                               const std::uint16_t* quant_b, std::uint8_t* out_b) {
  __m256i x[8];
  for (int r = 0; r < 8; ++r) {
    x[r] = _mm256_mullo_epi16(load_pair(coef_a + 8 * r, coef_b + 8 * r),
                              load_pair(quant_a + 8 * r, quant_b + 8 * r));
  }
  aan_pass<Avx2Lanes>(x);
  transpose_8x8<Avx2Lanes>(x);
  aan_pass<Avx2Lanes>(x);
  transpose_8x8<Avx2Lanes>(x);
  const __m256i offset = _mm256_set1_epi16(128);
  for (int r = 0; r < 8; r += 2) {
    const __m256i lo = _mm256_adds_epi16(_mm256_srai_epi16(x[r], 5), offset);
    const __m256i hi = _mm256_adds_epi16(_mm256_srai_epi16(x[r + 1], 5), offset);
    const __m256i bytes = _mm256_packus_epi16(lo, hi);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out_a + 8 * r), _mm256_castsi256_si128(bytes));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out_b + 8 * r), _mm256_extracti128_si256(bytes, 1));
  }
}

}  // namespace jpeg::detail

#endif
