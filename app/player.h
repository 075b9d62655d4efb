// The player: everything the shell keeps for one run (its flags, the frame statistics, the
// pictures and the texts) beside the backends, the scene and the display it works with.
// The entry makes one and hands it to every shell operation.
#pragma once

#include "app/frame_statistics.h"
#include "app/pictures.h"
#include "app/texts.h"
#include "display/display_setup.h"
#include "engine/scene.h"
#include "platform/direct_draw.h"
#include "platform/window_system.h"

namespace app {

// The first display attempt is full screen.
inline constexpr bool start_full_screen = true;

struct Player {
  // The backends, the scene and the display are not owned and must outlive the player.
  Player(const platform::Services& backends, engine::Scene& player_scene,
         display::Display& player_display)
      : services(backends), scene(player_scene), display(player_display) {}
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  platform::Services services;
  engine::Scene& scene;
  display::Display& display;

  // The main window, set by start-up.
  platform::WindowHandle main_window = nullptr;
  // Windowed display, or exclusive full screen.
  bool windowed = !start_full_screen;
  // Frames are produced only while set (the window is neither minimised nor hidden).
  bool app_active = false;
  // Draw the frame-time text.
  bool show_statistics = false;
  StatisticsState statistics;
  Pictures pictures;
  Texts texts;
};

}  // namespace app
