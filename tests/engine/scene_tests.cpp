// Scenes: the layers over the scene's buffers, both scene set-ups, and the scene timer with
// its picture switch.
#include "engine/scene.h"

#include <gtest/gtest.h>

#include "engine/dither.h"
#include "tests/engine/engine_test_support.h"

namespace {

using engine_test::EngineTest;

using SceneTest = EngineTest;

TEST_F(SceneTest, TheLayersShareTheScenesFrameBuffers) {
  for (const engine::Layer* layer : {&scene_.main_layer, &scene_.strip_layer, &scene_.info_layer}) {
    EXPECT_EQ(layer->frames.work, scene_.working_frame.get());
    EXPECT_EQ(layer->frames.source16, scene_.source_picture.get());
    EXPECT_EQ(layer->frames.scratch, scene_.scratch_frame.get());
    EXPECT_EQ(layer->frames.source32, scene_.source_image.get());
    EXPECT_EQ(layer->frames.width, 640);
    EXPECT_EQ(layer->frames.height, 480);
  }
}

TEST_F(SceneTest, MainSceneSetUp) {
  build();
  const engine::Layer& m = scene_.main_layer;
  const engine::Layer& s = scene_.strip_layer;
  EXPECT_TRUE(m.active);
  EXPECT_TRUE(s.active);
  EXPECT_FALSE(scene_.info_layer.active);
  EXPECT_EQ(m.region, (engine::Region{0, 639, 0, 479}));
  EXPECT_EQ(s.region, (engine::Region{0, 639, 400, 479}));
  EXPECT_EQ(m.slots[1], engine::EffectKind::kMoveA);
  EXPECT_EQ(m.slots[2], engine::EffectKind::kRemapA);
  EXPECT_EQ(m.slots[3], engine::EffectKind::kRemapB);
  EXPECT_EQ(s.slots[1], engine::EffectKind::kRemapA);
  EXPECT_EQ(s.slots[2], engine::EffectKind::kNone);
  EXPECT_EQ(m.interval_ms, 200u);
  EXPECT_EQ(s.interval_ms, 100u);
  EXPECT_EQ(m.opacity, 1.0f);
  EXPECT_EQ(s.opacity, 0.0f);
  EXPECT_EQ(m.move_a.block_w, 3);
  EXPECT_EQ(m.move_a.dx_max, 1);
  EXPECT_EQ(m.move_b.density, 0);
  EXPECT_EQ(m.remap_a.table[0], 0x1082);
  EXPECT_EQ(m.remap_b.step_y, 6);
  EXPECT_EQ(s.remap_a.table[0], 0x4208);
  EXPECT_EQ(s.remap_a.drift, 0);
  EXPECT_EQ(s.remap_a.step_x, 1) << "kept from the fine record, unused without drift";
  EXPECT_EQ(s.remap_b.density, 0);
  EXPECT_EQ(s.start_ms, m.start_ms);
  EXPECT_EQ(scene_.scene_start_ms, kStartMs);
  // One start time, so one set of seeds.
  tick();
  EXPECT_EQ(s.remap_a.seed, m.remap_a.seed);
  EXPECT_EQ(m.remap_a.seed, kStartMs + 10);
}

TEST_F(SceneTest, InfoSceneSetUpAndFirstFrameBlendsOverThePreviousContent) {
  fill_test_picture();
  const std::vector<std::uint16_t> before(scene_.working_frame.get(),
                                          scene_.working_frame.get() + engine::kFramePixels);
  scene_.info_mode = true;
  build();
  const engine::Layer& info = scene_.info_layer;
  EXPECT_TRUE(info.active);
  EXPECT_FALSE(scene_.main_layer.active);
  EXPECT_EQ(info.region, (engine::Region{40, 599, 40, 439}));
  EXPECT_EQ(info.opacity, 0.5f);
  EXPECT_EQ(info.interval_ms, 1000u);
  EXPECT_EQ(info.sleep_ms, 500u);
  for (std::int32_t i = 1; i < engine::kSlotCount; ++i) {
    EXPECT_EQ(info.slots[i], engine::EffectKind::kNone) << "no effect runs";
  }
  tick();
  for (std::int32_t y = 0; y < 480; ++y) {
    for (std::int32_t x = 0; x < 640; ++x) {
      const auto i = static_cast<std::size_t>(y * 640 + x);
      if (x < 40 || x > 599 || y < 40 || y > 439) {
        ASSERT_EQ(scene_.working_frame.get()[i], before[i])
            << "outside the window " << x << "," << y;
      } else {
        const std::uint32_t d = before[i];
        const std::uint32_t s = scene_.source_picture.get()[i];
        const auto expected =
            static_cast<std::uint16_t>(((s >> 1) & 0x7BEF) + ((d >> 1) & 0x7BEF) + (d & 0x0821));
        ASSERT_EQ(scene_.working_frame.get()[i], expected) << x << "," << y;
      }
    }
  }
}

TEST_F(SceneTest, MainSceneSwitchesToInfoAtExactlyThirtySeconds) {
  build();
  clock_.set(kStartMs + 29999);
  tick();
  EXPECT_EQ(switch_calls_, 0);
  EXPECT_EQ(scene_.info_mode, 0);
  clock_.set(kStartMs + 30000);
  clock_.clear_sleeps();
  tick();
  EXPECT_EQ(switch_calls_, 1);
  EXPECT_EQ(scene_.info_mode, 1);
  EXPECT_FALSE(scene_.main_layer.active);
  EXPECT_TRUE(scene_.info_layer.active);
  EXPECT_EQ(scene_.scene_start_ms, kStartMs + 30000);
  // Only the info layer stepped, drawing its first frame on the switching tick.
  EXPECT_EQ(scene_.info_layer.first_frame, 0);
  EXPECT_EQ(scene_.info_layer.last_frame_ms, kStartMs + 30000);
  EXPECT_EQ(scene_.frame_time_ms, scene_.info_layer.duration_ms);
}

TEST_F(SceneTest, InfoSceneSwitchesBackAtExactlyFiveSeconds) {
  scene_.info_mode = true;
  build();
  tick();
  clock_.set(kStartMs + 4999);
  tick();
  EXPECT_EQ(switch_calls_, 0);
  clock_.set(kStartMs + 5000);
  tick();
  EXPECT_EQ(switch_calls_, 1);
  EXPECT_EQ(scene_.info_mode, 0);
  EXPECT_TRUE(scene_.main_layer.active);
  EXPECT_EQ(scene_.main_layer.first_frame, 0) << "the new scene drew on the same tick";
  EXPECT_EQ(scene_.strip_layer.first_frame, 0);
}

TEST_F(SceneTest, TheTickOnlyReportsTheDueSwitchAndLeavesTheSceneToTheCaller) {
  build();
  clock_.set(kStartMs + 29999);
  EXPECT_EQ(engine::scene_tick(scene_), engine::SceneDue::kNothing);
  EXPECT_FALSE(scene_.info_mode);
  clock_.set(kStartMs + 30000);
  EXPECT_EQ(engine::scene_tick(scene_), engine::SceneDue::kPictureSwitch);
  EXPECT_TRUE(scene_.info_mode);
  // Nothing is built or stepped by the tick itself.
  EXPECT_TRUE(scene_.main_layer.active);
  EXPECT_FALSE(scene_.info_layer.active);
  EXPECT_EQ(scene_.scene_start_ms, kStartMs);
  EXPECT_EQ(clock_.sleep_count(), 0u);
  build();
  EXPECT_TRUE(scene_.info_layer.active);
  EXPECT_EQ(scene_.scene_start_ms, kStartMs + 30000);
}

TEST_F(SceneTest, FailedSwitchKeepsTheLayersAndTheToggledMode) {
  fail_switch_ = true;
  build();
  clock_.set(kStartMs + 31000);
  tick();
  EXPECT_EQ(switch_calls_, 1);
  EXPECT_EQ(scene_.info_mode, 1);
  EXPECT_TRUE(scene_.main_layer.active);
  EXPECT_FALSE(scene_.info_layer.active);
  EXPECT_EQ(scene_.scene_start_ms, kStartMs);
}

TEST_F(SceneTest, FrameTimeIsTheSumOfBothMainLayers) {
  build();
  scene_.main_layer.duration_ms = 7;
  scene_.strip_layer.duration_ms = 5;
  // Neither layer is due 10 ms after the first frames; each contributes its last duration.
  tick();
  scene_.main_layer.duration_ms = 7;
  scene_.strip_layer.duration_ms = 5;
  scene_.main_layer.sleep_ms = 0;
  scene_.strip_layer.sleep_ms = 0;
  tick();
  EXPECT_EQ(scene_.frame_time_ms, 12);
}

TEST_F(SceneTest, MainTicksArePacedByTheLayersWaits) {
  build();
  tick();
  clock_.clear_sleeps();
  tick();  // main not due: waits 100; the strip is then due and draws
  tick();  // main waits the last 100 and draws; strip due again
  EXPECT_EQ(clock_.sleeps(), (std::vector<std::uint32_t>{100, 100}));
  EXPECT_EQ(scene_.main_layer.last_frame_ms, kStartMs + 200);
  EXPECT_EQ(scene_.strip_layer.last_frame_ms, kStartMs + 200);
}

TEST_F(SceneTest, ScenesStartedAtDifferentTimesAnimateDifferently) {
  std::uint64_t sums[2] = {};
  for (std::uint32_t i = 0; i < 2; ++i) {
    fill_test_picture();
    scene_.dither_rng = 0;
    clock_.set(kStartMs + i);
    build();
    tick();
    sums[i] = engine_test::checksum(scene_.working_frame.get(),
                                    static_cast<std::size_t>(engine::kFramePixels));
  }
  EXPECT_NE(sums[0], sums[1]);
}

}  // namespace
