// Dequantisation and inverse DCT on both paths. The fast path keeps every step in wrapping
// 16-bit lanes (AAN factorisation, scale folded into the tables); the integer path is the LLM
// factorisation with 13-bit constants in 32 bits that wrap by definition.
#include "jpeg/idct.h"

#include <cstring>

#include "jpeg/huffman.h"

#if defined(MQ_JPEG_SSE2)
#include <emmintrin.h>
#endif
#if defined(MQ_JPEG_AVX2)
#include <immintrin.h>
#endif

namespace jpeg::detail {

const std::int16_t kQuantPrescale[64] = {
    16384, 22725, 21407, 19266, 16384, 12873, 8867,  4520,  22725, 31521, 29692, 26722, 22725,
    17855, 12299, 6270,  21407, 29692, 27969, 25172, 21407, 16819, 11585, 5906,  19266, 26722,
    25172, 22654, 19266, 15137, 10426, 5315,  16384, 22725, 21407, 19266, 16384, 12873, 8867,
    4520,  12873, 17855, 16819, 15137, 12873, 10114, 6967,  3552,  8867,  12299, 11585, 10426,
    8867,  6967,  4799,  2446,  4520,  6270,  5906,  5315,  4520,  3552,  2446,  1247};

void store_quant_table(std::uint16_t* stored, const std::uint16_t zigzag_values[64], bool fast) {
  for (int k = 0; k < 64; ++k) {
    if (!fast) {
      stored[k] = zigzag_values[k];
      continue;
    }
    const int n = kZigzag[k];
    const std::uint32_t scaled = (static_cast<std::uint32_t>(zigzag_values[k]) *
                                      static_cast<std::uint32_t>(kQuantPrescale[n]) +
                                  2048u) >>
                                 12;
    stored[n] = static_cast<std::uint16_t>(scaled);
  }
}

bool simd_available() {
  return true;
}

namespace {

// ---- Fast path, scalar lanes with the exact 16-bit semantics.

inline std::int16_t w16(std::int32_t v) {
  return static_cast<std::int16_t>(v);
}

// High half of the product of (x << 2), wrapped to 16 bits, and k.
inline std::int16_t mul_high(std::int16_t x, std::int16_t k) {
  return w16((static_cast<std::int32_t>(w16(x * 4)) * k) >> 16);
}

void aan_pass(std::int16_t* x0, std::int16_t* x1, std::int16_t* x2, std::int16_t* x3,
              std::int16_t* x4, std::int16_t* x5, std::int16_t* x6, std::int16_t* x7) {
  const std::int16_t t10 = w16(*x0 + *x4);
  const std::int16_t t11 = w16(*x0 - *x4);
  const std::int16_t t13 = w16(*x2 + *x6);
  const std::int16_t t12 = w16(mul_high(w16(*x2 - *x6), 23170) - t13);
  const std::int16_t e0 = w16(t10 + t13);
  const std::int16_t e3 = w16(t10 - t13);
  const std::int16_t e1 = w16(t11 + t12);
  const std::int16_t e2 = w16(t11 - t12);
  const std::int16_t z13 = w16(*x5 + *x3);
  const std::int16_t z10 = w16(*x5 - *x3);
  const std::int16_t z11 = w16(*x1 + *x7);
  const std::int16_t z12 = w16(*x1 - *x7);
  const std::int16_t o7 = w16(z11 + z13);
  const std::int16_t u11 = mul_high(w16(z11 - z13), 23170);
  const std::int16_t u10 = w16(mul_high(z10, -30353) + mul_high(z12, -12540));
  const std::int16_t u12 = w16(mul_high(z10, -12540) + mul_high(z12, 30273));
  const std::int16_t o6 = w16(u12 - o7);
  const std::int16_t o5 = w16(u11 - o6);
  const std::int16_t o4 = w16(u10 + o5);
  *x0 = w16(e0 + o7);
  *x1 = w16(e1 + o6);
  *x2 = w16(e2 + o5);
  *x3 = w16(e3 - o4);
  *x4 = w16(e3 + o4);
  *x5 = w16(e2 - o5);
  *x6 = w16(e1 - o6);
  *x7 = w16(e0 - o7);
}

inline std::uint8_t fast_sample(std::int16_t y) {
  std::int32_t v = (y >> 5) + 128;  // never leaves 16 bits, so the saturation is moot
  return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

void transform_block_fast_scalar(const std::int16_t* coef, const std::uint16_t* quant,
                                 std::uint8_t* out) {
  std::int16_t d[64];
  for (int n = 0; n < 64; ++n) d[n] = w16(coef[n] * static_cast<std::int16_t>(quant[n]));
  for (int c = 0; c < 8; ++c) {
    aan_pass(&d[c], &d[8 + c], &d[16 + c], &d[24 + c], &d[32 + c], &d[40 + c], &d[48 + c],
             &d[56 + c]);
  }
  for (int r = 0; r < 8; ++r) {
    std::int16_t* x = &d[8 * r];
    aan_pass(&x[0], &x[1], &x[2], &x[3], &x[4], &x[5], &x[6], &x[7]);
    for (int c = 0; c < 8; ++c) out[8 * r + c] = fast_sample(x[c]);
  }
}

#if defined(MQ_JPEG_SSE2)

namespace {

inline __m128i vmul_high(__m128i x, __m128i k) {
  return _mm_mulhi_epi16(_mm_slli_epi16(x, 2), k);
}

// Eight lanes of the same pass: lane i of x[j] is input j of the i-th column (or row).
inline void aan_pass_sse2(__m128i* x) {
  const __m128i k23170 = _mm_set1_epi16(23170);
  const __m128i k30273 = _mm_set1_epi16(30273);
  const __m128i km12540 = _mm_set1_epi16(-12540);
  const __m128i km30353 = _mm_set1_epi16(-30353);
  const __m128i t10 = _mm_add_epi16(x[0], x[4]);
  const __m128i t11 = _mm_sub_epi16(x[0], x[4]);
  const __m128i t13 = _mm_add_epi16(x[2], x[6]);
  const __m128i t12 = _mm_sub_epi16(vmul_high(_mm_sub_epi16(x[2], x[6]), k23170), t13);
  const __m128i e0 = _mm_add_epi16(t10, t13);
  const __m128i e3 = _mm_sub_epi16(t10, t13);
  const __m128i e1 = _mm_add_epi16(t11, t12);
  const __m128i e2 = _mm_sub_epi16(t11, t12);
  const __m128i z13 = _mm_add_epi16(x[5], x[3]);
  const __m128i z10 = _mm_sub_epi16(x[5], x[3]);
  const __m128i z11 = _mm_add_epi16(x[1], x[7]);
  const __m128i z12 = _mm_sub_epi16(x[1], x[7]);
  const __m128i o7 = _mm_add_epi16(z11, z13);
  const __m128i u11 = vmul_high(_mm_sub_epi16(z11, z13), k23170);
  const __m128i u10 = _mm_add_epi16(vmul_high(z10, km30353), vmul_high(z12, km12540));
  const __m128i u12 = _mm_add_epi16(vmul_high(z10, km12540), vmul_high(z12, k30273));
  const __m128i o6 = _mm_sub_epi16(u12, o7);
  const __m128i o5 = _mm_sub_epi16(u11, o6);
  const __m128i o4 = _mm_add_epi16(u10, o5);
  x[0] = _mm_add_epi16(e0, o7);
  x[1] = _mm_add_epi16(e1, o6);
  x[2] = _mm_add_epi16(e2, o5);
  x[3] = _mm_sub_epi16(e3, o4);
  x[4] = _mm_add_epi16(e3, o4);
  x[5] = _mm_sub_epi16(e2, o5);
  x[6] = _mm_sub_epi16(e1, o6);
  x[7] = _mm_sub_epi16(e0, o7);
}

inline void transpose_8x8(__m128i* x) {
  const __m128i a0 = _mm_unpacklo_epi16(x[0], x[1]);
  const __m128i a1 = _mm_unpackhi_epi16(x[0], x[1]);
  const __m128i a2 = _mm_unpacklo_epi16(x[2], x[3]);
  const __m128i a3 = _mm_unpackhi_epi16(x[2], x[3]);
  const __m128i a4 = _mm_unpacklo_epi16(x[4], x[5]);
  const __m128i a5 = _mm_unpackhi_epi16(x[4], x[5]);
  const __m128i a6 = _mm_unpacklo_epi16(x[6], x[7]);
  const __m128i a7 = _mm_unpackhi_epi16(x[6], x[7]);
  const __m128i b0 = _mm_unpacklo_epi32(a0, a2);
  const __m128i b1 = _mm_unpackhi_epi32(a0, a2);
  const __m128i b2 = _mm_unpacklo_epi32(a1, a3);
  const __m128i b3 = _mm_unpackhi_epi32(a1, a3);
  const __m128i b4 = _mm_unpacklo_epi32(a4, a6);
  const __m128i b5 = _mm_unpackhi_epi32(a4, a6);
  const __m128i b6 = _mm_unpacklo_epi32(a5, a7);
  const __m128i b7 = _mm_unpackhi_epi32(a5, a7);
  x[0] = _mm_unpacklo_epi64(b0, b4);
  x[1] = _mm_unpackhi_epi64(b0, b4);
  x[2] = _mm_unpacklo_epi64(b1, b5);
  x[3] = _mm_unpackhi_epi64(b1, b5);
  x[4] = _mm_unpacklo_epi64(b2, b6);
  x[5] = _mm_unpackhi_epi64(b2, b6);
  x[6] = _mm_unpacklo_epi64(b3, b7);
  x[7] = _mm_unpackhi_epi64(b3, b7);
}

}  // namespace

void transform_block_fast(const std::int16_t* coef, const std::uint16_t* quant, std::uint8_t* out) {
  __m128i x[8];
  for (int r = 0; r < 8; ++r) {
    x[r] = _mm_mullo_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(coef + 8 * r)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(quant + 8 * r)));
  }
  aan_pass_sse2(x);  // columns: lane c of row vector r is (r, c)
  transpose_8x8(x);
  aan_pass_sse2(x);  // rows: lane r of vector c is (r, c)
  transpose_8x8(x);
  const __m128i offset = _mm_set1_epi16(128);
  for (int r = 0; r < 8; r += 2) {
    const __m128i lo = _mm_adds_epi16(_mm_srai_epi16(x[r], 5), offset);
    const __m128i hi = _mm_adds_epi16(_mm_srai_epi16(x[r + 1], 5), offset);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8 * r), _mm_packus_epi16(lo, hi));
  }
}

