// The effect runs: how many blocks a frame gets, where they fall (a generator that runs on,
// or a pattern that repeats and drifts) and what each block does to the working frame.
// Every 32-bit signed sum here wraps; it is done in unsigned arithmetic to stay defined.
#include "engine/effects.h"

#include <algorithm>

#include "engine/block_ops.h"
#include "engine/fast_mod.h"

namespace engine {

namespace {

// Two steps of the generator at once: the second state is reached from the first state
// directly, which halves the chain of dependent multiplications per block.
constexpr std::uint32_t kLcgMultiplier2 = kLcgMultiplier * kLcgMultiplier;
constexpr std::uint32_t kLcgIncrement2 = kLcgMultiplier * kLcgIncrement + kLcgIncrement;

struct DrawPair {
  std::uint32_t first;
  std::uint32_t second;
};

inline DrawPair lcg_next_two(std::uint32_t& state) {
  const std::uint32_t s1 = state * kLcgMultiplier + kLcgIncrement;
  const std::uint32_t s2 = state * kLcgMultiplier2 + kLcgIncrement2;
  state = s2;
  return DrawPair{s1 >> 16, s2 >> 16};
}

struct Area {
  std::int32_t x0, x1, y0, y1;
  std::int32_t w, h;
};

Area region_of(const Layer& layer) {
  return Area{
      layer.x0, layer.x1, layer.y0, layer.y1, layer.x1 - layer.x0 + 1, layer.y1 - layer.y0 + 1};
}

// A block size below 1 cannot tile anything; such a record draws 1-pixel blocks.
std::int32_t at_least_one(std::int32_t v) {
  return std::max(v, 1);
}
// A negative range would make the remainder's divisor 0 or negative; it counts as 0.
std::uint64_t range_divisor(std::int32_t range) {
  return static_cast<std::uint64_t>(std::max(range, 0)) + 1u;
}

// Blocks per frame: (region area / block area) * density / 1000. The block area is taken
// without overflow (a block larger than the region gives 0); the product with the density
// wraps like the 32-bit arithmetic it stands for.
std::int32_t block_count(const Area& a, std::int32_t bw, std::int32_t bh, std::int32_t density) {
  const std::int64_t area = static_cast<std::int64_t>(a.w) * a.h;
  const std::int64_t block = static_cast<std::int64_t>(bw) * bh;
  const auto tiles = static_cast<std::uint32_t>(area / block);
  const auto product = static_cast<std::int32_t>(tiles * static_cast<std::uint32_t>(density));
  return product / 1000;
}

// With drift the position generator restarts from the seed every frame and the totals move.
void drift_preamble(EffectHeader& h, std::uint32_t& pos_rng, std::uint32_t seed) {
  if (h.drift == 0) return;
  pos_rng = seed;
  h.total_x = static_cast<std::int32_t>(static_cast<std::uint32_t>(h.total_x) +
                                        static_cast<std::uint32_t>(h.step_x));
  h.total_y = static_cast<std::int32_t>(static_cast<std::uint32_t>(h.total_y) +
                                        static_cast<std::uint32_t>(h.step_y));
}

// Draws block positions: a generator draw, plus jitter and the drift totals while drift is
// set, folded into the region by clearing the sign bit and taking the remainder.
class Positions {
 public:
  Positions(const Area& a, const EffectHeader& h)
      : mod_w_(static_cast<std::uint64_t>(a.w)),
        mod_h_(static_cast<std::uint64_t>(a.h)),
        jitter_x_(range_divisor(h.jitter_x)),
        jitter_y_(range_divisor(h.jitter_y)),
        total_x_(static_cast<std::uint32_t>(h.total_x)),
        total_y_(static_cast<std::uint32_t>(h.total_y)) {}

  // Offsets of the drawn point from the region's top-left corner, 0..W-1 and 0..H-1.
  template <bool kDrift>
  void draw(std::uint32_t& pos_rng, std::uint32_t& jitter_rng, std::int32_t& px,
            std::int32_t& py) const {
    const DrawPair p = lcg_next_two(pos_rng);
    std::uint32_t rx = p.first;
    std::uint32_t ry = p.second;
    if constexpr (kDrift) {
      const DrawPair j = lcg_next_two(jitter_rng);
      rx += jitter_x_(j.first) + total_x_;
      ry += jitter_y_(j.second) + total_y_;
    }
    px = static_cast<std::int32_t>(mod_w_(rx & 0x7FFFFFFFu));
    py = static_cast<std::int32_t>(mod_h_(ry & 0x7FFFFFFFu));
  }

