// The clipping of copies that DirectDraw itself refuses to clip: an unscaled copy (BltFast)
// and a stretching copy reaching past the destination surface. Plain arithmetic, so that
// it is tested on any platform.
#pragma once

#include <cstdint>

#include "platform/direct_draw.h"

namespace platform::win32 {

// An unscaled copy of source_area (already within its source) to (x, y).
struct FastCopy {
  std::int32_t x = 0;
  std::int32_t y = 0;
  Rect source_area;
  bool empty = true;  // nothing lands on the destination
};

// Clips the copy of source_rect (null: all of a source_width x source_height surface) to
// (x, y) of a destination of dest_width x dest_height: the part on both surfaces.
FastCopy clip_fast_copy(std::int32_t x, std::int32_t y, const Rect* source_rect,
                        std::int32_t source_width, std::int32_t source_height,
                        std::int32_t dest_width, std::int32_t dest_height);

// A stretching copy of source_area onto dest_area.
struct StretchCopy {
  Rect dest_area;
  Rect source_area;
  bool empty = true;
};

// Clips a stretching copy onto dest (on a dest_width x dest_height surface) of source_rect
// (null: all of a source_width x source_height surface) to the destination surface; the
// source shrinks in proportion to what was cut from the destination.
StretchCopy clip_stretch_copy(const Rect& dest, const Rect* source_rect, std::int32_t dest_width,
                              std::int32_t dest_height, std::int32_t source_width,
                              std::int32_t source_height);

}  // namespace platform::win32
