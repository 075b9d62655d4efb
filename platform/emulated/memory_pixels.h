// The memory display's pixel and rectangle arithmetic, shared by its surfaces, drawing
// contexts and display system.
#pragma once

#include <cstdint>

#include "platform/direct_draw.h"

namespace platform::emulated {

// Inline: the per-pixel paths call it for every pixel.
inline std::uint32_t bytes_per_pixel(const PixelFormatDesc& format) {
  return (format.rgb_bit_count + 7) / 8;
}
// The bits a raw pixel of format can hold.
std::uint32_t depth_mask(const PixelFormatDesc& format);
// 0x00RRGGBB of a raw pixel of format, each channel expanded with zero low bits, and back.
std::uint32_t rgb_from_raw(std::uint32_t raw, const PixelFormatDesc& format);
std::uint32_t raw_from_rgb(std::uint32_t rgb, const PixelFormatDesc& format);
bool same_format(const PixelFormatDesc& a, const PixelFormatDesc& b);
Rect intersect(const Rect& a, const Rect& b);
bool empty(const Rect& r);

}  // namespace platform::emulated
