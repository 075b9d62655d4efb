// The scene's storage, the set-up of the main and info scenes, and the scene timer.
#include "engine/scene.h"

namespace engine {

Scene::Scene(platform::Clock& scene_clock)
    : clock(scene_clock),
      working_frame(std::make_unique<std::uint16_t[]>(kFramePixels)),
      source_picture(std::make_unique<std::uint16_t[]>(kFramePixels)),
      scratch_frame(std::make_unique<std::uint16_t[]>(kFramePixels)),
      source_image(std::make_unique<std::uint32_t[]>(kFramePixels)),
      main_layer({.work = working_frame.get(),
                  .scratch = scratch_frame.get(),
                  .source16 = source_picture.get(),
                  .source32 = source_image.get(),
                  .width = kFrameWidth,
                  .height = kFrameHeight},
                 clock, dither_rng),
      strip_layer(main_layer),
      info_layer(main_layer) {}

namespace {

// The info picture fades in, half-way per second, inside a 40-pixel margin.
void build_info_scene(Scene& scene, const display::PixelLayout& pf) {
  Layer& info_layer = scene.info_layer;
  info_layer.set_region(/*left=*/40, /*right=*/599, /*top=*/40, /*bottom=*/439);
  info_layer.configure({.opacity = 0.5f, .interval_ms = 1000, .sleep_limit_ms = 500});
  info_layer.set_pixel_format(pf);
  info_layer.activate(true);
  scene.scene_start_ms = info_layer.start_ms;
}

// The main picture, redrawn five times a second under shifted blocks and two drifting
// brightening patterns, with sparkles piling up along the bottom strip.
void build_main_scene(Scene& scene, const display::PixelLayout& pf) {
  Layer& main_layer = scene.main_layer;
  Layer& strip_layer = scene.strip_layer;
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
  fine.drift = true;
  fine.step_x = 1;
  fine.step_y = 3;
  fine.jitter_x = 1;
  fine.jitter_y = 1;
  fine.add_r = fine.add_g = fine.add_b = 16;
  fine.build_remap_table(pf);
  fine.from_work = true;

  RemapParams coarse;
  coarse.block_w = 2;
  coarse.block_h = 2;
  coarse.density = 100;
  coarse.drift = true;
  coarse.step_x = 2;
  coarse.step_y = 6;
  coarse.jitter_x = 2;
  coarse.jitter_y = 2;
  coarse.add_r = coarse.add_g = coarse.add_b = 16;
  coarse.build_remap_table(pf);
  coarse.from_work = true;

  main_layer.set_region(/*left=*/0, /*right=*/640, /*top=*/0, /*bottom=*/480);
  main_layer.set_moves(&move, nullptr);
  main_layer.set_remaps(&fine, &coarse);
  main_layer.set_pixel_format(pf);
  // Slot 1 moves blocks, slot 2 brightens single pixels, slot 3 brightens 2x2 blocks.
  main_layer.configure({.opacity = 1.0f,
                        .interval_ms = 200,
                        .sleep_limit_ms = 100,
                        .remap_a_slot = 2,
                        .remap_b_slot = 3,
                        .move_a_slot = 1});

  strip_layer.set_region(/*left=*/0, /*right=*/640, /*top=*/400, /*bottom=*/480);
  // The sparkles: a few single pixels per frame, much brighter, not drifting.
  fine.drift = false;
  fine.block_w = 1;
  fine.block_h = 1;
  fine.density = 1;
  fine.add_r = fine.add_g = fine.add_b = 64;
  fine.build_remap_table(pf);
  strip_layer.set_remaps(&fine, nullptr);
  strip_layer.configure(
      {.opacity = 0.0f, .interval_ms = 100, .sleep_limit_ms = 100, .remap_a_slot = 1});
  strip_layer.set_pixel_format(pf);

  // One start time, so both layers share their seeds.
  const std::uint32_t t = main_layer.activate(true);
  strip_layer.activate_at(t);
  scene.scene_start_ms = t;
}

}  // namespace

void build_scene(Scene& scene, const display::PixelLayout& pf) {
  scene.info_layer.activate(false);
  scene.main_layer.activate(false);
  scene.strip_layer.activate(false);
  if (scene.info_mode) {
    build_info_scene(scene, pf);
  } else {
    build_main_scene(scene, pf);
  }
}

SceneDue scene_tick(Scene& scene) {
  const std::int32_t limit = scene.info_mode ? kInfoSceneMs / 1000 : kMainSceneMs / 1000;
  // Signed, so a start time slightly in the future does not count as a scene long over.
  const auto since_start = static_cast<std::int32_t>(scene.clock.now_ms() - scene.scene_start_ms);
  const std::int32_t elapsed = since_start / 1000;
  if (limit - elapsed > 0) return SceneDue::kNothing;
  scene.info_mode = !scene.info_mode;
  return SceneDue::kPictureSwitch;
}

void step_scene(Scene& scene) {
  if (scene.info_mode) {
    scene.info_layer.step();
    scene.frame_time_ms = scene.info_layer.duration_ms;
  } else {
    scene.main_layer.step();
    scene.strip_layer.step();
    scene.frame_time_ms =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(scene.main_layer.duration_ms) +
                                  static_cast<std::uint32_t>(scene.strip_layer.duration_ms));
  }
}

}  // namespace engine
