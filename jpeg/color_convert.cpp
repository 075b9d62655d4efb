// YCbCr to RGB conversion through four fixed-point tables, with chroma replication in each of
// the sampling layouts. Pixels are stored as one 32-bit word whose fourth byte is zero, which
// gives the same bytes as writing R, G and B alone into the zeroed line buffers.
#include "jpeg/color_convert.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(MQ_JPEG_SSE2)
#include <emmintrin.h>
#endif
#if defined(MQ_JPEG_AVX2)
#include <immintrin.h>

#include "jpeg/idct.h"
#endif

namespace jpeg::detail {

namespace {

// Clamp to 0..255 of any sum that the conversion can produce (-384..639), offset by 384.
constexpr std::array<std::uint8_t, 1024> make_clamp_table() {
  std::array<std::uint8_t, 1024> t{};
  for (int i = 0; i < 1024; ++i) {
    const int v = i - 384;
    t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
  }
  return t;
}
constexpr std::array<std::uint8_t, 1024> kClamp = make_clamp_table();

inline std::uint32_t clamp(std::int32_t v) {
  return kClamp[static_cast<std::size_t>(v + 384)];
}

// The chroma terms of one chroma sample, shared by every pixel it covers.
struct Chroma {
  std::int32_t red;
  std::int32_t green;
  std::int32_t blue;
};

[[maybe_unused]] inline Chroma chroma(const DecoderState& d, std::uint8_t cb, std::uint8_t cr) {
  return Chroma{d.cr_to_red[cr], (d.cb_to_green[cb] + d.cr_to_green[cr]) >> 16, d.cb_to_blue[cb]};
}

[[maybe_unused]] inline void put_pixel(std::uint8_t* out, std::int32_t y, const Chroma& c) {
  const std::uint32_t red = clamp(y + c.red);
  const std::uint32_t green = clamp(y + c.green);
  const std::uint32_t blue = clamp(y + c.blue);
  if constexpr (std::endian::native == std::endian::little) {
    const std::uint32_t word = red | (green << 8) | (blue << 16);
    std::memcpy(out, &word, 4);
  } else {
    out[0] = static_cast<std::uint8_t>(red);
    out[1] = static_cast<std::uint8_t>(green);
    out[2] = static_cast<std::uint8_t>(blue);
  }
}

#if defined(MQ_JPEG_SSE2)

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

#endif

#if defined(MQ_JPEG_AVX2)

// The SSE2 steps above on 256-bit registers, two MCUs at a time: the low half of every register
// carries MCU m and the high half MCU m + 1. Every instruction used works within each half, so
// each half computes exactly what the SSE2 code computes for its MCU.
#define MQ_AVX2 __attribute__((target("avx2")))

struct ChromaTerms2 {
  __m256i red;
  __m256i green;
  __m256i blue;
};

MQ_AVX2 inline __m256i load_pair8(const std::uint8_t* a, const std::uint8_t* b) {
  const __m256i both = _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a))),
      _mm_loadl_epi64(reinterpret_cast<const __m128i*>(b)), 1);
  return _mm256_unpacklo_epi8(both, _mm256_setzero_si256());
}

// Sixteen-bit lanes alternating first, second (the factor pairs of the multiply-adds).
MQ_AVX2 inline __m256i lane_pair(std::int16_t first, std::int16_t second) {
  return _mm256_set1_epi32(static_cast<std::int32_t>(
      (static_cast<std::uint32_t>(static_cast<std::uint16_t>(second)) << 16) |
      static_cast<std::uint16_t>(first)));
}

MQ_AVX2 inline __m256i round_shift16(__m256i lo, __m256i hi) {
  return _mm256_packs_epi32(_mm256_srai_epi32(lo, 16), _mm256_srai_epi32(hi, 16));
}

// cb and cr point at the chroma row of MCU m; the next MCU's lies mcu_bytes further on.
MQ_AVX2 inline ChromaTerms2 chroma_terms2(const std::uint8_t* cb, const std::uint8_t* cr,
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
MQ_AVX2 inline void store_halves(std::uint8_t* out, __m256i p0, __m256i p1) {
  auto* o = reinterpret_cast<__m256i*>(out);
  _mm256_storeu_si256(o, _mm256_permute2x128_si256(p0, p1, 0x20));
  _mm256_storeu_si256(o + 1, _mm256_permute2x128_si256(p0, p1, 0x31));
}

// Eight pixels per MCU (64 bytes in all).
MQ_AVX2 inline void store_8x2(std::uint8_t* out, __m256i y, const ChromaTerms2& c) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i red = _mm256_packus_epi16(_mm256_add_epi16(y, c.red), zero);
  const __m256i green = _mm256_packus_epi16(_mm256_add_epi16(y, c.green), zero);
  const __m256i blue = _mm256_packus_epi16(_mm256_add_epi16(y, c.blue), zero);
  const __m256i rg = _mm256_unpacklo_epi8(red, green);
  const __m256i bz = _mm256_unpacklo_epi8(blue, zero);
  store_halves(out, _mm256_unpacklo_epi16(rg, bz), _mm256_unpackhi_epi16(rg, bz));
}

