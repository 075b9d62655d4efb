// jpeg_bench: times this decoder's fast path against TurboJPEG (with and without its fast
// upsampling and fast DCT) and stb_image on the same files in one run, and prints the ratios.
//   jpeg_bench [--runs N] [--threads 2] [--own-process] FILE.jpg...
//   jpeg_bench --fit [--runs N] FILE.jpg...   (fit_bench.h: photos into the 640x480 frame)
// --threads 2 adds this decoder with its second thread (ours(2t)) to every round, with its ratio
// to TurboJPEG's fast mode and its speed-up over ours(fast).
// Colour pictures are decoded to 4 bytes per pixel by everyone (RGBX), grey ones to 1 byte.
// Each round decodes the file once with every decoder in turn, so that a noisy machine slows
// them alike; the table shows the fastest round of each and its median. --own-process times
// each decoder in a process of its own instead (all its rounds, then the next decoder's), so
// that no decoder's memory use changes what the allocator hands another.
#include <malloc.h>
#include <sys/wait.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <stb/stb_image.h>

#include "jpeg/jpeg_decoder.h"
#include "jpeg/memory_input_stream.h"
#include "tools/jpeg_bench/bench_input.h"
#include "tools/jpeg_bench/bench_timing.h"
#include "tools/jpeg_bench/fit_bench.h"
#include "tools/jpeg_decode/decode_picture.h"

