// The reduced transforms in SSE2, with the same weights and roundings as idct_reduced.cpp and so
// the same bytes: each row of coefficients is taken against every output column's weights by
// multiply-adds whose sums are gathered four at a time, and the kept values are then combined
// down the columns two rows per multiply-add.
#include "jpeg/instruction_sets.h"

#if defined(MQ_JPEG_SSE2)

#include <emmintrin.h>

#include <cstring>

#include "jpeg/idct_kernels.h"

namespace jpeg::detail {

namespace {

// Two 16-bit weights in one 32-bit lane, low first, for a multiply-add on interleaved rows.
constexpr std::int32_t pair(std::int32_t low, std::int32_t high) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                   (static_cast<std::uint32_t>(high) << 16));
}

// The weights of idct_reduced.cpp, by output group and coefficient (the even and odd parts
// there, multiplied out).
constexpr std::int16_t kWeights4[4][8] = {{2896, 3711, 2676, 1303, 0, -871, -1108, -738},
                                          {2896, 1537, -2676, -3146, 0, 2102, 1108, -306},
                                          {2896, -1537, -2676, 3146, 0, -2102, 1108, 306},
                                          {2896, -3711, 2676, -1303, 0, 871, -1108, 738}};
constexpr std::int16_t kWeights2[2][8] = {{2896, 2624, 0, -922, 0, 616, 0, -522},
                                          {2896, -2624, 0, 922, 0, -616, 0, 522}};

inline __m128i load_weights(const std::int16_t* w) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
}

// The dequantised row v: the product wraps to 16 bits, as on the scalar form.
inline __m128i load_row(const std::int16_t* coef, const std::uint16_t* quant, std::int32_t v) {
  const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coef + 8 * v));
  if (quant == nullptr) return c;
  return _mm_mullo_epi16(c, _mm_loadu_si128(reinterpret_cast<const __m128i*>(quant + 8 * v)));
}

// The lane sums of a, b, c and d, in that order.
inline __m128i sum4(__m128i a, __m128i b, __m128i c, __m128i d) {
  const __m128i ab = _mm_add_epi32(_mm_unpacklo_epi32(a, b), _mm_unpackhi_epi32(a, b));
  const __m128i cd = _mm_add_epi32(_mm_unpacklo_epi32(c, d), _mm_unpackhi_epi32(c, d));
  return _mm_add_epi32(_mm_unpacklo_epi64(ab, cd), _mm_unpackhi_epi64(ab, cd));
}

// The first pass's rounding (13 - 2 bits off).
inline __m128i descale_kept(__m128i x) {
  return _mm_srai_epi32(_mm_add_epi32(x, _mm_set1_epi32(1 << 10)), 11);
}

// The second pass's rounding (13 + 2 bits off) with the level shift of 128 folded in.
inline __m128i descale_out(__m128i x) {
  return _mm_srai_epi32(_mm_add_epi32(x, _mm_set1_epi32((1 << 14) + (128 << 15))), 15);
}

// Row v's four kept values, one per output column.
inline __m128i row4(const std::int16_t* coef, const std::uint16_t* quant, std::int32_t v,
                    const __m128i* w) {
  const __m128i x = load_row(coef, quant, v);
  return descale_kept(sum4(_mm_madd_epi16(x, w[0]), _mm_madd_epi16(x, w[1]),
                           _mm_madd_epi16(x, w[2]), _mm_madd_epi16(x, w[3])));
}

// The kept values of rows a and b (4 per row, 32 bits each) interleaved as 16-bit pairs,
// column by column; saturating as the scalar form does.
inline __m128i interleave_rows(__m128i a, __m128i b) {
  const __m128i packed = _mm_packs_epi32(a, b);
  return _mm_unpacklo_epi16(packed, _mm_srli_si128(packed, 8));
}

// Output rows 0 to 3 (32-bit samples, 4 each) as bytes.
inline void store4x4(const __m128i* y, std::uint8_t* out, std::int32_t stride) {
  const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(y[0], y[1]), _mm_packs_epi32(y[2], y[3]));
  alignas(16) std::uint8_t rows[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(rows), bytes);
  for (int j = 0; j < 4; ++j) std::memcpy(out + j * stride, rows + 4 * j, 4);
}

// Output rows 0 and 1 (two 32-bit samples each, in that order) as bytes.
inline void store2x2(__m128i samples, std::uint8_t* out, std::int32_t stride) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(samples, zero), zero);
  const auto four = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
  std::uint8_t rows[4];
  std::memcpy(rows, &four, 4);
  std::memcpy(out, rows, 2);
  std::memcpy(out + stride, rows + 2, 2);
}

