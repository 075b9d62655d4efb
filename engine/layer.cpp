// Layer construction, configuration, activation and the paced per-frame step, and the
// operations of the remap and moving-block records.
#include "engine/layer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "engine/block_ops.h"
#include "engine/dither.h"
#include "engine/mask_rects.h"
#include "engine/moving_blocks.h"
#include "engine/remap_rects.h"

namespace engine {

namespace {

constexpr std::size_t kRemapTableSize = 65536;

template <typename Record>
void raise_block_size(Record& r) {
  r.block_w = std::max(r.block_w, 1);
  r.block_h = std::max(r.block_h, 1);
}

}  // namespace

RemapParams::RemapParams() : table(std::make_unique<std::uint16_t[]>(kRemapTableSize)) {}

void RemapParams::assign(const RemapParams* other) {
  if (other != nullptr) {
    static_cast<EffectHeader&>(*this) = *other;
    pos_rng = other->pos_rng;
    jitter_rng = other->jitter_rng;
    seed = other->seed;
    blend_after = other->blend_after;
    from_work = other->from_work;
    add_r = other->add_r;
    add_g = other->add_g;
    add_b = other->add_b;
    std::copy_n(other->table.get(), kRemapTableSize, table.get());
  } else {
    static_cast<EffectHeader&>(*this) = EffectHeader{};
    pos_rng = jitter_rng = seed = 0;
    blend_after = from_work = false;
    add_r = add_g = add_b = 0;
    std::fill_n(table.get(), kRemapTableSize, std::uint16_t{0});
  }
  raise_block_size(*this);
}

void RemapParams::build_remap_table(const display::PixelLayout& pf) {
  for (std::uint32_t p = 0; p < kRemapTableSize; ++p) {
    const display::Rgb c = pf.unpack(p);
    table[p] = pf.pack(std::clamp(c.r + add_r, 0, 255), std::clamp(c.g + add_g, 0, 255),
                       std::clamp(c.b + add_b, 0, 255));
  }
}

void MovingBlockParams::assign(const MovingBlockParams* other) {
  if (other != nullptr) {
    static_cast<EffectHeader&>(*this) = *other;
    pos_rng = other->pos_rng;
    offset_rng = other->offset_rng;
    jitter_rng = other->jitter_rng;
    seed = other->seed;
    offset_seed = other->offset_seed;
    blend_after = other->blend_after;
    source = other->source;
    blend = other->blend;
    offset_mode = other->offset_mode;
    dx_min = other->dx_min;
    dx_max = other->dx_max;
    dy_min = other->dy_min;
    dy_max = other->dy_max;
    walk_x = other->walk_x;
    walk_y = other->walk_y;
    reset_offsets = other->reset_offsets;
  } else {
    static_cast<EffectHeader&>(*this) = EffectHeader{};
    pos_rng = offset_rng = jitter_rng = seed = offset_seed = 0;
    blend_after = blend = reset_offsets = false;
    source = offset_mode = 0;
    dx_min = dx_max = dy_min = dy_max = walk_x = walk_y = 0;
  }
  raise_block_size(*this);
}

void MovingBlockParams::resize_offsets(std::int32_t n) {
  if (n != offset_count && n >= 0) {
    offsets_x.reset();
    offsets_y.reset();
    offset_count = n;
    if (n > 0) {
      offsets_x = std::make_unique<std::int16_t[]>(static_cast<std::size_t>(n));
      offsets_y = std::make_unique<std::int16_t[]>(static_cast<std::size_t>(n));
    }
  }
  clear_offsets();
}

void MovingBlockParams::clear_offsets() {
  if (offset_count > 0) {
    std::fill_n(offsets_x.get(), offset_count, std::int16_t{0});
    std::fill_n(offsets_y.get(), offset_count, std::int16_t{0});
  }
}

Layer::Layer(const LayerFrames& frames, platform::Clock& clock, std::uint32_t& dither_rng)
    : width(std::max(frames.width, 1)),
      height(std::max(frames.height, 1)),
      source16(frames.source16),
      source32(frames.source32),
      work(frames.work),
      scratch(frames.scratch),
      clock_(&clock),
      dither_rng_(&dither_rng) {}

Layer::Layer(const Layer& other)
    : format(other.format),
      width(other.width),
      height(other.height),
      source16(other.source16),
      source32(other.source32),
      work(other.work),
      scratch(other.scratch),
      x0(other.x0),
      x1(other.x1),
      y0(other.y0),
      y1(other.y1),
      interval_ms(other.interval_ms),
      sleep_ms(other.sleep_ms),
      noise(other.noise),
      mask_rects(other.mask_rects),
      opacity(other.opacity),
      halve_mask(other.halve_mask),
      low_bit_mask(other.low_bit_mask),
      active(false),
      first_frame(other.first_frame),
      start_ms(other.start_ms),
      last_frame_ms(other.last_frame_ms),
      duration_ms(other.duration_ms),
      clock_(other.clock_),
      dither_rng_(other.dither_rng_) {
  remap_a.assign(&other.remap_a);
  remap_b.assign(&other.remap_b);
  move_a.assign(&other.move_a);
  move_b.assign(&other.move_b);
  std::copy(std::begin(other.slots), std::end(other.slots), std::begin(slots));
}

void Layer::set_region(std::int32_t left, std::int32_t right, std::int32_t top,
                       std::int32_t bottom) {
  x0 = std::clamp(left, 0, width - 1);
  x1 = std::clamp(right, x0, width - 1);
  y0 = std::clamp(top, 0, height - 1);
  y1 = std::clamp(bottom, y0, height - 1);
}

void Layer::set_pixel_format(const display::PixelLayout& pf) {
  mask_rects.mask =
      channel_keep_mask(mask_rects.clear_r, mask_rects.clear_g, mask_rects.clear_b, pf);
  const std::uint32_t h = pf.pack(127, 127, 127);
  halve_mask = h | h << 16;
  const std::uint32_t l = ~(2u * h) & 0xFFFFu;
  low_bit_mask = l | l << 16;
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
    dither_convert(*this, *dither_rng_);
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
    copy_source();
  } else if (opacity > 0.0f) {
    blend_source();
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
      run_mask_rects(*this, mask_rects);
      break;
    case EffectKind::kRemapA:
      run_remap_rects(*this, remap_a);
      break;
    case EffectKind::kRemapB:
      run_remap_rects(*this, remap_b);
      break;
    case EffectKind::kMoveA:
      run_moving_blocks(*this, move_a);
      break;
    case EffectKind::kMoveB:
      run_moving_blocks(*this, move_b);
      break;
  }
}

void Layer::copy_source() {
  if (source16 == work) return;
  if (x0 == 0 && x1 == width - 1) {
    // Whole rows lie one after another: one move for the region.
    const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(y0) * width;
    std::memmove(work + at, source16 + at,
                 static_cast<std::size_t>(y1 - y0 + 1) * static_cast<std::size_t>(width) * 2u);
    return;
  }
  copy_block(work, x0, y0, source16, x0, y0, x1, y1, width);
}

void Layer::blend_source() {
  if (source16 == work) return;
  blend_block(work, x0, y0, width, source16, x0, y0, x1, y1, width, halve_mask, low_bit_mask);
}

}  // namespace engine
