// Layer: region and configuration clamping, blend words, the source restores, copy
// construction, activation seeds and the paced step on a virtual clock.
#include "engine/layer.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/restore_source.h"
#include "tests/support/virtual_clock.h"

namespace {

class LayerTest : public ::testing::Test {
 protected:
  static constexpr std::int32_t kW = 640;
  static constexpr std::int32_t kH = 480;
  static constexpr std::size_t kN = static_cast<std::size_t>(kW * kH);

  void SetUp() override { pf_.set_default_masks(); }

  engine::Layer make_layer() {
    return engine::Layer({.work = work_.data(),
                          .scratch = scratch_.data(),
                          .source16 = source16_.data(),
                          .source32 = source32_.data(),
                          .width = kW,
                          .height = kH},
                         clock_, dither_rng_);
  }

  test_support::VirtualClock clock_{50000};
  std::uint32_t dither_rng_ = 0;
  display::PixelLayout pf_;
  std::vector<std::uint16_t> work_ = std::vector<std::uint16_t>(kN);
  std::vector<std::uint16_t> scratch_ = std::vector<std::uint16_t>(kN);
  std::vector<std::uint16_t> source16_ = std::vector<std::uint16_t>(kN);
  std::vector<std::uint32_t> source32_ = std::vector<std::uint32_t>(kN);
};

TEST_F(LayerTest, ConstructionLeavesEverythingZeroAndInactive) {
  engine::Layer layer = make_layer();
  EXPECT_EQ(layer.region, (engine::Region{0, 0, 0, 0}));
  EXPECT_EQ(layer.opacity, 0.0f);
  EXPECT_FALSE(layer.active);
  EXPECT_EQ(layer.format.red_bits, 0);
  for (engine::EffectKind k : layer.slots) EXPECT_EQ(k, engine::EffectKind::kNone);
  EXPECT_EQ(layer.move_a.offset_count(), 0);
  EXPECT_FALSE(layer.step());
  // Sizes below 1 become 1.
  engine::Layer tiny{{.work = work_.data(),
                      .scratch = scratch_.data(),
                      .source16 = source16_.data(),
                      .source32 = source32_.data(),
                      .width = 0,
                      .height = -5},
                     clock_,
                     dither_rng_};
  EXPECT_EQ(tiny.frames.width, 1);
  EXPECT_EQ(tiny.frames.height, 1);
}

TEST_F(LayerTest, SetRegionClampsIntoTheFrame) {
  engine::Layer layer = make_layer();
  layer.set_region(0, 640, 0, 480);
  EXPECT_EQ(layer.region, (engine::Region{0, 639, 0, 479}));
  layer.set_region(40, 599, 40, 439);
  EXPECT_EQ(layer.region, (engine::Region{40, 599, 40, 439}));
  layer.set_region(700, 10, -5, -9);
  EXPECT_EQ(layer.region, (engine::Region{639, 639, 0, 0}));
}

TEST_F(LayerTest, ConfigureClampsSlotsPacingAndNoise) {
  engine::Layer layer = make_layer();
  // Kind 1 at 7 lands in slot 5; kind 3 at -1 is parked; kinds 2 and 4 both at 3: 4 wins.
  layer.configure({.opacity = 0.75f,
                   .interval_ms = -5,
                   .sleep_limit_ms = -1,
                   .noise = 9,
                   .mask_slot = 7,
                   .remap_a_slot = 3,
                   .remap_b_slot = -1,
                   .move_a_slot = 3,
                   .move_b_slot = 1});
  EXPECT_EQ(layer.slots[5], engine::EffectKind::kMaskRects);
  EXPECT_EQ(layer.slots[3], engine::EffectKind::kMoveA);
  EXPECT_EQ(layer.slots[1], engine::EffectKind::kMoveB);
  EXPECT_EQ(layer.slots[0], engine::EffectKind::kRemapB);
  EXPECT_EQ(layer.slots[2], engine::EffectKind::kNone);
  EXPECT_EQ(layer.slots[4], engine::EffectKind::kNone);
  EXPECT_EQ(layer.interval_ms, 0u);
  EXPECT_EQ(layer.sleep_ms, 0u);
  EXPECT_EQ(layer.noise, 6);
  EXPECT_EQ(layer.opacity, 0.75f);
  layer.configure({.opacity = 1.0f, .interval_ms = 200, .sleep_limit_ms = 100, .noise = -3});
  EXPECT_EQ(layer.noise, 0);
  EXPECT_EQ(layer.interval_ms, 200u);
  EXPECT_EQ(layer.sleep_ms, 100u);
  // Every kind parked in slot 0, the last one given holding it.
  EXPECT_EQ(layer.slots[0], engine::EffectKind::kMoveB);
  for (std::int32_t i = 1; i < engine::kSlotCount; ++i) {
    EXPECT_EQ(layer.slots[i], engine::EffectKind::kNone);
  }
}

TEST_F(LayerTest, PixelFormatGivesBlendWordsAndMask) {
  engine::Layer layer = make_layer();
  layer.mask_rects.clear_r = 1;
  layer.mask_rects.clear_g = 2;
  layer.mask_rects.clear_b = 3;
  layer.set_pixel_format(pf_);
  EXPECT_EQ(layer.blend.halve, 0x7BEF7BEFu);
  EXPECT_EQ(layer.blend.low_bit, 0x08210821u);
  EXPECT_EQ(layer.mask_rects.mask, 0xF798F798u);
  EXPECT_EQ(layer.format.green_bits, 6);
  display::PixelLayout f555;
  f555.set_masks(0x7C00, 0x03E0, 0x001F);
  layer.set_pixel_format(f555);
  EXPECT_EQ(layer.blend.halve, 0x3DEF3DEFu);
  EXPECT_EQ(layer.blend.low_bit, 0x84218421u);
}

TEST_F(LayerTest, BlendSourceRoundsWithTheWorkingFramesLowBit) {
  engine::Layer layer = make_layer();
  layer.set_pixel_format(pf_);
  layer.set_region(10, 12, 5, 5);
  work_[5 * kW + 10] = 0xFFFF;
  source16_[5 * kW + 10] = 0x0000;
  work_[5 * kW + 11] = 0x0000;
  source16_[5 * kW + 11] = 0xFFFF;
  work_[5 * kW + 12] = 0xABCD;
  source16_[5 * kW + 12] = 0xABCD;
  work_[5 * kW + 13] = 0x1111;
  engine::blend_source(layer.view());
  EXPECT_EQ(work_[5 * kW + 10], 0x8410);
  EXPECT_EQ(work_[5 * kW + 11], 0x7BEF);
  EXPECT_EQ(work_[5 * kW + 12], 0xABCD);
  EXPECT_EQ(work_[5 * kW + 13], 0x1111) << "outside the region";
}

TEST_F(LayerTest, SourceSameAsWorkingFrameIsLeftAlone) {
  engine::Layer layer{{.work = work_.data(),
                       .scratch = scratch_.data(),
                       .source16 = work_.data(),
                       .source32 = source32_.data(),
                       .width = kW,
                       .height = kH},
                      clock_,
                      dither_rng_};
  layer.set_pixel_format(pf_);
  layer.set_region(0, 3, 0, 0);
  work_[0] = 0xFFFF;
  work_[1] = 0x0001;
  engine::blend_source(layer.view());
  engine::copy_source(layer.view());
  EXPECT_EQ(work_[0], 0xFFFF);
  EXPECT_EQ(work_[1], 0x0001);
}

TEST_F(LayerTest, CopyIsInactiveWithItsOwnTablesOverTheSameBuffers) {
  engine::Layer layer = make_layer();
  layer.set_region(1, 2, 3, 4);
  layer.configure({.opacity = 1.0f,
                   .interval_ms = 200,
                   .sleep_limit_ms = 100,
                   .noise = 2,
                   .remap_a_slot = 2,
                   .move_a_slot = 1});
  layer.set_pixel_format(pf_);
  layer.remap_a.table[5] = 55;
  layer.move_a.resize_offsets(3);
  layer.move_a.offsets_x[2] = 7;
  layer.activate(true);
  ASSERT_TRUE(layer.active);
  engine::Layer copy(layer);
  EXPECT_FALSE(copy.active);
  EXPECT_EQ(copy.frames.work, layer.frames.work);
  EXPECT_EQ(copy.frames.source32, layer.frames.source32);
  EXPECT_EQ(copy.region, layer.region);
  EXPECT_EQ(copy.noise, 2);
  EXPECT_EQ(copy.slots[2], engine::EffectKind::kRemapA);
  EXPECT_EQ(copy.blend.halve, layer.blend.halve);
  EXPECT_EQ(copy.start_ms, layer.start_ms);
  EXPECT_EQ(copy.first_frame, 1);
  EXPECT_EQ(copy.remap_a.table[5], 55);
  EXPECT_EQ(copy.move_a.offsets_x[2], 7);
  // The table and the offsets are the copy's own.
  copy.remap_a.table[5] = 66;
  copy.move_a.offsets_x[2] = 8;
  EXPECT_EQ(layer.remap_a.table[5], 55);
  EXPECT_EQ(layer.move_a.offsets_x[2], 7);
}

TEST_F(LayerTest, ActivationSetsSeedsFromTheStartTime) {
  engine::Layer layer = make_layer();
  clock_.set(7000);
  EXPECT_EQ(layer.activate(true), 7000u);
  EXPECT_EQ(layer.first_frame, 1);
  layer.move_a.reset_offsets = 1;
  layer.move_a.resize_offsets(2);
  layer.move_a.offsets_x[1] = 3;
  layer.move_b.resize_offsets(2);
  layer.move_b.offsets_x[1] = 3;
  EXPECT_TRUE(layer.step());
  EXPECT_EQ(layer.mask_rects.seed, 7000u);
  EXPECT_EQ(layer.remap_a.seed, 7010u);
  EXPECT_EQ(layer.remap_b.seed, 7020u);
  EXPECT_EQ(layer.move_a.seed, 7030u);
  EXPECT_EQ(layer.move_a.offset_seed, 7031u);
  EXPECT_EQ(layer.move_b.seed, 7040u);
  EXPECT_EQ(layer.move_b.offset_seed, 7041u);
  EXPECT_EQ(layer.move_a.offsets_x[1], 0) << "reset at activation";
  EXPECT_EQ(layer.move_b.offsets_x[1], 3) << "kept without reset_offsets";
  // Switching off keeps the start time and returns 0.
  EXPECT_EQ(layer.activate(false), 0u);
  EXPECT_EQ(layer.start_ms, 7000u);
  layer.activate_at(123);
  EXPECT_TRUE(layer.active);
  EXPECT_EQ(layer.first_frame, 1);
  EXPECT_EQ(layer.start_ms, 123u);
}

class PacingTest : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    layer_.configure({.opacity = 1.0f, .interval_ms = 200, .sleep_limit_ms = 100});
    layer_.activate(true);
    ASSERT_TRUE(layer_.step()) << "the first step always draws";
    clock_.clear_sleeps();
  }
  engine::Layer layer_ = make_layer();
};