#else

void transform_block_fast(const std::int16_t* coef, const std::uint16_t* quant, std::uint8_t* out) {
  transform_block_fast_scalar(coef, quant, out);
}

#endif

#if defined(MQ_JPEG_AVX2)

bool avx2_available() {
  static const bool available = __builtin_cpu_supports("avx2") != 0;
  return available;
}

namespace {

#define MQ_AVX2 __attribute__((target("avx2")))

MQ_AVX2 inline __m256i vmul_high(__m256i x, __m256i k) {
  return _mm256_mulhi_epi16(_mm256_slli_epi16(x, 2), k);
}

// The SSE2 pass on 256-bit registers: the low half carries one block, the high half another.
MQ_AVX2 inline void aan_pass_avx2(__m256i* x) {
  const __m256i k23170 = _mm256_set1_epi16(23170);
  const __m256i k30273 = _mm256_set1_epi16(30273);
  const __m256i km12540 = _mm256_set1_epi16(-12540);
  const __m256i km30353 = _mm256_set1_epi16(-30353);
  const __m256i t10 = _mm256_add_epi16(x[0], x[4]);
  const __m256i t11 = _mm256_sub_epi16(x[0], x[4]);
  const __m256i t13 = _mm256_add_epi16(x[2], x[6]);
  const __m256i t12 = _mm256_sub_epi16(vmul_high(_mm256_sub_epi16(x[2], x[6]), k23170), t13);
  const __m256i e0 = _mm256_add_epi16(t10, t13);
  const __m256i e3 = _mm256_sub_epi16(t10, t13);
  const __m256i e1 = _mm256_add_epi16(t11, t12);
  const __m256i e2 = _mm256_sub_epi16(t11, t12);
  const __m256i z13 = _mm256_add_epi16(x[5], x[3]);
  const __m256i z10 = _mm256_sub_epi16(x[5], x[3]);
  const __m256i z11 = _mm256_add_epi16(x[1], x[7]);
  const __m256i z12 = _mm256_sub_epi16(x[1], x[7]);
  const __m256i o7 = _mm256_add_epi16(z11, z13);
  const __m256i u11 = vmul_high(_mm256_sub_epi16(z11, z13), k23170);
  const __m256i u10 = _mm256_add_epi16(vmul_high(z10, km30353), vmul_high(z12, km12540));
  const __m256i u12 = _mm256_add_epi16(vmul_high(z10, km12540), vmul_high(z12, k30273));
  const __m256i o6 = _mm256_sub_epi16(u12, o7);
  const __m256i o5 = _mm256_sub_epi16(u11, o6);
  const __m256i o4 = _mm256_add_epi16(u10, o5);
  x[0] = _mm256_add_epi16(e0, o7);
  x[1] = _mm256_add_epi16(e1, o6);
  x[2] = _mm256_add_epi16(e2, o5);
  x[3] = _mm256_sub_epi16(e3, o4);
  x[4] = _mm256_add_epi16(e3, o4);
  x[5] = _mm256_sub_epi16(e2, o5);
  x[6] = _mm256_sub_epi16(e1, o6);
  x[7] = _mm256_sub_epi16(e0, o7);
}

// The unpack instructions work within each 128-bit half, so this transposes both blocks at once.
MQ_AVX2 inline void transpose_two_8x8(__m256i* x) {
  const __m256i a0 = _mm256_unpacklo_epi16(x[0], x[1]);
  const __m256i a1 = _mm256_unpackhi_epi16(x[0], x[1]);
  const __m256i a2 = _mm256_unpacklo_epi16(x[2], x[3]);
  const __m256i a3 = _mm256_unpackhi_epi16(x[2], x[3]);
  const __m256i a4 = _mm256_unpacklo_epi16(x[4], x[5]);
  const __m256i a5 = _mm256_unpackhi_epi16(x[4], x[5]);
  const __m256i a6 = _mm256_unpacklo_epi16(x[6], x[7]);
  const __m256i a7 = _mm256_unpackhi_epi16(x[6], x[7]);
  const __m256i b0 = _mm256_unpacklo_epi32(a0, a2);
  const __m256i b1 = _mm256_unpackhi_epi32(a0, a2);
  const __m256i b2 = _mm256_unpacklo_epi32(a1, a3);
  const __m256i b3 = _mm256_unpackhi_epi32(a1, a3);
  const __m256i b4 = _mm256_unpacklo_epi32(a4, a6);
  const __m256i b5 = _mm256_unpackhi_epi32(a4, a6);
  const __m256i b6 = _mm256_unpacklo_epi32(a5, a7);
  const __m256i b7 = _mm256_unpackhi_epi32(a5, a7);
  x[0] = _mm256_unpacklo_epi64(b0, b4);
  x[1] = _mm256_unpackhi_epi64(b0, b4);
  x[2] = _mm256_unpacklo_epi64(b1, b5);
  x[3] = _mm256_unpackhi_epi64(b1, b5);
  x[4] = _mm256_unpacklo_epi64(b2, b6);
  x[5] = _mm256_unpackhi_epi64(b2, b6);
  x[6] = _mm256_unpacklo_epi64(b3, b7);
  x[7] = _mm256_unpackhi_epi64(b3, b7);
}

MQ_AVX2 inline __m256i load_pair(const void* a, const void* b) {
  return _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(static_cast<const __m128i*>(a))),
      _mm_loadu_si128(static_cast<const __m128i*>(b)), 1);
}

}  // namespace

