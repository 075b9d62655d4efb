// The frame statistics' state, their text and its drawing.
#include "app/frame_statistics.h"

#include <cstdio>

#include "display/display_setup.h"
#include "engine/scene.h"
#include "platform/clock.h"

namespace app {

StatisticsState statistics;

const char* update_statistics() {
  const std::uint32_t t = platform::now_ms();
  ++statistics.frame_count;
  const std::uint32_t elapsed = t - statistics.window_start_ms;
  if (elapsed >= kStatisticsWindowMs) {
    const std::uint32_t average = elapsed / statistics.frame_count;
    // The average is printed as a signed number, as the format's %i takes it.
    std::snprintf(statistics.text, sizeof statistics.text, "%3i ms %3i ms",
                  static_cast<int>(static_cast<std::int32_t>(average)),
                  static_cast<int>(engine::frame_time_ms));
    statistics.frame_count = 0;
    statistics.window_start_ms = t;
  }
  return statistics.text;
}

platform::HResult draw_statistics() {
  const char* text = update_statistics();
  if (display::frame_surface == nullptr) return platform::kE_POINTER;
  return display::frame_surface->draw_text(nullptr, text, kStatisticsX, kStatisticsY,
                                           kStatisticsBackground, kStatisticsText);
}

}  // namespace app
