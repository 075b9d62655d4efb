// Rounds of decodes, each decoder once per round.
#include "tools/jpeg_bench/bench_timing.h"

#include <algorithm>
#include <chrono>

namespace bench {

double Timing::min() const {
  return ms.empty() ? 0.0 : *std::min_element(ms.begin(), ms.end());
}

double Timing::median() const {
  std::vector<double> sorted = ms;
  std::sort(sorted.begin(), sorted.end());
  return sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
}

void time_in_rounds(const std::vector<std::function<bool()>>& decoders,
                    std::vector<Timing>& timings, long runs) {
  // The warm-up round also sizes the number of rounds.
  double round_ms = 0.0;
  for (std::size_t d = 0; d < decoders.size(); ++d) {
    const auto begin = std::chrono::steady_clock::now();
    timings[d].failed = !decoders[d]();
    round_ms +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
  }
  if (runs <= 0) runs = std::clamp(static_cast<long>(1000.0 / std::max(round_ms, 0.01)), 5L, 200L);
  // The first decoder of a round pays for the pages the allocator handed back to the
  // system after the previous round; rotating the order spreads that cost evenly.
  for (long run = 0; run < runs; ++run) {
    for (std::size_t k = 0; k < decoders.size(); ++k) {
      const std::size_t d = (k + static_cast<std::size_t>(run)) % decoders.size();
      if (timings[d].failed) continue;
      const auto begin = std::chrono::steady_clock::now();
      timings[d].failed = !decoders[d]();
      timings[d].ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
              .count());
    }
  }
}

}  // namespace bench
