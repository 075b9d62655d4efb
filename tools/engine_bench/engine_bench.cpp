// Times the main scene's layers on a virtual clock (no waits) and compares a full-layer
// frame with one memcpy of the whole 640x480 16-bit frame measured in the same run.
// Usage: engine_bench [frames] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "display/pixel_format.h"
#include "engine/moving_blocks.h"
#include "engine/remap_rects.h"
#include "engine/restore_source.h"
#include "engine/scene.h"
#include "tests/support/virtual_clock.h"

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

// The median of the samples, robust against the other processes on a shared machine.
double median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

// Keeps the compiler from dropping stores it believes nobody reads.
void touch(const void* p) {
  asm volatile("" : : "r"(p) : "memory");
}

void fill_picture(std::uint32_t* source_image) {
  std::uint32_t rng = 1;
  for (std::int32_t i = 0; i < engine::kFramePixels; ++i) {
    rng = rng * 1103515245u + 12345u;
    const auto x = static_cast<std::uint32_t>(i % engine::kFrameWidth);
    const auto y = static_cast<std::uint32_t>(i / engine::kFrameWidth);
    source_image[i] = ((x * 255 / 639) << 16) | ((y * 255 / 479) << 8) | (rng >> 24);
  }
}

template <typename Work>
double time_frames(std::int32_t frames, Work work) {
  std::vector<double> samples;
  samples.reserve(static_cast<std::size_t>(frames));
  for (std::int32_t i = 0; i < frames; ++i) {
    const auto t0 = Clock::now();
    work();
    samples.push_back(micros(Clock::now() - t0));
  }
  return median(samples);
}

// The memory work of one main-layer frame alone, at places drawn beforehand: the frame
// copy, 7680 moved 3x2 blocks, 61440 remapped pixels and 7680 remapped 2x2 blocks. What the
// effect runs cannot go below, whatever their generators cost.
struct MemoryFloor {
  MemoryFloor() {
    std::uint32_t rng = 12345;
    const auto draw = [&rng](std::uint32_t n) {
      rng = rng * 1103515245u + 12345u;
      return static_cast<std::uint32_t>((static_cast<std::uint64_t>(rng >> 8) * n) >> 24);
    };
    const auto place = [&](std::uint32_t w, std::uint32_t h) {
      return draw(480 - h) * 640 + draw(640 - w);
    };
    for (auto& at : moves) at = place(4, 3);
    for (auto& at : points) at = place(1, 1);
    for (auto& at : squares) at = place(2, 2);
  }

  void run(std::uint16_t* work, const std::uint16_t* source, const std::uint16_t* table_a,
           const std::uint16_t* table_b) const {
    std::memcpy(work, source, engine::kFramePixels * sizeof(std::uint16_t));
    for (const std::uint32_t at : moves) {
      for (std::uint32_t row = 0; row < 2; ++row) {
        const std::uint32_t to = at + row * 640;
        for (std::uint32_t i = 0; i < 3; ++i) work[to + i] = source[to + 641 + i];
      }
    }
    for (const std::uint32_t at : points) work[at] = table_a[work[at]];
    for (const std::uint32_t at : squares) {
      for (const std::uint32_t p : {at, at + 1, at + 640, at + 641}) work[p] = table_b[work[p]];
    }
  }

  std::vector<std::uint32_t> moves = std::vector<std::uint32_t>(7680);
  std::vector<std::uint32_t> points = std::vector<std::uint32_t>(61440);
  std::vector<std::uint32_t> squares = std::vector<std::uint32_t>(7680);
};

// Median times of one round, in microseconds.
struct Figures {
  double main = 0, strip = 0, copy = 0, move = 0, fine = 0, coarse = 0, memcpy = 0, floor = 0;

  void keep_best(const Figures& o) {
    main = std::min(main, o.main);
    strip = std::min(strip, o.strip);
    copy = std::min(copy, o.copy);
    move = std::min(move, o.move);
    fine = std::min(fine, o.fine);
    coarse = std::min(coarse, o.coarse);
    memcpy = std::min(memcpy, o.memcpy);
    floor = std::min(floor, o.floor);
  }
};

