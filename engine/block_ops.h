// The pixel routines every drawing step of the engine comes down to: row and block copies,
// blends and masks of 16-bit pixels, a word fill, and the channel masks.
#pragma once

#include <cstdint>
#include <cstring>

#include "display/pixel_format.h"

namespace engine {

// Mask word keeping all but the nr, ng, nb lowest bits of the three channels of pf.
std::uint32_t channel_keep_mask(std::int32_t nr, std::int32_t ng, std::int32_t nb,
                                const display::PixelLayout& pf);

namespace detail {

// Rows up to this many pixels are copied by a loop rather than by memmove.
inline constexpr std::int32_t kShortRow = 16;

// True when dst starts inside [src, src + n): a forward copy then reads pixels it wrote.
inline bool starts_inside(const std::uint16_t* dst, const std::uint16_t* src, std::int32_t n) {
  const auto d = reinterpret_cast<std::uintptr_t>(dst);
  const auto s = reinterpret_cast<std::uintptr_t>(src);
  return d > s && d < s + static_cast<std::uintptr_t>(n) * 2u;
}

inline std::uint32_t load_pair(const std::uint16_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 16;
}

inline void store_pair(std::uint16_t* p, std::uint32_t word) {
  p[0] = static_cast<std::uint16_t>(word);
  p[1] = static_cast<std::uint16_t>(word >> 16);
}

}  // namespace detail

// Copies n pixels in ascending order, each read just before it is written, so a source
// that starts left of an overlapping destination smears.
inline void copy_row16(std::uint16_t* dst, const std::uint16_t* src, std::int32_t n) {
  if (n <= 0) return;
  // Short rows (most effect blocks) are cheaper copied in place than through a library call.
  if (n <= detail::kShortRow || detail::starts_inside(dst, src, n)) {
    for (std::int32_t i = 0; i < n; ++i) dst[i] = src[i];
  } else {
    // No pixel is read after it was written, which is exactly memmove.
    std::memmove(dst, src, static_cast<std::size_t>(n) * 2u);
  }
}

// Writes value into n consecutive words.
inline void fill32(std::uint32_t* dst, std::uint32_t value, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) dst[i] = value;
}

// ANDs n / 2 pairs with mask, then an odd last pixel with its low half.
inline void mask_row_pairs(std::uint16_t* row, std::int32_t n, std::uint32_t mask) {
  const auto lo = static_cast<std::uint16_t>(mask);
  const auto hi = static_cast<std::uint16_t>(mask >> 16);
  const std::int32_t pairs = n / 2;
  for (std::int32_t i = 0; i < pairs; ++i) {
    row[2 * i] &= lo;
    row[2 * i + 1] &= hi;
  }
  if (n > 0 && (n & 1) != 0) row[n - 1] &= lo;
}

// ANDs each of n pixels with the low half of mask.
inline void mask_row(std::uint16_t* row, std::int32_t n, std::uint32_t mask) {
  const auto lo = static_cast<std::uint16_t>(mask);
  for (std::int32_t i = 0; i < n; ++i) row[i] &= lo;
}

// 50% blend of src into dst: per channel floor(s / 2) + floor(d / 2) + the low bit of d.
// Pairs are blended as words, each read whole before it is written.
inline void blend_row(std::uint16_t* dst, const std::uint16_t* src, std::int32_t n,
                      std::uint32_t halve, std::uint32_t low) {
  const std::int32_t pairs = n / 2;
  for (std::int32_t i = 0; i < pairs; ++i) {
    const std::uint32_t s = detail::load_pair(src + 2 * i);
    const std::uint32_t d = detail::load_pair(dst + 2 * i);
    detail::store_pair(dst + 2 * i, ((s >> 1) & halve) + ((d >> 1) & halve) + (d & low));
  }
  if (n > 0 && (n & 1) != 0) {
    const std::uint32_t s = src[n - 1];
    const std::uint32_t d = dst[n - 1];
    dst[n - 1] = static_cast<std::uint16_t>(((s >> 1) & halve & 0xFFFFu) +
                                            ((d >> 1) & halve & 0xFFFFu) + (d & low & 0xFFFFu));
  }
}

// Copies the rectangle (sx0, sy0)-(sx1, sy1) of src to dst at (dx, dy); both use stride.
// Rows run top down; overlap in one buffer behaves like single pixels copied in that order.
// Copying pairs when both start indices are even would only keep 32-bit accesses aligned:
// the distance is then even and the pixels come out the same, so every row goes through
// copy_row16, which avoids a branch on the random parity of small blocks.
inline void copy_block(std::uint16_t* dst, std::int32_t dx, std::int32_t dy,
                       const std::uint16_t* src, std::int32_t sx0, std::int32_t sy0,
                       std::int32_t sx1, std::int32_t sy1, std::int32_t stride) {
  const std::int32_t w = sx1 - sx0 + 1;
  const std::uint16_t* s = src + (sy0 * stride + sx0);
  std::uint16_t* d = dst + (dy * stride + dx);
  for (std::int32_t y = sy0; y <= sy1; ++y) {
    copy_row16(d, s, w);
    s += stride;
    d += stride;
  }
}

// Blends the rectangle (sx0, sy0)-(sx1, sy1) of src into dst at (dx, dy).
inline void blend_block(std::uint16_t* dst, std::int32_t dx, std::int32_t dy,
                        std::int32_t dst_stride, const std::uint16_t* src, std::int32_t sx0,
                        std::int32_t sy0, std::int32_t sx1, std::int32_t sy1,
                        std::int32_t src_stride, std::uint32_t halve, std::uint32_t low) {
  const std::int32_t w = sx1 - sx0 + 1;
  const std::uint16_t* s = src + (sy0 * src_stride + sx0);
  std::uint16_t* d = dst + (dy * dst_stride + dx);
  for (std::int32_t y = sy0; y <= sy1; ++y) {
    blend_row(d, s, w, halve, low);
    s += src_stride;
    d += dst_stride;
  }
}

// ANDs every pixel of the rectangle (x0, y0)-(x1, y1) with mask.
inline void mask_block(std::uint16_t* buf, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                       std::int32_t y1, std::int32_t stride, std::uint32_t mask) {
  const std::int32_t w = x1 - x0 + 1;
  std::uint16_t* row = buf + (y0 * stride + x0);
  for (std::int32_t y = y0; y <= y1; ++y) {
    if ((x0 & 1) != 0) {
      mask_row(row, w, mask);
    } else {
      mask_row_pairs(row, w, mask);
    }
    row += stride;
  }
}

}  // namespace engine
