// A plain, per-pixel model of the two scenes, written from their description without any
// of the engine's code: no tables, no pair tricks, no fast remainders. The golden tests pin
// checksums computed by this model and compare the engine's frames with it.
#pragma once

#include <cstdint>
#include <vector>

namespace engine_test::reference {

struct Frames {
  std::vector<std::uint16_t> work;
  std::vector<std::uint16_t> source16;
  std::vector<std::uint16_t> scratch;
  std::vector<std::uint32_t> image;
  std::uint32_t dither_rng = 0;
};

// Initial frames: the given picture and working frame, the other two cleared.
Frames make_frames(const std::uint32_t* image, const std::uint16_t* work);

// Runs the main scene (5-6-5) activated at start_ms for tick_count ticks of a clock that
// moves only by the waits; returns how many frames the full-frame layer drew.
std::int32_t run_main_scene(Frames& frames, std::uint32_t start_ms, std::int32_t tick_count);
// The same for the info scene.
std::int32_t run_info_scene(Frames& frames, std::uint32_t start_ms, std::int32_t tick_count);

}  // namespace engine_test::reference
