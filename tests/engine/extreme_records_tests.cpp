// Effect runs driven by extreme records (huge drift totals and steps, blocks larger than the
// region, offsets far outside it, jitter and walks near 2^31, negative ranges): nothing may
// touch memory outside the buffers, which the sanitizer build checks, and every pixel
// written must lie inside the layer's region.
#include <gtest/gtest.h>

#include "tests/support/virtual_clock.h"

#include <climits>
#include <vector>

#include "engine/mask_rects.h"
#include "engine/moving_blocks.h"
#include "engine/remap_rects.h"
#include "tests/engine/engine_test_support.h"

namespace {

using engine_test::ref_lcg;

constexpr std::int32_t kW = 640;
constexpr std::int32_t kH = 480;
constexpr std::size_t kN = static_cast<std::size_t>(kW * kH);

constexpr std::int32_t kExtremes[] = {
    INT32_MIN, INT32_MIN + 1, -65536, -1000,         -3,       -1, 0, 1, 2, 3, 639, 640, 1000,
    32767,     32768,         65535,  INT32_MAX - 1, INT32_MAX};
constexpr std::int32_t kDensities[] = {INT32_MIN, -1, 0, 1, 200, 1000, 4000};
constexpr std::int32_t kBlockSizes[] = {INT32_MIN, -1, 0, 1, 2, 3, 17, 700, 65536, INT32_MAX};

class ExtremeRecords : public ::testing::Test {
 protected:
  std::int32_t pick(std::uint32_t& rng, const std::int32_t* values, std::size_t n) {
    return values[ref_lcg(rng) % n];
  }
  template <std::size_t N>
  std::int32_t pick(std::uint32_t& rng, const std::int32_t (&values)[N]) {
    return pick(rng, values, N);
  }

  void fill_header(std::uint32_t& rng, engine::EffectHeader& h) {
    h.block_w = pick(rng, kBlockSizes);
    h.block_h = pick(rng, kBlockSizes);
    h.density = pick(rng, kDensities);
    h.drift = static_cast<std::int32_t>(ref_lcg(rng) % 2);
    h.step_x = pick(rng, kExtremes);
    h.step_y = pick(rng, kExtremes);
    h.jitter_x = pick(rng, kExtremes);
    h.jitter_y = pick(rng, kExtremes);
    h.total_x = pick(rng, kExtremes);
    h.total_y = pick(rng, kExtremes);
  }

  void set_random_region(std::uint32_t& rng) {
    layer_.set_region(pick(rng, kExtremes), pick(rng, kExtremes), pick(rng, kExtremes),
                      pick(rng, kExtremes));
  }

  // Every pixel that differs from the sentinel lies inside the region.
  void expect_only_region_written() {
    for (std::size_t i = 0; i < kN; ++i) {
      if (work_[i] == kSentinel) continue;
      const auto x = static_cast<std::int32_t>(i % kW);
      const auto y = static_cast<std::int32_t>(i / kW);
      ASSERT_TRUE(x >= layer_.region.x0 && x <= layer_.region.x1 && y >= layer_.region.y0 &&
                  y <= layer_.region.y1)
          << "pixel " << x << "," << y << " outside " << layer_.region.x0 << ".."
          << layer_.region.x1 << " x " << layer_.region.y0 << ".." << layer_.region.y1;
    }
  }