// Whether the coefficient rows named by bit v of rows are all zero. Most blocks of a photo end in
// their first rows, and a zero row adds exactly nothing to either pass.
inline bool rows_zero(const std::int16_t* coef, std::uint32_t rows) {
  __m128i any = _mm_setzero_si128();
  for (std::int32_t v = 0; v < 8; ++v) {
    if ((rows >> v & 1) != 0) {
      any = _mm_or_si128(any, _mm_loadu_si128(reinterpret_cast<const __m128i*>(coef + 8 * v)));
    }
  }
  return _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF;
}

}  // namespace

void transform_block_reduced4_sse2(const std::int16_t* coef, const std::uint16_t* quant,
                                   std::uint8_t* out, std::int32_t stride) {
  __m128i w[4];
  for (int i = 0; i < 4; ++i) w[i] = load_weights(kWeights4[i]);
  // Row 4 has weight 0 in every output row, so it is left out; row 7 is paired with zeros.
  const __m128i r01 = interleave_rows(row4(coef, quant, 0, w), row4(coef, quant, 1, w));
  __m128i y[4];
  if (rows_zero(coef, 0xEC)) {
    for (int j = 0; j < 4; ++j) {
      y[j] =
          descale_out(_mm_madd_epi16(r01, _mm_set1_epi32(pair(kWeights4[j][0], kWeights4[j][1]))));
    }
    store4x4(y, out, stride);
    return;
  }
  const __m128i r23 = interleave_rows(row4(coef, quant, 2, w), row4(coef, quant, 3, w));
  const __m128i r56 = interleave_rows(row4(coef, quant, 5, w), row4(coef, quant, 6, w));
  const __m128i r7 = interleave_rows(row4(coef, quant, 7, w), _mm_setzero_si128());
  for (int j = 0; j < 4; ++j) {
    const std::int16_t* k = kWeights4[j];
    const __m128i s01 = _mm_madd_epi16(r01, _mm_set1_epi32(pair(k[0], k[1])));
    const __m128i s23 = _mm_madd_epi16(r23, _mm_set1_epi32(pair(k[2], k[3])));
    const __m128i s56 = _mm_madd_epi16(r56, _mm_set1_epi32(pair(k[5], k[6])));
    const __m128i s7 = _mm_madd_epi16(r7, _mm_set1_epi32(pair(k[7], 0)));
    y[j] = descale_out(_mm_add_epi32(_mm_add_epi32(s01, s23), _mm_add_epi32(s56, s7)));
  }
  const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(y[0], y[1]), _mm_packs_epi32(y[2], y[3]));
  alignas(16) std::uint8_t rows[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(rows), bytes);
  for (int j = 0; j < 4; ++j) std::memcpy(out + j * stride, rows + 4 * j, 4);
}

void transform_block_reduced2_sse2(const std::int16_t* coef, const std::uint16_t* quant,
                                   std::uint8_t* out, std::int32_t stride) {
  const __m128i w0 = load_weights(kWeights2[0]);
  const __m128i w1 = load_weights(kWeights2[1]);
  // Rows 0, 1, 3, 5 and 7 (the others have weight 0), two to a vector: (a column 0, a column 1,
  // b column 0, b column 1).
  const auto rows2 = [&](std::int32_t a, std::int32_t b) {
    const __m128i xa = load_row(coef, quant, a);
    const __m128i xb = load_row(coef, quant, b);
    return descale_kept(sum4(_mm_madd_epi16(xa, w0), _mm_madd_epi16(xa, w1), _mm_madd_epi16(xb, w0),
                             _mm_madd_epi16(xb, w1)));
  };
  const __m128i x7 = load_row(coef, quant, 7);
  const __m128i zero = _mm_setzero_si128();
  const __m128i q7 = descale_kept(sum4(_mm_madd_epi16(x7, w0), _mm_madd_epi16(x7, w1), zero, zero));
  // (row 0, row 1) and (row 3, row 5) as 16-bit pairs per column; row 7 paired with zeros.
  __m128i p = _mm_packs_epi32(rows2(0, 1), rows2(3, 5));
  p = _mm_shufflelo_epi16(p, _MM_SHUFFLE(3, 1, 2, 0));
  p = _mm_shufflehi_epi16(p, _MM_SHUFFLE(3, 1, 2, 0));
  const __m128i p7 = _mm_unpacklo_epi16(_mm_packs_epi32(q7, zero), zero);
  __m128i y[2];
  for (int j = 0; j < 2; ++j) {
    const std::int16_t* k = kWeights2[j];
    const __m128i k0135 =
        _mm_set_epi32(pair(k[3], k[5]), pair(k[3], k[5]), pair(k[0], k[1]), pair(k[0], k[1]));
    const __m128i s = _mm_madd_epi16(p, k0135);
    const __m128i s7 = _mm_madd_epi16(p7, _mm_set1_epi32(pair(k[7], 0)));
    y[j] = _mm_add_epi32(_mm_add_epi32(s, _mm_srli_si128(s, 8)), s7);
  }
  store2x2(descale_out(_mm_unpacklo_epi64(y[0], y[1])), out, stride);
}

}  // namespace jpeg::detail

#endif
