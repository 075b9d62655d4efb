// Reduced inverse DCTs. The mean over a group of g pixels of the basis of T.81 A.3.3,
// C(u)/2 cos((2x + 1) u pi / 16), is one weight per output sample and coefficient, so the
// reduced transform is the full one followed by a box filter, done in one separable pass of
// fixed-point weights. Over groups of 4 the even terms other than DC average to zero; over the
// whole block only DC remains (its mean, DC / 8).
#include "jpeg/idct_reduced.h"

#include <cstring>

namespace jpeg::detail {

namespace {

// round(2^13 * C(u) / 2 * mean over x in group i of cos((2x + 1) u pi / 16)).
constexpr std::int32_t kWeights4[4][8] = {{2896, 3711, 2676, 1303, 0, -871, -1108, -738},
                                          {2896, 1537, -2676, -3146, 0, 2102, 1108, -306},
                                          {2896, -1537, -2676, 3146, 0, -2102, 1108, 306},
                                          {2896, -3711, 2676, -1303, 0, 871, -1108, 738}};
constexpr std::int32_t kWeights2[2][8] = {{2896, 2624, 0, -922, 0, 616, 0, -522},
                                          {2896, -2624, 0, 922, 0, -616, 0, 522}};

constexpr std::int32_t kWeightBits = 13;
// Bits of precision kept between the two passes.
constexpr std::int32_t kPassBits = 2;

// Sums in 64 bits: a damaged file's coefficients may be anything a 16-bit value times a 16-bit
// table entry gives.
using Wide = std::int64_t;

inline Wide descale(Wide x, std::int32_t n) {
  return (x + (Wide{1} << (n - 1))) >> n;
}

inline std::uint8_t sample(Wide v) {
  const Wide s = v + 128;
  return static_cast<std::uint8_t>(s < 0 ? 0 : (s > 255 ? 255 : s));
}

template <std::int32_t Size>
void transform(const std::int16_t* coef, const std::uint16_t* quant,
               const std::int32_t (*weights)[8], std::uint8_t* out, std::int32_t stride) {
  // Rows of coefficients first: work[v][i] is row v taken at output column i. Only the rows
  // and columns up to the last non-zero coefficient take part; the rest add nothing.
  Wide row[8][8];
  std::int32_t rows = 0;
  std::int32_t columns = 0;
  for (std::int32_t v = 0; v < 8; ++v) {
    // Most rows of a photo's blocks are zero: two 8-byte loads tell.
    std::uint64_t halves[2];
    std::memcpy(halves, coef + 8 * v, sizeof halves);
    if ((halves[0] | halves[1]) == 0) {
      for (Wide& value : row[v]) value = 0;
      continue;
    }
    for (std::int32_t u = 0; u < 8; ++u) {
      const std::int32_t n = 8 * v + u;
      row[v][u] = quant == nullptr ? Wide{coef[n]} : Wide{coef[n]} * Wide{quant[n]};
      if (row[v][u] != 0) {
        rows = v + 1;
        columns = u + 1 > columns ? u + 1 : columns;
      }
    }
  }
  Wide work[8][4];
  for (std::int32_t v = 0; v < rows; ++v) {
    for (std::int32_t i = 0; i < Size; ++i) {
      Wide sum = 0;
      for (std::int32_t u = 0; u < columns; ++u) sum += weights[i][u] * row[v][u];
      work[v][i] = descale(sum, kWeightBits - kPassBits);
    }
  }
  for (std::int32_t j = 0; j < Size; ++j) {
    for (std::int32_t i = 0; i < Size; ++i) {
      Wide sum = 0;
      for (std::int32_t v = 0; v < rows; ++v) sum += weights[j][v] * work[v][i];
      out[j * stride + i] = sample(descale(sum, kWeightBits + kPassBits));
    }
  }
}

}  // namespace

void transform_block_reduced(const std::int16_t* coef, const std::uint16_t* quant,
                             std::int32_t size, std::uint8_t* out, std::int32_t stride) {
  if (size == 4) {
    transform<4>(coef, quant, kWeights4, out, stride);
  } else if (size == 2) {
    transform<2>(coef, quant, kWeights2, out, stride);
  } else {
    const Wide dc = quant == nullptr ? Wide{coef[0]} : Wide{coef[0]} * Wide{quant[0]};
    out[0] = sample(descale(dc, 3));
  }
}

}  // namespace jpeg::detail
