// Effect kinds 2 and 3: blocks passed through a 65536-entry colour table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/pixel_format.h"
#include "engine/effect_header.h"
#include "engine/effect_view.h"

namespace engine {

// One entry for every 16-bit pixel.
inline constexpr std::size_t kRemapTableSize = 65536;

// The record of kinds 2 and 3, with its own table.
struct RemapParams : EffectHeader {
  // Copies every field and the table of other (into this record's own table storage), or
  // zeroes both when other is null; then raises the block size to at least 1x1.
  void assign(const RemapParams* other);
  // table[p] = p with add_r, add_g and add_b added to its channels, clamped to 0..255.
  void build_remap_table(const display::PixelLayout& pf);

  std::uint32_t pos_rng = 0;
  std::uint32_t jitter_rng = 0;
  std::uint32_t seed = 0;
  std::vector<std::uint16_t> table = std::vector<std::uint16_t>(kRemapTableSize);
  bool blend_after = false;  // blend the source picture in after the run
  bool from_work = false;    // remap in place in the working frame
  std::int32_t add_r = 0;
  std::int32_t add_g = 0;
  std::int32_t add_b = 0;
};

// Writes table[pixel] for each pixel of the frame's blocks, read from the working frame
// (from_work set) or the source picture, into the working frame.
void run_remap_rects(const EffectView& view, RemapParams& params);

}  // namespace engine
