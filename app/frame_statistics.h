// The frame statistics (key P): the average frame time over windows of at least 500 ms and
// the scene's own step time, drawn in the top-left corner of the frame surface.
#pragma once

#include <cstdint>

#include "display/display_device.h"
#include "platform/direct_draw.h"
#include "platform/hresult.h"

namespace app {

// Shortest window the average is taken over, in milliseconds.
inline constexpr std::uint32_t kStatisticsWindowMs = 500;

// Where and how the text is drawn: top-left corner at (4, 4) of the frame surface, white on
// dark grey (GDI 0x00BBGGRR), the background filled.
inline constexpr std::int32_t kStatisticsX = 4;
inline constexpr std::int32_t kStatisticsY = 4;
inline constexpr platform::ColorRef kStatisticsBackground = 0x404040;
inline constexpr platform::ColorRef kStatisticsText = 0xFFFFFF;

// The statistics' state; all zero (and the text empty) at start. It persists while the
// statistics are off and changes only inside draw_statistics.
struct StatisticsState {
  std::uint32_t window_start_ms = 0;  // now_ms at the start of the current window
  std::uint32_t frame_count = 0;      // frames counted in the current window
  // "%3i ms %3i ms" of two 32-bit numbers needs at most 29 characters and the terminator.
  char text[32] = {};
};

// Counts one frame at now_ms and, once the window has lasted 500 ms or more, formats the
// average frame time and the scene's frame_time_ms into the text and starts a new window.
// Returns the current text.
const char* update_statistics(StatisticsState& statistics, std::uint32_t now_ms,
                              std::int32_t frame_time_ms);

// update_statistics, then draws the text into the frame surface (null: none) at (4, 4),
// white on dark grey with the background filled. The drawing's result (E_POINTER without a
// frame surface); the caller ignores it.
platform::HResult draw_statistics(StatisticsState& statistics,
                                  display::OffscreenSurface* frame_surface, std::uint32_t now_ms,
                                  std::int32_t frame_time_ms);

}  // namespace app
