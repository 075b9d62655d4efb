// Effect kinds 4 and 5: blocks filled from a displaced piece of picture.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/effect_header.h"
#include "engine/effect_view.h"

namespace engine {

// Where a moving block's pixels come from (MovingBlockParams::source). Any other value draws
// nothing, though the offsets and positions are still drawn.
inline constexpr std::int32_t kFromSourcePicture = 0;
// Read and written in place, so a block whose source overlaps it from the left or above smears.
inline constexpr std::int32_t kFromWorkingFrame = 1;
// Taken out into the scratch frame first, so the block moves without smearing.
inline constexpr std::int32_t kFromWorkingFrameViaScratch = 2;

// How a moving block's offsets change from frame to frame (MovingBlockParams::offset_mode).
inline constexpr std::int32_t kOffsetsFresh = 0;     // new offsets every frame
inline constexpr std::int32_t kOffsetsRepeated = 1;  // the same offsets every frame
// A random walk of each block index's stored offset; the arrays grow with the block count.
inline constexpr std::int32_t kOffsetsWalk = 2;
// The same walk over the arrays as they are (this and every higher mode): they never grow,
// and blocks beyond them take the range's maximum.
inline constexpr std::int32_t kOffsetsWalkFixedCount = 3;

// The record of kinds 4 and 5, with its own offset arrays.
struct MovingBlockParams : EffectHeader {
  // Copies every field of other except the offsets (or zeroes them when other is null): the
  // offsets stay this record's own. Then raises the block size to at least 1x1.
  void assign(const MovingBlockParams* other);
  // Gives both offset arrays n entries (n >= 0; a negative n keeps the current ones) and
  // zeroes them.
  void resize_offsets(std::int32_t n);
  void clear_offsets();
  // Entries in each offset array.
  std::int32_t offset_count() const { return static_cast<std::int32_t>(offsets_x.size()); }

  std::uint32_t pos_rng = 0;
  std::uint32_t offset_rng = 0;
  std::uint32_t jitter_rng = 0;
  std::uint32_t seed = 0;
  std::uint32_t offset_seed = 0;
  std::vector<std::int16_t> offsets_x;  // random-walk offset of each block index
  std::vector<std::int16_t> offsets_y;
  bool blend_after = false;                  // blend the source picture in after the run
  std::int32_t source = kFromSourcePicture;  // one of the kFrom... values above
  bool blend = false;                        // blend 50% instead of copying
  std::int32_t offset_mode = kOffsetsFresh;  // one of the kOffsets... values above
  std::int32_t dx_min = 0;
  std::int32_t dx_max = 0;
  std::int32_t dy_min = 0;
  std::int32_t dy_max = 0;
  std::int32_t walk_x = 0;  // largest change of an offset per frame in the random walk
  std::int32_t walk_y = 0;
  bool reset_offsets = false;  // zero the offsets at each activation
};

// Fills each of the frame's blocks of the working frame with the piece of picture at its
// offset, by copy or 50% blend.
void run_moving_blocks(const EffectView& view, MovingBlockParams& params);

}  // namespace engine
