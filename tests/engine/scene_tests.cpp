// Scenes: the global layers, both scene set-ups, and the scene timer with its picture switch.
#include "engine/scene.h"

#include <gtest/gtest.h>

#include "engine/dither.h"
#include "engine/frame_buffers.h"
#include "tests/engine/engine_test_support.h"

namespace {

using engine_test::EngineTest;

int switch_calls = 0;
bool counting_switch() {
  ++switch_calls;
  engine::build_scene();
  return true;
}
bool failing_switch() {
  ++switch_calls;
  return false;
}

class SceneTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    switch_calls = 0;
  }
};

TEST_F(SceneTest, GlobalLayersShareTheFrameBuffers) {
  for (const engine::Layer* layer :
       {&engine::main_layer, &engine::strip_layer, &engine::info_layer}) {
    EXPECT_EQ(layer->work, engine::working_frame);
    EXPECT_EQ(layer->source16, engine::source_picture);
    EXPECT_EQ(layer->scratch, engine::scratch_frame);
    EXPECT_EQ(layer->source32, engine::source_image);
    EXPECT_EQ(layer->width, 640);
    EXPECT_EQ(layer->height, 480);
  }
  EXPECT_NE(engine::main_layer.remap_a.table.get(), engine::strip_layer.remap_a.table.get());
}

TEST_F(SceneTest, MainSceneSetUp) {
  engine::build_scene();
  const engine::Layer& m = engine::main_layer;
  const engine::Layer& s = engine::strip_layer;
  EXPECT_EQ(m.active, 1);
  EXPECT_EQ(s.active, 1);
  EXPECT_EQ(engine::info_layer.active, 0);
  EXPECT_EQ(m.x1, 639);
  EXPECT_EQ(m.y1, 479);
  EXPECT_EQ(s.y0, 400);
  EXPECT_EQ(s.y1, 479);
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
  EXPECT_EQ(engine::scene_start_ms, kStartMs);
  // One start time, so one set of seeds.
  engine::scene_tick();
  EXPECT_EQ(s.remap_a.seed, m.remap_a.seed);
  EXPECT_EQ(m.remap_a.seed, kStartMs + 10);
}

TEST_F(SceneTest, InfoSceneSetUpAndFirstFrameBlendsOverThePreviousContent) {
  engine_test::fill_test_picture();
  const std::vector<std::uint16_t> before(engine::working_frame,
                                          engine::working_frame + engine::kFramePixels);
  engine::info_mode = 1;
  engine::build_scene();
  const engine::Layer& info = engine::info_layer;
  EXPECT_EQ(info.active, 1);
  EXPECT_EQ(engine::main_layer.active, 0);
  EXPECT_EQ(info.x0, 40);
  EXPECT_EQ(info.x1, 599);
  EXPECT_EQ(info.y0, 40);
  EXPECT_EQ(info.y1, 439);
  EXPECT_EQ(info.opacity, 0.5f);
  EXPECT_EQ(info.interval_ms, 1000u);
  EXPECT_EQ(info.sleep_ms, 500u);
  for (std::int32_t i = 1; i < engine::kSlotCount; ++i) {
    EXPECT_EQ(info.slots[i], engine::EffectKind::kNone) << "no effect runs";
  }
  engine::scene_tick();
  for (std::int32_t y = 0; y < 480; ++y) {
    for (std::int32_t x = 0; x < 640; ++x) {
      const auto i = static_cast<std::size_t>(y * 640 + x);
      if (x < 40 || x > 599 || y < 40 || y > 439) {
        ASSERT_EQ(engine::working_frame[i], before[i]) << "outside the window " << x << "," << y;
      } else {
        const std::uint32_t d = before[i];
        const std::uint32_t s = engine::source_picture[i];
        const auto expected =
            static_cast<std::uint16_t>(((s >> 1) & 0x7BEF) + ((d >> 1) & 0x7BEF) + (d & 0x0821));
        ASSERT_EQ(engine::working_frame[i], expected) << x << "," << y;
      }
    }
  }
}

