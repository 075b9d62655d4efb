// Effect records and runs: remap tables, record assignment and offset arrays; block counts,
// positions with and without drift, wrap of the drift, jitter, moving-block offsets in every
// mode, clipping at the region's edges, smear against clean moves, and the after-run blend.
#include "engine/mask_rects.h"
#include "engine/moving_blocks.h"
#include "engine/remap_rects.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "tests/engine/engine_test_support.h"
#include "tests/support/virtual_clock.h"

namespace {

using engine_test::ref_lcg;

std::uint32_t advanced(std::uint32_t state, std::int64_t steps) {
  for (std::int64_t i = 0; i < steps; ++i) ref_lcg(state);
  return state;
}

TEST(RemapTable, Brightening565) {
  display::PixelLayout pf;
  pf.set_default_masks();
  engine::RemapParams r;
  r.add_r = r.add_g = r.add_b = 16;
  r.build_remap_table(pf);
  EXPECT_EQ(r.table[0x0000], 0x1082);
  EXPECT_EQ(r.table[0x7BEF], 0x8C71);
  EXPECT_EQ(r.table[0xFFFF], 0xFFFF);
  r.add_r = r.add_g = r.add_b = 64;
  r.build_remap_table(pf);
  EXPECT_EQ(r.table[0x0000], 0x4208);
  r.add_r = r.add_g = r.add_b = -300;
  r.build_remap_table(pf);
  EXPECT_EQ(r.table[0xFFFF], 0x0000);
}

TEST(RecordAssign, RemapCopiesFieldsAndTableOrZeroes) {
  engine::RemapParams from;
  from.block_w = 0;
  from.block_h = 3;
  from.density = 77;
  from.total_x = -5;
  from.pos_rng = 99;
  from.from_work = 1;
  from.add_g = 4;
  for (std::size_t i = 0; i < 65536; ++i) from.table[i] = static_cast<std::uint16_t>(~i);
  engine::RemapParams to;
  to.assign(&from);
  EXPECT_EQ(to.block_w, 1) << "raised to 1";
  EXPECT_EQ(to.block_h, 3);
  EXPECT_EQ(to.density, 77);
  EXPECT_EQ(to.total_x, -5);
  EXPECT_EQ(to.pos_rng, 99u);
  EXPECT_EQ(to.from_work, 1);
  EXPECT_EQ(to.add_g, 4);
  EXPECT_EQ(to.table[0], 0xFFFF);
  EXPECT_EQ(to.table[0x1234], 0xEDCB);
  to.assign(nullptr);
  EXPECT_EQ(to.density, 0);
  EXPECT_EQ(to.block_w, 1);
  EXPECT_EQ(to.block_h, 1);
  EXPECT_EQ(to.table[0x1234], 0);
}

TEST(RecordAssign, MovingKeepsItsOwnOffsets) {
  engine::MovingBlockParams from;
  from.resize_offsets(2);
  from.offsets_x[0] = 9;
  from.dx_min = -3;
  from.walk_x = 2;
  from.offset_mode = engine::kOffsetsWalk;
  engine::MovingBlockParams to;
  to.resize_offsets(4);
  to.offsets_x[3] = -2;
  to.offsets_y[1] = 5;
  to.assign(&from);
  EXPECT_EQ(to.offset_count(), 4);
  EXPECT_EQ(to.offsets_x[3], -2);
  EXPECT_EQ(to.offsets_y[1], 5);
  EXPECT_EQ(to.dx_min, -3);
  EXPECT_EQ(to.walk_x, 2);
  EXPECT_EQ(to.offset_mode, 2);
  EXPECT_EQ(to.block_w, 1);
  to.assign(nullptr);
  EXPECT_EQ(to.offset_count(), 4);
  EXPECT_EQ(to.offsets_x[3], -2);
  EXPECT_EQ(to.dx_min, 0);
}

TEST(RecordAssign, ResizeOffsetsZeroesAndIgnoresNegativeCounts) {
  engine::MovingBlockParams m;
  m.resize_offsets(3);
  m.offsets_x[2] = 7;
  m.resize_offsets(3);
  EXPECT_EQ(m.offsets_x[2], 0) << "same size still zeroes";
  m.offsets_y[0] = 4;
  m.resize_offsets(-1);
  EXPECT_EQ(m.offset_count(), 3);
  EXPECT_EQ(m.offsets_y[0], 0);
  m.resize_offsets(0);
  EXPECT_EQ(m.offset_count(), 0);
}

class EffectsTest : public ::testing::Test {
 protected:
  static constexpr std::int32_t kW = 640;
  static constexpr std::int32_t kH = 480;
  static constexpr std::size_t kN = static_cast<std::size_t>(kW * kH);

