// Clipping of unscaled and stretching copies to their surfaces.
#include "platform/win32/blit_clipping.h"

#include <algorithm>

namespace platform::win32 {

FastCopy clip_fast_copy(std::int32_t x, std::int32_t y, const Rect* source_rect,
                        std::int32_t source_width, std::int32_t source_height,
                        std::int32_t dest_width, std::int32_t dest_height) {
  Rect area = source_rect != nullptr ? *source_rect : Rect{0, 0, source_width, source_height};
  // Work in 64 bits: positions far off the surface must not overflow.
  std::int64_t left = std::max(area.left, 0);
  std::int64_t top = std::max(area.top, 0);
  std::int64_t right = std::min(area.right, source_width);
  std::int64_t bottom = std::min(area.bottom, source_height);
  std::int64_t to_x = std::int64_t{x} + (left - area.left);
  std::int64_t to_y = std::int64_t{y} + (top - area.top);
  if (to_x < 0) {
    left -= to_x;
    to_x = 0;
  }
  if (to_y < 0) {
    top -= to_y;
    to_y = 0;
  }
  right = std::min(right, left + (dest_width - to_x));
  bottom = std::min(bottom, top + (dest_height - to_y));
  FastCopy copy;
  if (right <= left || bottom <= top) return copy;
  copy.x = static_cast<std::int32_t>(to_x);
  copy.y = static_cast<std::int32_t>(to_y);
  copy.source_area = Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                          static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
  copy.empty = false;
  return copy;
}

StretchCopy clip_stretch_copy(const Rect& dest, const Rect* source_rect, std::int32_t dest_width,
                              std::int32_t dest_height, std::int32_t source_width,
                              std::int32_t source_height) {
  const Rect from = source_rect != nullptr ? *source_rect : Rect{0, 0, source_width, source_height};
  StretchCopy copy;
  const std::int64_t span_x = std::int64_t{dest.right} - dest.left;
  const std::int64_t span_y = std::int64_t{dest.bottom} - dest.top;
  if (span_x <= 0 || span_y <= 0) return copy;
  copy.dest_area = Rect{std::max(dest.left, 0), std::max(dest.top, 0),
                        std::min(dest.right, dest_width), std::min(dest.bottom, dest_height)};
  if (copy.dest_area.right <= copy.dest_area.left || copy.dest_area.bottom <= copy.dest_area.top) {
    copy.dest_area = Rect{};
    return copy;
  }
  const std::int64_t from_x = std::int64_t{from.right} - from.left;
  const std::int64_t from_y = std::int64_t{from.bottom} - from.top;
  const auto map_x = [&](std::int32_t at) {
    return static_cast<std::int32_t>(from.left + (at - std::int64_t{dest.left}) * from_x / span_x);
  };
  const auto map_y = [&](std::int32_t at) {
    return static_cast<std::int32_t>(from.top + (at - std::int64_t{dest.top}) * from_y / span_y);
  };
  copy.source_area = Rect{map_x(copy.dest_area.left), map_y(copy.dest_area.top),
                          map_x(copy.dest_area.right), map_y(copy.dest_area.bottom)};
  copy.empty = copy.source_area.right <= copy.source_area.left ||
               copy.source_area.bottom <= copy.source_area.top;
  return copy;
}

}  // namespace platform::win32
