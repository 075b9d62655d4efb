// The display as the player brings it up and switches it, with the messages the user sees
// when that fails.
#include "app/player.h"
#include "app/texts.h"
#include "display/display_setup.h"
#include "platform/window_system.h"

namespace app {

platform::HResult Player::init_display() {
  const display::DisplayInit made = display::init_display(display_, main_window_);
  if (made.full_screen_refused) tell_user(no_full_screen_text);
  return made.result;
}

void Player::toggle_full_screen() {
  display_.windowed = !display_.windowed;
  if (platform::succeeded(init_display())) return;
  display::release_device(display_);
  tell_user(mode_switch_failed_text);
  services_.windows->post_close(main_window_);
}

}  // namespace app
