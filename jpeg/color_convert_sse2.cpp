// The row converters in SSE2: the conversion tables' entries computed in 16-bit lanes, eight
// chroma samples at a time.
#include "jpeg/instruction_sets.h"

#if defined(MQ_JPEG_SSE2)

#include <emmintrin.h>

#include "jpeg/color_convert_kernels.h"

namespace jpeg::detail {

namespace {

// The table entries computed in 16-bit lanes: each factor above 32767 is split into a multiple
// of 65536, applied exactly as a shift of d, and a remainder handled by one multiply-add with
// the table's rounding term, so every lane equals the table entry it replaces.
struct ChromaTerms {
  __m128i red;
  __m128i green;
  __m128i blue;
};

inline __m128i round_shift16(__m128i lo, __m128i hi) {
  return _mm_packs_epi32(_mm_srai_epi32(lo, 16), _mm_srai_epi32(hi, 16));
}

inline ChromaTerms chroma_terms(const std::uint8_t* cb_row, const std::uint8_t* cr_row) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bias = _mm_set1_epi16(128);
  const __m128i b = _mm_sub_epi16(
      _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb_row)), zero), bias);
  const __m128i r = _mm_sub_epi16(
      _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr_row)), zero), bias);
  const __m128i one = _mm_set1_epi16(1);
  // cr_to_red: (91882 d + 32768) >> 16 = d + ((26346 d + 32768) >> 16).
  const __m128i k_red = _mm_set_epi16(-32768, 26346, -32768, 26346, -32768, 26346, -32768, 26346);
  // The rounding term 32768 does not fit a signed lane: use -32768 and add 65536 back below.
  const __m128i r_lo = _mm_unpacklo_epi16(r, one);
  const __m128i r_hi = _mm_unpackhi_epi16(r, one);
  const __m128i k65536 = _mm_set1_epi32(65536);
  const __m128i red =
      _mm_add_epi16(r, round_shift16(_mm_add_epi32(_mm_madd_epi16(r_lo, k_red), k65536),
                                     _mm_add_epi32(_mm_madd_epi16(r_hi, k_red), k65536)));
  // cb_to_blue: (116130 d + 32768) >> 16 = 2 d + ((-14942 d + 32768) >> 16).
  const __m128i k_blue =
      _mm_set_epi16(-32768, -14942, -32768, -14942, -32768, -14942, -32768, -14942);
  const __m128i b_lo = _mm_unpacklo_epi16(b, one);
  const __m128i b_hi = _mm_unpackhi_epi16(b, one);
  const __m128i blue = _mm_add_epi16(
      _mm_add_epi16(b, b), round_shift16(_mm_add_epi32(_mm_madd_epi16(b_lo, k_blue), k65536),
                                         _mm_add_epi32(_mm_madd_epi16(b_hi, k_blue), k65536)));
  // Green: (-22554 db + 32768 - 46802 dr) >> 16 = ((-22554 db + 18734 dr + 32768) >> 16) - dr.
  const __m128i k_green = _mm_set_epi16(18734, -22554, 18734, -22554, 18734, -22554, 18734, -22554);
  const __m128i k32768 = _mm_set1_epi32(32768);
  const __m128i green = _mm_sub_epi16(
      round_shift16(_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(b, r), k_green), k32768),
                    _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(b, r), k_green), k32768)),
      r);
  return ChromaTerms{red, green, blue};
}

inline __m128i load_luma(const std::uint8_t* row) {
  return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row)),
                           _mm_setzero_si128());
}

// Sixteen pixels from two groups of eight luma samples and their per-pixel chroma terms.
inline void store_16(std::uint8_t* out, __m128i y0, __m128i y1, const ChromaTerms& c0,
                     const ChromaTerms& c1) {
  const __m128i red = _mm_packus_epi16(_mm_add_epi16(y0, c0.red), _mm_add_epi16(y1, c1.red));
  const __m128i green = _mm_packus_epi16(_mm_add_epi16(y0, c0.green), _mm_add_epi16(y1, c1.green));
  const __m128i blue = _mm_packus_epi16(_mm_add_epi16(y0, c0.blue), _mm_add_epi16(y1, c1.blue));
  const __m128i zero = _mm_setzero_si128();
  const __m128i rg_lo = _mm_unpacklo_epi8(red, green);
  const __m128i rg_hi = _mm_unpackhi_epi8(red, green);
  const __m128i bz_lo = _mm_unpacklo_epi8(blue, zero);
  const __m128i bz_hi = _mm_unpackhi_epi8(blue, zero);
  auto* o = reinterpret_cast<__m128i*>(out);
  _mm_storeu_si128(o, _mm_unpacklo_epi16(rg_lo, bz_lo));
  _mm_storeu_si128(o + 1, _mm_unpackhi_epi16(rg_lo, bz_lo));
  _mm_storeu_si128(o + 2, _mm_unpacklo_epi16(rg_hi, bz_hi));
  _mm_storeu_si128(o + 3, _mm_unpackhi_epi16(rg_hi, bz_hi));
}

