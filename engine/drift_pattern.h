// The block positions of a record with drift set, before its drift totals and jitter are
// added. Such a record's position generator restarts from the seed every frame, so its draws
// reduced into the region are the same in every frame until the seed, the block count or the
// region's size changes: they are kept here instead of being drawn again each frame.
#pragma once

#include <cstdint>
#include <vector>

namespace engine {

class DriftPattern {
 public:
  // The most blocks a pattern keeps (4 bytes each); records with more draw every frame.
  static constexpr std::int32_t kMaxBlocks = 1 << 20;

  // Readies the pattern of count blocks (two draws each from seed) in a w x h region,
  // drawing it again only when one of these changed. False when no pattern can serve them:
  // count outside 1..kMaxBlocks, or a region side outside 1..65535.
  bool prepare(std::uint32_t seed, std::int32_t count, std::int32_t w, std::int32_t h);

  // Block i's point in the region: x | y << 16, with x < w and y < h.
  const std::uint32_t* points() const { return points_.data(); }

 private:
  std::vector<std::uint32_t> points_;
  std::uint32_t seed_ = 0;
  std::int32_t count_ = 0;
  std::int32_t w_ = 0;
  std::int32_t h_ = 0;
};

}  // namespace engine
