// The region restores a layer's frame begins with, and the blend an effect may end with.
#include "engine/restore_source.h"

#include <cstddef>
#include <cstring>

#include "engine/block_ops.h"

namespace engine {

void copy_source(const EffectView& view) {
  const LayerFrames& f = view.frames;
  const Region& r = view.region;
  if (f.source16 == f.work) return;
  if (r.x0 == 0 && r.x1 == f.width - 1) {
    // Whole rows lie one after another: one move for the region.
    const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(r.y0) * f.width;
    std::memmove(
        f.work + at, f.source16 + at,
        static_cast<std::size_t>(r.y1 - r.y0 + 1) * static_cast<std::size_t>(f.width) * 2u);
    return;
  }
  copy_block(f.work, r.x0, r.y0, f.source16, r.x0, r.y0, r.x1, r.y1, f.width);
}

void blend_source(const EffectView& view) {
  const LayerFrames& f = view.frames;
  const Region& r = view.region;
  if (f.source16 == f.work) return;
  blend_block(f.work, r.x0, r.y0, f.width, f.source16, r.x0, r.y0, r.x1, r.y1, f.width,
              view.blend.halve, view.blend.low_bit);
}

}  // namespace engine
