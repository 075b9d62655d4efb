// Layer construction, configuration, activation and the paced per-frame step.
#include "engine/layer.h"

#include <algorithm>

#include "engine/block_ops.h"
#include "engine/dither.h"
#include "engine/restore_source.h"

namespace engine {

Layer::Layer(const LayerFrames& layer_frames, platform::Clock& clock, std::uint32_t& dither_rng)
    : frames(layer_frames), clock_(&clock), dither_rng_(&dither_rng) {
  frames.width = std::max(frames.width, 1);
  frames.height = std::max(frames.height, 1);
}

void Layer::set_region(std::int32_t left, std::int32_t right, std::int32_t top,
                       std::int32_t bottom) {
  region.x0 = std::clamp(left, 0, frames.width - 1);
  region.x1 = std::clamp(right, region.x0, frames.width - 1);
  region.y0 = std::clamp(top, 0, frames.height - 1);
  region.y1 = std::clamp(bottom, region.y0, frames.height - 1);
}

void Layer::set_pixel_format(const display::PixelLayout& pf) {
  mask_rects.mask =
      channel_keep_mask(mask_rects.clear_r, mask_rects.clear_g, mask_rects.clear_b, pf);
  const std::uint32_t h = pf.pack(127, 127, 127);
  blend.halve = h | h << 16;
  const std::uint32_t l = ~(2u * h) & 0xFFFFu;
  blend.low_bit = l | l << 16;
  format = pf;
}

void Layer::configure(const LayerSetup& setup) {
  opacity = setup.opacity;
  std::fill(std::begin(slots), std::end(slots), EffectKind::kNone);
  // In the order of the kinds' numbers, so that a later kind replaces an earlier one.
  const std::int32_t indices[5] = {setup.mask_slot, setup.remap_a_slot, setup.remap_b_slot,
                                   setup.move_a_slot, setup.move_b_slot};
  for (std::int32_t kind = 1; kind <= 5; ++kind) {
    const std::int32_t slot = std::clamp(indices[kind - 1], 0, kSlotCount - 1);
    slots[slot] = static_cast<EffectKind>(kind);
  }
  interval_ms = static_cast<std::uint32_t>(std::max(setup.interval_ms, 0));
  sleep_ms = static_cast<std::uint32_t>(std::max(setup.sleep_limit_ms, 0));
  noise = std::clamp(setup.noise, 0, 6);
}

void Layer::set_remaps(const RemapParams* a, const RemapParams* b) {
  remap_a.assign(a);
  remap_b.assign(b);
}

void Layer::set_moves(const MovingBlockParams* a, const MovingBlockParams* b) {
  move_a.assign(a);
  move_b.assign(b);
}

std::uint32_t Layer::activate(bool on) {
  active = on;
  if (!on) return 0;
  first_frame = true;
  start_ms = clock_->now_ms();
  return start_ms;
}

void Layer::activate_at(std::uint32_t start) {
  active = true;
  first_frame = true;
  start_ms = start;
}

bool Layer::step() {
  if (!active) return false;
  if (first_frame) {
    // Seeds follow from the activation time, so every activation animates differently.
    mask_rects.seed = start_ms;
    remap_a.seed = start_ms + 10;
    remap_b.seed = start_ms + 20;
    move_a.seed = start_ms + 30;
    move_a.offset_seed = start_ms + 31;
    move_b.seed = start_ms + 40;
    move_b.offset_seed = start_ms + 41;
    if (move_a.reset_offsets) move_a.clear_offsets();
    if (move_b.reset_offsets) move_b.clear_offsets();
    dither_convert(view(), noise, *dither_rng_);
    first_frame = false;
  } else {
    // The waits here are what pace the shell's loop.
    if (interval_ms == 0) {
      if (sleep_ms != 0) clock_->sleep_ms(sleep_ms);
      return false;
    }
    const std::uint32_t elapsed = clock_->now_ms() - last_frame_ms;
    if (elapsed < interval_ms) {
      const std::uint32_t remaining = interval_ms - elapsed;
      if (sleep_ms == 0) return false;
      if (remaining > sleep_ms) {
        clock_->sleep_ms(sleep_ms);
        return false;
      }
      clock_->sleep_ms(remaining);
    }
  }
  last_frame_ms = clock_->now_ms();
  if (opacity >= 1.0f) {
    copy_source(view());
  } else if (opacity > 0.0f) {
    blend_source(view());
  }
  for (std::int32_t slot = 1; slot < kSlotCount; ++slot) run_slot(slots[slot]);
  duration_ms = static_cast<std::int32_t>(clock_->now_ms() - last_frame_ms);
  return true;
}

void Layer::run_slot(EffectKind kind) {
  switch (kind) {
    case EffectKind::kNone:
      break;
    case EffectKind::kMaskRects:
      run_mask_rects(view(), mask_rects);
      break;
    case EffectKind::kRemapA:
      run_remap_rects(view(), remap_a);
      break;
    case EffectKind::kRemapB:
      run_remap_rects(view(), remap_b);
      break;
    case EffectKind::kMoveA:
      run_moving_blocks(view(), move_a);
      break;
    case EffectKind::kMoveB:
      run_moving_blocks(view(), move_b);
      break;
  }
}

}  // namespace engine
