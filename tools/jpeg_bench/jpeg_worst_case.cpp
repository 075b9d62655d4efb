// jpeg_worst_case: decodes every file of the folders given (a fuzz corpus, say) the way the
// player does, on both paths, and prints the slowest decodes per kilobyte of input (a file under
// a kilobyte counts as one): how much time a hostile file can buy for each byte it costs. Each
// figure is the best of a few runs.
// Usage: jpeg_worst_case [--top N] DIR...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "jpeg/error_codes.h"
#include "tools/jpeg_decode/decode_picture.h"

namespace {

struct Cost {
  std::string path;
  std::size_t bytes = 0;
  double ms = 0;  // the slower path's best processor time
  std::int32_t error_code = 0;
  // Files under a kilobyte count as one: their time is the decoder's fixed cost, not bought.
  double ms_per_kb() const {
    return ms * 1024.0 / static_cast<double>(std::max<std::size_t>(bytes, 1024));
  }
};

double best_ms(const std::vector<std::uint8_t>& bytes, bool fast_path, std::int32_t& error_code) {
  std::vector<std::uint8_t> rows;
  double best = 0;
  constexpr int kRuns = 3;
  for (int run = 0; run < kRuns; ++run) {
    // Processor time, not wall time: the machine may be shared, and the decode is one thread.
    const std::clock_t begin = std::clock();
    error_code =
        tools::decode_rows(bytes.data(), static_cast<std::int32_t>(bytes.size()), fast_path, rows);
    const double took = 1000.0 * static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC;
    if (run == 0 || took < best) best = took;
    if (best > 1000) break;  // a slow file is measured once: its size is what matters
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t top = 10;
  std::vector<std::string> dirs;
  for (int arg = 1; arg < argc; ++arg) {
    if (std::strcmp(argv[arg], "--top") == 0 && arg + 1 < argc) {
      top = static_cast<std::size_t>(std::strtoul(argv[++arg], nullptr, 10));
    } else {
      dirs.emplace_back(argv[arg]);
    }
  }
  if (dirs.empty()) {
    std::fprintf(stderr, "usage: jpeg_worst_case [--top N] DIR...\n");
    return 2;
  }
  std::vector<Cost> costs;
  double total_ms = 0;
  std::size_t total_bytes = 0;
  for (const std::string& dir : dirs) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
      if (!entry.is_regular_file()) continue;
      Cost c;
      c.path = entry.path().string();
      std::vector<std::uint8_t> bytes;
      if (!tools::read_file(c.path.c_str(), bytes)) continue;
      c.bytes = bytes.size();
      std::int32_t fast_code = 0;
      std::int32_t integer_code = 0;
      const double fast = best_ms(bytes, true, fast_code);
      const double integer = best_ms(bytes, false, integer_code);
      c.ms = std::max(fast, integer);
      c.error_code = fast_code;
      total_ms += fast + integer;
      total_bytes += 2 * c.bytes;
      costs.push_back(c);
    }
    if (error) std::fprintf(stderr, "jpeg_worst_case: cannot read %s\n", dir.c_str());
  }
  if (costs.empty()) {
    std::fprintf(stderr, "jpeg_worst_case: no files\n");
    return 1;
  }
  std::sort(costs.begin(), costs.end(),
            [](const Cost& a, const Cost& b) { return a.ms_per_kb() > b.ms_per_kb(); });
  std::printf("%zu files, %.1f KB; mean %.3f ms per KB; slowest per KB:\n", costs.size(),
              static_cast<double>(total_bytes) / 2048.0,
              total_ms * 1024.0 / static_cast<double>(std::max<std::size_t>(total_bytes, 1)));
  std::printf("%12s %10s %8s  %-22s %s\n", "ms per KB", "ms", "bytes", "result", "file");
  for (std::size_t i = 0; i < costs.size() && i < top; ++i) {
    const Cost& c = costs[i];
    std::printf("%12.3f %10.3f %8zu  %-22s %s\n", c.ms_per_kb(), c.ms, c.bytes,
                jpeg::error_name(c.error_code), c.path.c_str());
  }
  return 0;
}
