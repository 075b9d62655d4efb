// Scaled decoding. A component subsampled alike in both directions is transformed at a larger
// size instead (up to 8x8), so that its samples land one per reduced pixel: 4:2:0 chroma at 1/2
// comes from the full 8x8 transform and needs no upsampling. Chroma that stays twice as wide as
// an output pixel (4:2:2 at 1/2 and 1/4) is interpolated linearly between the sample centres, so
// that the smaller picture keeps the smooth colour edges of a full-size one; what stays uneven
// otherwise (4:4:0, and 4:2:2 at 1/8, where each sample is a block's mean) is replicated.
#include "jpeg/scaled_output.h"

#include <cstring>

#include "jpeg/idct.h"
#include "jpeg/idct_reduced.h"

namespace jpeg::detail {

namespace {

std::int32_t ceil_div(std::int32_t a, std::int32_t b) {
  return (a + b - 1) / b;
}

inline std::uint8_t clamp(std::int32_t v) {
  return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

std::uint64_t scaled_plane_bytes(const DecoderState& d, std::int32_t c) {
  const std::int32_t v = c == 0 ? d.mcu_height / 8 : 1;
  return static_cast<std::uint64_t>(d.plane_stride[c]) *
             static_cast<std::uint64_t>(v * d.block_size[c]) +
         8;
}

void setup_scaled_output(DecoderState& d) {
  const std::int32_t luma = 8 / d.scale;
  d.out_width = ceil_div(d.width, d.scale);
  d.out_height = ceil_div(d.height, d.scale);
  d.out_mcu_height = d.mcu_height / d.scale;
  d.plane_count = d.layout == SamplingLayout::gray ? 1 : 3;
  const std::int32_t hmax = d.mcu_width / 8;
  const std::int32_t vmax = d.mcu_height / 8;
  for (std::int32_t c = 0; c < d.plane_count; ++c) {
    const std::int32_t h = c == 0 ? hmax : 1;
    const std::int32_t v = c == 0 ? vmax : 1;
    // The pixels one sample covers in the less subsampled direction, taken into the transform.
    const std::int32_t ratio = hmax / h < vmax / v ? hmax / h : vmax / v;
    const std::int32_t size = luma * ratio > 8 ? 8 : luma * ratio;
    d.block_size[c] = size;
    d.up_h[c] = hmax * luma / (h * size);
    d.up_v[c] = vmax * luma / (v * size);
    d.plane_stride[c] = d.mcus_per_row * h * size;
    d.plane[c] = static_cast<std::uint8_t*>(allocate(d, scaled_plane_bytes(d, c)));
  }
  if (d.plane_count < 3 || d.scale == 8 || (d.up_h[1] != 2 && d.up_v[1] != 2)) return;
  const auto row_bytes = static_cast<std::uint64_t>(d.out_width) + 8;
  for (std::uint8_t*& row : d.smooth_chroma) {
    row = static_cast<std::uint8_t*>(allocate(d, row_bytes));
  }
  if (d.up_v[1] != 2) return;
  d.smooth_down = true;
  d.kept_luma = static_cast<std::uint8_t*>(allocate(d, row_bytes));
  for (std::uint8_t*& row : d.kept_chroma) {
    row = static_cast<std::uint8_t*>(allocate(d, static_cast<std::uint64_t>(d.plane_stride[1])));
  }
}

namespace {

using BlockTransform = void (*)(const std::int16_t* coef, std::int32_t coef_step,
                                const std::uint16_t* quant, std::uint8_t* out,
                                std::int32_t out_step, std::int32_t stride, std::int32_t count);

void transform_blocks_1x1(const std::int16_t* coef, std::int32_t coef_step,
                          const std::uint16_t* quant, std::uint8_t* out, std::int32_t out_step,
                          std::int32_t, std::int32_t count) {
  for (std::int32_t b = 0; b < count; ++b, coef += coef_step, out += out_step) {
    out[0] = transform_block_1x1(coef, quant);
  }
}

// The full 8x8 transform of the integer path, on coefficients dequantised as it takes them.
void transform_blocks_8x8(const std::int16_t* coef, std::int32_t coef_step,
                          const std::uint16_t* quant, std::uint8_t* out, std::int32_t out_step,
                          std::int32_t stride, std::int32_t count) {
  for (std::int32_t b = 0; b < count; ++b, coef += coef_step, out += out_step) {
    std::int16_t work[64];
    for (std::int32_t n = 0; n < 64; ++n) {
      work[n] = quant == nullptr ? coef[n]
                                 : static_cast<std::int16_t>(static_cast<std::uint32_t>(
                                       coef[n] * static_cast<std::int32_t>(quant[n])));
    }
    std::uint8_t full[64];
    transform_block_integer(work, full);
    for (std::int32_t r = 0; r < 8; ++r) std::memcpy(out + r * stride, full + 8 * r, 8);
  }
}

BlockTransform block_transform(const DecoderState& d, std::int32_t size) {
  switch (size) {
    case 4:
      return d.kernels.transform_blocks_reduced4;
    case 2:
      return d.kernels.transform_blocks_reduced2;
    case 1:
      return transform_blocks_1x1;
    default:
      return transform_blocks_8x8;
  }
}

}  // namespace

void transform_mcu_row_scaled(const DecoderState& d, const std::int16_t* coef,
                              std::uint8_t* const planes[3]) {
  const std::int32_t hmax = d.mcu_width / 8;
  const std::int32_t vmax = d.mcu_height / 8;
  // The fast path stores coefficients as they were coded; the integer path dequantised them.
  const bool dequantised = !d.fast_transform;
  // An MCU holds the luma blocks row by row, then one block of each chroma component: each
  // block position of the MCU is transformed along the whole row at once.
  const std::int32_t coef_step = d.blocks_per_mcu * 64;
  std::int32_t block = 0;
  for (std::int32_t c = 0; c < d.plane_count; ++c) {
    const std::int32_t h = c == 0 ? hmax : 1;
    const std::int32_t v = c == 0 ? vmax : 1;
    const std::int32_t size = d.block_size[c];
    const std::int32_t stride = d.plane_stride[c];
    const BlockTransform transform = block_transform(d, size);
    const std::uint16_t* quant = dequantised ? nullptr : d.quant_natural[d.comp[c].tq];
    for (std::int32_t by = 0; by < v; ++by) {
      for (std::int32_t bx = 0; bx < h; ++bx, ++block) {
        transform(coef + block * 64, coef_step, quant, planes[c] + by * size * stride + bx * size,
                  h * size, stride, d.mcus_per_row);
      }
    }
  }
}

namespace {

// One sample per output pixel from samples covering two each: between two sample centres the
// nearer one weighs 3/4 (the bias alternating so that the rounding does not drift); the
// outermost pixels take the edge samples as they are.
void interpolate_across(const std::uint8_t* in, std::int32_t out_width, std::uint8_t* out) {
  const std::int32_t count = (out_width + 1) / 2;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t near = 3 * in[i];
    const std::int32_t left = in[i > 0 ? i - 1 : 0];
    const std::int32_t right = in[i + 1 < count ? i + 1 : i];
    out[2 * i] = static_cast<std::uint8_t>((near + left + 1) >> 2);
    if (2 * i + 1 < out_width) out[2 * i + 1] = static_cast<std::uint8_t>((near + right + 2) >> 2);
  }
}

// Between the centres of two rows of samples covering two output rows each, the same weights
// down: near is the row an output row lies in, far the next one beyond its nearer edge.
void interpolate_down(const std::uint8_t* near, const std::uint8_t* far, std::int32_t bias,
                      std::int32_t width, std::uint8_t* out) {
  for (std::int32_t x = 0; x < width; ++x) {
    out[x] = static_cast<std::uint8_t>((3 * near[x] + far[x] + bias) >> 2);
  }
}

// Output row y of the MCU row into line1, with luma row luma and chroma rows cb, cr.
const std::uint8_t* convert_row(DecoderState& d, const std::uint8_t* luma, const std::uint8_t* cb,
                                const std::uint8_t* cr) {
  std::uint8_t* out = d.line1;
  std::int32_t shift = d.up_h[1] == 2 ? 1 : 0;  // both chroma planes are alike
  if (d.smooth_chroma[0] != nullptr && !d.smooth_down) {
    interpolate_across(cb, d.out_width, d.smooth_chroma[0]);
    interpolate_across(cr, d.out_width, d.smooth_chroma[1]);
    cb = d.smooth_chroma[0];
    cr = d.smooth_chroma[1];
    shift = 0;
  }
  if (shift == 0 && !d.rgb_components) {
    d.kernels.convert_row(d, luma, cb, cr, out, d.out_width);
    return d.line1;
  }
  for (std::int32_t x = 0; x < d.out_width; ++x, out += 4) {
    const std::int32_t l = luma[x];
    const std::uint8_t b = cb[x >> shift];
    const std::uint8_t r = cr[x >> shift];
    if (d.rgb_components) {
      out[0] = static_cast<std::uint8_t>(l);
      out[1] = b;
      out[2] = r;
      continue;
    }
    out[0] = clamp(l + d.cr_to_red[r]);
    out[1] = clamp(l + ((d.cb_to_green[b] + d.cr_to_green[r]) >> 16));
    out[2] = clamp(l + d.cb_to_blue[b]);
  }
  return d.line1;
}

}  // namespace

const std::uint8_t* build_scaled_row(DecoderState& d) {
  const std::int32_t y = d.out_mcu_height - d.rows_left;
  const std::uint8_t* luma = d.plane[0] + y * d.plane_stride[0];
  if (d.plane_count == 1) {
    std::memcpy(d.line1, luma, static_cast<std::size_t>(d.out_width));
    return d.line1;
  }
  const std::int32_t i = y / d.up_v[1];
  const std::uint8_t* cb = d.plane[1] + i * d.plane_stride[1];
  const std::uint8_t* cr = d.plane[2] + i * d.plane_stride[2];
  if (d.smooth_down) {
    // The upper output row of a sample leans on the row above (the kept one at an MCU row's
    // top), the lower on the row below; the picture's first and last rows on none.
    const bool upper = (y & 1) == 0;
    const std::int32_t stride = d.plane_stride[1];
    const std::uint8_t* far_cb = cb;
    const std::uint8_t* far_cr = cr;
    if (upper && i > 0) {
      far_cb = cb - stride;
      far_cr = cr - stride;
    } else if (upper && d.kept_rows) {
      far_cb = d.kept_chroma[0];
      far_cr = d.kept_chroma[1];
    } else if (!upper && d.rows_remaining > 1) {
      far_cb = cb + stride;
      far_cr = cr + stride;
    }
    const std::int32_t bias = upper ? 1 : 2;
    interpolate_down(cb, far_cb, bias, d.out_width, d.smooth_chroma[0]);
    interpolate_down(cr, far_cr, bias, d.out_width, d.smooth_chroma[1]);
    cb = d.smooth_chroma[0];
    cr = d.smooth_chroma[1];
  }
  return convert_row(d, luma, cb, cr);
}

void keep_last_rows(DecoderState& d) {
  const std::int32_t y = d.out_mcu_height - 1;
  const auto width = static_cast<std::size_t>(d.out_width);
  std::memcpy(d.kept_luma, d.plane[0] + y * d.plane_stride[0], width);
  for (std::int32_t c = 0; c < 2; ++c) {
    const std::uint8_t* row = d.plane[c + 1] + (y / d.up_v[c + 1]) * d.plane_stride[c + 1];
    std::memcpy(d.kept_chroma[c], row, static_cast<std::size_t>(d.plane_stride[c + 1]));
  }
  d.kept_rows = true;
}

const std::uint8_t* build_kept_row(DecoderState& d) {
  // A lower output row: the kept chroma row near, the new MCU row's first one beyond.
  interpolate_down(d.kept_chroma[0], d.plane[1], 2, d.out_width, d.smooth_chroma[0]);
  interpolate_down(d.kept_chroma[1], d.plane[2], 2, d.out_width, d.smooth_chroma[1]);
  return convert_row(d, d.kept_luma, d.smooth_chroma[0], d.smooth_chroma[1]);
}

}  // namespace jpeg::detail
