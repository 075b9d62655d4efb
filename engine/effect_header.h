// The fields every effect record begins with: how many blocks a frame gets and how their
// pattern drifts.
#pragma once

#include <algorithm>
#include <cstdint>

namespace engine {

struct EffectHeader {
  std::int32_t block_w = 0;  // block size in pixels, >= 1 while the kind runs
  std::int32_t block_h = 0;
  std::int32_t density = 0;  // per mille of the blocks that would tile the region
  bool drift = false;        // positions restart from seed every frame and drift
  std::int32_t step_x = 0;   // added to the totals once per frame while drift is set
  std::int32_t step_y = 0;
  std::int32_t jitter_x = 0;  // jitter range of each block while drift is set
  std::int32_t jitter_y = 0;
  std::int32_t total_x = 0;  // accumulated drift, never reset by activation
  std::int32_t total_y = 0;

  // Raises the block size to at least 1x1, as assigning a record does.
  void raise_block_size() {
    block_w = std::max(block_w, 1);
    block_h = std::max(block_h, 1);
  }
};

}  // namespace engine