TEST_F(PacingTest, FiftyMillisecondsAfterTheLastFrameWaitsTheSleepLimitAndSkips) {
  clock_.advance(50);
  EXPECT_FALSE(layer_.step());
  EXPECT_EQ(clock_.sleeps(), std::vector<std::uint32_t>{100});
}

TEST_F(PacingTest, HundredFiftyMillisecondsAfterWaitsTheRestAndDraws) {
  const std::uint32_t first = layer_.last_frame_ms;
  clock_.advance(150);
  EXPECT_TRUE(layer_.step());
  EXPECT_EQ(clock_.sleeps(), std::vector<std::uint32_t>{50});
  EXPECT_EQ(layer_.last_frame_ms, first + 200);
}

TEST_F(PacingTest, TwoHundredFiftyMillisecondsAfterDrawsAtOnce) {
  clock_.advance(250);
  EXPECT_TRUE(layer_.step());
  EXPECT_EQ(clock_.sleep_count(), 0u);
}

TEST_F(PacingTest, ElapsedTimeIsTakenAcrossTheClockWrap) {
  clock_.set(0xFFFFFF00u);
  layer_.activate(true);
  ASSERT_TRUE(layer_.step());
  clock_.advance(0x150);  // past the wrap, 336 ms later
  EXPECT_TRUE(layer_.step());
  EXPECT_EQ(clock_.sleep_count(), 0u);
}

