// The fast transform in SSE2: eight columns (then rows) of a block at once, one per lane.
#include "jpeg/instruction_sets.h"

#if defined(MQ_JPEG_SSE2)

#include <emmintrin.h>

#include "jpeg/idct_fast.h"
#include "jpeg/idct_kernels.h"

namespace jpeg::detail {

namespace {

struct Sse2Lanes {
  using Vector = __m128i;
  static Vector add(Vector a, Vector b) { return _mm_add_epi16(a, b); }
  static Vector sub(Vector a, Vector b) { return _mm_sub_epi16(a, b); }
  static Vector mul_high(Vector x, std::int16_t k) {
    return _mm_mulhi_epi16(_mm_slli_epi16(x, 2), _mm_set1_epi16(k));
  }
  static Vector unpack_lo16(Vector a, Vector b) { return _mm_unpacklo_epi16(a, b); }
  static Vector unpack_hi16(Vector a, Vector b) { return _mm_unpackhi_epi16(a, b); }
  static Vector unpack_lo32(Vector a, Vector b) { return _mm_unpacklo_epi32(a, b); }
  static Vector unpack_hi32(Vector a, Vector b) { return _mm_unpackhi_epi32(a, b); }
  static Vector unpack_lo64(Vector a, Vector b) { return _mm_unpacklo_epi64(a, b); }
  static Vector unpack_hi64(Vector a, Vector b) { return _mm_unpackhi_epi64(a, b); }
};

}  // namespace

void transform_block_fast_sse2(const std::int16_t* coef, const std::uint16_t* quant,
                               std::uint8_t* out) {
  __m128i x[8];
  for (int r = 0; r < 8; ++r) {
    x[r] = _mm_mullo_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(coef + 8 * r)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(quant + 8 * r)));
  }
  aan_pass<Sse2Lanes>(x);  // columns: lane c of row vector r is (r, c)
  transpose_8x8<Sse2Lanes>(x);
  aan_pass<Sse2Lanes>(x);  // rows: lane r of vector c is (r, c)
  transpose_8x8<Sse2Lanes>(x);
  const __m128i offset = _mm_set1_epi16(128);
  for (int r = 0; r < 8; r += 2) {
    const __m128i lo = _mm_adds_epi16(_mm_srai_epi16(x[r], 5), offset);
    const __m128i hi = _mm_adds_epi16(_mm_srai_epi16(x[r + 1], 5), offset);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8 * r), _mm_packus_epi16(lo, hi));
  }
}

}  // namespace jpeg::detail

#endif