  static constexpr std::uint16_t kSentinel = 0xA5A5;
  test_support::VirtualClock clock_;
  std::uint32_t dither_rng_ = 0;
  std::vector<std::uint16_t> work_ = std::vector<std::uint16_t>(kN, kSentinel);
  std::vector<std::uint16_t> scratch_ = std::vector<std::uint16_t>(kN);
  std::vector<std::uint16_t> source16_ = std::vector<std::uint16_t>(kN, 0x1234);
  std::vector<std::uint32_t> source32_ = std::vector<std::uint32_t>(kN);
  engine::Layer layer_{{.work = work_.data(),
                        .scratch = scratch_.data(),
                        .source16 = source16_.data(),
                        .source32 = source32_.data(),
                        .width = kW,
                        .height = kH},
                       clock_,
                       dither_rng_};
};

TEST_F(ExtremeRecords, RemapAndMaskRunsStayInsideTheRegion) {
  std::uint32_t rng = 2024;
  engine::RemapParams from;
  for (std::size_t i = 0; i < 65536; ++i) from.table[i] = static_cast<std::uint16_t>(i ^ 0xFFFF);
  for (int round = 0; round < 300; ++round) {
    std::fill(work_.begin(), work_.end(), kSentinel);
    set_random_region(rng);
    fill_header(rng, from);
    from.pos_rng = ref_lcg(rng);
    from.jitter_rng = ref_lcg(rng);
    from.seed = ref_lcg(rng);
    from.from_work = static_cast<std::int32_t>(ref_lcg(rng) % 2);
    layer_.remap_a.assign(&from);
    engine::run_remap_rects(layer_.view(), layer_.remap_a);
    engine::run_remap_rects(layer_.view(), layer_.remap_a);
    // The mask record has no assign: its block size may stay below 1.
    static_cast<engine::EffectHeader&>(layer_.mask_rects) = from;
    layer_.mask_rects.mask = 0x00FF00FF;
    engine::run_mask_rects(layer_.view(), layer_.mask_rects);
    engine::run_mask_rects(layer_.view(), layer_.mask_rects);
    expect_only_region_written();
    if (HasFatalFailure()) return;
  }
}

TEST_F(ExtremeRecords, MovingBlockRunsStayInsideTheRegion) {
  std::uint32_t rng = 777;
  engine::MovingBlockParams from;
  for (int round = 0; round < 400; ++round) {
    std::fill(work_.begin(), work_.end(), kSentinel);
    set_random_region(rng);
    fill_header(rng, from);
    from.source = static_cast<std::int32_t>(ref_lcg(rng) % 4);
    from.blend = static_cast<std::int32_t>(ref_lcg(rng) % 2);
    from.offset_mode = pick(rng, {-1, 0, 1, 2, 2, 3});
    from.dx_min = pick(rng, kExtremes);
    from.dx_max = pick(rng, kExtremes);
    from.dy_min = pick(rng, kExtremes);
    from.dy_max = pick(rng, kExtremes);
    from.walk_x = pick(rng, kExtremes);
    from.walk_y = pick(rng, kExtremes);
    from.offset_rng = ref_lcg(rng);
    from.offset_seed = ref_lcg(rng);
    layer_.move_a.assign(&from);
    layer_.blend = {.halve = 0x7BEF7BEF, .low_bit = 0x08210821};
    engine::run_moving_blocks(layer_.view(), layer_.move_a);
    engine::run_moving_blocks(layer_.view(), layer_.move_a);
    expect_only_region_written();
    if (HasFatalFailure()) return;
  }
}

TEST_F(ExtremeRecords, HugeDriftTotalsWrapLikeThirtyTwoBits) {
  layer_.set_region(0, 639, 0, 479);
  engine::RemapParams& r = layer_.remap_a;
  r.density = 1;
  r.drift = 1;
  r.total_x = INT32_MAX;
  r.total_y = INT32_MIN;
  r.step_x = INT32_MAX;
  r.step_y = INT32_MIN;
  engine::run_remap_rects(layer_.view(), r);
  EXPECT_EQ(r.total_x, -2);  // 2^31 - 1 + 2^31 - 1 wraps to -2
  EXPECT_EQ(r.total_y, 0);   // -2^31 - 2^31 wraps to 0
}

TEST_F(ExtremeRecords, WalkNearTwoToTheThirtyOneStaysInItsRange) {
  layer_.set_region(0, 63, 0, 0);
  engine::MovingBlockParams& m = layer_.move_a;
  m.block_w = m.block_h = 1;
  m.density = 1000;
  m.offset_mode = engine::kOffsetsWalk;
  m.dx_min = INT32_MIN;
  m.dx_max = INT32_MAX;
  m.walk_x = INT32_MAX;
  m.dy_min = -5;
  m.dy_max = 5;
  m.walk_y = INT32_MAX;
  for (int frame = 0; frame < 4; ++frame) engine::run_moving_blocks(layer_.view(), m);
  ASSERT_EQ(m.offset_count(), 64);
  for (std::size_t i = 0; i < 64; ++i) {
    EXPECT_GE(m.offsets_y[i], -5);
    EXPECT_LE(m.offsets_y[i], 5);
  }
  expect_only_region_written();
}

}  // namespace