 private:
  FastMod mod_w_, mod_h_, jitter_x_, jitter_y_;
  std::uint32_t total_x_, total_y_;
};

// Runs block(x, y, xe, ye) for count blocks that start at the drawn point and are cut off
// at the region's right and bottom edges.
template <bool kDrift, typename Block>
void scatter_blocks(const Area& a, const EffectHeader& h, std::int32_t count,
                    std::uint32_t& pos_rng, std::uint32_t& jitter_rng, Block block) {
  const Positions positions(a, h);
  const std::int32_t bw = at_least_one(h.block_w);
  const std::int32_t bh = at_least_one(h.block_h);
  // x + bw - 1 compared with x1 without overflow: the block is cut when it reaches past.
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t px;
    std::int32_t py;
    positions.draw<kDrift>(pos_rng, jitter_rng, px, py);
    const std::int32_t x = px + a.x0;
    const std::int32_t y = py + a.y0;
    const std::int32_t xe = (bw - 1 >= a.x1 - x) ? a.x1 : x + bw - 1;
    const std::int32_t ye = (bh - 1 >= a.y1 - y) ? a.y1 : y + bh - 1;
    block(x, y, xe, ye);
  }
}

template <typename Block>
void scatter_blocks(const Area& a, const EffectHeader& h, std::int32_t count,
                    std::uint32_t& pos_rng, std::uint32_t& jitter_rng, Block block) {
  if (h.drift != 0) {
    scatter_blocks<true>(a, h, count, pos_rng, jitter_rng, block);
  } else {
    scatter_blocks<false>(a, h, count, pos_rng, jitter_rng, block);
  }
}

// One axis of a moving block's offset for block index i.
class OffsetAxis {
 public:
  OffsetAxis(std::int32_t lo, std::int32_t hi, std::int32_t walk)
      : lo_(lo),
        hi_(hi),
        walk_(std::max(walk, 0)),
        varies_(static_cast<std::int64_t>(hi) - lo > 0),
        pick_(varies_ ? static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo) + 1u : 1u),
        step_(2u * static_cast<std::uint64_t>(std::max(walk, 0)) + 1u) {}

  bool varies() const { return varies_; }

  // A fresh offset in lo..hi.
  std::int32_t fresh(std::uint32_t& offset_rng) const {
    return static_cast<std::int32_t>(pick_(lcg_next(offset_rng)) + static_cast<std::int64_t>(lo_));
  }

  // The stored offset moved by at most walk, kept in lo..hi; stored back as 16 bits.
  std::int32_t walk(std::uint32_t& offset_rng, std::int16_t& stored) const {
    const std::int64_t v = static_cast<std::int64_t>(stored) + step_(lcg_next(offset_rng)) - walk_;
    const auto clamped = static_cast<std::int32_t>(v < lo_ ? lo_ : (v > hi_ ? hi_ : v));
    stored = static_cast<std::int16_t>(clamped);
    return clamped;
  }

  std::int32_t hi() const { return hi_; }

 private:
  std::int32_t lo_, hi_, walk_;
  bool varies_;
  FastMod pick_;
  FastMod step_;
};

}  // namespace

void run_mask_rects(Layer& layer, MaskRectParams& params) {
  const Area a = region_of(layer);
  const std::int32_t count =
      block_count(a, at_least_one(params.block_w), at_least_one(params.block_h), params.density);
  drift_preamble(params, params.pos_rng, params.seed);
  std::uint16_t* const work = layer.work;
  const std::int32_t stride = layer.width;
  const std::uint32_t mask = params.mask;
  scatter_blocks(a, params, count, params.pos_rng, params.jitter_rng,
                 [=](std::int32_t x, std::int32_t y, std::int32_t xe, std::int32_t ye) {
                   mask_block(work, x, y, xe, ye, stride, mask);
                 });
  if (params.blend_after != 0) layer.blend_source();
}

void run_remap_rects(Layer& layer, RemapParams& params) {
  const Area a = region_of(layer);
  const std::int32_t count =
      block_count(a, at_least_one(params.block_w), at_least_one(params.block_h), params.density);
  drift_preamble(params, params.pos_rng, params.seed);
  std::uint16_t* const work = layer.work;
  const std::uint16_t* const read = params.from_work != 0 ? layer.work : layer.source16;
  const std::int32_t stride = layer.width;
  const std::uint16_t* const table = params.table.get();
  if (params.block_w == 1 && params.block_h == 1) {
    // Single pixels: the commonest record, worth a loop without the block walk.
    scatter_blocks(a, params, count, params.pos_rng, params.jitter_rng,
                   [=](std::int32_t x, std::int32_t y, std::int32_t, std::int32_t) {
                     const std::int32_t at = y * stride + x;
                     work[at] = table[read[at]];
                   });
  } else {
    scatter_blocks(a, params, count, params.pos_rng, params.jitter_rng,
                   [=](std::int32_t x, std::int32_t y, std::int32_t xe, std::int32_t ye) {
                     remap_block(work, x, y, stride, read, x, y, xe, ye, stride, table);
                   });
  }
  if (params.blend_after != 0) layer.blend_source();
}

