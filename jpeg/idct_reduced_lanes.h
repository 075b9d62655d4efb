// The reduced transforms of idct_reduced.cpp written once for 128-bit lanes of 16- and 32-bit
// values, for the SSE2 form (one block per register) and the AVX2 form (one block in each
// 128-bit half; every operation used here stays within its half). The same weights and
// roundings as the scalar form, so the same bytes: each row of coefficients is taken against
// every output column's weights by multiply-adds whose sums are gathered four at a time, and
// the kept values are then combined down the columns two rows per multiply-add.
//
// L supplies, per 128-bit lane: madd (16-bit pairs to 32 bits), add32, srai32 (by a constant),
// set32 (one 32-bit value everywhere), set4x32 (four 32-bit values, repeated), weights (8 16-bit
// values, repeated in every lane), unpack_lo16, unpack_lo/hi 32 and 64, packs32, shuffle_pairs
// (16-bit lanes 0 2 1 3 of each half of each lane) and shift8 (each lane's upper 8 bytes down).
#pragma once

#include <cstdint>

namespace jpeg::detail::reduced_lanes {

// Two 16-bit weights in one 32-bit lane, low first, for a multiply-add on interleaved rows.
// consteval: no copy of it is ever compiled for one instruction set and run by another.
consteval std::int32_t pair(std::int32_t low, std::int32_t high) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(low) & 0xFFFF) |
                                   (static_cast<std::uint32_t>(high) << 16));
}

// The weights of idct_reduced.cpp, by output group and coefficient (the even and odd parts
// there, multiplied out).
inline constexpr std::int16_t kWeights4[4][8] = {{2896, 3711, 2676, 1303, 0, -871, -1108, -738},
                                                 {2896, 1537, -2676, -3146, 0, 2102, 1108, -306},
                                                 {2896, -1537, -2676, 3146, 0, -2102, 1108, 306},
                                                 {2896, -3711, 2676, -1303, 0, 871, -1108, 738}};
inline constexpr std::int16_t kWeights2[2][8] = {{2896, 2624, 0, -922, 0, 616, 0, -522},
                                                 {2896, -2624, 0, 922, 0, -616, 0, 522}};

// The same weights paired for the second pass: at 4x4, per output row, rows (0, 1), (2, 3),
// (5, 6) and (7, none); at 2x2, per output row, rows (0, 1), (3, 5) and (7, none).
inline constexpr std::int32_t kPairs4[4][4] = {
    {pair(kWeights4[0][0], kWeights4[0][1]), pair(kWeights4[0][2], kWeights4[0][3]),
     pair(kWeights4[0][5], kWeights4[0][6]), pair(kWeights4[0][7], 0)},
    {pair(kWeights4[1][0], kWeights4[1][1]), pair(kWeights4[1][2], kWeights4[1][3]),
     pair(kWeights4[1][5], kWeights4[1][6]), pair(kWeights4[1][7], 0)},
    {pair(kWeights4[2][0], kWeights4[2][1]), pair(kWeights4[2][2], kWeights4[2][3]),
     pair(kWeights4[2][5], kWeights4[2][6]), pair(kWeights4[2][7], 0)},
    {pair(kWeights4[3][0], kWeights4[3][1]), pair(kWeights4[3][2], kWeights4[3][3]),
     pair(kWeights4[3][5], kWeights4[3][6]), pair(kWeights4[3][7], 0)}};
inline constexpr std::int32_t kPairs2[2][3] = {
    {pair(kWeights2[0][0], kWeights2[0][1]), pair(kWeights2[0][3], kWeights2[0][5]),
     pair(kWeights2[0][7], 0)},
    {pair(kWeights2[1][0], kWeights2[1][1]), pair(kWeights2[1][3], kWeights2[1][5]),
     pair(kWeights2[1][7], 0)}};

// The rows a block may end before: at 4x4 all but 0, 1 and 4 (weight 0), at 2x2 rows 3, 5, 7.
inline constexpr std::uint32_t kLateRows4 = 0xEC;
inline constexpr std::uint32_t kLateRows2 = 0xA8;

// The lane sums of a, b, c and d, in that order.
template <typename L>
inline typename L::Vector sum4(typename L::Vector a, typename L::Vector b, typename L::Vector c,
                               typename L::Vector d) {
  const auto ab = L::add32(L::unpack_lo32(a, b), L::unpack_hi32(a, b));
  const auto cd = L::add32(L::unpack_lo32(c, d), L::unpack_hi32(c, d));
  return L::add32(L::unpack_lo64(ab, cd), L::unpack_hi64(ab, cd));
}

// The first pass's rounding (13 - 2 bits off).
template <typename L>
inline typename L::Vector descale_kept(typename L::Vector x) {
  return L::template srai32<11>(L::add32(x, L::set32(1 << 10)));
}

