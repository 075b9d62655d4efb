// Start-up with the full-screen-first display policy, the frame step with its recovery
// rules, and the composition of one frame.
#include "app/shell.h"

#include "app/display_modes.h"
#include "app/frame_statistics.h"
#include "app/main_loop.h"
#include "app/picture_switch.h"
#include "app/pictures.h"
#include "app/shell_state.h"
#include "app/texts.h"
#include "app/window_handlers.h"
#include "display/display_setup.h"
#include "engine/frame_buffers.h"
#include "engine/scene.h"
#include "platform/clock.h"
#include "platform/shell_system.h"
#include "platform/window_system.h"

namespace app {

platform::WindowHandle main_window = nullptr;

namespace {

// How long a turn waits while another program holds the exclusive display.
constexpr std::uint32_t exclusive_mode_wait_ms = 10;

// A picture that is missing or does not decode means the executable itself is damaged:
// the user is told, over the desktop rather than a full-screen display, before the exit.
std::int32_t end_with_damaged_pictures() {
  display::release_display();
  platform::services().windows->message_box(main_window, damaged_pictures_text, product_caption,
                                            platform::kMessageBoxIconError);
  return 0;
}

}  // namespace

platform::HResult start_window_and_display(std::int32_t show_command) {
  platform::Services& sys = platform::services();
  compose_texts();
  display::set_label_texts(publisher_label_text, version_tag_text);
  display::set_working_frame(engine::working_frame);
  if (platform::failed(sys.shell->create_main_window(product_caption, window_title, show_command,
                                                     &handle_window_message, &main_window))) {
    return platform::kE_FAIL;
  }
  // Full screen first; a refused attempt has shown its own message, so a machine without
  // the full-screen mode says so once and runs windowed.
  if (platform::failed(init_display(main_window))) {
    windowed = windowed ? 0 : 1;
    if (platform::failed(init_display(main_window))) {
      sys.windows->message_box(main_window, no_display_text, product_caption,
                               platform::kMessageBoxIconError);
      return platform::kE_FAIL;
    }
  }
  return platform::kS_OK;
}

std::int32_t win_main(platform::MessagePump& pump, std::int32_t show_command) {
  if (platform::failed(start_window_and_display(show_command))) return 0;
  if (!load_pictures()) return end_with_damaged_pictures();
  install_picture_switch();
  if (!show_picture()) return end_with_damaged_pictures();
  return run_main_loop(pump, main_window);
}

platform::HResult frame_step(platform::WindowHandle window) {
  // Without a device (a failed mode switch has asked the window to close) there is
  // nothing to draw; wait for the close to arrive.
  if (display::display == nullptr || display::display->ddraw == nullptr) {
    platform::sleep_ms(exclusive_mode_wait_ms);
    return platform::kS_OK;
  }
  const platform::HResult level = display::test_cooperative_level();
  if (platform::failed(level)) {
    if (level == platform::kDDERR_NOEXCLUSIVEMODE ||
        level == platform::kDDERR_EXCLUSIVEMODEALREADYSET) {
      platform::sleep_ms(exclusive_mode_wait_ms);  // another program holds the screen
      return platform::kS_OK;
    }
    // The desktop mode was changed under the program: rebuild in the current mode.
    if (level == platform::kDDERR_WRONGMODE) return init_display(window);
    return level;
  }
  const platform::HResult rendered = render_frame();
  if (platform::succeeded(rendered)) return platform::kS_OK;
  if (rendered == platform::kDDERR_SURFACELOST) {
    display::restore_display();  // the frame is lost; the next turn draws again
    return platform::kS_OK;
  }
  return rendered;
}

platform::HResult render_frame() {
  engine::scene_tick();
  display::upload_frame(engine::working_frame);
  if (show_statistics) draw_statistics();
  // Clear, the frame surface at (0, 0), the labels colour-keyed 12 pixels in from the
  // bottom corners.
  display::compose_back_buffer();
  if (display::display == nullptr) return platform::kE_POINTER;
  const platform::HResult presented = display::display->present();
  return platform::failed(presented) ? presented : platform::kS_OK;
}

void present_again() {
  if (display::display != nullptr) display::display->present();
}

}  // namespace app