TEST_F(PacingTest, NoSleepLimitSkipsWithoutWaiting) {
  layer_.configure({.opacity = 1.0f, .interval_ms = 200});
  clock_.advance(50);
  EXPECT_FALSE(layer_.step());
  EXPECT_EQ(clock_.sleep_count(), 0u);
}

TEST_F(PacingTest, IntervalZeroDrawsOnlyTheFirstFrame) {
  layer_.configure({.opacity = 1.0f, .sleep_limit_ms = 30});
  layer_.activate(true);
  EXPECT_TRUE(layer_.step());
  clock_.advance(10000);
  EXPECT_FALSE(layer_.step());
  EXPECT_FALSE(layer_.step());
  EXPECT_EQ(clock_.sleeps(), (std::vector<std::uint32_t>{30, 30}));
}

TEST_F(PacingTest, FirstStepAfterActivationDrawsWithoutPacing) {
  layer_.activate(true);
  EXPECT_TRUE(layer_.step());
  EXPECT_EQ(clock_.sleep_count(), 0u);
}

TEST_F(PacingTest, DurationIsMeasuredFromFrameStartToTheEndOfTheEffects) {
  // A virtual clock stands still while a frame draws.
  clock_.advance(300);
  EXPECT_TRUE(layer_.step());
  EXPECT_EQ(layer_.duration_ms, 0);
}

TEST_F(LayerTest, OpacityChoosesCopyBlendOrNothing) {
  engine::Layer layer = make_layer();
  layer.set_pixel_format(pf_);
  layer.set_region(0, 1, 0, 0);
  source16_[0] = 0x0000;
  for (const auto& [opacity, expected] : {std::pair{1.5f, 0x0000}, std::pair{0.5f, 0x8410},
                                          std::pair{0.0f, 0xFFFF}, std::pair{-1.0f, 0xFFFF}}) {
    work_[0] = 0xFFFF;
    layer.configure({.opacity = opacity});
    layer.activate(true);
    ASSERT_TRUE(layer.step());
    EXPECT_EQ(work_[0], expected) << "opacity " << opacity;
    // The first step converted the (black) picture over the region.
    source16_[0] = 0x0000;
  }
}

}  // namespace