inline void store_8(std::uint8_t* out, __m128i y, const ChromaTerms& c) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i red = _mm_packus_epi16(_mm_add_epi16(y, c.red), zero);
  const __m128i green = _mm_packus_epi16(_mm_add_epi16(y, c.green), zero);
  const __m128i blue = _mm_packus_epi16(_mm_add_epi16(y, c.blue), zero);
  const __m128i rg = _mm_unpacklo_epi8(red, green);
  const __m128i bz = _mm_unpacklo_epi8(blue, zero);
  auto* o = reinterpret_cast<__m128i*>(out);
  _mm_storeu_si128(o, _mm_unpacklo_epi16(rg, bz));
  _mm_storeu_si128(o + 1, _mm_unpackhi_epi16(rg, bz));
}

// Each chroma term doubled, for the left four and the right four chroma samples.
inline ChromaTerms widen_lo(const ChromaTerms& c) {
  return ChromaTerms{_mm_unpacklo_epi16(c.red, c.red), _mm_unpacklo_epi16(c.green, c.green),
                     _mm_unpacklo_epi16(c.blue, c.blue)};
}
inline ChromaTerms widen_hi(const ChromaTerms& c) {
  return ChromaTerms{_mm_unpackhi_epi16(c.red, c.red), _mm_unpackhi_epi16(c.green, c.green),
                     _mm_unpackhi_epi16(c.blue, c.blue)};
}

}  // namespace

void convert_row_sse2(const DecoderState& d, const std::uint8_t* luma, const std::uint8_t* cb,
                      const std::uint8_t* cr, std::uint8_t* out, std::int32_t width) {
  // Whole groups of sixteen only, so that no row is read past its end; the rest as the scalar
  // form does it (the same bytes).
  std::int32_t x = 0;
  for (; x + 16 <= width; x += 16, out += 64) {
    store_16(out, load_luma(luma + x), load_luma(luma + x + 8), chroma_terms(cb + x, cr + x),
             chroma_terms(cb + x + 8, cr + x + 8));
  }
  if (x < width) convert_row_scalar(d, luma + x, cb + x, cr + x, out, width - x);
}

void convert_h1v1_sse2(const DecoderState&, const std::uint8_t* mcu, std::uint8_t* out,
                       std::int32_t mcus) {
  for (std::int32_t m = 0; m < mcus; ++m) {
    store_8(out, load_luma(mcu), chroma_terms(mcu + 64, mcu + 128));
    out += 32;
    mcu += 3 * 64;
  }
}

void convert_h2v1_sse2(const DecoderState&, const std::uint8_t* mcu, std::uint8_t* out,
                       std::int32_t mcus) {
  for (std::int32_t m = 0; m < mcus; ++m) {
    const ChromaTerms c = chroma_terms(mcu + 128, mcu + 192);
    store_16(out, load_luma(mcu), load_luma(mcu + 64), widen_lo(c), widen_hi(c));
    out += 64;
    mcu += 4 * 64;
  }
}

void convert_h1v2_sse2(const DecoderState&, const std::uint8_t* mcu, std::int32_t luma_offset,
                       std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                       std::int32_t mcus) {
  for (std::int32_t m = 0; m < mcus; ++m) {
    const std::uint8_t* luma = mcu + luma_offset;
    const ChromaTerms c = chroma_terms(mcu + 128 + chroma_row, mcu + 192 + chroma_row);
    store_8(out1, load_luma(luma), c);
    store_8(out2, load_luma(luma + 8), c);
    out1 += 32;
    out2 += 32;
    mcu += 4 * 64;
  }
}

void convert_h2v2_sse2(const DecoderState&, const std::uint8_t* mcu, std::int32_t luma_offset,
                       std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                       std::int32_t mcus) {
  for (std::int32_t m = 0; m < mcus; ++m) {
    const ChromaTerms c = chroma_terms(mcu + 256 + chroma_row, mcu + 320 + chroma_row);
    const ChromaTerms left = widen_lo(c);
    const ChromaTerms right = widen_hi(c);
    const std::uint8_t* luma = mcu + luma_offset;
    store_16(out1, load_luma(luma), load_luma(luma + 64), left, right);
    store_16(out2, load_luma(luma + 8), load_luma(luma + 72), left, right);
    out1 += 64;
    out2 += 64;
    mcu += 6 * 64;
  }
}

}  // namespace jpeg::detail

#endif
