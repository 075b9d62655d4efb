// Start-up with the full-screen-first display policy, the frame step with its recovery
// rules, and the composition of one frame.
#include "app/shell.h"

#include "app/display_modes.h"
#include "app/frame_statistics.h"
#include "app/main_loop.h"
#include "app/picture_switch.h"
#include "app/pictures.h"
#include "app/texts.h"
#include "app/window_handlers.h"
#include "display/display_setup.h"
#include "engine/scene.h"
#include "platform/clock.h"
#include "platform/shell_system.h"
#include "platform/window_system.h"

namespace app {

namespace {

// How long a turn waits while another program holds the exclusive display.
constexpr std::uint32_t exclusive_mode_wait_ms = 10;

// A picture that is missing or does not decode means the executable itself is damaged:
// the user is told, over the desktop rather than a full-screen display, before the exit.
void tell_damaged_pictures(Player& player) {
  display::release_display(player.display);
  player.services.windows->message_box(player.main_window, damaged_pictures_text, product_caption,
                                       platform::kMessageBoxIconError);
}

}  // namespace

platform::HResult start_window_and_display(Player& player, std::int32_t show_command) {
  const platform::Services& sys = player.services;
  compose_texts(player.texts);
  display::set_label_texts(player.display, player.texts.publisher_label_text,
                           player.texts.version_tag_text);
  player.display.working_frame = player.scene.working_frame.get();
  if (platform::failed(sys.shell->create_main_window(product_caption, player.texts.window_title,
                                                     show_command, window_procedure(player),
                                                     &player.main_window))) {
    return platform::kE_FAIL;
  }
  // Full screen first; a refused attempt has shown its own message, so a machine without
  // the full-screen mode says so once and runs windowed.
  if (platform::failed(init_display(player, player.main_window))) {
    player.windowed = !player.windowed;
    if (platform::failed(init_display(player, player.main_window))) {
      sys.windows->message_box(player.main_window, no_display_text, product_caption,
                               platform::kMessageBoxIconError);
      return platform::kE_FAIL;
    }
  }
  return platform::kS_OK;
}

bool start_player(Player& player, std::int32_t show_command) {
  if (platform::failed(start_window_and_display(player, show_command))) return false;
  if (!load_pictures(player.services.resources, player.pictures) || !show_picture(player)) {
    tell_damaged_pictures(player);
    return false;
  }
  return true;
}

std::int32_t win_main(Player& player, platform::MessagePump& pump, std::int32_t show_command) {
  if (!start_player(player, show_command)) return 0;
  return run_main_loop(player, pump);
}

platform::HResult frame_step(Player& player, platform::WindowHandle window) {
  platform::Clock& clock = *player.services.clock;
  display::Display& screen = player.display;
  // Without a device (a failed mode switch has asked the window to close) there is
  // nothing to draw; wait for the close to arrive.
  if (screen.display == nullptr || screen.display->ddraw == nullptr) {
    clock.sleep_ms(exclusive_mode_wait_ms);
    return platform::kS_OK;
  }
  const platform::HResult level = display::test_cooperative_level(screen);
  if (platform::failed(level)) {
    if (level == platform::kDDERR_NOEXCLUSIVEMODE ||
        level == platform::kDDERR_EXCLUSIVEMODEALREADYSET) {
      clock.sleep_ms(exclusive_mode_wait_ms);  // another program holds the screen
      return platform::kS_OK;
    }
    // The desktop mode was changed under the program: rebuild in the current mode.
    if (level == platform::kDDERR_WRONGMODE) return init_display(player, window);
    return level;
  }
  const platform::HResult rendered = render_frame(player);
  if (platform::succeeded(rendered)) return platform::kS_OK;
  if (rendered == platform::kDDERR_SURFACELOST) {
    display::restore_display(screen);  // the frame is lost; the next turn draws again
    return platform::kS_OK;
  }
  return rendered;
}

platform::HResult render_frame(Player& player) {
  engine::Scene& scene = player.scene;
  display::Display& screen = player.display;
  // A picture that fails to load leaves the old one, and its scene, in place.
  if (engine::scene_tick(scene) == engine::SceneDue::kPictureSwitch) show_picture(player);
  engine::step_scene(scene);
  display::upload_frame(screen, scene.working_frame.get());
  if (player.show_statistics) {
    draw_statistics(player.statistics, screen.frame_surface, player.services.clock->now_ms(),
                    scene.frame_time_ms);
  }
  // Clear, the frame surface at (0, 0), the labels colour-keyed 12 pixels in from the
  // bottom corners.
  display::compose_back_buffer(screen);
  if (screen.display == nullptr) return platform::kE_POINTER;
  const platform::HResult presented = screen.display->present();
  return platform::failed(presented) ? presented : platform::kS_OK;
}

void present_again(Player& player) {
  if (player.display.display != nullptr) player.display.display->present();
}

}  // namespace app
