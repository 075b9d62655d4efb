// The effect runs: how many blocks a frame gets, where they fall (a generator that runs on,
// or a pattern that repeats and drifts) and what each block does to the working frame.
// Every 32-bit signed sum here wraps; it is done in unsigned arithmetic to stay defined.
#include "engine/effects.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/block_ops.h"
#include "engine/fast_mod.h"
#include "engine/lcg_jump.h"

namespace engine {

namespace {

// xs[i] = ys[i] * stride + xs[i] + corner, for i < n: the pixel index of each point.
MQ_BATCH_CLONES void to_indices(std::uint32_t* xs, const std::uint32_t* ys, std::uint32_t stride,
                                std::uint32_t corner, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) xs[i] = ys[i] * stride + xs[i] + corner;
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

  // The same for the next n blocks (1 <= n <= kBatch), into xs and ys.
  template <bool kDrift>
  void draw_many(std::uint32_t& pos_rng, std::uint32_t& jitter_rng, std::int32_t n,
                 std::uint32_t* xs, std::uint32_t* ys) const {
    if constexpr (kDrift) {
      if (jitter_x_.is_mask() && jitter_y_.is_mask()) {
        draw_drifting<true>(pos_rng, jitter_rng, n, xs, ys);
      } else {
        draw_drifting<false>(pos_rng, jitter_rng, n, xs, ys);
      }
      jitter_rng = after_batch(jitter_rng, n);
    } else {
      draw_plain(pos_rng, n, xs, ys);
    }
    pos_rng = after_batch(pos_rng, n);
  }

 private:
  MQ_BATCH_CLONES void draw_plain(std::uint32_t s, std::int32_t n, std::uint32_t* xs,
                                  std::uint32_t* ys) const {
    for (std::int32_t i = 0; i < n; ++i) {
      xs[i] = mod_w_.reduce(batch_draw_x(s, i));
      ys[i] = mod_h_.reduce(batch_draw_y(s, i));
    }
  }

  template <bool kMasks>
  MQ_BATCH_CLONES void draw_drifting(std::uint32_t s, std::uint32_t j, std::int32_t n,
                                     std::uint32_t* xs, std::uint32_t* ys) const {
    for (std::int32_t i = 0; i < n; ++i) {
      const std::uint32_t draw_x = batch_draw_x(j, i);
      const std::uint32_t draw_y = batch_draw_y(j, i);
      const std::uint32_t jx = kMasks ? draw_x & jitter_x_.mask() : jitter_x_.reduce(draw_x);
      const std::uint32_t jy = kMasks ? draw_y & jitter_y_.mask() : jitter_y_.reduce(draw_y);
      const std::uint32_t rx = batch_draw_x(s, i);
      const std::uint32_t ry = batch_draw_y(s, i);
      xs[i] = mod_w_.reduce((rx + jx + total_x_) & 0x7FFFFFFFu);
      ys[i] = mod_h_.reduce((ry + jy + total_y_) & 0x7FFFFFFFu);
    }
  }

