// Effect kinds 4 and 5: blocks filled from a displaced piece of picture, the displacement
// fresh, repeated or a random walk. A batch of blocks is placed and clipped first, then drawn.
// And the record's assignment and offset arrays.
#include "engine/moving_blocks.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "engine/block_ops.h"
#include "engine/block_positions.h"
#include "engine/restore_source.h"

namespace engine {

namespace {

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

  // The fresh offset that a draw (below 2^16) gives: draw mod (hi - lo + 1) + lo, which lies in
  // lo..hi (the sum is taken in wrapping 32-bit arithmetic, which gives it exactly).
  std::int32_t pick(std::uint32_t draw) const {
    return static_cast<std::int32_t>(pick_.reduce_draw(draw) + static_cast<std::uint32_t>(lo_));
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
  // Copies: the stores through dxs and dys would make the loop read the axes again.
  const OffsetAxis x_axis = ax;
  const OffsetAxis y_axis = ay;
  MQ_BATCH_INTERLEAVE
  for (std::int32_t i = 0; i < n; ++i) {
    dxs[i] = x_axis.pick(batch_draw_x(s, i));
    dys[i] = y_axis.pick(batch_draw_y(s, i));
  }
  offset_rng = after_batch(s, n);
}

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
  const bool fresh = mode == kOffsetsFresh || mode == kOffsetsRepeated;
  const bool stored = mode >= kOffsetsWalk && i < m.offset_count();
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
MQ_BATCH_CLONES void place_blocks(const BlockFrame<Int>& frame, const std::uint32_t* xs,
                                  const std::uint32_t* ys, const std::int32_t* dxs,
                                  const std::int32_t* dys, std::int32_t n, MovedBlocks& out) {
  const BlockFrame<Int> f = frame;  // a copy, which the stores through out cannot change
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
void draw_moved(const EffectView& view, const MovingBlockParams& m, const std::uint16_t* from,
                const MovedBlocks& b, std::int32_t n) {
  const std::int32_t stride = view.frames.width;
  std::uint16_t* const work = view.frames.work;
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
    if (m.source == kFromWorkingFrameViaScratch) {
      // Taken out into the scratch frame first, so the block moves without smearing.
      copy_block(view.frames.scratch + b.from[k], 0, 0, work + b.from[k], 0, 0, last_col, last_row,
                 stride);
      read = view.frames.scratch;
    }
    if (!m.blend) {
      copy_block(work + b.to[k], 0, 0, read + b.from[k], 0, 0, last_col, last_row, stride);
    } else {
      blend_block(work + b.to[k], 0, 0, stride, read + b.from[k], 0, 0, last_col, last_row, stride,
                  view.blend.halve, view.blend.low_bit);
    }
  }
}

// Places a batch of blocks first (the generators do not depend on pixels), then draws them.
template <bool kDrift>
void move_blocks(const EffectView& view, MovingBlockParams& m, std::int32_t count) {
  const Area a = region_of(view);
  const Positions positions(a, m);
  const OffsetAxis ax(m.dx_min, m.dx_max, m.walk_x);
  const OffsetAxis ay(m.dy_min, m.dy_max, m.walk_y);
  const std::int32_t stride = view.frames.width;
  const std::uint16_t* from = nullptr;
  switch (m.source) {
    case kFromSourcePicture:
      from = view.frames.source16;
      break;
    case kFromWorkingFrame:
    case kFromWorkingFrameViaScratch:
      from = view.frames.work;
      break;
    default:
      break;  // nothing is drawn, but offsets and positions are still drawn
  }
  const bool both_fresh = (m.offset_mode == kOffsetsFresh || m.offset_mode == kOffsetsRepeated) &&
                          ax.varies() && ay.varies();
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
    draw_moved(view, m, from, blocks, moved);
  }
}

}  // namespace

void MovingBlockParams::assign(const MovingBlockParams* other) {
  std::vector<std::int16_t> own_x = std::move(offsets_x);
  std::vector<std::int16_t> own_y = std::move(offsets_y);
  if (other != nullptr) {
    *this = *other;
  } else {
    *this = MovingBlockParams{};
  }
  offsets_x = std::move(own_x);
  offsets_y = std::move(own_y);
  raise_block_size();
}

void MovingBlockParams::resize_offsets(std::int32_t n) {
  if (n < 0) {
    clear_offsets();
    return;
  }
  offsets_x.assign(static_cast<std::size_t>(n), 0);
  offsets_y.assign(static_cast<std::size_t>(n), 0);
}

void MovingBlockParams::clear_offsets() {
  std::fill(offsets_x.begin(), offsets_x.end(), std::int16_t{0});
  std::fill(offsets_y.begin(), offsets_y.end(), std::int16_t{0});
}

void run_moving_blocks(const EffectView& view, MovingBlockParams& params) {
  const Area a = region_of(view);
  const std::int32_t count = block_count(a, params);
  if (params.offset_mode == kOffsetsWalk && count > params.offset_count()) {
    params.resize_offsets(count);
  }
  drift_preamble(params, params.pos_rng, params.seed);
  if (params.offset_mode == kOffsetsRepeated) params.offset_rng = params.offset_seed;
  if (params.drift) {
    move_blocks<true>(view, params, count);
  } else {
    move_blocks<false>(view, params, count);
  }
  if (params.blend_after) blend_source(view);
}

}  // namespace engine
