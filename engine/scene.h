// The three global layers, the two scenes (main picture and info picture) and the per-frame
// driver that steps the scene's layers and switches pictures when a scene's time is up.
#pragma once

#include <cstdint>

#include "engine/layer.h"

namespace engine {

// Constructed at program start in this order; strip_layer and info_layer are copies of
// main_layer over the same four frame buffers, all three inactive until build_scene.
extern Layer main_layer;
extern Layer strip_layer;
extern Layer info_layer;

// 1 while the info picture is shown, 0 while the main picture is shown.
extern std::uint8_t info_mode;
// now_ms at which the current scene started.
extern std::uint32_t scene_start_ms;
// Sum of the frame durations of the layers stepped by the last tick, in milliseconds.
extern std::int32_t frame_time_ms;

// Scene lengths in milliseconds.
inline constexpr std::int32_t kMainSceneMs = 30000;
inline constexpr std::int32_t kInfoSceneMs = 5000;

// Sets up and activates the layers of the scene for info_mode, over the picture in the
// source image and with the global pixel format.
void build_scene();
// One pass of the main loop: switches the picture when the scene's time is up, then steps
// the scene's layers (their waits pace the loop) and publishes frame_time_ms.
void scene_tick();

// Loads the picture info_mode names and calls build_scene; false if it could not.
using PictureSwitch = bool (*)();
// Installs the picture switch that scene_tick calls when a scene's time is up. With none
// installed (null), the switch rebuilds the scene for the new info_mode over whatever the
// source image holds, so the scenes alternate even without a decoder.
void set_picture_switch(PictureSwitch fn);

}  // namespace engine