namespace {

using bench::Timing;

struct Input {
  std::string name;
  std::vector<std::uint8_t> bytes;
  int width = 0;
  int height = 0;
  int subsampling = 0;
  bool progressive = false;
};

// This decoder as the player uses it: fast path, every row copied into the caller's picture.
bool decode_ours(const Input& input, std::vector<std::uint8_t>& out, std::int32_t threads) {
  return tools::decode_rows(input.bytes.data(), static_cast<std::int32_t>(input.bytes.size()), true,
                            out, threads) == 0;
}

bool decode_turbo(tjhandle handle, const Input& input, std::vector<std::uint8_t>& out, int flags) {
  const int format = input.subsampling == TJSAMP_GRAY ? TJPF_GRAY : TJPF_RGBX;
  return tjDecompress2(handle, input.bytes.data(), static_cast<unsigned long>(input.bytes.size()),
                       out.data(), input.width, 0, input.height, format, flags) == 0;
}

bool decode_stb(const Input& input, std::vector<std::uint8_t>& out) {
  int width = 0;
  int height = 0;
  int channels = 0;
  const int wanted = input.subsampling == TJSAMP_GRAY ? 1 : 4;
  stbi_uc* pixels = stbi_load_from_memory(input.bytes.data(), static_cast<int>(input.bytes.size()),
                                          &width, &height, &channels, wanted);
  if (pixels == nullptr) return false;
  std::memcpy(
      out.data(), pixels,
      std::min(out.size(), static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                               static_cast<std::size_t>(wanted)));
  stbi_image_free(pixels);
  return true;
}

// Bytes the C heap holds right now (small blocks plus mapped ones).
std::size_t heap_in_use() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The blocks of a progressive coefficient store for this layout: every component padded to whole
// MCUs of the largest factors.
double store_blocks(const Input& input) {
  int h = 1;
  int v = 1;
  if (input.subsampling == TJSAMP_420) h = v = 2;
  if (input.subsampling == TJSAMP_422) h = 2;
  if (input.subsampling == TJSAMP_440) v = 2;
  const double mcus_x = (input.width + 8 * h - 1) / (8 * h);
  const double mcus_y = (input.height + 8 * v - 1) / (8 * v);
  const double chroma = input.subsampling == TJSAMP_GRAY ? 0.0 : 2.0;
  return mcus_x * mcus_y * (h * v + chroma);
}

// Heap held by the decoder after start and its peak while delivering the rows, in bytes.
struct HeapUse {
  std::size_t after_start = 0;
  std::size_t peak = 0;
};
HeapUse measure_heap(const Input& input, std::int32_t threads) {
  HeapUse use;
  const std::size_t before = heap_in_use();
  jpeg::MemoryInputStream stream(input.bytes.data(), static_cast<std::int32_t>(input.bytes.size()));
  jpeg::JpegDecoder decoder(&stream, true, threads);
  if (decoder.error_code == 0 && decoder.start() == 0) {
    use.after_start = heap_in_use() - before;
    use.peak = use.after_start;
    for (std::int32_t y = 0; y < decoder.height; ++y) {
      const std::uint8_t* line = nullptr;
      std::int32_t line_bytes = 0;
      if (decoder.read_scanline(line, line_bytes) != jpeg::DecodeOk) break;
      use.peak = std::max(use.peak, heap_in_use() - before);
    }
  }
  decoder.release();
  return use;
}

std::string heap_report(const Input& input, std::int32_t threads) {
  const HeapUse use = measure_heap(input, 1);
  char text[200];
  std::snprintf(text, sizeof text, "%.2f MB / %.2f MB", static_cast<double>(use.after_start) / 1e6,
                static_cast<double>(use.peak) / 1e6);
  std::string report = text;
  if (threads > 1) {
    const HeapUse two = measure_heap(input, threads);
    std::snprintf(text, sizeof text, "; two threads %.2f MB / %.2f MB (and the worker's stack)",
                  static_cast<double>(two.after_start) / 1e6, static_cast<double>(two.peak) / 1e6);
    report += text;
  }
  if (input.progressive) {
    std::snprintf(text, sizeof text, "; store figure 130 B x %.0f blocks = %.2f MB",
                  store_blocks(input), 130.0 * store_blocks(input) / 1e6);
    report += text;
  }
  return report;
}

// Runs one decoder `runs` times in a child process and collects its times; failed when the
// child could not run or a decode failed.
Timing time_in_own_process(const std::function<bool()>& decode, long runs) {
  Timing timing;
  int fds[2];
  if (pipe(fds) != 0) {
    timing.failed = true;
    return timing;
  }
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    for (long run = 0; run < runs; ++run) {
      const auto begin = std::chrono::steady_clock::now();
      double ms = -1.0;
      if (decode()) {
        ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
                 .count();
      }
      if (write(fds[1], &ms, sizeof ms) != static_cast<ssize_t>(sizeof ms) || ms < 0.0) break;
    }
    close(fds[1]);
    _exit(0);
  }
  close(fds[1]);
  double ms = 0.0;
  while (child > 0 && read(fds[0], &ms, sizeof ms) == static_cast<ssize_t>(sizeof ms)) {
    if (ms < 0.0) timing.failed = true;
    if (ms >= 0.0) timing.ms.push_back(ms);
  }
  close(fds[0]);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || status != 0 ||
      timing.ms.size() != static_cast<std::size_t>(runs)) {
    timing.failed = true;
  }
  return timing;
}

void print_ratio(const Timing& ours, const Timing& peer) {
  if (ours.failed || peer.failed || peer.min() <= 0.0) {
    std::printf(" %8s", "-");
  } else {
    std::printf(" %8.2f", ours.min() / peer.min());
  }
}

}  // namespace

