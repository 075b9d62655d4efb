// The frame statistics' state, their text and its drawing.
#include "app/frame_statistics.h"

#include <cstdio>

namespace app {

const char* update_statistics(StatisticsState& statistics, std::uint32_t now_ms,
                              std::int32_t frame_time_ms) {
  const std::uint32_t t = now_ms;
  ++statistics.frame_count;
  const std::uint32_t elapsed = t - statistics.window_start_ms;
  if (elapsed >= kStatisticsWindowMs) {
    const std::uint32_t average = elapsed / statistics.frame_count;
    // The average is printed as a signed number, as the format's %i takes it.
    std::snprintf(statistics.text, sizeof statistics.text, "%3i ms %3i ms",
                  static_cast<int>(static_cast<std::int32_t>(average)),
                  static_cast<int>(frame_time_ms));
    statistics.frame_count = 0;
    statistics.window_start_ms = t;
  }
  return statistics.text;
}

platform::HResult draw_statistics(StatisticsState& statistics,
                                  display::OffscreenSurface* frame_surface, std::uint32_t now_ms,
                                  std::int32_t frame_time_ms) {
  const char* text = update_statistics(statistics, now_ms, frame_time_ms);
  if (frame_surface == nullptr) return platform::kE_POINTER;
  return frame_surface->draw_text(nullptr, text, kStatisticsX, kStatisticsY, kStatisticsBackground,
                                  kStatisticsText);
}

}  // namespace app