namespace {

// Draws one moving block of the frame; returns without drawing when its offset is zero or
// its source lies outside the region.
template <bool kDrift>
void move_blocks(Layer& layer, MovingBlockParams& m, std::int32_t count) {
  const Area a = region_of(layer);
  const Positions positions(a, m);
  const OffsetAxis ax(m.dx_min, m.dx_max, m.walk_x);
  const OffsetAxis ay(m.dy_min, m.dy_max, m.walk_y);
  const std::int64_t bw = at_least_one(m.block_w);
  const std::int64_t bh = at_least_one(m.block_h);
  const std::int32_t mode = m.offset_mode;
  const bool fresh = mode == 0 || mode == 1;
  const bool walking = mode >= 2;
  const std::int32_t stride = layer.width;
  std::uint16_t* const work = layer.work;
  std::uint16_t* const scratch = layer.scratch;
  const std::uint16_t* const source = layer.source16;

  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t dx = ax.hi();
    std::int32_t dy = ay.hi();
    const bool stored = walking && i < m.offset_count;
    if (ax.varies()) {
      if (fresh) {
        dx = ax.fresh(m.offset_rng);
      } else if (stored) {
        dx = ax.walk(m.offset_rng, m.offsets_x[static_cast<std::size_t>(i)]);
      }
    }
    if (ay.varies()) {
      if (fresh) {
        dy = ay.fresh(m.offset_rng);
      } else if (stored) {
        dy = ay.walk(m.offset_rng, m.offsets_y[static_cast<std::size_t>(i)]);
      }
    }
    if (dx == 0 && dy == 0) continue;

    std::int32_t px;
    std::int32_t py;
    positions.draw<kDrift>(m.pos_rng, m.jitter_rng, px, py);
    // The block is centred on the drawn point, then cut to the region.
    std::int64_t x = px - bw / 2 + a.x0;
    std::int64_t y = py - bh / 2 + a.y0;
    std::int64_t xe = std::min<std::int64_t>(x + bw - 1, a.x1);
    std::int64_t ye = std::min<std::int64_t>(y + bh - 1, a.y1);
    x = std::max<std::int64_t>(x, a.x0);
    y = std::max<std::int64_t>(y, a.y0);

    // The source is the block displaced by the offset, clipped to the region; clipping its
    // start moves the destination's start by the same amount.
    std::int64_t sx = x + dx;
    std::int64_t sxe = xe + dx;
    std::int64_t sy = y + dy;
    std::int64_t sye = ye + dy;
    if (dx > 0) {
      if (sx > a.x1) continue;
      sxe = std::min<std::int64_t>(sxe, a.x1);
    } else if (dx < 0) {
      if (sxe < a.x0) continue;
      if (sx < a.x0) {
        x += a.x0 - sx;
        sx = a.x0;
      }
    }
    if (dy > 0) {
      if (sy > a.y1) continue;
      sye = std::min<std::int64_t>(sye, a.y1);
    } else if (dy < 0) {
      if (sye < a.y0) continue;
      if (sy < a.y0) {
        y += a.y0 - sy;
        sy = a.y0;
      }
    }

    // Everything now lies inside the region, so 32 bits hold it.
    const auto ix = static_cast<std::int32_t>(x);
    const auto iy = static_cast<std::int32_t>(y);
    const auto isx = static_cast<std::int32_t>(sx);
    const auto isy = static_cast<std::int32_t>(sy);
    const auto isxe = static_cast<std::int32_t>(sxe);
    const auto isye = static_cast<std::int32_t>(sye);
    const std::uint16_t* from = nullptr;
    switch (m.source) {
      case 0:
        from = source;
        break;
      case 1:
        from = work;
        break;
      case 2:
        // Taken out first, so the block moves without smearing.
        copy_block(scratch, isx, isy, work, isx, isy, isxe, isye, stride);
        from = scratch;
        break;
      default:
        continue;
    }
    if (m.blend == 0) {
      copy_block(work, ix, iy, from, isx, isy, isxe, isye, stride);
    } else {
      blend_block(work, ix, iy, stride, from, isx, isy, isxe, isye, stride, layer.halve_mask,
                  layer.low_bit_mask);
    }
  }
}

}  // namespace

void run_moving_blocks(Layer& layer, MovingBlockParams& params) {
  const Area a = region_of(layer);
  const std::int32_t count =
      block_count(a, at_least_one(params.block_w), at_least_one(params.block_h), params.density);
  if (params.offset_mode == 2 && count > params.offset_count) params.resize_offsets(count);
  drift_preamble(params, params.pos_rng, params.seed);
  if (params.offset_mode == 1) params.offset_rng = params.offset_seed;
  if (params.drift != 0) {
    move_blocks<true>(layer, params, count);
  } else {
    move_blocks<false>(layer, params, count);
  }
  if (params.blend_after != 0) layer.blend_source();
}

}  // namespace engine
