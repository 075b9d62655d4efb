// The global layers, the set-up of the main and info scenes, and the scene timer.
#include "engine/scene.h"

#include "display/pixel_format.h"
#include "engine/frame_buffers.h"
#include "platform/clock.h"

namespace engine {

// One translation unit, so the copies are made after main_layer and in this order, and
// destroyed in the reverse order.
Layer main_layer(working_frame, scratch_frame, source_picture, source_image, kFrameWidth,
                 kFrameHeight);
Layer strip_layer(main_layer);
Layer info_layer(main_layer);

std::uint8_t info_mode = 0;
std::uint32_t scene_start_ms = 0;
std::int32_t frame_time_ms = 0;

namespace {

PictureSwitch picture_switch = nullptr;

// The info picture fades in, half-way per second, inside a 40-pixel margin.
void build_info_scene(const display::PixelFormat& pf) {
  info_layer.set_region(/*left=*/40, /*right=*/599, /*top=*/40, /*bottom=*/439);
  info_layer.configure(/*new_opacity=*/0.5f, /*interval=*/1000, /*sleep_limit=*/500,
                       /*new_noise=*/0, /*mask_slot=*/0, /*remap_a_slot=*/0, /*remap_b_slot=*/0,
                       /*move_a_slot=*/0, /*move_b_slot=*/0);
  info_layer.set_pixel_format(pf);
  info_layer.activate(true);
  scene_start_ms = info_layer.start_ms;
}

// The main picture, redrawn five times a second under shifted blocks and two drifting
// brightening patterns, with sparkles piling up along the bottom strip.
void build_main_scene(const display::PixelFormat& pf) {
  MovingBlockParams move;
  move.block_w = 3;
  move.block_h = 2;
  move.density = 200;
  move.dx_max = 1;
  move.dy_max = 1;

  RemapParams fine;
  fine.block_w = 1;
  fine.block_h = 1;
  fine.density = 200;
  fine.drift = 1;
  fine.step_x = 1;
  fine.step_y = 3;
  fine.jitter_x = 1;
  fine.jitter_y = 1;
  fine.add_r = fine.add_g = fine.add_b = 16;
  fine.build_remap_table(pf);
  fine.from_work = 1;

  RemapParams coarse;
  coarse.block_w = 2;
  coarse.block_h = 2;
  coarse.density = 100;
  coarse.drift = 1;
  coarse.step_x = 2;
  coarse.step_y = 6;
  coarse.jitter_x = 2;
  coarse.jitter_y = 2;
  coarse.add_r = coarse.add_g = coarse.add_b = 16;
  coarse.build_remap_table(pf);
  coarse.from_work = 1;

  main_layer.set_region(/*left=*/0, /*right=*/640, /*top=*/0, /*bottom=*/480);
  main_layer.set_moves(&move, nullptr);
  main_layer.set_remaps(&fine, &coarse);
  main_layer.set_pixel_format(pf);
  // Slot 1 moves blocks, slot 2 brightens single pixels, slot 3 brightens 2x2 blocks.
  main_layer.configure(/*new_opacity=*/1.0f, /*interval=*/200, /*sleep_limit=*/100,
                       /*new_noise=*/0, /*mask_slot=*/0, /*remap_a_slot=*/2, /*remap_b_slot=*/3,
                       /*move_a_slot=*/1, /*move_b_slot=*/0);

  strip_layer.set_region(/*left=*/0, /*right=*/640, /*top=*/400, /*bottom=*/480);
  // The sparkles: a few single pixels per frame, much brighter, not drifting.
  fine.drift = 0;
  fine.block_w = 1;
  fine.block_h = 1;
  fine.density = 1;
  fine.add_r = fine.add_g = fine.add_b = 64;
  fine.build_remap_table(pf);
  strip_layer.set_remaps(&fine, nullptr);
  strip_layer.configure(/*new_opacity=*/0.0f, /*interval=*/100, /*sleep_limit=*/100,
                        /*new_noise=*/0, /*mask_slot=*/0, /*remap_a_slot=*/1, /*remap_b_slot=*/0,
                        /*move_a_slot=*/0, /*move_b_slot=*/0);
  strip_layer.set_pixel_format(pf);

  // One start time, so both layers share their seeds.
  const std::uint32_t t = main_layer.activate(true);
  strip_layer.activate_at(t);
  scene_start_ms = t;
}

}  // namespace

void build_scene() {
  info_layer.activate(false);
  main_layer.activate(false);
  strip_layer.activate(false);
  const display::PixelFormat& pf = display::global_pixel_format();
  if (info_mode != 0) {
    build_info_scene(pf);
  } else {
    build_main_scene(pf);
  }
}

void scene_tick() {
  const std::int32_t limit = info_mode != 0 ? kInfoSceneMs / 1000 : kMainSceneMs / 1000;
  // Signed, so a start time slightly in the future does not count as a scene long over.
  const auto since_start = static_cast<std::int32_t>(platform::now_ms() - scene_start_ms);
  const std::int32_t elapsed = since_start / 1000;
  if (limit - elapsed <= 0) {
    info_mode = info_mode != 0 ? 0 : 1;
    if (picture_switch != nullptr) {
      picture_switch();
    } else {
      build_scene();
    }
  }
  if (info_mode != 0) {
    info_layer.step();
    frame_time_ms = info_layer.duration_ms;
  } else {
    main_layer.step();
    strip_layer.step();
    frame_time_ms = static_cast<std::int32_t>(static_cast<std::uint32_t>(main_layer.duration_ms) +
                                              static_cast<std::uint32_t>(strip_layer.duration_ms));
  }
}

void set_picture_switch(PictureSwitch fn) {
  picture_switch = fn;
}

}  // namespace engine