MQ_AVX2 void transform_two_blocks_avx2(const std::int16_t* coef_a, const std::uint16_t* quant_a,
                                       std::uint8_t* out_a, const std::int16_t* coef_b,
                                       const std::uint16_t* quant_b, std::uint8_t* out_b) {
  __m256i x[8];
  for (int r = 0; r < 8; ++r) {
    x[r] = _mm256_mullo_epi16(load_pair(coef_a + 8 * r, coef_b + 8 * r),
                              load_pair(quant_a + 8 * r, quant_b + 8 * r));
  }
  aan_pass_avx2(x);
  transpose_two_8x8(x);
  aan_pass_avx2(x);
  transpose_two_8x8(x);
  const __m256i offset = _mm256_set1_epi16(128);
  for (int r = 0; r < 8; r += 2) {
    const __m256i lo = _mm256_adds_epi16(_mm256_srai_epi16(x[r], 5), offset);
    const __m256i hi = _mm256_adds_epi16(_mm256_srai_epi16(x[r + 1], 5), offset);
    const __m256i bytes = _mm256_packus_epi16(lo, hi);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out_a + 8 * r), _mm256_castsi256_si128(bytes));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out_b + 8 * r), _mm256_extracti128_si256(bytes, 1));
  }
}

#undef MQ_AVX2