  void SetUp() override {
    pf_.set_default_masks();
    layer_.set_pixel_format(pf_);
    layer_.set_region(0, 639, 0, 479);
    for (std::size_t i = 0; i < kN; ++i) source16_[i] = static_cast<std::uint16_t>(i * 7 + 1);
    // A counting table: each remap of a pixel adds one.
    for (std::size_t i = 0; i < 65536; ++i) counter_.table[i] = static_cast<std::uint16_t>(i + 1);
    counter_.block_w = counter_.block_h = 1;
    counter_.from_work = 1;
  }

  std::uint16_t& work(std::int32_t x, std::int32_t y) {
    return work_[static_cast<std::size_t>(y * kW + x)];
  }
  std::uint16_t source(std::int32_t x, std::int32_t y) const {
    return source16_[static_cast<std::size_t>(y * kW + x)];
  }

  // A position generator state whose next draw lands at offset `want` of an axis of size n.
  static std::uint32_t state_drawing(std::uint32_t want, std::uint32_t n) {
    for (std::uint32_t s = 0;; ++s) {
      std::uint32_t t = s;
      if (ref_lcg(t) % n == want) return s;
    }
  }

  display::PixelLayout pf_;
  test_support::VirtualClock clock_;
  std::uint32_t dither_rng_ = 0;
  std::vector<std::uint16_t> work_ = std::vector<std::uint16_t>(kN);
  std::vector<std::uint16_t> scratch_ = std::vector<std::uint16_t>(kN);
  std::vector<std::uint16_t> source16_ = std::vector<std::uint16_t>(kN);
  std::vector<std::uint32_t> source32_ = std::vector<std::uint32_t>(kN);
  engine::Layer layer_{{.work = work_.data(),
                        .scratch = scratch_.data(),
                        .source16 = source16_.data(),
                        .source32 = source32_.data(),
                        .width = kW,
                        .height = kH},
                       clock_,
                       dither_rng_};
  engine::RemapParams counter_;
};

TEST_F(EffectsTest, BlockCountsFollowAreaBlockSizeAndDensity) {
  struct Case {
    std::int32_t y0, y1, bw, bh, density, count;
  };
  for (const Case c : {Case{0, 479, 3, 2, 200, 10240}, Case{0, 479, 1, 1, 200, 61440},
                       Case{0, 479, 2, 2, 100, 7680}, Case{400, 479, 1, 1, 1, 51},
                       Case{0, 479, 1, 1, 0, 0}, Case{0, 479, 1, 1, -5, 0}}) {
    layer_.set_region(0, 639, c.y0, c.y1);
    // Remaps draw two positions per block.
    counter_.block_w = c.bw;
    counter_.block_h = c.bh;
    counter_.density = c.density;
    counter_.pos_rng = 0;
    engine::run_remap_rects(layer_.view(), counter_);
    EXPECT_EQ(counter_.pos_rng, advanced(0, 2 * c.count)) << c.bw << "x" << c.bh;
    // Moving blocks with a fixed non-zero offset draw no offsets and two positions per block.
    engine::MovingBlockParams m;
    m.block_w = c.bw;
    m.block_h = c.bh;
    m.density = c.density;
    m.dx_min = m.dx_max = 1;
    engine::run_moving_blocks(layer_.view(), m);
    EXPECT_EQ(m.pos_rng, advanced(0, 2 * c.count));
    EXPECT_EQ(m.offset_rng, 0u);
  }
}

TEST_F(EffectsTest, DensityZeroStillAdvancesTheDrift) {
  counter_.density = 0;
  counter_.drift = 1;
  counter_.step_x = 1;
  counter_.step_y = 3;
  counter_.seed = 1000;
  engine::run_remap_rects(layer_.view(), counter_);
  EXPECT_EQ(counter_.total_x, 1);
  EXPECT_EQ(counter_.total_y, 3);
  EXPECT_EQ(counter_.pos_rng, 1000u);
  for (std::uint16_t p : work_) ASSERT_EQ(p, 0);
}

TEST_F(EffectsTest, DriftRepeatsThePatternShiftedAndWrapsInTheRegion) {
  // A 10x5 region, 50 single pixels per frame.
  layer_.set_region(100, 109, 200, 204);
  counter_.density = 1000;
  counter_.drift = 1;
  counter_.seed = 1000;
  counter_.step_x = 1;
  counter_.step_y = 3;
  auto hits = [&] {
    std::fill(work_.begin(), work_.end(), 0);
    engine::run_remap_rects(layer_.view(), counter_);
    std::vector<std::uint16_t> h(50);
    for (std::int32_t y = 0; y < 5; ++y) {
      for (std::int32_t x = 0; x < 10; ++x)
        h[static_cast<std::size_t>(y * 10 + x)] = work(100 + x, 200 + y);
    }
    return h;
  };
  const std::vector<std::uint16_t> first = hits();
  // Independently: positions from the seed, shifted by the totals (1, 3).
  std::vector<std::uint16_t> expected(50);
  std::uint32_t s = 1000;
  for (int i = 0; i < 50; ++i) {
    const std::uint32_t x = (ref_lcg(s) + 1) % 10;
    const std::uint32_t y = (ref_lcg(s) + 3) % 5;
    ++expected[y * 10 + x];
  }
  EXPECT_EQ(first, expected);
  const std::vector<std::uint16_t> second = hits();
  for (std::int32_t y = 0; y < 5; ++y) {
    for (std::int32_t x = 0; x < 10; ++x) {
      EXPECT_EQ(second[static_cast<std::size_t>(y * 10 + x)],
                first[static_cast<std::size_t>(((y + 2) % 5) * 10 + (x + 9) % 10)])
          << x << "," << y;
    }
  }
  for (std::size_t i = 0; i < work_.size(); ++i) {
    const auto x = static_cast<std::int32_t>(i % kW);
    const auto y = static_cast<std::int32_t>(i / kW);
    if (x < 100 || x > 109 || y < 200 || y > 204) {
      ASSERT_EQ(work_[i], 0) << "outside the region";
    }
  }
}

TEST_F(EffectsTest, JitterAndNegativeTotalsFoldIntoTheRegion) {
  layer_.set_region(3, 22, 7, 36);  // 20 x 30
  counter_.block_w = 2;
  counter_.block_h = 3;
  counter_.density = 1000;  // 100 blocks
  counter_.drift = 1;
  counter_.seed = 42;
  counter_.jitter_rng = 7;
  counter_.jitter_x = 3;
  counter_.jitter_y = 5;
  counter_.total_x = -1000;
  counter_.total_y = INT32_MIN + 2;
  counter_.step_x = -7;
  counter_.step_y = -5;  // wraps the total through INT32_MIN to the top of the range
  engine::run_remap_rects(layer_.view(), counter_);
  std::vector<std::uint16_t> expected(kN);
  std::uint32_t pos = 42;
  std::uint32_t jit = 7;
  const std::uint32_t tx = static_cast<std::uint32_t>(-1007);
  const std::uint32_t ty = static_cast<std::uint32_t>(INT32_MAX - 2);
  EXPECT_EQ(counter_.total_y, INT32_MAX - 2);
  for (int i = 0; i < 100; ++i) {
    std::uint32_t rx = ref_lcg(pos);
    rx += ref_lcg(jit) % 4 + tx;
    std::uint32_t ry = ref_lcg(pos);
    ry += ref_lcg(jit) % 6 + ty;
    const std::uint32_t x = (rx & 0x7FFFFFFF) % 20 + 3;
    const std::uint32_t y = (ry & 0x7FFFFFFF) % 30 + 7;
    for (std::uint32_t yy = y; yy <= std::min(y + 2, 36u); ++yy) {
      for (std::uint32_t xx = x; xx <= std::min(x + 1, 22u); ++xx) ++expected[yy * kW + xx];
    }
  }
  EXPECT_EQ(work_, expected);
}

// Frame after frame, a drifting remap must land exactly where fresh draws land, whatever
// changes between frames (seed, region, jitter) and as its totals approach the sign bit.
TEST_F(EffectsTest, DriftingRemapsRepeatTheirDrawsExactlyAcrossFrames) {
  struct Frame {
    std::int32_t x0, x1, y0, y1;
    std::uint32_t seed;
    std::int32_t jitter_x, jitter_y;
  };
  // The last four frames start with totals close to the sign bit: there the sums of draw,
  // jitter and total reach it.
  const std::vector<Frame> frames = {
      {0, 639, 0, 479, 1000, 1, 1},  {0, 639, 0, 479, 1000, 1, 1}, {0, 639, 0, 479, 1000, 2, 3},
      {0, 639, 0, 479, 77, 2, 3},    {5, 104, 9, 58, 77, 2, 3},    {5, 104, 9, 58, 77, 100, 49},
      {5, 104, 9, 58, 77, 100, 50},  {5, 104, 9, 58, 77, 101, 60}, {0, 639, 400, 479, 77, 0, 0},
      {0, 639, 400, 479, 77, -5, 1}, {0, 639, 0, 479, 9, 1, 1},    {0, 639, 0, 479, 9, 1, 1},
      {0, 639, 0, 479, 9, 1, 1},     {0, 639, 0, 479, 9, 1, 1},
  };
  counter_.block_w = 2;
  counter_.block_h = 1;
  counter_.density = 50;
  counter_.drift = 1;
  counter_.step_x = 1;
  counter_.step_y = 3;
  counter_.total_x = 618;
  counter_.total_y = 451;
  std::uint32_t jit = 5;
  counter_.jitter_rng = jit;
  std::int32_t tx = counter_.total_x;
  std::int32_t ty = counter_.total_y;
  std::size_t frame_number = 0;
  std::uint32_t largest_first_draw = 0;
  for (std::uint32_t t = 0;; ++largest_first_draw) {
    t = largest_first_draw;
    if (ref_lcg(t) == 0xFFFF) break;
  }
  for (const Frame& f : frames) {
    const bool near_sign_bit = ++frame_number > frames.size() - 4;
    if (frame_number == frames.size() - 3) {
      counter_.total_x = tx = 0x7FFFFFFF - 0xFFFF - 3;
      counter_.total_y = ty = 0x7FFFFFFF - 0xFFFF - 8;
    }
    layer_.set_region(f.x0, f.x1, f.y0, f.y1);
    // Near the sign bit, a seed whose first draw is the largest: its sum is the first to
    // reach the sign bit.
    counter_.seed = near_sign_bit ? largest_first_draw : f.seed;
    counter_.jitter_x = f.jitter_x;
    counter_.jitter_y = f.jitter_y;
    std::fill(work_.begin(), work_.end(), 0);
    engine::run_remap_rects(layer_.view(), counter_);

    const std::int32_t w = f.x1 - f.x0 + 1;
    const std::int32_t h = f.y1 - f.y0 + 1;
    const std::int32_t count = (w * h / 2) * 50 / 1000;
    tx = static_cast<std::int32_t>(static_cast<std::uint32_t>(tx) + 1u);
    ty = static_cast<std::int32_t>(static_cast<std::uint32_t>(ty) + 3u);
    std::vector<std::uint16_t> expected(kN);
    std::uint32_t pos = counter_.seed;
    for (std::int32_t i = 0; i < count; ++i) {
      std::uint32_t rx = ref_lcg(pos);
      rx += ref_lcg(jit) % static_cast<std::uint32_t>(std::max(f.jitter_x, 0) + 1) +
            static_cast<std::uint32_t>(tx);
      std::uint32_t ry = ref_lcg(pos);
      ry += ref_lcg(jit) % static_cast<std::uint32_t>(std::max(f.jitter_y, 0) + 1) +
            static_cast<std::uint32_t>(ty);
      const std::uint32_t x =
          (rx & 0x7FFFFFFF) % static_cast<std::uint32_t>(w) + static_cast<std::uint32_t>(f.x0);
      const std::uint32_t y =
          (ry & 0x7FFFFFFF) % static_cast<std::uint32_t>(h) + static_cast<std::uint32_t>(f.y0);
      ++expected[y * kW + x];
      if (x + 1 <= static_cast<std::uint32_t>(f.x1)) ++expected[y * kW + x + 1];
    }
    ASSERT_EQ(work_, expected) << "seed " << counter_.seed << " total_x " << tx;
    EXPECT_EQ(counter_.pos_rng, pos);
    EXPECT_EQ(counter_.jitter_rng, jit);
  }
  EXPECT_GT(static_cast<std::int64_t>(tx) + 0xFFFF, 0x7FFFFFFF) << "the sums reach the sign bit";
}

TEST_F(EffectsTest, MaskRectsClearLowBitsAtTheDrawnBlocks) {
  layer_.set_region(0, 15, 0, 15);
  std::fill(work_.begin(), work_.end(), 0xFFFF);
  engine::MaskRectParams& m = layer_.mask_rects;
  m.block_w = 3;
  m.block_h = 1;
  m.density = 100;  // 256 / 3 = 85 tiles -> 8 blocks
  m.clear_r = m.clear_g = m.clear_b = 1;
  layer_.set_pixel_format(pf_);
  ASSERT_EQ(m.mask, 0xF7DEF7DEu);
  engine::run_mask_rects(layer_.view(), m);
  std::vector<std::uint16_t> expected(kN, 0xFFFF);
  std::uint32_t pos = 0;
  for (int i = 0; i < 8; ++i) {
    const std::uint32_t x = ref_lcg(pos) % 16;
    const std::uint32_t y = ref_lcg(pos) % 16;
    for (std::uint32_t xx = x; xx <= std::min(x + 2, 15u); ++xx) expected[y * kW + xx] = 0xF7DE;
  }
  EXPECT_EQ(work_, expected);
}

TEST_F(EffectsTest, BlendAfterBlendsTheSourceOverTheRegion) {
  layer_.set_region(0, 1, 0, 0);
  std::fill(work_.begin(), work_.end(), 0xFFFF);
  source16_[0] = source16_[1] = 0;
  counter_.density = 0;
  counter_.blend_after = 1;
  engine::run_remap_rects(layer_.view(), counter_);
  EXPECT_EQ(work(0, 0), 0x8410);
  EXPECT_EQ(work(1, 0), 0x8410);
  EXPECT_EQ(work(2, 0), 0xFFFF);
}

TEST_F(EffectsTest, RemapFromTheSourcePictureWritesTheWorkingFrame) {
  layer_.set_region(0, 0, 0, 0);
  counter_.density = 1000;
  counter_.from_work = 0;
  work(0, 0) = 0x5555;
  engine::run_remap_rects(layer_.view(), counter_);
  EXPECT_EQ(work(0, 0), static_cast<std::uint16_t>(source(0, 0) + 1));
}

class MovingBlocksTest : public EffectsTest {
 protected:
  // One block per frame in the 20 x 10 region at (10, 10), of the given size.
  engine::MovingBlockParams& one_block(std::int32_t bw, std::int32_t bh) {
    layer_.set_region(10, 29, 10, 19);
    move_.block_w = bw;
    move_.block_h = bh;
    // (200 / area) * density / 1000 = 1
    move_.density = 1000 / (200 / (bw * bh)) + 1;
    return move_;
  }
  // Puts the drawn point at (10 + px, 10 + py).
  void draw_at(std::uint32_t px, std::uint32_t py) {
    for (std::uint32_t s = 0;; ++s) {
      std::uint32_t t = s;
      if (ref_lcg(t) % 20 == px && ref_lcg(t) % 10 == py) {
        move_.pos_rng = s;
        return;
      }
    }
  }
  std::vector<std::uint16_t> changed() const {
    std::vector<std::uint16_t> out;
    for (std::uint16_t p : work_) {
      if (p != 0) out.push_back(p);
    }
    return out;
  }
  engine::MovingBlockParams move_;
};

TEST_F(MovingBlocksTest, ZeroOffsetRangesDrawNothingAndAdvanceNoGenerator) {
  move_.block_w = 3;
  move_.block_h = 2;
  move_.density = 200;
  move_.pos_rng = 5;
  move_.offset_rng = 6;
  engine::run_moving_blocks(layer_.view(), move_);
  EXPECT_EQ(move_.pos_rng, 5u);
  EXPECT_EQ(move_.offset_rng, 6u);
  EXPECT_TRUE(changed().empty());
}

TEST_F(MovingBlocksTest, BlocksWithZeroOffsetsConsumeNoPositionDraws) {
  move_.block_w = 3;
  move_.block_h = 2;
  move_.density = 200;
  move_.dx_max = move_.dy_max = 1;
  engine::run_moving_blocks(layer_.view(), move_);
  std::uint32_t off = 0;
  std::int64_t moved = 0;
  for (int i = 0; i < 10240; ++i) {
    const std::uint32_t dx = ref_lcg(off) % 2;
    const std::uint32_t dy = ref_lcg(off) % 2;
    moved += (dx != 0 || dy != 0);
  }
  EXPECT_EQ(move_.offset_rng, off);
  EXPECT_EQ(move_.pos_rng, advanced(0, 2 * moved));
  EXPECT_NEAR(static_cast<double>(moved) / 10240.0, 0.75, 0.03);
}

TEST_F(MovingBlocksTest, BlockStartingLeftOfTheRegionIsNarrowed) {
  one_block(3, 1);
  move_.dx_min = move_.dx_max = 1;
  draw_at(0, 4);  // centred on column 10: would start at 9
  engine::run_moving_blocks(layer_.view(), move_);
  EXPECT_EQ(work(10, 14), source(11, 14));
  EXPECT_EQ(work(11, 14), source(12, 14));
  EXPECT_EQ(changed().size(), 2u);
}

TEST_F(MovingBlocksTest, NegativeOffsetAtTheLeftEdgeClipsTheSourceAndMovesTheDestination) {
  one_block(3, 1);
  move_.dx_min = move_.dx_max = -2;
  draw_at(1, 4);  // block at columns 10..12, source 8..10 clipped to 10..10
  engine::run_moving_blocks(layer_.view(), move_);
  EXPECT_EQ(work(12, 14), source(10, 14));
  EXPECT_EQ(changed().size(), 1u);
}

TEST_F(MovingBlocksTest, SourceOutsideTheRegionIsSkipped) {
  one_block(1, 1);
  move_.dy_min = move_.dy_max = 5;
  draw_at(3, 6);  // row 16 + 5 = 21, below the region's last row 19
  engine::run_moving_blocks(layer_.view(), move_);
  EXPECT_TRUE(changed().empty());
}

TEST_F(MovingBlocksTest, OverlappingInPlaceMoveSmearsButThroughScratchShiftsCleanly) {
  for (const std::int32_t source_kind :
       {engine::kFromWorkingFrame, engine::kFromWorkingFrameViaScratch}) {
    for (std::int32_t x = 0; x < kW; ++x) work(x, 14) = static_cast<std::uint16_t>(100 + x);
    one_block(3, 1);
    move_.source = source_kind;
    move_.dx_min = move_.dx_max = -1;
    draw_at(6, 4);  // block 15..17 from 14..16
    engine::run_moving_blocks(layer_.view(), move_);
    if (source_kind == engine::kFromWorkingFrame) {
      EXPECT_EQ(work(15, 14), 114);
      EXPECT_EQ(work(16, 14), 114);
      EXPECT_EQ(work(17, 14), 114);
    } else {
      EXPECT_EQ(work(15, 14), 114);
      EXPECT_EQ(work(16, 14), 115);
      EXPECT_EQ(work(17, 14), 116);
    }
    EXPECT_EQ(work(18, 14), 118);
  }
}

TEST_F(MovingBlocksTest, BlendedMoveMixesSourceAndBlock) {
  one_block(1, 1);
  move_.blend = 1;
  move_.dy_min = move_.dy_max = 1;
  draw_at(0, 0);
  source16_[11 * kW + 10] = 0x0000;
  work(10, 10) = 0xFFFF;
  engine::run_moving_blocks(layer_.view(), move_);
  EXPECT_EQ(work(10, 10), 0x8410);
}

TEST_F(MovingBlocksTest, ModeZeroDrawsFreshOffsetsAndModeOneRepeatsThem) {
  move_.block_w = 3;
  move_.block_h = 2;
  move_.density = 10;
  move_.dx_min = -3;
  move_.dx_max = 3;
  move_.dy_min = -2;
  move_.dy_max = 2;
  move_.offset_seed = 321;
  move_.offset_rng = 321;
  engine::run_moving_blocks(layer_.view(), move_);
  const std::uint32_t after_first = move_.offset_rng;
  engine::run_moving_blocks(layer_.view(), move_);
  EXPECT_NE(move_.offset_rng, after_first) << "mode 0 runs on";
  move_.offset_mode = engine::kOffsetsRepeated;
  engine::run_moving_blocks(layer_.view(), move_);
  EXPECT_EQ(move_.offset_rng, after_first) << "mode 1 restarts from the offset seed";
  engine::run_moving_blocks(layer_.view(), move_);
  EXPECT_EQ(move_.offset_rng, after_first);
}

TEST_F(MovingBlocksTest, RandomWalkMovesEachOffsetByAtMostTheWalkAndStaysInRange) {
  move_.block_w = 3;
  move_.block_h = 2;
  layer_.set_region(0, 63, 0, 47);
  move_.density = 200;  // 102 blocks
  move_.offset_mode = engine::kOffsetsWalk;
  move_.dx_min = -3;
  move_.dx_max = 3;
  move_.dy_min = -3;
  move_.dy_max = 3;
  move_.walk_x = 1;
  move_.walk_y = 1;
  engine::run_moving_blocks(layer_.view(), move_);
  ASSERT_EQ(move_.offset_count(), 102);
  std::set<int> seen;
  for (int frame = 0; frame < 40; ++frame) {
    const std::vector<std::int16_t> before(move_.offsets_x.data(), move_.offsets_x.data() + 102);
    engine::run_moving_blocks(layer_.view(), move_);
    for (std::size_t i = 0; i < 102; ++i) {
      const int v = move_.offsets_x[i];
      ASSERT_LE(std::abs(v - before[i]), 1);
      ASSERT_GE(v, -3);
      ASSERT_LE(v, 3);
      seen.insert(v);
    }
  }
  EXPECT_EQ(seen.size(), 7u) << "the walk reaches the whole range";
  // More blocks than offsets: the arrays grow and every walk restarts from 0.
  for (std::size_t i = 0; i < 102; ++i) move_.offsets_x[i] = 3;
  move_.density = 400;
  engine::run_moving_blocks(layer_.view(), move_);
  ASSERT_EQ(move_.offset_count(), 204);
  for (std::size_t i = 0; i < 204; ++i) ASSERT_LE(std::abs(move_.offsets_x[i]), 1) << i;
}

TEST_F(MovingBlocksTest, ModesAboveTwoNeverGrowAndUseTheRangeMaximumBeyond) {
  one_block(1, 1);
  move_.offset_mode = engine::kOffsetsWalkFixedCount;
  move_.dx_min = 0;
  move_.dx_max = 2;
  draw_at(5, 5);
  engine::run_moving_blocks(layer_.view(), move_);
  EXPECT_EQ(move_.offset_count(), 0);
  EXPECT_EQ(move_.offset_rng, 0u) << "no offset drawn";
  EXPECT_EQ(work(15, 15), source(17, 15)) << "dx = dx_max";
}

TEST_F(MovingBlocksTest, UnknownSourceDrawsNothingButStoresOffsetsAndBlendsAfter) {
  layer_.set_region(0, 9, 0, 0);
  std::fill(work_.begin(), work_.begin() + 10, 0xFFFF);
  std::fill(source16_.begin(), source16_.begin() + 10, 0);
  move_.block_w = 1;
  move_.block_h = 1;
  move_.density = 1000;
  move_.source = 3;
  move_.offset_mode = engine::kOffsetsWalk;
  move_.dx_min = -2;
  move_.dx_max = 2;
  move_.walk_x = 2;
  move_.blend_after = 1;
  engine::run_moving_blocks(layer_.view(), move_);
  ASSERT_EQ(move_.offset_count(), 10);
  std::uint32_t off = 0;
  for (std::size_t i = 0; i < 10; ++i) {
    const int expected = std::clamp(static_cast<int>(ref_lcg(off) % 5) - 2, -2, 2);
    EXPECT_EQ(move_.offsets_x[i], expected);
  }
  for (std::int32_t x = 0; x < 10; ++x) EXPECT_EQ(work(x, 0), 0x8410);
}

}  // namespace
