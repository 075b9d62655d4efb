// The main window's procedure and the About dialog's procedure over the portable message
// form, and open_web_page.
#include "app/window_handlers.h"

#include "app/display_modes.h"
#include "app/picture_switch.h"
#include "app/shell.h"
#include "app/shell_state.h"
#include "app/texts.h"
#include "display/display_setup.h"
#include "engine/scene.h"
#include "platform/shell_system.h"
#include "platform/window_system.h"

namespace app {

namespace {

using platform::HandlerResult;
using platform::Message;

constexpr HandlerResult pass_on() {
  return HandlerResult{true, 0};
}
constexpr HandlerResult result(std::intptr_t value) {
  return HandlerResult{false, value};
}

platform::ShellSystem& shell() {
  return *platform::services().shell;
}

// The outer size that keeps the client area at the picture's size below the caption and
// the menu.
void fix_tracking_size(platform::MinMaxInfo* info) {
  if (info == nullptr) return;
  const std::int32_t width =
      display::kFrameWidth + 2 * shell().system_metric(platform::kSM_CXFRAME);
  const std::int32_t height =
      display::kFrameHeight + 2 * shell().system_metric(platform::kSM_CYFRAME) +
      shell().system_metric(platform::kSM_CYMENU) + shell().system_metric(platform::kSM_CYCAPTION);
  info->min_track_size = {width, height};
  info->max_track_size = {width, height};
}

void switch_picture() {
  engine::info_mode = engine::info_mode ? 0 : 1;
  show_picture();  // a failure leaves the previous picture in place
}

// Key releases. Esc and Alt+Enter act through the accelerators on the key press, so their
// releases (and that of Alt alone) must not switch the picture.
void on_key_up(const Message& message) {
  switch (message.wparam) {
    case platform::kVK_RETURN:
    case platform::kVK_MENU:
    case platform::kVK_ESCAPE:
      break;
    case 'P':
      show_statistics = show_statistics ? 0 : 1;
      break;
    case 'T':
      toggle_fullscreen(message.window);
      break;
    default:
      switch_picture();
      break;
  }
}

HandlerResult on_command(const Message& message) {
  switch (platform::low_word(message.wparam)) {
    case kCmdAbout:
      shell().run_dialog(message.window, platform::kAboutDialogId, &handle_about_message);
      return result(0);
    case kCmdExit:
      platform::services().windows->post_close(message.window);
      return result(0);
    case kCmdToggleFullScreen:
      toggle_fullscreen(message.window);
      return result(0);
    case kCmdWebPage:
      open_web_page();
      return result(0);
    default:
      return pass_on();
  }
}

// In full screen the window must neither move, resize nor maximise, and the monitor must
// not be powered down under the player.
bool swallowed_system_command(std::uintptr_t command) {
  if (windowed != 0) return false;
  return command == platform::kSC_SIZE || command == platform::kSC_MOVE ||
         command == platform::kSC_MAXIMIZE || command == platform::kSC_MONITORPOWER;
}

}  // namespace

HandlerResult handle_window_message(const Message& message) {
  switch (message.id) {
    case platform::kWM_DESTROY:
      display::release_display();
      shell().post_quit(0);
      return result(0);
    case platform::kWM_MOVE:
      if (display::display != nullptr) {
        display::display->update_bounds();
        present_again();
      }
      return result(0);
    case platform::kWM_SIZE:
      app_active =
          (message.wparam == platform::kSIZE_MINIMIZED || message.wparam == platform::kSIZE_MAXHIDE)
              ? 0
              : 1;
      if (display::display != nullptr) display::display->update_bounds();
      return pass_on();
    case platform::kWM_SETCURSOR:
      if (engine::info_mode) {
        shell().set_cursor(platform::Cursor::kHelp);
        return result(1);
      }
      if (windowed == 0) {
        shell().set_cursor(platform::Cursor::kNone);
        return result(1);
      }
      return pass_on();
    case platform::kWM_GETMINMAXINFO:
      fix_tracking_size(reinterpret_cast<platform::MinMaxInfo*>(message.lparam));
      return result(0);
    case platform::kWM_KEYUP:
      on_key_up(message);
      return pass_on();
    case platform::kWM_COMMAND:
      return on_command(message);
    case platform::kWM_SYSCOMMAND:
      if (swallowed_system_command(message.wparam)) return result(1);
      return pass_on();
    case platform::kWM_LBUTTONDOWN:
      if (engine::info_mode) open_web_page();
      return pass_on();
    case platform::kWM_RBUTTONDOWN:
      // Set, not toggled: the info picture is decoded again even when it is shown.
      engine::info_mode = 1;
      show_picture();
      return pass_on();
    default:
      return pass_on();
  }
}

std::intptr_t handle_about_message(const Message& message) {
  switch (message.id) {
    case platform::kWM_INITDIALOG:
      return 1;
    case platform::kWM_MOVE:
      present_again();
      return 0;
    case platform::kWM_COMMAND: {
      const std::uint16_t id = platform::low_word(message.wparam);
      if (id == platform::kAboutWebButtonId) {
        open_web_page();
        shell().end_dialog(message.window, id);
        return 1;
      }
      if (id == platform::kIDOK || id == platform::kIDCANCEL) {
        shell().end_dialog(message.window, id);
        return 1;
      }
      return 0;
    }
    default:
      return 0;
  }
}

bool open_web_page() {
  return shell().shell_open(web_page_address) > 32;
}

}  // namespace app