#else

bool avx2_available() {
  return false;
}

#endif

namespace {

// ---- Integer path. Products and sums are taken modulo 2^32 and read back as signed values.

using u32 = std::uint32_t;

inline u32 u(std::int32_t v) {
  return static_cast<u32>(v);
}
inline std::int32_t s(u32 v) {
  return static_cast<std::int32_t>(v);
}
inline u32 mul(std::int32_t x, std::int32_t k) {
  return u(x) * u(k);
}

struct Llm {
  u32 t10, t11, t12, t13, b0, b1, b2, b3;
};

inline Llm llm(std::int32_t x0, std::int32_t x1, std::int32_t x2, std::int32_t x3, std::int32_t x4,
               std::int32_t x5, std::int32_t x6, std::int32_t x7) {
  Llm r;
  u32 z1 = mul(x2 + x6, 4433);
  const u32 a2 = z1 - mul(x6, 15137);
  const u32 a3 = z1 + mul(x2, 6270);
  const u32 a0 = u(x0 + x4) << 13;
  const u32 a1 = u(x0 - x4) << 13;
  r.t10 = a0 + a3;
  r.t13 = a0 - a3;
  r.t11 = a1 + a2;
  r.t12 = a1 - a2;
  z1 = u(x7 + x1);
  u32 z2 = u(x5 + x3);
  u32 z3 = u(x7 + x3);
  u32 z4 = u(x5 + x1);
  const u32 z5 = (z3 + z4) * 9633u;
  z1 = z1 * u(-7373);
  z2 = z2 * u(-20995);
  z3 = z5 - z3 * 16069u;
  z4 = z5 - z4 * 3196u;
  r.b0 = mul(x7, 2446) + z1 + z3;
  r.b1 = mul(x5, 16819) + z2 + z4;
  r.b2 = mul(x3, 25172) + z2 + z3;
  r.b3 = mul(x1, 12299) + z1 + z4;
  return r;
}

inline std::uint8_t clamp_sample(std::int32_t v) {
  return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

void transform_block_integer(std::int16_t* work, std::uint8_t* out) {
  for (int r = 0; r < 8; ++r) {
    std::int16_t* x = work + 8 * r;
    if ((x[1] | x[2] | x[3] | x[4] | x[5] | x[6] | x[7]) == 0) {
      const std::int16_t dc = w16(x[0] * 4);
      for (int c = 0; c < 8; ++c) x[c] = dc;
      continue;
    }
    const Llm l = llm(x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7]);
    const auto out16 = [](u32 v) { return w16(s(v + 1024u) >> 11); };
    x[0] = out16(l.t10 + l.b3);
    x[7] = out16(l.t10 - l.b3);
    x[1] = out16(l.t11 + l.b2);
    x[6] = out16(l.t11 - l.b2);
    x[2] = out16(l.t12 + l.b1);
    x[5] = out16(l.t12 - l.b1);
    x[3] = out16(l.t13 + l.b0);
    x[4] = out16(l.t13 - l.b0);
  }
  for (int c = 0; c < 8; ++c) {
    const std::int16_t* x = work + c;
    if ((x[8] | x[16] | x[24] | x[32] | x[40] | x[48] | x[56]) == 0) {
      const std::uint8_t v = clamp_sample(((x[0] + 16) >> 5) + 128);
      for (int r = 0; r < 8; ++r) out[8 * r + c] = v;
      continue;
    }
    const Llm l = llm(x[0], x[8], x[16], x[24], x[32], x[40], x[48], x[56]);
    const auto sample = [](u32 v) { return clamp_sample((s(v + 131072u) >> 18) + 128); };
    out[c] = sample(l.t10 + l.b3);
    out[56 + c] = sample(l.t10 - l.b3);
    out[8 + c] = sample(l.t11 + l.b2);
    out[48 + c] = sample(l.t11 - l.b2);
    out[16 + c] = sample(l.t12 + l.b1);
    out[40 + c] = sample(l.t12 - l.b1);
    out[24 + c] = sample(l.t13 + l.b0);
    out[32 + c] = sample(l.t13 - l.b0);
  }
}

void transform_mcu_row(DecoderState& d, const std::int16_t* coef) {
  std::uint8_t* samples = d.samples;
  const std::int32_t per_mcu = d.scan_blocks_per_mcu;
  if (d.fast_transform) {
    const std::uint16_t* quant[kMaxBlocksPerMcu];
    for (std::int32_t j = 0; j < per_mcu; ++j) quant[j] = d.quant[d.comp[d.block_comp[j]].tq];
    const std::int32_t blocks = d.mcus_per_row * per_mcu;
    std::int32_t b = 0;
    std::int32_t j = 0;  // the block's position in its MCU
#if defined(MQ_JPEG_AVX2)
    if (avx2_available()) {
      for (; b + 1 < blocks; b += 2) {
        const std::int32_t next = j + 1 == per_mcu ? 0 : j + 1;
        transform_two_blocks_avx2(coef, quant[j], samples, coef + 64, quant[next], samples + 64);
        j = next + 1 == per_mcu ? 0 : next + 1;
        coef += 128;
        samples += 128;
      }
    }
#endif
    for (; b < blocks; ++b) {
      transform_block_fast(coef, quant[j], samples);
      j = j + 1 == per_mcu ? 0 : j + 1;
      coef += 64;
      samples += 64;
    }
    return;
  }
  for (std::int32_t b = 0; b < d.blocks_per_row; ++b) {
    std::memcpy(d.scratch, coef, sizeof(d.scratch));
    transform_block_integer(d.scratch, samples);
    coef += 64;
    samples += 64;
  }
}

}  // namespace jpeg::detail
