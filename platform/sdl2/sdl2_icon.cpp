// A small reader for the icon format: directory, bitmap header, palette, colour rows and
// transparency mask, all little-endian with rows stored bottom-up.
#include "platform/sdl2/sdl2_icon.h"

#include <cstdint>

namespace platform::sdl2 {

// The bytes of resources/moviquel.ico, generated into the build.
extern const unsigned char kApplicationIcon[];
extern const std::size_t kApplicationIconSize;

namespace {

std::uint32_t u16(const unsigned char* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8);
}
std::uint32_t u32(const unsigned char* p) {
  return u16(p) | (u16(p + 2) << 16);
}

}  // namespace

SDL_Surface* decode_icon(const unsigned char* data, std::size_t size) {
  if (data == nullptr || size < 6 + 16 || u16(data + 2) != 1 || u16(data + 4) == 0) return nullptr;
  const std::size_t offset = u32(data + 6 + 12);
  if (offset + 40 > size) return nullptr;
  const unsigned char* bmp = data + offset;
  const std::size_t header = u32(bmp);
  const auto width = static_cast<std::int32_t>(u32(bmp + 4));
  const auto height = static_cast<std::int32_t>(u32(bmp + 8)) / 2;  // colour rows + mask rows
  const std::uint32_t bits = u16(bmp + 14);
  if (header < 40 || u32(bmp + 16) != 0 || width <= 0 || height <= 0 || width > 256 ||
      height > 256) {
    return nullptr;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return nullptr;
  std::size_t colors = 0;
  if (bits <= 8) {
    colors = u32(bmp + 32);
    if (colors == 0 || colors > (1u << bits)) colors = std::size_t{1} << bits;
  }
  const unsigned char* palette = bmp + header;
  const unsigned char* rows = palette + colors * 4;
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  const std::size_t stride = (w * bits + 31) / 32 * 4;
  const std::size_t mask_stride = (w + 31) / 32 * 4;
  const unsigned char* mask = rows + stride * h;
  if (static_cast<std::size_t>(mask + mask_stride * h - data) > size) return nullptr;

  SDL_Surface* icon =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (icon == nullptr) return nullptr;
  for (std::size_t y = 0; y < h; ++y) {
    const unsigned char* row = rows + (h - 1 - y) * stride;
    const unsigned char* mrow = mask + (h - 1 - y) * mask_stride;
    auto* out = reinterpret_cast<std::uint32_t*>(static_cast<unsigned char*>(icon->pixels) +
                                                 y * static_cast<std::size_t>(icon->pitch));
    for (std::size_t x = 0; x < w; ++x) {
      std::uint32_t b = 0, g = 0, r = 0, a = 255;
      if (bits <= 8) {
        const std::size_t bit = x * bits;
        const std::uint32_t index =
            (std::uint32_t{row[bit / 8]} >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index < colors) {
          b = palette[index * 4];
          g = palette[index * 4 + 1];
          r = palette[index * 4 + 2];
        }
      } else {
        const unsigned char* px = row + x * (bits / 8);
        b = px[0];
        g = px[1];
        r = px[2];
        if (bits == 32) a = px[3];
      }
      if (bits != 32 && ((mrow[x / 8] >> (7 - x % 8)) & 1) != 0) a = 0;
      out[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  return icon;
}

SDL_Surface* application_icon() {
  return decode_icon(kApplicationIcon, kApplicationIconSize);
}

}  // namespace platform::sdl2
