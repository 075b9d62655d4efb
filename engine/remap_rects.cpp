// Effect kinds 2 and 3: remapped blocks at drawn positions, cut off at the region's right and
// bottom edges. A batch of positions becomes a batch of pixel indices first. And the record's
// assignment and colour table.
#include "engine/remap_rects.h"

#include <algorithm>

#include "engine/block_positions.h"
#include "engine/restore_source.h"

namespace engine {

namespace {

// xs[i] = ys[i] * stride + xs[i] + corner, for i < n: the pixel index of each point.
MQ_BATCH_CLONES void to_indices(std::uint32_t* xs, const std::uint32_t* ys, std::uint32_t stride,
                                std::uint32_t corner, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) xs[i] = ys[i] * stride + xs[i] + corner;
}

// out[i] = min(reach, limit - at[i]) + 1 for i < n, all at[i] <= limit: a block's extent
// along one axis, cut off at the region's far edge.
MQ_BATCH_CLONES void block_extents(const std::uint32_t* at, std::uint32_t limit,
                                   std::uint32_t reach, std::int32_t n, std::uint32_t* out) {
  for (std::int32_t i = 0; i < n; ++i) out[i] = std::min(reach, limit - at[i]) + 1u;
}

// The blocks of a batch are remapped in order, each row left to right and rows top to
// bottom, so a pixel that two blocks share is remapped twice when they read the working frame.
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

void RemapParams::assign(const RemapParams* other) {
  if (other != nullptr) {
    *this = *other;  // a table of the same size is copied into this record's own storage
  } else {
    *this = RemapParams{};
  }
  raise_block_size();
}

void RemapParams::build_remap_table(const display::PixelLayout& pf) {
  for (std::uint32_t p = 0; p < kRemapTableSize; ++p) {
    const display::Rgb c = pf.unpack(p);
    table[p] = pf.pack(std::clamp(c.r + add_r, 0, 255), std::clamp(c.g + add_g, 0, 255),
                       std::clamp(c.b + add_b, 0, 255));
  }
}

void run_remap_rects(const EffectView& view, RemapParams& params) {
  const Area a = region_of(view);
  const std::int32_t count = block_count(a, params);
  drift_preamble(params, params.pos_rng, params.seed);
  std::uint16_t* const work = view.frames.work;
  const std::uint16_t* const read = params.from_work ? view.frames.work : view.frames.source16;
  const std::int32_t stride = view.frames.width;
  const std::uint16_t* const table = params.table.data();
  if (params.block_w == 1 && params.block_h == 1) {
    // Single pixels: the commonest record, worth a loop without the block walk.
    if (params.drift) {
      remap_points<true, true>(a, params, count, work, read, stride, table);
    } else {
      remap_points<false, true>(a, params, count, work, read, stride, table);
    }
  } else if (params.drift) {
    remap_points<true, false>(a, params, count, work, read, stride, table);
  } else {
    remap_points<false, false>(a, params, count, work, read, stride, table);
  }
  if (params.blend_after) blend_source(view);
}

}  // namespace engine