Figures measure_round(engine::Scene& scene, test_support::VirtualClock& clock, std::int32_t frames,
                      std::int32_t& main_drawn, std::int32_t& strip_drawn) {
  std::uint16_t* const working_frame = scene.working_frame.get();
  constexpr std::size_t frame_bytes = engine::kFramePixels * sizeof(std::uint16_t);
  Figures f;
  f.main = time_frames(frames, [&] {
    clock.advance(200);
    main_drawn += scene.main_layer.step() ? 1 : 0;
  });
  f.strip = time_frames(frames, [&] {
    clock.advance(100);
    strip_drawn += scene.strip_layer.step() ? 1 : 0;
  });

  // The parts of a main-layer frame, each on its own.
  engine::Layer& layer = scene.main_layer;
  f.copy = time_frames(frames, [&] { engine::copy_source(layer.view()); });
  f.move = time_frames(frames, [&] { engine::run_moving_blocks(layer.view(), layer.move_a); });
  f.fine = time_frames(frames, [&] { engine::run_remap_rects(layer.view(), layer.remap_a); });
  f.coarse = time_frames(frames, [&] { engine::run_remap_rects(layer.view(), layer.remap_b); });

  std::vector<std::uint16_t> from(working_frame, working_frame + engine::kFramePixels);
  f.memcpy = time_frames(frames, [&] {
    touch(from.data());
    std::memcpy(working_frame, from.data(), frame_bytes);
    touch(working_frame);
  });
  const MemoryFloor floor;
  f.floor = time_frames(frames, [&] {
    floor.run(working_frame, layer.frames.source16, layer.remap_a.table.data(),
              layer.remap_b.table.data());
    touch(working_frame);
  });
  return f;
}

}  // namespace

// Usage: engine_bench [frames] [rounds]. Every figure is the median of its frames; with
// several rounds, the best round's (this machine is shared, and others' load comes and goes).
int main(int argc, char** argv) {
  const std::int32_t frames = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 400;
  const std::int32_t rounds = argc > 2 ? std::max(std::atoi(argv[2]), 1) : 3;

  test_support::VirtualClock clock(100000);
  engine::Scene scene(clock);
  display::PixelFormat format;
  format.init_default();
  fill_picture(scene.source_image.get());
  engine::build_scene(scene, format);
  engine::step_scene(scene);  // the first frames of both layers, including the conversion

  std::int32_t main_drawn = 0;
  std::int32_t strip_drawn = 0;
  Figures best = measure_round(scene, clock, frames, main_drawn, strip_drawn);
  for (std::int32_t r = 1; r < rounds; ++r) {
    best.keep_best(measure_round(scene, clock, frames, main_drawn, strip_drawn));
  }

  std::printf("engine_bench: %d frames each, median times, best of %d rounds\n", frames, rounds);
  std::printf("  main-layer frame (copy + 3 effect runs): %9.1f us  (%d drawn)\n", best.main,
              main_drawn);
  std::printf("    copy_source                          : %9.1f us\n", best.copy);
  std::printf("    moving blocks 3x2                    : %9.1f us\n", best.move);
  std::printf("    remap 1x1 (drift)                    : %9.1f us\n", best.fine);
  std::printf("    remap 2x2 (drift)                    : %9.1f us\n", best.coarse);
  std::printf("  strip-layer frame                        : %9.1f us  (%d drawn)\n", best.strip,
              strip_drawn);
  std::printf("  memcpy of one 640x480 16-bit frame       : %9.1f us\n", best.memcpy);
  std::printf("  ratio main-layer frame / memcpy          : %9.2f  (target <= 10)\n",
              best.main / best.memcpy);
  std::printf("  memory work alone, at places drawn before: %9.1f us  (ratio %.2f)\n", best.floor,
              best.floor / best.memcpy);
  return 0;
}
