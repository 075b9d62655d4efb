// Effect kind 1: masked blocks at drawn positions, cut off at the region's right and bottom
// edges.
#include "engine/mask_rects.h"

#include "engine/block_ops.h"
#include "engine/block_positions.h"
#include "engine/restore_source.h"

namespace engine {

namespace {

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
  if (h.drift) {
    scatter_blocks<true>(a, h, count, pos_rng, jitter_rng, block, touch);
  } else {
    scatter_blocks<false>(a, h, count, pos_rng, jitter_rng, block, touch);
  }
}

// Asks for the cache line of pixel (x, y) of the working frame, to be written.
inline void prefetch_write(const std::uint16_t* buf, std::int32_t stride, std::int32_t x,
                           std::int32_t y) {
  __builtin_prefetch(buf + (y * stride + x), 1);
}

}  // namespace

void run_mask_rects(const EffectView& view, MaskRectParams& params) {
  const Area a = region_of(view);
  const std::int32_t count = block_count(a, params);
  drift_preamble(params, params.pos_rng, params.seed);
  std::uint16_t* const work = view.frames.work;
  const std::int32_t stride = view.frames.width;
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
  if (params.blend_after) blend_source(view);
}

}  // namespace engine