// Sixteen pixels per MCU (128 bytes in all) from two groups of eight luma samples.
MQ_AVX2 inline void store_16x2(std::uint8_t* out, __m256i y0, __m256i y1, const ChromaTerms2& c0,
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

MQ_AVX2 inline ChromaTerms2 widen_lo(const ChromaTerms2& c) {
  return ChromaTerms2{_mm256_unpacklo_epi16(c.red, c.red), _mm256_unpacklo_epi16(c.green, c.green),
                      _mm256_unpacklo_epi16(c.blue, c.blue)};
}
MQ_AVX2 inline ChromaTerms2 widen_hi(const ChromaTerms2& c) {
  return ChromaTerms2{_mm256_unpackhi_epi16(c.red, c.red), _mm256_unpackhi_epi16(c.green, c.green),
                      _mm256_unpackhi_epi16(c.blue, c.blue)};
}

// Each converts the MCU pairs of the row and returns how many MCUs it did (an even number).
MQ_AVX2 std::int32_t convert_h1v1_avx2(const std::uint8_t* mcu, std::uint8_t* out,
                                       std::int32_t mcus) {
  std::int32_t m = 0;
  for (; m + 1 < mcus; m += 2) {
    store_8x2(out, load_pair8(mcu, mcu + 192), chroma_terms2(mcu + 64, mcu + 128, 192));
    out += 64;
    mcu += 2 * 192;
  }
  return m;
}

MQ_AVX2 std::int32_t convert_h2v1_avx2(const std::uint8_t* mcu, std::uint8_t* out,
                                       std::int32_t mcus) {
  std::int32_t m = 0;
  for (; m + 1 < mcus; m += 2) {
    const ChromaTerms2 c = chroma_terms2(mcu + 128, mcu + 192, 256);
    store_16x2(out, load_pair8(mcu, mcu + 256), load_pair8(mcu + 64, mcu + 320), widen_lo(c),
               widen_hi(c));
    out += 128;
    mcu += 2 * 256;
  }
  return m;
}

MQ_AVX2 std::int32_t convert_h1v2_avx2(const std::uint8_t* mcu, std::int32_t luma_offset,
                                       std::int32_t chroma_row, std::uint8_t* out1,
                                       std::uint8_t* out2, std::int32_t mcus) {
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
  return m;
}

MQ_AVX2 std::int32_t convert_h2v2_avx2(const std::uint8_t* mcu, std::int32_t luma_offset,
                                       std::int32_t chroma_row, std::uint8_t* out1,
                                       std::uint8_t* out2, std::int32_t mcus) {
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
  return m;
}

#undef MQ_AVX2

#endif
}  // namespace

void build_color_tables(DecoderState& d) {
  for (std::int32_t i = 0; i < 256; ++i) {
    const std::int32_t x = i - 128;
    d.cr_to_red[i] = (91882 * x + 32768) >> 16;
    d.cb_to_blue[i] = (116130 * x + 32768) >> 16;
    d.cr_to_green[i] = -46802 * x;
    d.cb_to_green[i] = -22554 * x + 32768;
  }
}

void convert_gray(DecoderState& d, std::int32_t y) {
  const std::uint8_t* src = d.samples + 8 * y;
  std::uint8_t* out = d.line1;
  for (std::int32_t m = 0; m < d.mcus_per_row; ++m) {
    std::memcpy(out, src, 8);
    out += 8;
    src += 64;
  }
}

void convert_h1v1(DecoderState& d, std::int32_t y) {
  const std::uint8_t* mcu = d.samples + 8 * y;
  std::uint8_t* out = d.line1;
  std::int32_t m = 0;
#if defined(MQ_JPEG_AVX2)
  if (avx2_available()) {
    m = convert_h1v1_avx2(mcu, out, d.mcus_per_row);
    mcu += m * 3 * 64;
    out += m * 32;
  }
#endif
  for (; m < d.mcus_per_row; ++m) {
#if defined(MQ_JPEG_SSE2)
    store_8(out, load_luma(mcu), chroma_terms(mcu + 64, mcu + 128));
    out += 32;
#else
    for (std::int32_t j = 0; j < 8; ++j) {
      put_pixel(out, mcu[j], chroma(d, mcu[64 + j], mcu[128 + j]));
      out += 4;
    }
#endif
    mcu += 3 * 64;
  }
}

