// Golden frames of both scenes (5-6-5, fixed picture, activation at a fixed time, virtual
// clock): the engine's working frame must equal a plain per-pixel model's, and both must
// match the checksums pinned from that model.
#include <gtest/gtest.h>

#include "engine/dither.h"
#include "engine/scene.h"
#include "tests/engine/engine_test_support.h"
#include "tests/engine/reference_scene.h"

namespace {

using engine_test::checksum;
using engine_test::EngineTest;

constexpr std::size_t kPixels = static_cast<std::size_t>(engine::kFramePixels);

// Index of the first pixel where the engine's frame and the model's differ, or -1.
std::int64_t first_difference(const std::uint16_t* engine_frame,
                              const std::vector<std::uint16_t>& model) {
  for (std::size_t i = 0; i < kPixels; ++i) {
    if (engine_frame[i] != model[i]) return static_cast<std::int64_t>(i);
  }
  return -1;
}

class GoldenScene : public EngineTest {
 protected:
  // Runs the engine's scene for tick_count ticks; returns the full-frame layer's draws.
  std::int32_t run_engine(std::int32_t tick_count, const engine::Layer& counted) {
    build();
    std::int32_t frames = 0;
    for (std::int32_t t = 0; t < tick_count; ++t) {
      const std::uint32_t last = counted.last_frame_ms;
      const bool first = counted.first_frame != 0;
      tick();
      if (first || counted.last_frame_ms != last) ++frames;
    }
    return frames;
  }
};

struct GoldenCase {
  std::int32_t ticks;
  std::int32_t frames;
  std::uint64_t checksum;
};

// Main scene: tick 1 draws both layers, then every second tick draws the full-frame layer
// and every tick the strip. Nine ticks: 5 full frames, 9 strip frames. 59 ticks: 30 and 59.
TEST_F(GoldenScene, MainSceneFullFrameAndStripMatchThePerPixelModel) {
  for (const GoldenCase c :
       {GoldenCase{9, 5, 0x54e7e69432849e17ull}, GoldenCase{59, 30, 0x9ca0af33ff6bebacull}}) {
    SetUp();
    fill_test_picture();
    auto model =
        engine_test::reference::make_frames(scene_.source_image.get(), scene_.working_frame.get());
    const std::int32_t model_frames =
        engine_test::reference::run_main_scene(model, kStartMs, c.ticks);
    const std::uint64_t model_sum = checksum(model.work.data(), kPixels);
    EXPECT_EQ(model_frames, c.frames);
    EXPECT_EQ(model_sum, c.checksum) << std::hex << model_sum;

    EXPECT_EQ(run_engine(c.ticks, scene_.main_layer), c.frames);
    EXPECT_EQ(first_difference(scene_.source_picture.get(), model.source16), -1);
    EXPECT_EQ(first_difference(scene_.working_frame.get(), model.work), -1);
    EXPECT_EQ(checksum(scene_.working_frame.get(), kPixels), c.checksum);
    EXPECT_EQ(scene_.dither_rng, model.dither_rng);
  }
}

constexpr std::uint64_t kInfoChecksum = 0x8fb96c1fa7ca519dull;

// Info scene: a draw at 0, 1000, 2000 and 3000 ms; two half-second waits between draws.
TEST_F(GoldenScene, InfoSceneFadeMatchesThePerPixelModel) {
  fill_test_picture();
  scene_.info_mode = true;
  auto model =
      engine_test::reference::make_frames(scene_.source_image.get(), scene_.working_frame.get());
  const std::int32_t model_frames = engine_test::reference::run_info_scene(model, kStartMs, 7);
  const std::uint64_t model_sum = checksum(model.work.data(), kPixels);
  EXPECT_EQ(model_frames, 4);
  EXPECT_EQ(model_sum, kInfoChecksum) << std::hex << model_sum;

  EXPECT_EQ(run_engine(7, scene_.info_layer), 4);
  EXPECT_EQ(scene_.info_mode, 1);
  EXPECT_EQ(first_difference(scene_.working_frame.get(), model.work), -1);
  EXPECT_EQ(checksum(scene_.working_frame.get(), kPixels), kInfoChecksum);
}

}  // namespace
