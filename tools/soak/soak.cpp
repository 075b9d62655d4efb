// Soak run of the player's core: the real start-up, scenes, picture switches (with their
// decoding) and frame steps over the in-memory display, on a clock that moves only by the
// layers' own waits. Prints frames per second, the heap in use and checksums of the screen
// and of the working frame at fixed checkpoints, so two runs can be compared line by line.
// Usage: soak [MAIN_SCENE_FRAMES]   (default 1000000)
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/player.h"
#include "app/shell.h"
#include "engine/scene.h"
#include "platform/clock.h"
#include "platform/embedded/embedded_resource_store.h"
#include "platform/embedded/embedded_resources.h"
#include "tests/support/fake_platform.h"
#include "tools/soak/heap_count.h"

namespace {

// Virtual time that moves only by the waits, recording nothing, so a long run costs no
// memory of its own.
class SoakClock : public platform::Clock {
 public:
  explicit SoakClock(std::uint32_t start_ms) : time_ms_(start_ms) {}
  std::uint32_t now_ms() override { return time_ms_; }
  void sleep_ms(std::uint32_t ms) override {
    time_ms_ += ms;
    elapsed_ms_ += ms;
  }
  std::uint64_t elapsed_ms() const { return elapsed_ms_; }

 private:
  std::uint32_t time_ms_;
  std::uint64_t elapsed_ms_ = 0;
};

// FNV-1a, 64 bits: enough to tell two frames apart, and the same on every machine.
class Checksum {
 public:
  void add(std::uint32_t value) {
    for (int byte = 0; byte < 4; ++byte) {
      hash_ = (hash_ ^ ((value >> (8 * byte)) & 0xFFu)) * 0x100000001B3ull;
    }
  }
  std::uint64_t value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

std::uint64_t screen_checksum(const test_support::FakeDisplaySystem& display) {
  Checksum sum;
  for (std::int32_t y = 0; y < display.screen_height(); ++y) {
    for (std::int32_t x = 0; x < display.screen_width(); ++x) sum.add(display.screen_rgb(x, y));
  }
  return sum.value();
}

std::uint64_t working_frame_checksum(const engine::Scene& scene) {
  Checksum sum;
  const std::uint16_t* frame = scene.working_frame.get();
  for (std::int32_t i = 0; i < engine::kFramePixels; ++i) sum.add(frame[i]);
  return sum.value();
}

// The lowest and highest heap in use seen between frames.
struct HeapRange {
  bool seen = false;
  std::int64_t low = 0;
  std::int64_t high = 0;

  void sample(std::int64_t bytes) {
    if (!seen) low = high = bytes;
    seen = true;
    if (bytes < low) low = bytes;
    if (bytes > high) high = bytes;
  }
};

bool is_checkpoint(std::int64_t main_frames) {
  return main_frames == 1 || main_frames == 1000 || main_frames == 10000 ||
         main_frames % 100000 == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::int64_t goal = argc > 1 ? std::atoll(argv[1]) : 1000000;
  if (goal <= 0) {
    std::fprintf(stderr, "usage: soak [MAIN_SCENE_FRAMES]\n");
    return 2;
  }

  test_support::FakePlatform fake;
  platform::EmbeddedResourceStore resources(platform::embedded_resources());
  SoakClock clock(100000);
  app::Player player(fake.services(&resources, &clock));
  const engine::Scene& scene = player.scene();

  if (!app::start_player(player, 1)) {
    std::fprintf(stderr, "soak: start-up failed\n");
    return 1;
  }

  std::printf("%9s %9s %10s %8s %10s %7s %10s %17s %17s\n", "main", "all", "virtual_s", "switches",
              "heap_bytes", "blocks", "vs_switch1", "screen_fnv1a", "working_fnv1a");
  const auto started = std::chrono::steady_clock::now();
  std::int64_t main_frames = 0;
  std::int64_t all_frames = 0;
  std::int64_t switches = 0;
  bool shown = scene.info_mode;
  // Heap in use between frames from the first switch on, per scene shown, and right after
  // the first switch.
  HeapRange heap_by_scene[2];
  HeapRange blocks_by_scene[2];
  std::int64_t after_first_switch = 0;

  while (main_frames < goal) {
    const platform::HResult status = player.frame_step();
    if (platform::failed(status)) {
      std::fprintf(stderr, "soak: frame %" PRId64 " failed with 0x%08" PRIX32 "\n", all_frames,
                   static_cast<std::uint32_t>(status));
      return 1;
    }
    // The stand-ins record calls (the cursor set at each switch, the flags of each copy);
    // what they keep is not the player's.
    fake.shell.clear_calls();
    fake.display.clear_records();
    ++all_frames;
    if (scene.info_mode != shown) {
      shown = scene.info_mode;
      ++switches;
      if (switches == 1) after_first_switch = soak::heap_bytes_in_use();
    }
    if (switches >= 1) {
      heap_by_scene[shown ? 1 : 0].sample(soak::heap_bytes_in_use());
      blocks_by_scene[shown ? 1 : 0].sample(soak::heap_blocks_in_use());
    }
    if (shown) continue;
    ++main_frames;
    if (is_checkpoint(main_frames)) {
      const std::int64_t bytes = soak::heap_bytes_in_use();
      std::printf("%9" PRId64 " %9" PRId64 " %10.1f %8" PRId64 " %10" PRId64 " %7" PRId64
                  " %+10" PRId64 " %017" PRIX64 " %017" PRIX64 "\n",
                  main_frames, all_frames, static_cast<double>(clock.elapsed_ms()) / 1000.0,
                  switches, bytes, soak::heap_blocks_in_use(),
                  switches >= 1 ? bytes - after_first_switch : 0, screen_checksum(fake.display),
                  working_frame_checksum(scene));
      std::fflush(stdout);
    }
  }

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("frames: %" PRId64 " (main scene %" PRId64 "), %.0f frames/s, %.1f s\n", all_frames,
              main_frames, static_cast<double>(all_frames) / seconds, seconds);
  std::printf("virtual time: %.1f s, picture switches: %" PRId64 "\n",
              static_cast<double>(clock.elapsed_ms()) / 1000.0, switches);
  const char* names[2] = {"main", "info"};
  for (int kind = 0; kind < 2; ++kind) {
    const HeapRange& h = heap_by_scene[kind];
    const HeapRange& b = blocks_by_scene[kind];
    std::printf("heap in use between %s-scene frames from the first switch on: %" PRId64
                " .. %" PRId64 " bytes (growth %" PRId64 "), %" PRId64 " .. %" PRId64 " blocks\n",
                names[kind], h.low, h.high, h.high - h.low, b.low, b.high);
  }
  std::printf("display misuses: %zu\n", fake.display.misuses().size());
  return 0;
}
