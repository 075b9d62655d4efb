// Pixel formats, raw pixels and colours, and rectangles of the memory display.
#include "platform/emulated/memory_pixels.h"

#include <algorithm>
#include <bit>

#include "platform/emulated/memory_display.h"

namespace platform::emulated {

PixelFormatDesc format_565() {
  return {16, 0xF800, 0x07E0, 0x001F};
}
PixelFormatDesc format_555() {
  return {16, 0x7C00, 0x03E0, 0x001F};
}
PixelFormatDesc format_24() {
  return {24, 0xFF0000, 0x00FF00, 0x0000FF};
}
PixelFormatDesc format_32() {
  return {32, 0xFF0000, 0x00FF00, 0x0000FF};
}
PixelFormatDesc format_8() {
  return {8, 0, 0, 0};
}

namespace {

// An 8-bit value into a channel mask, truncated to the channel's bits.
std::uint32_t pack_channel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const std::uint32_t v = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
  return (v << shift) & mask;
}

// A channel out of a raw pixel as an 8-bit value with zero low bits.
std::uint32_t unpack_channel(std::uint32_t raw, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const std::uint32_t v = (raw & mask) >> shift;
  return bits >= 8 ? v >> (bits - 8) : v << (8 - bits);
}

std::uint32_t swap_red_blue(std::uint32_t color) {
  return (color & 0xFF) << 16 | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

}  // namespace

std::uint32_t depth_mask(const PixelFormatDesc& format) {
  return format.rgb_bit_count >= 32 ? 0xFFFFFFFFu : (1u << format.rgb_bit_count) - 1;
}

std::uint32_t rgb_from_raw(std::uint32_t raw, const PixelFormatDesc& format) {
  if (format.rgb_bit_count == 8) {
    return ((raw >> 5) & 7u) << 21 | ((raw >> 2) & 7u) << 13 | (raw & 3u) << 6;
  }
  return unpack_channel(raw, format.r_mask) << 16 | unpack_channel(raw, format.g_mask) << 8 |
         unpack_channel(raw, format.b_mask);
}

std::uint32_t raw_from_rgb(std::uint32_t rgb, const PixelFormatDesc& format) {
  const std::uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  if (format.rgb_bit_count == 8) return (r >> 5) << 5 | (g >> 5) << 2 | (b >> 6);
  return pack_channel(r, format.r_mask) | pack_channel(g, format.g_mask) |
         pack_channel(b, format.b_mask);
}

bool same_format(const PixelFormatDesc& a, const PixelFormatDesc& b) {
  return a.rgb_bit_count == b.rgb_bit_count && a.r_mask == b.r_mask && a.g_mask == b.g_mask &&
         a.b_mask == b.b_mask;
}

Rect intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

bool empty(const Rect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

std::uint32_t raw_from_colorref(ColorRef color, const PixelFormatDesc& format) {
  return raw_from_rgb(swap_red_blue(color), format);
}

ColorRef colorref_from_raw(std::uint32_t raw, const PixelFormatDesc& format) {
  return swap_red_blue(rgb_from_raw(raw, format));
}

}  // namespace platform::emulated
