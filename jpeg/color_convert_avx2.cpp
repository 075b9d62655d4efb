// The row converters in AVX2, two MCUs at a time: the low half of every register carries MCU m
// and the high half MCU m + 1. Every instruction used works within each half, so each half
// computes exactly what the SSE2 converters compute for its MCU. Compiled for AVX2
// (CMakeLists.txt) and called only through the kernel table once the processor is known to run
// it, so this file includes no header that defines functions it could share with other files.
#include "jpeg/instruction_sets.h"

#if defined(MQ_JPEG_AVX2)

#include <immintrin.h>

#include "jpeg/color_convert_kernels.h"

namespace jpeg::detail {

namespace {

struct ChromaTerms2 {
  __m256i red;
  __m256i green;
  __m256i blue;
};

inline __m256i load_pair8(const std::uint8_t* a, const std::uint8_t* b) {
  const __m256i both = _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a))),
      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(b)), 1);
  return _mm256_unpacklo_epi8(both, _mm256_setzero_si256());
}

// Sixteen-bit lanes alternating first, second (the factor pairs of the multiply-adds).
inline __m256i lane_pair(std::int16_t first, std::int16_t second) {
  return _mm256_set1_epi32(static_cast<std::int32_t>(
      (static_cast<std::uint32_t>(static_cast<std::uint16_t>(second)) << 16) |
      static_cast<std::uint16_t>(first)));
}

inline __m256i round_shift16(__m256i lo, __m256i hi) {
  return _mm256_packs_epi32(_mm256_srai_epi32(lo, 16), _mm256_srai_epi32(hi, 16));
}

// cb and cr point at the chroma row of MCU m; the next MCU's lies mcu_bytes further on.
inline ChromaTerms2 chroma_terms2(const std::uint8_t* cb, const std::uint8_t* cr,
                                  std::int32_t mcu_bytes) {
  const __m256i bias = _mm256_set1_epi16(128);
  const __m256i b = _mm256_sub_epi16(load_pair8(cb, cb + mcu_bytes), bias);
  const __m256i r = _mm256_sub_epi16(load_pair8(cr, cr + mcu_bytes), bias);
  const __m256i one = _mm256_set1_epi16(1);
  const __m256i k65536 = _mm256_set1_epi32(65536);
  const __m256i k_red = lane_pair(26346, -32768);
  const __m256i red = _mm256_add_epi16(
      r, round_shift16(
             _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(r, one), k_red), k65536),
             _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(r, one), k_red), k65536)));
  const __m256i k_blue = lane_pair(-14942, -32768);
  const __m256i blue = _mm256_add_epi16(
      _mm256_add_epi16(b, b),
      round_shift16(
          _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(b, one), k_blue), k65536),
          _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(b, one), k_blue), k65536)));
  const __m256i k_green = lane_pair(-22554, 18734);
  const __m256i k32768 = _mm256_set1_epi32(32768);
  const __m256i green = _mm256_sub_epi16(
      round_shift16(
          _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(b, r), k_green), k32768),
          _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(b, r), k_green), k32768)),
      r);
  return ChromaTerms2{red, green, blue};
}

// Writes the halves of four registers of pixels as two runs of 16 pixels or of 8: the low halves
// (MCU m) first, then the high halves (MCU m + 1).
inline void store_halves(std::uint8_t* out, __m256i p0, __m256i p1) {
  auto* o = reinterpret_cast<__m256i*>(out);
  _mm256_storeu_si256(o, _mm256_permute2x128_si256(p0, p1, 0x20));
  _mm256_storeu_si256(o + 1, _mm256_permute2x128_si256(p0, p1, 0x31));
}

// Eight pixels per MCU (64 bytes in all).
inline void store_8x2(std::uint8_t* out, __m256i y, const ChromaTerms2& c) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i red = _mm256_packus_epi16(_mm256_add_epi16(y, c.red), zero);
  const __m256i green = _mm256_packus_epi16(_mm256_add_epi16(y, c.green), zero);
  const __m256i blue = _mm256_packus_epi16(_mm256_add_epi16(y, c.blue), zero);
  const __m256i rg = _mm256_unpacklo_epi8(red, green);
  const __m256i bz = _mm256_unpacklo_epi8(blue, zero);
  store_halves(out, _mm256_unpacklo_epi16(rg, bz), _mm256_unpackhi_epi16(rg, bz));
}

