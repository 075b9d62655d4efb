// A layer: one animated rectangle of the working frame with its pacing, its opacity, its
// effect records and its slot table.
#pragma once

#include <cstdint>

#include "display/pixel_format.h"
#include "engine/effect_view.h"
#include "engine/layer_setup.h"
#include "engine/mask_rects.h"
#include "engine/moving_blocks.h"
#include "engine/remap_rects.h"
#include "platform/clock.h"

namespace engine {

class Layer {
 public:
  // A 1x1 region at the top-left corner, inactive, no slots. Time comes from clock;
  // dither_rng is the dither generator the layers of a scene share. All three must outlive
  // the layer.
  Layer(const LayerFrames& frames, platform::Clock& clock, std::uint32_t& dither_rng);
  // A copy over the same buffers, clock and generator, with its own copies of the records,
  // always inactive (see Switch).
  Layer(const Layer& other) = default;
  Layer& operator=(const Layer&) = delete;
  ~Layer() = default;

  // The region, inclusive at both ends, clamped into the frame with x0 <= x1 and y0 <= y1.
  void set_region(std::int32_t left, std::int32_t right, std::int32_t top, std::int32_t bottom);
  // Copies the layout and derives the mask word and the blend words from it.
  void set_pixel_format(const display::PixelLayout& pf);
  // Opacity, pacing, noise and the slot table; a later kind given the same slot replaces
  // an earlier one.
  void configure(const LayerSetup& setup);
  void set_remaps(const RemapParams* a, const RemapParams* b);
  void set_moves(const MovingBlockParams* a, const MovingBlockParams* b);
  // Switches the layer on (returning its start time, now) or off (returning 0).
  std::uint32_t activate(bool on);
  // Switches the layer on with a given start time.
  void activate_at(std::uint32_t start);
  // Draws a frame if one is due, waiting at most sleep_ms for it; true if it drew.
  bool step();
  // What the effect runs and the restores see of this layer; valid while the layer lives.
  EffectView view() const { return {frames, region, blend, &format}; }

  // Whether a layer draws: a switch that every copy of it starts off, so that a copied
  // layer is inactive whatever its original was.
  class Switch {
   public:
    Switch() = default;
    Switch(const Switch&) {}
    Switch& operator=(const Switch&) = delete;
    Switch& operator=(bool on) {
      on_ = on;
      return *this;
    }
    operator bool() const { return on_; }  // read as the bool it stands for

   private:
    bool on_ = false;
  };

  display::PixelLayout format;
  LayerFrames frames;  // width >= 1 is also the row stride of all four buffers; height >= 1
  Region region;
  BlendMasks blend;
  std::uint32_t interval_ms = 0;  // least time between the starts of two frames
  std::uint32_t sleep_ms = 0;     // longest wait inside one step
  std::int32_t noise = 0;         // 0..6, widens the dither of the conversion
  MaskRectParams mask_rects;
  RemapParams remap_a;
  RemapParams remap_b;
  MovingBlockParams move_a;
  MovingBlockParams move_b;
  float opacity = 0.0f;
  EffectKind slots[kSlotCount] = {};
  Switch active;
  bool first_frame = false;  // the next step seeds the effects and converts the picture
  std::uint32_t start_ms = 0;
  std::uint32_t last_frame_ms = 0;
  std::int32_t duration_ms = 0;

 private:
  void run_slot(EffectKind kind);

  platform::Clock* clock_;
  std::uint32_t* dither_rng_;
};

}  // namespace engine
