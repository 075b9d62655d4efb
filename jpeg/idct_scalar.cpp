// The fast transform in scalar lanes with the exact 16-bit semantics of the vector sets.
#include "jpeg/idct_fast.h"
#include "jpeg/idct_kernels.h"

namespace jpeg::detail {

namespace {

inline std::int16_t w16(std::int32_t v) {
  return static_cast<std::int16_t>(v);
}

struct ScalarLanes {
  using Vector = std::int16_t;
  static Vector add(Vector a, Vector b) { return w16(a + b); }
  static Vector sub(Vector a, Vector b) { return w16(a - b); }
  static Vector mul_high(Vector x, std::int16_t k) {
    return w16((static_cast<std::int32_t>(w16(x * 4)) * k) >> 16);
  }
};

inline std::uint8_t fast_sample(std::int16_t y) {
  std::int32_t v = (y >> 5) + 128;  // never leaves 16 bits, so the saturation is moot
  return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

void transform_block_fast_scalar(const std::int16_t* coef, const std::uint16_t* quant,
                                 std::uint8_t* out) {
  std::int16_t d[64];
  for (int n = 0; n < 64; ++n) d[n] = w16(coef[n] * static_cast<std::int16_t>(quant[n]));
  for (int c = 0; c < 8; ++c) aan_pass<ScalarLanes, 8>(&d[c]);
  for (int r = 0; r < 8; ++r) {
    std::int16_t* x = &d[8 * r];
    aan_pass<ScalarLanes>(x);
    for (int c = 0; c < 8; ++c) out[8 * r + c] = fast_sample(x[c]);
  }
}

}  // namespace jpeg::detail
