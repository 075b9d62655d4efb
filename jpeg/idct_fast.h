// The steps of the fast transform written once over a type of lanes: the AAN butterfly of one
// pass (every step wraps in 16 bits, so each instruction set gives the same bytes) and the 8x8
// transpose the vector sets take between their passes.
#pragma once

#include <cstdint>

namespace jpeg::detail {

// Lanes supplies Vector and, lane by lane in wrapping 16-bit arithmetic, add, sub and
// mul_high(x, k): the high half of the product of (x << 2) and k. Give Lanes internal linkage
// (an unnamed namespace): the AVX2 files are compiled for AVX2, and their instantiations must
// stay apart from the others.
//
// One pass in place over x[0], x[Step], ..., x[7 Step]; the scale factors are in the tables.
template <typename Lanes, int Step = 1>
inline void aan_pass(typename Lanes::Vector* x) {
  using L = Lanes;
  const auto t10 = L::add(x[0], x[4 * Step]);
  const auto t11 = L::sub(x[0], x[4 * Step]);
  const auto t13 = L::add(x[2 * Step], x[6 * Step]);
  const auto t12 = L::sub(L::mul_high(L::sub(x[2 * Step], x[6 * Step]), 23170), t13);
  const auto e0 = L::add(t10, t13);
  const auto e3 = L::sub(t10, t13);
  const auto e1 = L::add(t11, t12);
  const auto e2 = L::sub(t11, t12);
  const auto z13 = L::add(x[5 * Step], x[3 * Step]);
  const auto z10 = L::sub(x[5 * Step], x[3 * Step]);
  const auto z11 = L::add(x[1 * Step], x[7 * Step]);
  const auto z12 = L::sub(x[1 * Step], x[7 * Step]);
  const auto o7 = L::add(z11, z13);
  const auto u11 = L::mul_high(L::sub(z11, z13), 23170);
  const auto u10 = L::add(L::mul_high(z10, -30353), L::mul_high(z12, -12540));
  const auto u12 = L::add(L::mul_high(z10, -12540), L::mul_high(z12, 30273));
  const auto o6 = L::sub(u12, o7);
  const auto o5 = L::sub(u11, o6);
  const auto o4 = L::add(u10, o5);
  x[0] = L::add(e0, o7);
  x[1 * Step] = L::add(e1, o6);
  x[2 * Step] = L::add(e2, o5);
  x[3 * Step] = L::sub(e3, o4);
  x[4 * Step] = L::add(e3, o4);
  x[5 * Step] = L::sub(e2, o5);
  x[6 * Step] = L::sub(e1, o6);
  x[7 * Step] = L::sub(e0, o7);
}

// Transposes eight vectors of eight 16-bit lanes. Lanes supplies the interleaves unpack_lo and
// unpack_hi of 16-, 32- and 64-bit elements (unpack_lo16 and so on).
template <typename Lanes>
inline void transpose_8x8(typename Lanes::Vector* x) {
  using L = Lanes;
  const auto a0 = L::unpack_lo16(x[0], x[1]);
  const auto a1 = L::unpack_hi16(x[0], x[1]);
  const auto a2 = L::unpack_lo16(x[2], x[3]);
  const auto a3 = L::unpack_hi16(x[2], x[3]);
  const auto a4 = L::unpack_lo16(x[4], x[5]);
  const auto a5 = L::unpack_hi16(x[4], x[5]);
  const auto a6 = L::unpack_lo16(x[6], x[7]);
  const auto a7 = L::unpack_hi16(x[6], x[7]);
  const auto b0 = L::unpack_lo32(a0, a2);
  const auto b1 = L::unpack_hi32(a0, a2);
  const auto b2 = L::unpack_lo32(a1, a3);
  const auto b3 = L::unpack_hi32(a1, a3);
  const auto b4 = L::unpack_lo32(a4, a6);
  const auto b5 = L::unpack_hi32(a4, a6);
  const auto b6 = L::unpack_lo32(a5, a7);
  const auto b7 = L::unpack_hi32(a5, a7);
  x[0] = L::unpack_lo64(b0, b4);
  x[1] = L::unpack_hi64(b0, b4);
  x[2] = L::unpack_lo64(b1, b5);
  x[3] = L::unpack_hi64(b1, b5);
  x[4] = L::unpack_lo64(b2, b6);
  x[5] = L::unpack_hi64(b2, b6);
  x[6] = L::unpack_lo64(b3, b7);
  x[7] = L::unpack_hi64(b3, b7);
}

}  // namespace jpeg::detail
