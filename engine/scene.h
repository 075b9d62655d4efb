// The scene: the four frame buffers, the three layers over them, which picture is shown and
// the scene's times; the set-up of the main and info scenes; and the per-frame tick, which
// says when the picture is due to switch, and step, which draws.
#pragma once

#include <cstdint>
#include <memory>

#include "display/pixel_format.h"
#include "engine/frame_buffers.h"
#include "engine/layer.h"
#include "platform/clock.h"

namespace engine {

// Scene lengths in milliseconds.
inline constexpr std::int32_t kMainSceneMs = 30000;
inline constexpr std::int32_t kInfoSceneMs = 5000;

struct Scene {
  // Zeroed frame buffers on the heap (they are 3 MB together), and the three layers over
  // them, inactive until build_scene. Time comes from clock, which must outlive the scene.
  explicit Scene(platform::Clock& clock);
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  platform::Clock& clock;
  // The 16-bit frame that is shown; row stride kFrameWidth pixels, like all four.
  std::unique_ptr<std::uint16_t[]> working_frame;
  // The dithered 16-bit copy of the picture that layers restore from.
  std::unique_ptr<std::uint16_t[]> source_picture;
  // Intermediate for moving blocks that must not smear.
  std::unique_ptr<std::uint16_t[]> scratch_frame;
  // The decoded, centred picture: 0x00RRGGBB words, bytes blue, green, red, zero in memory.
  std::unique_ptr<std::uint32_t[]> source_image;
  // Generator state of the dithered conversion; 0 at start, shared by all layers.
  std::uint32_t dither_rng = 0;

  // strip_layer and info_layer start as copies of main_layer.
  Layer main_layer;
  Layer strip_layer;
  Layer info_layer;

  // Set while the info picture is shown.
  bool info_mode = false;
  // now_ms at which the current scene started.
  std::uint32_t scene_start_ms = 0;
  // Sum of the frame durations of the layers stepped by the last step, in milliseconds.
  std::int32_t frame_time_ms = 0;
};

// What a tick found due.
enum class SceneDue {
  kNothing,
  // The scene's time is up and info_mode has flipped: the caller shows the picture it now
  // names (which ends in build_scene), or leaves the old one, before step_scene.
  kPictureSwitch,
};

// Sets up and activates the layers of the scene for info_mode, over the picture in the
// source image, for frames in the pixel layout pf.
void build_scene(Scene& scene, const display::PixelLayout& pf);
// The first half of one pass of the main loop: flips info_mode when the scene's time is up.
SceneDue scene_tick(Scene& scene);
// The second half: steps the scene's layers (their waits pace the loop) and publishes
// frame_time_ms.
void step_scene(Scene& scene);

}  // namespace engine