void convert_h2v1(DecoderState& d, std::int32_t y) {
  const std::uint8_t* mcu = d.samples + 8 * y;
  std::uint8_t* out = d.line1;
  std::int32_t m = 0;
#if defined(MQ_JPEG_AVX2)
  if (avx2_available()) {
    m = convert_h2v1_avx2(mcu, out, d.mcus_per_row);
    mcu += m * 4 * 64;
    out += m * 64;
  }
#endif
  for (; m < d.mcus_per_row; ++m) {
#if defined(MQ_JPEG_SSE2)
    const ChromaTerms c = chroma_terms(mcu + 128, mcu + 192);
    store_16(out, load_luma(mcu), load_luma(mcu + 64), widen_lo(c), widen_hi(c));
    out += 64;
#else
    for (std::int32_t k = 0; k < 8; ++k) {
      const Chroma c = chroma(d, mcu[128 + k], mcu[192 + k]);
      const std::uint8_t* luma = mcu + (k < 4 ? 2 * k : 64 + 2 * k - 8);
      put_pixel(out, luma[0], c);
      put_pixel(out + 4, luma[1], c);
      out += 8;
    }
#endif
    mcu += 4 * 64;
  }
}

void convert_h1v2(DecoderState& d, std::int32_t y) {
  const std::uint8_t* mcu = d.samples;
  const std::int32_t luma_offset = y < 8 ? 8 * y : 64 + 8 * (y - 8);
  const std::int32_t chroma_row = 8 * (y / 2);
  std::uint8_t* out1 = d.line1;
  std::uint8_t* out2 = d.line2;
  std::int32_t m = 0;
#if defined(MQ_JPEG_AVX2)
  if (avx2_available()) {
    m = convert_h1v2_avx2(mcu, luma_offset, chroma_row, out1, out2, d.mcus_per_row);
    mcu += m * 4 * 64;
    out1 += m * 32;
    out2 += m * 32;
  }
#endif
  for (; m < d.mcus_per_row; ++m) {
    const std::uint8_t* luma = mcu + luma_offset;
#if defined(MQ_JPEG_SSE2)
    const ChromaTerms c = chroma_terms(mcu + 128 + chroma_row, mcu + 192 + chroma_row);
    store_8(out1, load_luma(luma), c);
    store_8(out2, load_luma(luma + 8), c);
    out1 += 32;
    out2 += 32;
#else
    for (std::int32_t j = 0; j < 8; ++j) {
      const Chroma c = chroma(d, mcu[128 + chroma_row + j], mcu[192 + chroma_row + j]);
      put_pixel(out1, luma[j], c);
      put_pixel(out2, luma[8 + j], c);
      out1 += 4;
      out2 += 4;
    }
#endif
    mcu += 4 * 64;
  }
}

void convert_h2v2(DecoderState& d, std::int32_t y) {
  const std::uint8_t* mcu = d.samples;
  const std::int32_t luma_offset = y < 8 ? 8 * y : 128 + 8 * (y - 8);
  const std::int32_t chroma_row = 8 * (y / 2);
  std::uint8_t* out1 = d.line1;
  std::uint8_t* out2 = d.line2;
  std::int32_t m = 0;
#if defined(MQ_JPEG_AVX2)
  if (avx2_available()) {
    m = convert_h2v2_avx2(mcu, luma_offset, chroma_row, out1, out2, d.mcus_per_row);
    mcu += m * 6 * 64;
    out1 += m * 64;
    out2 += m * 64;
  }
#endif
  for (; m < d.mcus_per_row; ++m) {
#if defined(MQ_JPEG_SSE2)
    const ChromaTerms c = chroma_terms(mcu + 256 + chroma_row, mcu + 320 + chroma_row);
    const ChromaTerms left = widen_lo(c);
    const ChromaTerms right = widen_hi(c);
    const std::uint8_t* luma = mcu + luma_offset;
    store_16(out1, load_luma(luma), load_luma(luma + 64), left, right);
    store_16(out2, load_luma(luma + 8), load_luma(luma + 72), left, right);
    out1 += 64;
    out2 += 64;
#else
    for (std::int32_t k = 0; k < 8; ++k) {
      const Chroma c = chroma(d, mcu[256 + chroma_row + k], mcu[320 + chroma_row + k]);
      const std::uint8_t* luma = mcu + luma_offset + (k < 4 ? 2 * k : 64 + 2 * k - 8);
      put_pixel(out1, luma[0], c);
      put_pixel(out1 + 4, luma[1], c);
      put_pixel(out2, luma[8], c);
      put_pixel(out2 + 4, luma[9], c);
      out1 += 8;
      out2 += 8;
    }
#endif
    mcu += 6 * 64;
  }
}

}  // namespace jpeg::detail
