// Display set-up and mode switches with their messages.
#include "app/display_modes.h"

#include "app/shell_state.h"
#include "app/texts.h"
#include "display/display_setup.h"
#include "platform/window_system.h"

namespace app {

namespace {

void tell_user(platform::WindowHandle window, const char* text) {
  platform::services().windows->message_box(window, text, product_caption,
                                            platform::kMessageBoxIconError);
}

}  // namespace

platform::HResult init_display(platform::WindowHandle window) {
  bool full_screen_refused = false;
  const platform::HResult hr = display::init_display(window, &windowed, &full_screen_refused);
  if (full_screen_refused) tell_user(window, no_full_screen_text);
  return hr;
}

void toggle_fullscreen(platform::WindowHandle window) {
  windowed = windowed != 0 ? 0 : 1;
  if (platform::succeeded(init_display(window))) return;
  display::release_device();
  tell_user(window, mode_switch_failed_text);
  platform::services().windows->post_close(window);
}

}  // namespace app