// Sixteen pixels per MCU (128 bytes in all) from two groups of eight luma samples.
inline void store_16x2(std::uint8_t* out, __m256i y0, __m256i y1, const ChromaTerms2& c0,
                       const ChromaTerms2& c1) {
  const __m256i red =
      _mm256_packus_epi16(_mm256_add_epi16(y0, c0.red), _mm256_add_epi16(y1, c1.red));
  const __m256i green =
      _mm256_packus_epi16(_mm256_add_epi16(y0, c0.green), _mm256_add_epi16(y1, c1.green));
  const __m256i blue =
      _mm256_packus_epi16(_mm256_add_epi16(y0, c0.blue), _mm256_add_epi16(y1, c1.blue));
  const __m256i zero = _mm256_setzero_si256();
  const __m256i rg_lo = _mm256_unpacklo_epi8(red, green);
  const __m256i rg_hi = _mm256_unpackhi_epi8(red, green);
  const __m256i bz_lo = _mm256_unpacklo_epi8(blue, zero);
  const __m256i bz_hi = _mm256_unpackhi_epi8(blue, zero);
  const __m256i p0 = _mm256_unpacklo_epi16(rg_lo, bz_lo);
  const __m256i p1 = _mm256_unpackhi_epi16(rg_lo, bz_lo);
  const __m256i p2 = _mm256_unpacklo_epi16(rg_hi, bz_hi);
  const __m256i p3 = _mm256_unpackhi_epi16(rg_hi, bz_hi);
  auto* o = reinterpret_cast<__m256i*>(out);
  _mm256_storeu_si256(o, _mm256_permute2x128_si256(p0, p1, 0x20));
  _mm256_storeu_si256(o + 1, _mm256_permute2x128_si256(p2, p3, 0x20));
  _mm256_storeu_si256(o + 2, _mm256_permute2x128_si256(p0, p1, 0x31));
  _mm256_storeu_si256(o + 3, _mm256_permute2x128_si256(p2, p3, 0x31));
}

inline ChromaTerms2 widen_lo(const ChromaTerms2& c) {
  return ChromaTerms2{_mm256_unpacklo_epi16(c.red, c.red), _mm256_unpacklo_epi16(c.green, c.green),
                      _mm256_unpacklo_epi16(c.blue, c.blue)};
}
inline ChromaTerms2 widen_hi(const ChromaTerms2& c) {
  return ChromaTerms2{_mm256_unpackhi_epi16(c.red, c.red), _mm256_unpackhi_epi16(c.green, c.green),
                      _mm256_unpackhi_epi16(c.blue, c.blue)};
}

}  // namespace

void convert_h1v1_avx2(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                       std::int32_t mcus) {
  std::int32_t m = 0;
  for (; m + 1 < mcus; m += 2) {
    store_8x2(out, load_pair8(mcu, mcu + 192), chroma_terms2(mcu + 64, mcu + 128, 192));
    out += 64;
    mcu += 2 * 192;
  }
  if (m < mcus) convert_h1v1_sse2(d, mcu, out, mcus - m);
}

void convert_h2v1_avx2(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                       std::int32_t mcus) {
  std::int32_t m = 0;
  for (; m + 1 < mcus; m += 2) {
    const ChromaTerms2 c = chroma_terms2(mcu + 128, mcu + 192, 256);
    store_16x2(out, load_pair8(mcu, mcu + 256), load_pair8(mcu + 64, mcu + 320), widen_lo(c),
               widen_hi(c));
    out += 128;
    mcu += 2 * 256;
  }
  if (m < mcus) convert_h2v1_sse2(d, mcu, out, mcus - m);
}

void convert_h1v2_avx2(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                       std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                       std::int32_t mcus) {
  std::int32_t m = 0;
  for (; m + 1 < mcus; m += 2) {
    const ChromaTerms2 c = chroma_terms2(mcu + 128 + chroma_row, mcu + 192 + chroma_row, 256);
    const std::uint8_t* luma = mcu + luma_offset;
    store_8x2(out1, load_pair8(luma, luma + 256), c);
    store_8x2(out2, load_pair8(luma + 8, luma + 264), c);
    out1 += 64;
    out2 += 64;
    mcu += 2 * 256;
  }
  if (m < mcus) convert_h1v2_sse2(d, mcu, luma_offset, chroma_row, out1, out2, mcus - m);
}

void convert_h2v2_avx2(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                       std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                       std::int32_t mcus) {
  std::int32_t m = 0;
  for (; m + 1 < mcus; m += 2) {
    const ChromaTerms2 c = chroma_terms2(mcu + 256 + chroma_row, mcu + 320 + chroma_row, 384);
    const ChromaTerms2 left = widen_lo(c);
    const ChromaTerms2 right = widen_hi(c);
    const std::uint8_t* luma = mcu + luma_offset;
    store_16x2(out1, load_pair8(luma, luma + 384), load_pair8(luma + 64, luma + 448), left, right);
    store_16x2(out2, load_pair8(luma + 8, luma + 392), load_pair8(luma + 72, luma + 456), left,
               right);
    out1 += 128;
    out2 += 128;
    mcu += 2 * 384;
  }
  if (m < mcus) convert_h2v2_sse2(d, mcu, luma_offset, chroma_row, out1, out2, mcus - m);
}

}  // namespace jpeg::detail

#endif
