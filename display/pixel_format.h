// The layout of a 16-bit pixel (where red, green and blue sit) and the 65536-entry table
// that turns any 16-bit pixel into 0x00RRGGBB, plus the row converters built on that table.
#pragma once

#include <cstdint>

namespace display {

// One pixel's three channels as 8-bit values with zero low bits.
struct Rgb {
  std::int32_t r;
  std::int32_t g;
  std::int32_t b;
};

// The 18 layout fields of a 16-bit pixel format. Layers keep a copy of these by value.
struct PixelLayout {
  std::int32_t red_bits = 0;
  std::int32_t green_bits = 0;
  std::int32_t blue_bits = 0;
  std::int32_t red_shift = 0;
  std::int32_t red_loss = 0;
  std::int32_t green_shift = 0;
  std::int32_t green_loss = 0;
  std::int32_t blue_shift = 0;
  std::int32_t blue_loss = 0;
  std::int32_t red_max = 0;
  std::int32_t green_max = 0;
  std::int32_t blue_max = 0;
  std::int32_t red_low = 0;
  std::int32_t red_high = 0;
  std::int32_t green_low = 0;
  std::int32_t green_high = 0;
  std::int32_t blue_low = 0;
  std::int32_t blue_high = 0;

  // Derives every layout field from three channel masks; only bits 0..15 take effect,
  // and a zero mask gives a 1-bit channel at bit 0.
  void set_masks(std::uint32_t red_mask, std::uint32_t green_mask, std::uint32_t blue_mask);
  // The 5-6-5 layout with red on top.
  void set_default_masks();

  // Channels of the low 16 bits of pixel, each moved to the top of an 8-bit value.
  Rgb unpack(std::uint32_t pixel) const;
  // Packs 8-bit channels (callers keep them in 0..255; nothing is masked) into a pixel.
  std::uint16_t pack(std::int32_t r, std::int32_t g, std::int32_t b) const;
};

inline constexpr std::int32_t kTableSize = 65536;

// A layout plus its colour table. The table is allocated by the constructor and owned.
struct PixelFormat : PixelLayout {
  PixelFormat();
  ~PixelFormat();
  PixelFormat(const PixelFormat&) = delete;
  PixelFormat& operator=(const PixelFormat&) = delete;

  // Fills every entry of rgb_table from the current layout.
  void build_table();
  // set_masks, then build_table.
  void init_from_masks(std::uint32_t red_mask, std::uint32_t green_mask, std::uint32_t blue_mask);
  // set_default_masks, then build_table.
  void init_default();

  // kTableSize entries, R << 16 | G << 8 | B; undefined contents until the first fill.
  std::uint32_t* rgb_table;
};

// Converts byte_count / 2 pixels of src (byte_count in bytes of 16-bit source) through table
// into 3 bytes each (blue, green, red) at dst.
void convert_row_to_24(std::uint8_t* dst, const std::uint16_t* src, std::int32_t byte_count,
                       const std::uint32_t* table);
// The same, writing 4 bytes per pixel (blue, green, red, zero).
void convert_row_to_32(std::uint8_t* dst, const std::uint16_t* src, std::int32_t byte_count,
                       const std::uint32_t* table);

}  // namespace display