  FastMod mod_w_, mod_h_, jitter_x_, jitter_y_;
  std::uint32_t total_x_, total_y_;
};

// Blocks ahead whose memory is requested before they are drawn: the blocks fall at random
// places in frames larger than the cache, so their loads are best started early.
constexpr std::int32_t kPrefetchAhead = 12;

// Runs block(x, y, xe, ye) for count blocks that start at the drawn point and are cut off
// at the region's right and bottom edges; touch(x, y, ye) announces the block's first pixel
// in its top and bottom rows.
template <bool kDrift, typename Block, typename Touch>
void scatter_blocks(const Area& a, const EffectHeader& h, std::int32_t count,
                    std::uint32_t& pos_rng, std::uint32_t& jitter_rng, Block block, Touch touch) {
  const Positions positions(a, h);
  // The last column and row a block may reach: x + bw - 1 without overflow.
  const std::int32_t reach_x = at_least_one(h.block_w) - 1;
  const std::int32_t reach_y = at_least_one(h.block_h) - 1;
  std::uint32_t xs[kBatch];
  std::uint32_t ys[kBatch];
  for (std::int32_t done = 0; done < count;) {
    const std::int32_t n = std::min(kBatch, count - done);
    positions.draw_many<kDrift>(pos_rng, jitter_rng, n, xs, ys);
    const auto touch_at = [&](std::int32_t i) {
      const std::int32_t y = static_cast<std::int32_t>(ys[i]) + a.y0;
      touch(static_cast<std::int32_t>(xs[i]) + a.x0, y, reach_y >= a.y1 - y ? a.y1 : y + reach_y);
    };
    for (std::int32_t i = 0; i < std::min(n, kPrefetchAhead); ++i) touch_at(i);
    for (std::int32_t i = 0; i < n; ++i) {
      if (i + kPrefetchAhead < n) touch_at(i + kPrefetchAhead);
      const std::int32_t x = static_cast<std::int32_t>(xs[i]) + a.x0;
      const std::int32_t y = static_cast<std::int32_t>(ys[i]) + a.y0;
      const std::int32_t xe = reach_x >= a.x1 - x ? a.x1 : x + reach_x;
      const std::int32_t ye = reach_y >= a.y1 - y ? a.y1 : y + reach_y;
      block(x, y, xe, ye);
    }
    done += n;
  }
}

template <typename Block, typename Touch>
void scatter_blocks(const Area& a, const EffectHeader& h, std::int32_t count,
                    std::uint32_t& pos_rng, std::uint32_t& jitter_rng, Block block, Touch touch) {
  if (h.drift != 0) {
    scatter_blocks<true>(a, h, count, pos_rng, jitter_rng, block, touch);
  } else {
    scatter_blocks<false>(a, h, count, pos_rng, jitter_rng, block, touch);
  }
}

// Asks for the cache line of pixel (x, y), to be written (the working frame) or only read.
inline void prefetch_write(const std::uint16_t* buf, std::int32_t stride, std::int32_t x,
                           std::int32_t y) {
  __builtin_prefetch(buf + (y * stride + x), 1);
}
inline void prefetch_read(const std::uint16_t* buf, std::int32_t stride, std::int32_t x,
                          std::int32_t y) {
  __builtin_prefetch(buf + (y * stride + x), 0);
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

  // The fresh offset that a draw gives: draw mod (hi - lo + 1) + lo, which lies in lo..hi
  // (the sum is taken in wrapping 32-bit arithmetic, which gives it exactly).
  std::int32_t pick(std::uint32_t draw) const {
    return static_cast<std::int32_t>(pick_.reduce(draw) + static_cast<std::uint32_t>(lo_));
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

// Fresh offsets of the next n blocks (1 <= n <= kBatch): block i's dx and dy come from the
// offset generator's draws 2i + 1 and 2i + 2, as if drawn one after the other; the generator
// moves on by 2n steps.
MQ_BATCH_CLONES void fresh_offsets(const OffsetAxis& ax, const OffsetAxis& ay,
                                   std::uint32_t& offset_rng, std::int32_t n, std::int32_t* dxs,
                                   std::int32_t* dys) {
  const std::uint32_t s = offset_rng;
  for (std::int32_t i = 0; i < n; ++i) {
    dxs[i] = ax.pick(batch_draw_x(s, i));
    dys[i] = ay.pick(batch_draw_y(s, i));
  }
  offset_rng = after_batch(s, n);
}

// out[i] = min(reach, limit - at[i]) + 1 for i < n, all at[i] <= limit: a block's extent
// along one axis, cut off at the region's far edge.
MQ_BATCH_CLONES void block_extents(const std::uint32_t* at, std::uint32_t limit,
                                   std::uint32_t reach, std::int32_t n, std::uint32_t* out) {
  for (std::int32_t i = 0; i < n; ++i) out[i] = std::min(reach, limit - at[i]) + 1u;
}

// Remaps: a batch of positions becomes a batch of pixel indices (and, for blocks larger
// than a pixel, of extents) first, then the blocks are remapped in order, each row left to
// right and rows top to bottom, as remap_block does (a pixel may be hit twice).
template <bool kDrift, bool kPoint>
void remap_points(const Area& a, RemapParams& h, std::int32_t count, std::uint16_t* work,
                  const std::uint16_t* read, std::int32_t stride, const std::uint16_t* table) {
  const Positions positions(a, h);
  const std::uint32_t ustride = static_cast<std::uint32_t>(stride);
  // The region's top-left pixel; every index below lies inside the region.
  const std::uint32_t corner =
      static_cast<std::uint32_t>(a.y0) * ustride + static_cast<std::uint32_t>(a.x0);
  const auto reach_x = static_cast<std::uint32_t>(at_least_one(h.block_w) - 1);
  const auto reach_y = static_cast<std::uint32_t>(at_least_one(h.block_h) - 1);
  const auto last_x = static_cast<std::uint32_t>(a.w - 1);
  const auto last_y = static_cast<std::uint32_t>(a.h - 1);
  std::uint32_t xs[kBatch];
  std::uint32_t ys[kBatch];
  std::uint32_t cols[kBatch];
  std::uint32_t rows[kBatch];
  for (std::int32_t done = 0; done < count;) {
    const std::int32_t n = std::min(kBatch, count - done);
    positions.draw_many<kDrift>(h.pos_rng, h.jitter_rng, n, xs, ys);
    if constexpr (kPoint) {
      to_indices(xs, ys, ustride, corner, n);
      for (std::int32_t i = 0; i < n; ++i) {
        const std::uint32_t at = xs[i];
        work[at] = table[read[at]];
      }
    } else {
      block_extents(xs, last_x, reach_x, n, cols);
      block_extents(ys, last_y, reach_y, n, rows);
      to_indices(xs, ys, ustride, corner, n);
      for (std::int32_t i = 0; i < n; ++i) {
        std::uint32_t at = xs[i];
        if (cols[i] == 2 && rows[i] == 2) {
          // The commonest small block, without the loops. Each pixel is read before it is
          // written and no pixel twice, so reading all four first changes nothing.
          const std::uint32_t below = at + ustride;
          const std::uint16_t top_left = table[read[at]];
          const std::uint16_t top_right = table[read[at + 1]];
          const std::uint16_t bottom_left = table[read[below]];
          const std::uint16_t bottom_right = table[read[below + 1]];
          work[at] = top_left;
          work[at + 1] = top_right;
          work[below] = bottom_left;
          work[below + 1] = bottom_right;
          continue;
        }
        for (std::uint32_t r = 0; r < rows[i]; ++r) {
          for (std::uint32_t c = 0; c < cols[i]; ++c) work[at + c] = table[read[at + c]];
          at += ustride;
        }
      }
    }
    done += n;
  }
}

}  // namespace

void run_mask_rects(Layer& layer, MaskRectParams& params) {
  const Area a = region_of(layer);
  const std::int32_t count =
      block_count(a, at_least_one(params.block_w), at_least_one(params.block_h), params.density);
  drift_preamble(params, params.pos_rng, params.seed);
  std::uint16_t* const work = layer.work;
  const std::int32_t stride = layer.width;
  const std::uint32_t mask = params.mask;
  scatter_blocks(
      a, params, count, params.pos_rng, params.jitter_rng,
      [=](std::int32_t x, std::int32_t y, std::int32_t xe, std::int32_t ye) {
        mask_block(work, x, y, xe, ye, stride, mask);
      },
      [=](std::int32_t x, std::int32_t y, std::int32_t ye) {
        prefetch_write(work, stride, x, y);
        if (ye != y) prefetch_write(work, stride, x, ye);
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
    if (params.drift != 0) {
      remap_points<true, true>(a, params, count, work, read, stride, table);
    } else {
      remap_points<false, true>(a, params, count, work, read, stride, table);
    }
  } else if (params.drift != 0) {
    remap_points<true, false>(a, params, count, work, read, stride, table);
  } else {
    remap_points<false, false>(a, params, count, work, read, stride, table);
  }
  if (params.blend_after != 0) layer.blend_source();
}

namespace {

// Moving blocks after clipping: the pixel index of the destination's and of the source's
// top-left corner, the clipped size, and whether drawn (rows 0 when not).
struct MovedBlocks {
  std::uint32_t to[kBatch], from[kBatch], cols[kBatch], rows[kBatch];
};

// The block size, the region and the row stride, in a type that holds every sum below:
// 64 bits in general, 32 bits when the numbers are known to be small (see small_frame).
template <typename Int>
struct BlockFrame {
  Int half_w, half_h, reach_w, reach_h, x0, x1, y0, y1, stride;
};

// The offsets of block i, drawn one at a time: dx first, then dy.
void offsets_of(MovingBlockParams& m, const OffsetAxis& ax, const OffsetAxis& ay, std::int32_t i,
                std::int32_t& dx, std::int32_t& dy) {
  const std::int32_t mode = m.offset_mode;
  const bool fresh = mode == 0 || mode == 1;
  const bool stored = mode >= 2 && i < m.offset_count;
  dx = ax.hi();
  dy = ay.hi();
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
}

// Clips n blocks drawn at (xs[k], ys[k]) with offsets (dxs[k], dys[k]) into out; a block is
// not drawn when its source falls outside the region.
// Written without data-dependent branches: offsets and positions are random, so branches on
// them would be mispredicted about every other block.
template <typename Int>
MQ_BATCH_CLONES void place_blocks(const BlockFrame<Int>& f, const std::uint32_t* xs,
                                  const std::uint32_t* ys, const std::int32_t* dxs,
                                  const std::int32_t* dys, std::int32_t n, MovedBlocks& out) {
  for (std::int32_t k = 0; k < n; ++k) {
    const Int dx = dxs[k];
    const Int dy = dys[k];
    // The block is centred on the drawn point, then cut to the region.
    Int x = static_cast<Int>(xs[k]) - f.half_w + f.x0;
    Int y = static_cast<Int>(ys[k]) - f.half_h + f.y0;
    const Int xe = std::min<Int>(x + f.reach_w, f.x1);
    const Int ye = std::min<Int>(y + f.reach_h, f.y1);
    x = std::max<Int>(x, f.x0);
    y = std::max<Int>(y, f.y0);

    // The source is the block displaced by the offset, clipped to the region; clipping its
    // start moves the destination's start by the same amount. The destination lies inside
    // the region, so a positive offset can only push the source past the right (bottom) edge
    // and a negative one past the left (top) edge: each test below is a no-op for the other
    // sign and for zero, and needs no branch on the sign.
    Int sx = x + dx;
    Int sxe = xe + dx;
    Int sy = y + dy;
    Int sye = ye + dy;
    const bool outside = sx > f.x1 || sxe < f.x0 || sy > f.y1 || sye < f.y0;
    sxe = std::min<Int>(sxe, f.x1);
    sye = std::min<Int>(sye, f.y1);
    const Int cut_x = std::max<Int>(f.x0 - sx, 0);
    const Int cut_y = std::max<Int>(f.y0 - sy, 0);
    x += cut_x;
    sx += cut_x;
    y += cut_y;
    sy += cut_y;
    // Both rectangles lie inside the region whenever the block is drawn, so 32 bits hold
    // their indices; the numbers of a block not drawn are not used.
    out.to[k] = static_cast<std::uint32_t>(y * f.stride + x);
    out.from[k] = static_cast<std::uint32_t>(sy * f.stride + sx);
    out.cols[k] = static_cast<std::uint32_t>(sxe - sx + 1);
    out.rows[k] = outside ? 0u : static_cast<std::uint32_t>(sye - sy + 1);
  }
}

// Whether every number place_blocks forms fits 32 bits: coordinates lie within the region
// widened by the largest offset and the block, and pixel indices within that many rows.
bool small_frame(const Area& a, std::int32_t stride, std::int64_t bw, std::int64_t bh,
                 const MovingBlockParams& m) {
  const auto widest = [](std::int32_t lo, std::int32_t hi) {
    return std::max(std::abs(static_cast<std::int64_t>(lo)),
                    std::abs(static_cast<std::int64_t>(hi)));
  };
  const std::int64_t off_x = widest(m.dx_min, m.dx_max);
  const std::int64_t off_y = widest(m.dy_min, m.dy_max);
  if (off_x > (1 << 20) || off_y > (1 << 20) || bw > 0xFFFF || bh > 0xFFFF) return false;
  const std::int64_t far_x = a.x1 + off_x + bw;
  const std::int64_t far_y = a.y1 + off_y + bh;
  return far_y * stride + far_x < 0x7FFFFFFF;
}

// Draws the placed blocks 0..n-1 in order, asking for the memory of the blocks ahead.
void draw_moved(const Layer& layer, const MovingBlockParams& m, const std::uint16_t* from,
                const MovedBlocks& b, std::int32_t n) {
  const std::int32_t stride = layer.width;
  std::uint16_t* const work = layer.work;
  for (std::int32_t k = 0; k < n; ++k) {
    const std::int32_t ahead = k + kPrefetchAhead;
    if (ahead < n && b.rows[ahead] != 0) {
      const std::uint32_t last_row = (b.rows[ahead] - 1u) * static_cast<std::uint32_t>(stride);
      __builtin_prefetch(from + b.from[ahead], 0);
      __builtin_prefetch(work + b.to[ahead], 1);
      __builtin_prefetch(from + b.from[ahead] + last_row, 0);
      __builtin_prefetch(work + b.to[ahead] + last_row, 1);
    }
    // Blocks whose source lies outside the region are rare (only near its edges).
    if (b.rows[k] == 0) continue;
    // The block routines walk rectangles given from these corners on.
    const auto last_col = static_cast<std::int32_t>(b.cols[k] - 1u);
    const auto last_row = static_cast<std::int32_t>(b.rows[k] - 1u);
    const std::uint16_t* read = from;
    if (m.source == 2) {
      // Taken out into the scratch frame first, so the block moves without smearing.
      copy_block(layer.scratch + b.from[k], 0, 0, work + b.from[k], 0, 0, last_col, last_row,
                 stride);
      read = layer.scratch;
    }
    if (m.blend == 0) {
      copy_block(work + b.to[k], 0, 0, read + b.from[k], 0, 0, last_col, last_row, stride);
    } else {
      blend_block(work + b.to[k], 0, 0, stride, read + b.from[k], 0, 0, last_col, last_row, stride,
                  layer.halve_mask, layer.low_bit_mask);
    }
  }
}

// Places a batch of blocks first (the generators do not depend on pixels), then draws them.
template <bool kDrift>
void move_blocks(Layer& layer, MovingBlockParams& m, std::int32_t count) {
  const Area a = region_of(layer);
  const Positions positions(a, m);
  const OffsetAxis ax(m.dx_min, m.dx_max, m.walk_x);
  const OffsetAxis ay(m.dy_min, m.dy_max, m.walk_y);
  const std::int32_t stride = layer.width;
  const std::uint16_t* from = nullptr;
  switch (m.source) {
    case 0:
      from = layer.source16;
      break;
    case 1:
    case 2:
      from = layer.work;
      break;
    default:
      break;  // nothing is drawn, but offsets and positions are still drawn
  }
  const bool both_fresh = (m.offset_mode == 0 || m.offset_mode == 1) && ax.varies() && ay.varies();
  MovedBlocks blocks;
  const std::int64_t bw = at_least_one(m.block_w);
  const std::int64_t bh = at_least_one(m.block_h);
  const BlockFrame<std::int64_t> wide{bw / 2, bh / 2, bw - 1, bh - 1, a.x0,
                                      a.x1,   a.y0,   a.y1,   stride};
  const bool small = small_frame(a, stride, bw, bh, m);
  const BlockFrame<std::int32_t> narrow{static_cast<std::int32_t>(bw / 2),
                                        static_cast<std::int32_t>(bh / 2),
                                        static_cast<std::int32_t>(small ? bw - 1 : 0),
                                        static_cast<std::int32_t>(small ? bh - 1 : 0),
                                        a.x0,
                                        a.x1,
                                        a.y0,
                                        a.y1,
                                        stride};
  for (std::int32_t done = 0; done < count;) {
    const std::int32_t n = std::min(kBatch, count - done);
    std::int32_t dxs[kBatch];
    std::int32_t dys[kBatch];
    if (both_fresh) {
      fresh_offsets(ax, ay, m.offset_rng, n, dxs, dys);
    } else {
      for (std::int32_t j = 0; j < n; ++j) offsets_of(m, ax, ay, done + j, dxs[j], dys[j]);
    }
    // A block with no offset draws no position: the generators keep their states. The
    // blocks that move are listed first, so their positions are drawn together.
    std::int32_t moving_dx[kBatch];
    std::int32_t moving_dy[kBatch];
    std::int32_t moved = 0;
    for (std::int32_t j = 0; j < n; ++j) {
      moving_dx[moved] = dxs[j];
      moving_dy[moved] = dys[j];
      moved += (dxs[j] | dys[j]) != 0 ? 1 : 0;
    }
    done += n;
    if (moved == 0) continue;
    std::uint32_t xs[kBatch];
    std::uint32_t ys[kBatch];
    positions.draw_many<kDrift>(m.pos_rng, m.jitter_rng, moved, xs, ys);
    if (from == nullptr) continue;
    if (small) {
      place_blocks(narrow, xs, ys, moving_dx, moving_dy, moved, blocks);
    } else {
      place_blocks(wide, xs, ys, moving_dx, moving_dy, moved, blocks);
    }
    draw_moved(layer, m, from, blocks, moved);
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