// The second pass's rounding (13 + 2 bits off) with the level shift of 128 folded in.
template <typename L>
inline typename L::Vector descale_out(typename L::Vector x) {
  return L::template srai32<15>(L::add32(x, L::set32((1 << 14) + (128 << 15))));
}

// The kept values of rows a and b (4 per row, 32 bits each) interleaved as 16-bit pairs,
// column by column; saturating as the scalar form does.
template <typename L>
inline typename L::Vector interleave_rows(typename L::Vector a, typename L::Vector b) {
  const auto packed = L::packs32(a, b);
  return L::unpack_lo16(packed, L::shift8(packed));
}

// The 4x4 samples of dequantised rows x[0..7] (x[4] unused): y[j] holds output row j, four
// 32-bit samples. late_zero: rows 2, 3, 5, 6 and 7 are zero.
template <typename L>
__attribute__((always_inline)) inline void reduce4(const typename L::Vector* x, bool late_zero,
                                                   typename L::Vector* y) {
  using V = typename L::Vector;
  V w[4];
  for (int i = 0; i < 4; ++i) w[i] = L::weights(kWeights4[i]);
  const auto row = [&w](V r) {
    return descale_kept<L>(
        sum4<L>(L::madd(r, w[0]), L::madd(r, w[1]), L::madd(r, w[2]), L::madd(r, w[3])));
  };
  const V r01 = interleave_rows<L>(row(x[0]), row(x[1]));
  if (late_zero) {
#pragma GCC unroll 4
    for (int j = 0; j < 4; ++j) y[j] = descale_out<L>(L::madd(r01, L::set32(kPairs4[j][0])));
    return;
  }
  // Row 4 has weight 0 in every output row, so it is left out; row 7 is paired with zeros.
  const V r23 = interleave_rows<L>(row(x[2]), row(x[3]));
  const V r56 = interleave_rows<L>(row(x[5]), row(x[6]));
  const V r7 = interleave_rows<L>(row(x[7]), L::set32(0));
#pragma GCC unroll 4
  for (int j = 0; j < 4; ++j) {
    const V s01 = L::madd(r01, L::set32(kPairs4[j][0]));
    const V s23 = L::madd(r23, L::set32(kPairs4[j][1]));
    const V s56 = L::madd(r56, L::set32(kPairs4[j][2]));
    const V s7 = L::madd(r7, L::set32(kPairs4[j][3]));
    y[j] = descale_out<L>(L::add32(L::add32(s01, s23), L::add32(s56, s7)));
  }
}

// The 2x2 samples of dequantised rows x[0..7] (x[2], x[4] and x[6] unused), as 32-bit
// (row 0 column 0, row 0 column 1, row 1 column 0, row 1 column 1). late_zero: rows 3, 5 and 7
// are zero.
template <typename L>
__attribute__((always_inline)) inline typename L::Vector reduce2(const typename L::Vector* x,
                                                                 bool late_zero) {
  using V = typename L::Vector;
  const V w0 = L::weights(kWeights2[0]);
  const V w1 = L::weights(kWeights2[1]);
  const V zero = L::set32(0);
  // Two rows to a vector: (a column 0, a column 1, b column 0, b column 1).
  const auto rows2 = [&](V a, V b) {
    return descale_kept<L>(sum4<L>(L::madd(a, w0), L::madd(a, w1), L::madd(b, w0), L::madd(b, w1)));
  };
  constexpr std::int32_t k00 = kPairs2[0][0];
  constexpr std::int32_t k10 = kPairs2[1][0];
  if (late_zero) {
    // Rows 0 and 1 as (row 0, row 1) pairs per column, against output row 0's weights and
    // then output row 1's.
    const V p = L::shuffle_pairs(L::packs32(rows2(x[0], x[1]), zero));
    return descale_out<L>(L::madd(L::unpack_lo64(p, p), L::set4x32(k00, k00, k10, k10)));
  }
  const V q7 = descale_kept<L>(sum4<L>(L::madd(x[7], w0), L::madd(x[7], w1), zero, zero));
  // (row 0, row 1) and (row 3, row 5) as 16-bit pairs per column; row 7 paired with zeros.
  const V p = L::shuffle_pairs(L::packs32(rows2(x[0], x[1]), rows2(x[3], x[5])));
  const V p7 = L::unpack_lo16(L::packs32(q7, zero), zero);
  V y[2];
#pragma GCC unroll 2
  for (int j = 0; j < 2; ++j) {
    const std::int32_t k01 = kPairs2[j][0];
    const std::int32_t k35 = kPairs2[j][1];
    const V s = L::madd(p, L::set4x32(k01, k01, k35, k35));
    const V s7 = L::madd(p7, L::set32(kPairs2[j][2]));
    y[j] = L::add32(L::add32(s, L::shift8(s)), s7);
  }
  return descale_out<L>(L::unpack_lo64(y[0], y[1]));
}

}  // namespace jpeg::detail::reduced_lanes
