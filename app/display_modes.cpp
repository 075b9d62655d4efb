// Display set-up and mode switches with their messages.
#include "app/display_modes.h"

#include "app/texts.h"
#include "display/display_setup.h"
#include "platform/window_system.h"

namespace app {

namespace {

void tell_user(Player& player, platform::WindowHandle window, const char* text) {
  player.services.windows->message_box(window, text, product_caption,
                                       platform::kMessageBoxIconError);
}

}  // namespace

platform::HResult init_display(Player& player, platform::WindowHandle window) {
  bool full_screen_refused = false;
  const platform::HResult hr =
      display::init_display(player.display, window, &player.windowed, &full_screen_refused);
  if (full_screen_refused) tell_user(player, window, no_full_screen_text);
  return hr;
}

void toggle_fullscreen(Player& player, platform::WindowHandle window) {
  player.windowed = !player.windowed;
  if (platform::succeeded(init_display(player, window))) return;
  display::release_device(player.display);
  tell_user(player, window, mode_switch_failed_text);
  player.services.windows->post_close(window);
}

}  // namespace app
