// Reduced inverse DCTs. The mean over a group of g pixels of the basis of T.81 A.3.3,
// C(u)/2 cos((2x + 1) u pi / 16), is one weight per output sample and coefficient, so the
// reduced transform is the full one followed by a box filter, done in one separable pass of
// fixed-point weights. Over groups of 4 the even terms other than DC average to zero; over the
// whole block only DC remains (its mean, DC / 8).
#include "jpeg/idct_reduced.h"

#include <cstring>

#include "jpeg/idct_kernels.h"

namespace jpeg::detail {

namespace {

// The weights are round(2^13 * C(u) / 2 * mean over x in group i of cos((2x + 1) u pi / 16)).
// Groups placed symmetrically about the block's middle share the even terms and negate the odd
// ones, so each sum is an even and an odd part: the same integer sums as the plain products,
// in a third of the multiplications.
constexpr std::int32_t kWeightBits = 13;
// Bits of precision kept between the two passes.
constexpr std::int32_t kPassBits = 2;

// Sums in 32 bits, with the arithmetic the vector forms have (idct_reduced_lanes.h): each
// coefficient times its table entry wraps to 16 bits, as on the fast full-size path, and the
// values kept between the passes saturate to 16 bits. A real picture's values stay far inside
// both bounds (a dequantised coefficient within about 2^11, a kept value within about 2^14);
// with them no sum can leave 32 bits, whatever a damaged file holds.
using Wide = std::int32_t;

inline Wide descale(Wide x, std::int32_t n) {
  return (x + (Wide{1} << (n - 1))) >> n;
}

inline Wide saturate16(Wide x) {
  return x < -32768 ? -32768 : (x > 32767 ? 32767 : x);
}

inline Wide dequantise(const std::int16_t* coef, const std::uint16_t* quant, std::int32_t n) {
  if (quant == nullptr) return coef[n];
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(
      static_cast<std::uint32_t>(static_cast<std::uint16_t>(coef[n])) * quant[n]));
}

inline std::uint8_t sample(Wide v) {
  const Wide s = v + 128;
  return static_cast<std::uint8_t>(s < 0 ? 0 : (s > 255 ? 255 : s));
}

// The 4 group means of the 8 values x[0], x[step], ... (x[4 * step] has weight 0 in all); only
// the first Live values are read, the others are zero.
template <std::int32_t Live>
inline void reduce4(const Wide* x, std::int32_t step, Wide* y) {
  const auto at = [x, step](std::int32_t k) { return k < Live ? x[k * step] : Wide{0}; };
  const Wide x0 = at(0);
  const Wide x1 = at(1);
  const Wide x2 = at(2);
  const Wide x3 = at(3);
  const Wide x5 = at(5);
  const Wide x6 = at(6);
  const Wide x7 = at(7);
  const Wide even0 = 2896 * x0 + 2676 * x2 - 1108 * x6;
  const Wide even1 = 2896 * x0 - 2676 * x2 + 1108 * x6;
  const Wide odd0 = 3711 * x1 + 1303 * x3 - 871 * x5 - 738 * x7;
  const Wide odd1 = 1537 * x1 - 3146 * x3 + 2102 * x5 - 306 * x7;
  y[0] = even0 + odd0;
  y[1] = even1 + odd1;
  y[2] = even1 - odd1;
  y[3] = even0 - odd0;
}

// The 2 group means (the even terms but DC have weight 0).
template <std::int32_t Live>
inline void reduce2(const Wide* x, std::int32_t step, Wide* y) {
  const auto at = [x, step](std::int32_t k) { return k < Live ? x[k * step] : Wide{0}; };
  const Wide even = 2896 * at(0);
  const Wide odd = 2624 * at(1) - 922 * at(3) + 616 * at(5) - 522 * at(7);
  y[0] = even + odd;
  y[1] = even - odd;
}

template <std::int32_t Size, std::int32_t Live = 8>
inline void reduce(const Wide* x, std::int32_t step, Wide* y) {
  if constexpr (Size == 4) {
    reduce4<Live>(x, step, y);
  } else {
    reduce2<Live>(x, step, y);
  }
}

// The columns of work (8 rows of Size values; rows beyond the first Live are zero) into the
// output samples.
template <std::int32_t Size, std::int32_t Live>
void columns(const Wide* work, std::uint8_t* out, std::int32_t stride) {
#pragma GCC unroll 4
  for (std::int32_t i = 0; i < Size; ++i) {
    Wide sums[static_cast<std::size_t>(Size)];
    reduce<Size, Live>(work + i, Size, sums);
    for (std::int32_t j = 0; j < Size; ++j) {
      out[j * stride + i] = sample(descale(sums[j], kWeightBits + kPassBits));
    }
  }
}

template <std::int32_t Size>
void transform(const std::int16_t* coef, const std::uint16_t* quant, std::uint8_t* out,
               std::int32_t stride) {
  // Rows of coefficients first: work[v][i] is row v taken at output column i; a zero row
  // gives zeros, a row with only its first coefficient the same value at every column (every
  // weight of u = 0 is 2896).
  constexpr auto kCount = static_cast<std::size_t>(Size);
  // The coefficients of weight 0 at this size (bit u): 2, 4 and 6 at 2x2, 4 at 4x4.
  constexpr std::uint32_t kUnused = Size == 2 ? 0x54 : 0x10;
  Wide work[8][kCount];
  std::int32_t rows = 0;  // one past the last row that adds anything
  // Unrolled, the tests on kUnused vanish at compile time.
#pragma GCC unroll 8
  for (std::int32_t v = 0; v < 8; ++v) {
    if ((kUnused >> v & 1) != 0) continue;
    // Most rows of a photo's blocks are zero: two 8-byte loads tell.
    std::uint64_t halves[2];
    std::memcpy(halves, coef + 8 * v, sizeof halves);
    if ((halves[0] | halves[1]) == 0) {
      for (Wide& value : work[v]) value = 0;
      continue;
    }
    rows = v + 1;
    if ((halves[0] >> 16 | halves[1]) == 0) {
      const std::int32_t n = 8 * v;
      const Wide first =
          saturate16(descale(2896 * dequantise(coef, quant, n), kWeightBits - kPassBits));
      for (Wide& value : work[v]) value = first;
      continue;
    }
    Wide row[8];
#pragma GCC unroll 8
    for (std::int32_t u = 0; u < 8; ++u) {
      const std::int32_t n = 8 * v + u;
      if ((kUnused >> u & 1) != 0) {
        row[u] = 0;
      } else {
        row[u] = dequantise(coef, quant, n);
      }
    }
    Wide sums[kCount];
    reduce<Size>(row, 1, sums);
    for (std::int32_t i = 0; i < Size; ++i) {
      work[v][i] = saturate16(descale(sums[i], kWeightBits - kPassBits));
    }
  }
  if (rows <= 1) {
    // Only the first row: every output row is the same.
    std::uint8_t first[kCount];
    for (std::size_t i = 0; i < kCount; ++i) {
      first[i] = sample(descale(2896 * work[0][i], kWeightBits + kPassBits));
    }
    for (std::int32_t j = 0; j < Size; ++j) std::memcpy(out + j * stride, first, kCount);
    return;
  }
  // Low-frequency blocks end in their first rows: the sums leave the zero rows out.
  if (rows <= 2) {
    columns<Size, 2>(&work[0][0], out, stride);
  } else if (rows <= 4) {
    columns<Size, 4>(&work[0][0], out, stride);
  } else {
    columns<Size, 8>(&work[0][0], out, stride);
  }
}

}  // namespace

void transform_blocks_reduced4_scalar(const std::int16_t* coef, std::int32_t coef_step,
                                      const std::uint16_t* quant, std::uint8_t* out,
                                      std::int32_t out_step, std::int32_t stride,
                                      std::int32_t count) {
  for (std::int32_t b = 0; b < count; ++b, coef += coef_step, out += out_step) {
    transform<4>(coef, quant, out, stride);
  }
}

void transform_blocks_reduced2_scalar(const std::int16_t* coef, std::int32_t coef_step,
                                      const std::uint16_t* quant, std::uint8_t* out,
                                      std::int32_t out_step, std::int32_t stride,
                                      std::int32_t count) {
  for (std::int32_t b = 0; b < count; ++b, coef += coef_step, out += out_step) {
    transform<2>(coef, quant, out, stride);
  }
}

std::uint8_t transform_block_1x1(const std::int16_t* coef, const std::uint16_t* quant) {
  const Wide dc = quant == nullptr ? Wide{coef[0]} : Wide{coef[0]} * Wide{quant[0]};
  return sample(descale(dc, 3));
}

}  // namespace jpeg::detail
