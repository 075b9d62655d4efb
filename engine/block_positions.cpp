// Block counts, the drift preamble and the batched position draws.
#include "engine/block_positions.h"

namespace engine {

namespace {

// A negative range would make the remainder's divisor 0 or negative; it counts as 0.
std::uint64_t range_divisor(std::int32_t range) {
  return static_cast<std::uint64_t>(std::max(range, 0)) + 1u;
}

}  // namespace

// The block area is taken without overflow (a block larger than the region gives 0); the
// product with the density wraps like the 32-bit arithmetic it stands for.
std::int32_t block_count(const Area& a, const EffectHeader& h) {
  const std::int64_t area = static_cast<std::int64_t>(a.w) * a.h;
  const std::int64_t block = static_cast<std::int64_t>(at_least_one(h.block_w)) *
                             static_cast<std::int64_t>(at_least_one(h.block_h));
  const auto tiles = static_cast<std::uint32_t>(area / block);
  const auto product = static_cast<std::int32_t>(tiles * static_cast<std::uint32_t>(h.density));
  return product / 1000;
}

void drift_preamble(EffectHeader& h, std::uint32_t& pos_rng, std::uint32_t seed) {
  if (!h.drift) return;
  pos_rng = seed;
  h.total_x = static_cast<std::int32_t>(static_cast<std::uint32_t>(h.total_x) +
                                        static_cast<std::uint32_t>(h.step_x));
  h.total_y = static_cast<std::int32_t>(static_cast<std::uint32_t>(h.total_y) +
                                        static_cast<std::uint32_t>(h.step_y));
}

Positions::Positions(const Area& a, const EffectHeader& h)
    : mod_w_(static_cast<std::uint64_t>(a.w)),
      mod_h_(static_cast<std::uint64_t>(a.h)),
      jitter_x_(range_divisor(h.jitter_x)),
      jitter_y_(range_divisor(h.jitter_y)),
      drift_x_(static_cast<std::uint64_t>(a.w), static_cast<std::uint32_t>(h.total_x)),
      drift_y_(static_cast<std::uint64_t>(a.h), static_cast<std::uint32_t>(h.total_y)),
      total_x_(static_cast<std::uint32_t>(h.total_x)),
      total_y_(static_cast<std::uint32_t>(h.total_y)) {}

MQ_BATCH_CLONES void Positions::draw_plain(std::uint32_t s, std::int32_t n, std::uint32_t* xs,
                                           std::uint32_t* ys) const {
  // Copies: the stores through xs and ys would make the loop read the members again.
  const FastMod mod_w = mod_w_;
  const FastMod mod_h = mod_h_;
  MQ_BATCH_INTERLEAVE
  for (std::int32_t i = 0; i < n; ++i) {
    xs[i] = mod_w.reduce_draw(batch_draw_x(s, i));
    ys[i] = mod_h.reduce_draw(batch_draw_y(s, i));
  }
}

// Inlined into the two builds below, each of which gets its processor-specific clones.
template <bool kMasks, bool kNear>
[[gnu::always_inline]] inline void Positions::drifting_loop(std::uint32_t s, std::uint32_t j,
                                                            std::int32_t n, std::uint32_t* xs,
                                                            std::uint32_t* ys) const {
  const FastMod jitter_x = jitter_x_;
  const FastMod jitter_y = jitter_y_;
  const FastMod mod_w = mod_w_;
  const FastMod mod_h = mod_h_;
  const OffsetMod drift_x = drift_x_;
  const OffsetMod drift_y = drift_y_;
  const std::uint32_t total_x = total_x_;
  const std::uint32_t total_y = total_y_;
  MQ_BATCH_INTERLEAVE
  for (std::int32_t i = 0; i < n; ++i) {
    const std::uint32_t draw_x = batch_draw_x(j, i);
    const std::uint32_t draw_y = batch_draw_y(j, i);
    const std::uint32_t jx = kMasks ? draw_x & jitter_x.mask() : jitter_x.reduce_draw(draw_x);
    const std::uint32_t jy = kMasks ? draw_y & jitter_y.mask() : jitter_y.reduce_draw(draw_y);
    const std::uint32_t rx = batch_draw_x(s, i);
    const std::uint32_t ry = batch_draw_y(s, i);
    if constexpr (kNarrowBatchLoops) {
      // A draw and a jitter, both below 2^16, with the total.
      xs[i] = kNear ? drift_x.reduce_near(rx + jx) : drift_x.reduce(rx + jx);
      ys[i] = kNear ? drift_y.reduce_near(ry + jy) : drift_y.reduce(ry + jy);
    } else {
      xs[i] = mod_w.reduce((rx + jx + total_x) & 0x7FFFFFFFu);
      ys[i] = mod_h.reduce((ry + jy + total_y) & 0x7FFFFFFFu);
    }
  }
}

MQ_BATCH_CLONES void Positions::draw_drifting(std::uint32_t s, std::uint32_t j, std::int32_t n,
                                              std::uint32_t* xs, std::uint32_t* ys) const {
  if constexpr (kNarrowBatchLoops) {
    if (drift_x_.near() && drift_y_.near()) {
      drifting_loop<false, true>(s, j, n, xs, ys);
      return;
    }
  }
  drifting_loop<false, false>(s, j, n, xs, ys);
}

MQ_BATCH_CLONES void Positions::draw_drifting_masked(std::uint32_t s, std::uint32_t j,
                                                     std::int32_t n, std::uint32_t* xs,
                                                     std::uint32_t* ys) const {
  if constexpr (kNarrowBatchLoops) {
    if (drift_x_.near() && drift_y_.near()) {
      drifting_loop<true, true>(s, j, n, xs, ys);
      return;
    }
  }
  drifting_loop<true, false>(s, j, n, xs, ys);
}

}  // namespace engine
