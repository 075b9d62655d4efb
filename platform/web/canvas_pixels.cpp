// The one-pass conversion of 16-bit frames for the canvas.
#include "platform/web/canvas_pixels.h"

#include <cstddef>
#include <cstring>

namespace platform::web {

void rgb565_to_rgba(const std::uint16_t* source, std::int32_t source_pitch, std::int32_t width,
                    std::int32_t height, std::uint8_t* out) {
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint16_t* row = source + static_cast<std::ptrdiff_t>(y) * source_pitch;
    std::uint8_t* to = out + static_cast<std::ptrdiff_t>(y) * width * 4;
    for (std::int32_t x = 0; x < width; ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t r = p >> 11;
      const std::uint32_t g = (p >> 5) & 0x3Fu;
      const std::uint32_t b = p & 0x1Fu;
      // One 32-bit store per pixel: R in the lowest byte (WebAssembly is little-endian).
      const std::uint32_t rgba = ((r << 3) | (r >> 2)) | (((g << 2) | (g >> 4)) << 8) |
                                 (((b << 3) | (b >> 2)) << 16) | 0xFF000000u;
      std::memcpy(to + x * 4, &rgba, 4);
    }
  }
}

}  // namespace platform::web
