// Pixel layouts from channel masks, pack and unpack, the colour table and the row converters.
#include "display/pixel_format.h"

#include <algorithm>

namespace display {

namespace {

struct Channel {
  std::int32_t bits, shift, loss, max, low, high;
};

// Lowest and highest set bit of the mask, clamped into 0..15 so that a channel always lies
// inside the 16-bit pixel; the width is capped at 8 because values are 8-bit.
Channel channel_from_mask(std::uint32_t mask) {
  std::int32_t low = 0;
  std::int32_t high = 0;
  if (mask != 0) {
    while (((mask >> low) & 1u) == 0) ++low;
    high = 31;
    while (((mask >> high) & 1u) == 0) --high;
  }
  low = std::clamp(low, 0, 15);
  if (high < low) {
    high = low;
  } else if (high > 15) {
    high = 15;
  }
  Channel c{};
  c.bits = std::clamp(high - low + 1, 1, 8);
  c.shift = low;
  c.loss = 8 - c.bits;
  c.max = 255 >> c.loss;
  c.low = low;
  c.high = high;
  return c;
}

std::int32_t unpack_channel(std::uint32_t pixel, std::int32_t shift, std::int32_t max,
                            std::int32_t loss) {
  const std::uint32_t value = (pixel >> shift) & static_cast<std::uint32_t>(max);
  return static_cast<std::int32_t>(value << loss);
}

std::uint32_t pack_channel(std::int32_t value, std::int32_t loss, std::int32_t shift) {
  return (static_cast<std::uint32_t>(value) >> loss) << shift;
}

}  // namespace

void PixelLayout::set_masks(std::uint32_t red_mask, std::uint32_t green_mask,
                            std::uint32_t blue_mask) {
  const Channel r = channel_from_mask(red_mask);
  const Channel g = channel_from_mask(green_mask);
  const Channel b = channel_from_mask(blue_mask);
  red_bits = r.bits;
  green_bits = g.bits;
  blue_bits = b.bits;
  red_shift = r.shift;
  red_loss = r.loss;
  green_shift = g.shift;
  green_loss = g.loss;
  blue_shift = b.shift;
  blue_loss = b.loss;
  red_max = r.max;
  green_max = g.max;
  blue_max = b.max;
  red_low = r.low;
  red_high = r.high;
  green_low = g.low;
  green_high = g.high;
  blue_low = b.low;
  blue_high = b.high;
}

void PixelLayout::set_default_masks() {
  set_masks(0xF800u, 0x07E0u, 0x001Fu);
}

Rgb PixelLayout::unpack(std::uint32_t pixel) const {
  const std::uint32_t p = pixel & 0xFFFFu;
  return Rgb{unpack_channel(p, red_shift, red_max, red_loss),
             unpack_channel(p, green_shift, green_max, green_loss),
             unpack_channel(p, blue_shift, blue_max, blue_loss)};
}

std::uint16_t PixelLayout::pack(std::int32_t r, std::int32_t g, std::int32_t b) const {
  const std::uint32_t p = pack_channel(r, red_loss, red_shift) |
                          pack_channel(g, green_loss, green_shift) |
                          pack_channel(b, blue_loss, blue_shift);
  return static_cast<std::uint16_t>(p);
}

PixelFormat::PixelFormat() : rgb_table(new std::uint32_t[kTableSize]) {}

PixelFormat::~PixelFormat() {
  delete[] rgb_table;
}

void PixelFormat::build_table() {
  for (std::uint32_t p = 0; p < static_cast<std::uint32_t>(kTableSize); ++p) {
    const Rgb c = unpack(p);
    const auto r = static_cast<std::uint32_t>(c.r);
    const auto g = static_cast<std::uint32_t>(c.g);
    const auto b = static_cast<std::uint32_t>(c.b);
    rgb_table[p] = ((r << 8) | g) << 8 | b;
  }
}

void PixelFormat::init_from_masks(std::uint32_t red_mask, std::uint32_t green_mask,
                                  std::uint32_t blue_mask) {
  set_masks(red_mask, green_mask, blue_mask);
  build_table();
}

void PixelFormat::init_default() {
  set_default_masks();
  build_table();
}

void convert_row_to_24(std::uint8_t* dst, const std::uint16_t* src, std::int32_t byte_count,
                       const std::uint32_t* table) {
  const std::int32_t pixels = byte_count / 2;
  for (std::int32_t i = 0; i < pixels; ++i) {
    const std::uint32_t c = table[src[i]];
    dst[0] = static_cast<std::uint8_t>(c);
    dst[1] = static_cast<std::uint8_t>(c >> 8);
    dst[2] = static_cast<std::uint8_t>(c >> 16);
    dst += 3;
  }
}

void convert_row_to_32(std::uint8_t* dst, const std::uint16_t* src, std::int32_t byte_count,
                       const std::uint32_t* table) {
  const std::int32_t pixels = byte_count / 2;
  for (std::int32_t i = 0; i < pixels; ++i) {
    const std::uint32_t c = table[src[i]];
    // Byte by byte so that dst needs no alignment; compilers merge this into one store.
    dst[0] = static_cast<std::uint8_t>(c);
    dst[1] = static_cast<std::uint8_t>(c >> 8);
    dst[2] = static_cast<std::uint8_t>(c >> 16);
    dst[3] = static_cast<std::uint8_t>(c >> 24);
    dst += 4;
  }
}

}  // namespace display
