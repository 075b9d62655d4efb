// What the three effect kinds share: how many blocks a frame gets and where they fall, from a
// generator that runs on or from a pattern that repeats and drifts, drawn a batch at a time.
// Every 32-bit signed sum here wraps; it is done in unsigned arithmetic to stay defined.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/effect_header.h"
#include "engine/effect_view.h"
#include "engine/fast_mod.h"
#include "engine/lcg_jump.h"

namespace engine {

// A layer's region: inclusive corners and size.
struct Area {
  std::int32_t x0, x1, y0, y1;
  std::int32_t w, h;
};

inline Area region_of(const EffectView& view) {
  const Region& r = view.region;
  return Area{r.x0, r.x1, r.y0, r.y1, r.x1 - r.x0 + 1, r.y1 - r.y0 + 1};
}

// A block size below 1 cannot tile anything; such a record draws 1-pixel blocks.
inline std::int32_t at_least_one(std::int32_t v) {
  return std::max(v, 1);
}

// Blocks per frame: (region area / block area) * density / 1000, with block sizes below 1
// taken as 1.
std::int32_t block_count(const Area& a, const EffectHeader& h);

// The frame preamble of every kind: with drift the position generator restarts from the seed
// and the totals move by one step.
void drift_preamble(EffectHeader& h, std::uint32_t& pos_rng, std::uint32_t seed);

// Blocks ahead whose memory is requested before they are drawn: the blocks fall at random
// places in frames larger than the cache, so their loads are best started early.
inline constexpr std::int32_t kPrefetchAhead = 12;

// Draws block positions: a generator draw, plus jitter and the drift totals while drift is
// set, folded into the region by clearing the sign bit and taking the remainder.
class Positions {
 public:
  Positions(const Area& a, const EffectHeader& h);

  // The region-relative positions of the next n blocks (1 <= n <= kBatch), into xs and ys;
  // pos_rng (and with drift jitter_rng) move on by 2n steps.
  template <bool kDrift>
  void draw_many(std::uint32_t& pos_rng, std::uint32_t& jitter_rng, std::int32_t n,
                 std::uint32_t* xs, std::uint32_t* ys) const {
    if constexpr (kDrift) {
      if (jitter_x_.is_mask() && jitter_y_.is_mask()) {
        draw_drifting_masked(pos_rng, jitter_rng, n, xs, ys);
      } else {
        draw_drifting(pos_rng, jitter_rng, n, xs, ys);
      }
      jitter_rng = after_batch(jitter_rng, n);
    } else {
      draw_plain(pos_rng, n, xs, ys);
    }
    pos_rng = after_batch(pos_rng, n);
  }

 private:
  void draw_plain(std::uint32_t s, std::int32_t n, std::uint32_t* xs, std::uint32_t* ys) const;
  // With drift: s is the position generator's state, j the jitter generator's.
  void draw_drifting(std::uint32_t s, std::uint32_t j, std::int32_t n, std::uint32_t* xs,
                     std::uint32_t* ys) const;
  // The same when both jitter ranges are powers of two, whose remainders are masks.
  void draw_drifting_masked(std::uint32_t s, std::uint32_t j, std::int32_t n, std::uint32_t* xs,
                            std::uint32_t* ys) const;
  // kNear: only while both drift remainders are near() (see OffsetMod).
  template <bool kMasks, bool kNear>
  void drifting_loop(std::uint32_t s, std::uint32_t j, std::int32_t n, std::uint32_t* xs,
                     std::uint32_t* ys) const;

  FastMod mod_w_, mod_h_, jitter_x_, jitter_y_;
  OffsetMod drift_x_, drift_y_;  // the region's size with the drift totals (kNarrowBatchLoops)
  std::uint32_t total_x_, total_y_;
};

}  // namespace engine