TEST_F(SceneTest, MainSceneSwitchesToInfoAtExactlyThirtySeconds) {
  engine::set_picture_switch(counting_switch);
  engine::build_scene();
  clock_.set(kStartMs + 29999);
  engine::scene_tick();
  EXPECT_EQ(switch_calls, 0);
  EXPECT_EQ(engine::info_mode, 0);
  clock_.set(kStartMs + 30000);
  clock_.clear_sleeps();
  engine::scene_tick();
  EXPECT_EQ(switch_calls, 1);
  EXPECT_EQ(engine::info_mode, 1);
  EXPECT_EQ(engine::main_layer.active, 0);
  EXPECT_EQ(engine::info_layer.active, 1);
  EXPECT_EQ(engine::scene_start_ms, kStartMs + 30000);
  // Only the info layer stepped, drawing its first frame on the switching tick.
  EXPECT_EQ(engine::info_layer.first_frame, 0);
  EXPECT_EQ(engine::info_layer.last_frame_ms, kStartMs + 30000);
  EXPECT_EQ(engine::frame_time_ms, engine::info_layer.duration_ms);
}

TEST_F(SceneTest, InfoSceneSwitchesBackAtExactlyFiveSeconds) {
  engine::set_picture_switch(counting_switch);
  engine::info_mode = 1;
  engine::build_scene();
  engine::scene_tick();
  clock_.set(kStartMs + 4999);
  engine::scene_tick();
  EXPECT_EQ(switch_calls, 0);
  clock_.set(kStartMs + 5000);
  engine::scene_tick();
  EXPECT_EQ(switch_calls, 1);
  EXPECT_EQ(engine::info_mode, 0);
  EXPECT_EQ(engine::main_layer.active, 1);
  EXPECT_EQ(engine::main_layer.first_frame, 0) << "the new scene drew on the same tick";
  EXPECT_EQ(engine::strip_layer.first_frame, 0);
}

TEST_F(SceneTest, WithoutAHookTheSwitchRebuildsTheSceneItself) {
  engine::build_scene();
  clock_.set(kStartMs + 30000);
  engine::scene_tick();
  EXPECT_EQ(engine::info_mode, 1);
  EXPECT_EQ(engine::info_layer.active, 1);
  EXPECT_EQ(engine::scene_start_ms, kStartMs + 30000);
}

TEST_F(SceneTest, FailedSwitchKeepsTheLayersAndTheToggledMode) {
  engine::set_picture_switch(failing_switch);
  engine::build_scene();
  clock_.set(kStartMs + 31000);
  engine::scene_tick();
  EXPECT_EQ(switch_calls, 1);
  EXPECT_EQ(engine::info_mode, 1);
  EXPECT_EQ(engine::main_layer.active, 1);
  EXPECT_EQ(engine::info_layer.active, 0);
  EXPECT_EQ(engine::scene_start_ms, kStartMs);
}

TEST_F(SceneTest, FrameTimeIsTheSumOfBothMainLayers) {
  engine::build_scene();
  engine::main_layer.duration_ms = 7;
  engine::strip_layer.duration_ms = 5;
  // Neither layer is due 10 ms after the first frames; each contributes its last duration.
  engine::scene_tick();
  engine::main_layer.duration_ms = 7;
  engine::strip_layer.duration_ms = 5;
  engine::main_layer.sleep_ms = 0;
  engine::strip_layer.sleep_ms = 0;
  engine::scene_tick();
  EXPECT_EQ(engine::frame_time_ms, 12);
}

TEST_F(SceneTest, MainTicksArePacedByTheLayersWaits) {
  engine::build_scene();
  engine::scene_tick();
  clock_.clear_sleeps();
  engine::scene_tick();  // main not due: waits 100; the strip is then due and draws
  engine::scene_tick();  // main waits the last 100 and draws; strip due again
  EXPECT_EQ(clock_.sleeps(), (std::vector<std::uint32_t>{100, 100}));
  EXPECT_EQ(engine::main_layer.last_frame_ms, kStartMs + 200);
  EXPECT_EQ(engine::strip_layer.last_frame_ms, kStartMs + 200);
}

TEST_F(SceneTest, ScenesStartedAtDifferentTimesAnimateDifferently) {
  std::uint64_t sums[2] = {};
  for (std::uint32_t i = 0; i < 2; ++i) {
    engine_test::fill_test_picture();
    engine::dither_rng = 0;
    clock_.set(kStartMs + i);
    engine::build_scene();
    engine::scene_tick();
    sums[i] = engine_test::checksum(engine::working_frame,
                                    static_cast<std::size_t>(engine::kFramePixels));
  }
  EXPECT_NE(sums[0], sums[1]);
}

}  // namespace
