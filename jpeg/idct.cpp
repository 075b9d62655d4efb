// Dequantisation and inverse DCT on both paths. The fast path keeps every step in wrapping
// 16-bit lanes (AAN factorisation, scale folded into the tables), one file per instruction set
// behind the kernel table; the integer path is the LLM factorisation with 13-bit constants in
// 32 bits that wrap by definition.
#include "jpeg/idct.h"

#include <cstring>

#include "jpeg/huffman.h"

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

// ---- Integer path. Products and sums are taken modulo 2^32 and read back as signed values.

using u32 = std::uint32_t;

inline std::int16_t w16(std::int32_t v) {
  return static_cast<std::int16_t>(v);
}

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
    const DecoderKernels& k = d.kernels;
    if (k.transform_two_blocks_fast != nullptr) {
      for (; b + 1 < blocks; b += 2) {
        const std::int32_t next = j + 1 == per_mcu ? 0 : j + 1;
        k.transform_two_blocks_fast(coef, quant[j], samples, coef + 64, quant[next], samples + 64);
        j = next + 1 == per_mcu ? 0 : next + 1;
        coef += 128;
        samples += 128;
      }
    }
    for (; b < blocks; ++b) {
      k.transform_block_fast(coef, quant[j], samples);
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