int main(int argc, char** argv) {
  long fixed_runs = 0;
  long threads = 1;
  bool own_process = false;
  bool fit = false;
  int arg = 1;
  while (arg + 1 < argc && std::strncmp(argv[arg], "--", 2) == 0) {
    if (std::strcmp(argv[arg], "--own-process") == 0) {
      own_process = true;
      arg += 1;
      continue;
    }
    if (std::strcmp(argv[arg], "--fit") == 0) {
      fit = true;
      arg += 1;
      continue;
    }
    if (std::strcmp(argv[arg], "--runs") == 0) {
      fixed_runs = std::strtol(argv[arg + 1], nullptr, 10);
    } else if (std::strcmp(argv[arg], "--threads") == 0) {
      threads = std::strtol(argv[arg + 1], nullptr, 10);
    } else {
      break;
    }
    arg += 2;
  }
  if (arg >= argc || threads < 1 || threads > 2) {
    std::fprintf(stderr,
                 "usage: jpeg_bench [--runs N] [--threads 2] [--own-process] FILE.jpg...\n"
                 "       jpeg_bench --fit [--runs N] FILE.jpg...\n");
    return 2;
  }
  if (fit) return bench::fit_bench(argc - arg, argv + arg, fixed_runs);
  const bool two_threads = threads == 2;
  tjhandle handle = tjInitDecompress();
  if (handle == nullptr) return 1;

  std::printf(
      "times in ms (fastest round / median round); ratio = this decoder's fastest time "
      "over the peer's\n");
  std::printf("%-28s %-11s %-6s %-5s %15s %15s %15s %15s", "file", "size", "layout", "mode",
              "ours(fast)", "tj-fast", "tj", "stb_image");
  if (two_threads) std::printf(" %15s", "ours(2t)");
  std::printf(" %8s %8s %8s", "/tj-fast", "/tj", "/stb");
  if (two_threads) std::printf(" %8s %8s", "2t/tj-f", "2t/1t");
  std::printf("\n");
  int status = 0;
  std::vector<std::string> heap_lines;
  for (; arg < argc; ++arg) {
    Input input;
    input.name = argv[arg];
    if (!tools::read_file(argv[arg], input.bytes)) {
      std::fprintf(stderr, "jpeg_bench: cannot read %s\n", argv[arg]);
      status = 1;
      continue;
    }
    int colorspace = 0;
    if (tjDecompressHeader3(handle, input.bytes.data(),
                            static_cast<unsigned long>(input.bytes.size()), &input.width,
                            &input.height, &input.subsampling, &colorspace) != 0) {
      std::fprintf(stderr, "jpeg_bench: TurboJPEG cannot read %s\n", argv[arg]);
      status = 1;
      continue;
    }
    input.progressive = bench::is_progressive(input.bytes);
    const std::size_t pixel_bytes = input.subsampling == TJSAMP_GRAY ? 1 : 4;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(input.width) *
                                  static_cast<std::size_t>(input.height) * pixel_bytes);

    std::vector<std::function<bool()>> decoders = {
        [&] { return decode_ours(input, out, 1); },
        [&] { return decode_turbo(handle, input, out, TJFLAG_FASTUPSAMPLE | TJFLAG_FASTDCT); },
        [&] { return decode_turbo(handle, input, out, 0); },
        [&] { return decode_stb(input, out); },
    };
    if (two_threads) decoders.emplace_back([&] { return decode_ours(input, out, 2); });
    std::vector<Timing> timings(decoders.size());
    if (own_process) {
      const long runs = fixed_runs > 0 ? fixed_runs : 15;
      for (std::size_t d = 0; d < decoders.size(); ++d) {
        timings[d] = time_in_own_process(decoders[d], runs);
      }
    } else {
      bench::time_in_rounds(decoders, timings, fixed_runs);
    }

    std::string name = input.name.substr(input.name.find_last_of('/') + 1);
    const std::string size = std::to_string(input.width) + "x" + std::to_string(input.height);
    std::printf("%-28s %-11s %-6s %-5s", name.c_str(), size.c_str(),
                bench::layout_name(input.subsampling), input.progressive ? "prog" : "seq");
    for (const Timing& timing : timings) {
      if (timing.failed) {
        std::printf(" %15s", "failed");
      } else {
        char cell[32];
        std::snprintf(cell, sizeof cell, "%.2f/%.2f", timing.min(), timing.median());
        std::printf(" %15s", cell);
      }
    }
    for (std::size_t d = 1; d < 4; ++d) print_ratio(timings[0], timings[d]);
    if (two_threads) {
      print_ratio(timings[4], timings[1]);
      print_ratio(timings[4], timings[0]);
    }
    std::printf("\n");
    heap_lines.push_back(name + ": " + heap_report(input, static_cast<std::int32_t>(threads)));
    if (timings[0].failed) status = 1;
  }
  std::printf("\nheap held by this decoder (after start / peak while delivering rows):\n");
  for (const std::string& line : heap_lines) std::printf("  %s\n", line.c_str());
  tjDestroy(handle);
  return status;
}
