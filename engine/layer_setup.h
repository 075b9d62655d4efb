// How a layer is configured: what each of its slots runs, and its pacing, opacity and noise.
#pragma once

#include <cstdint>

namespace engine {

// What a slot runs; the value is the kind's number.
enum class EffectKind : std::uint8_t {
  kNone = 0,
  kMaskRects = 1,
  kRemapA = 2,
  kRemapB = 3,
  kMoveA = 4,
  kMoveB = 5,
};

inline constexpr std::int32_t kSlotCount = 6;

// A layer's pacing, opacity, noise and slot table, given to Layer::configure.
struct LayerSetup {
  float opacity = 0.0f;          // 1 copies the source picture, above 0 blends it 50%, 0 leaves it
  std::int32_t interval_ms = 0;  // least time between the starts of two frames
  std::int32_t sleep_limit_ms = 0;  // longest wait inside one step
  std::int32_t noise = 0;           // widens the dither, clamped to 0..6
  // The slot (1..5; 0 = off; clamped to 0..5) of each effect kind.
  std::int32_t mask_slot = 0;
  std::int32_t remap_a_slot = 0;
  std::int32_t remap_b_slot = 0;
  std::int32_t move_a_slot = 0;
  std::int32_t move_b_slot = 0;
};

}  // namespace engine
