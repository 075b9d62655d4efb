// The main window's procedure and the About dialog's procedure over the portable message
// form.
#include "app/window_handlers.h"

#include "display/frame_size.h"
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

// The outer size that keeps the client area at the picture's size below the caption and
// the menu.
void fix_tracking_size(platform::ShellSystem& shell, platform::MinMaxInfo* info) {
  if (info == nullptr) return;
  const std::int32_t width = display::kFrameWidth + 2 * shell.system_metric(platform::kSM_CXFRAME);
  const std::int32_t height =
      display::kFrameHeight + 2 * shell.system_metric(platform::kSM_CYFRAME) +
      shell.system_metric(platform::kSM_CYMENU) + shell.system_metric(platform::kSM_CYCAPTION);
  info->min_track_size = {width, height};
  info->max_track_size = {width, height};
}

// Key releases. Esc and Alt+Enter act through the accelerators on the key press, so their
// releases (and that of Alt alone) must not switch the picture.
void on_key_up(Player& player, const Message& message) {
  switch (message.wparam) {
    case platform::kVK_RETURN:
    case platform::kVK_MENU:
    case platform::kVK_ESCAPE:
      break;
    case 'P':
      player.toggle_statistics();
      break;
    case 'T':
      player.toggle_full_screen();
      break;
    case platform::kVK_LEFT:
    case platform::kVK_BACK:
      player.previous_picture();
      break;
    default:
      player.switch_picture();
      break;
  }
}

HandlerResult on_command(Player& player, const Message& message) {
  switch (platform::low_word(message.wparam)) {
    case kCmdAbout:
      player.services().shell->run_dialog(message.window, platform::kAboutDialogId,
                                          about_procedure(player));
      return result(0);
    case kCmdExit:
      player.services().windows->post_close(message.window);
      return result(0);
    case kCmdToggleFullScreen:
      player.toggle_full_screen();
      return result(0);
    case kCmdWebPage:
      player.open_web_page();
      return result(0);
    default:
      return pass_on();
  }
}

// In full screen the window must neither move, resize nor maximise, and the monitor must
// not be powered down under the player.
bool swallowed_system_command(const Player& player, std::uintptr_t command) {
  if (player.windowed()) return false;
  return command == platform::kSC_SIZE || command == platform::kSC_MOVE ||
         command == platform::kSC_MAXIMIZE || command == platform::kSC_MONITORPOWER;
}

}  // namespace

HandlerResult handle_window_message(Player& player, const Message& message) {
  platform::ShellSystem& shell = *player.services().shell;
  switch (message.id) {
    case platform::kWM_DESTROY:
      player.release_display();
      shell.post_quit(0);
      return result(0);
    case platform::kWM_MOVE:
      player.update_bounds();
      player.present_again();
      return result(0);
    case platform::kWM_SIZE:
      player.set_active(message.wparam != platform::kSIZE_MINIMIZED &&
                        message.wparam != platform::kSIZE_MAXHIDE);
      player.update_bounds();
      return pass_on();
    case platform::kWM_SETCURSOR:
      if (player.info_shown()) {
        shell.set_cursor(platform::Cursor::kHelp);
        return result(1);
      }
      if (!player.windowed()) {
        shell.set_cursor(platform::Cursor::kNone);
        return result(1);
      }
      return pass_on();
    case platform::kWM_GETMINMAXINFO:
      fix_tracking_size(shell, reinterpret_cast<platform::MinMaxInfo*>(message.lparam));
      return result(0);
    case platform::kWM_KEYUP:
      on_key_up(player, message);
      return pass_on();
    case platform::kWM_COMMAND:
      return on_command(player, message);
    case platform::kWM_SYSCOMMAND:
      if (swallowed_system_command(player, message.wparam)) return result(1);
      return pass_on();
    case platform::kWM_LBUTTONDOWN:
      if (player.info_shown()) player.open_web_page();
      return pass_on();
    case platform::kWM_RBUTTONDOWN:
      // Set, not toggled: the info picture is decoded again even when it is shown.
      player.show_info_picture();
      return pass_on();
    default:
      return pass_on();
  }
}

std::intptr_t handle_about_message(Player& player, const Message& message) {
  switch (message.id) {
    case platform::kWM_INITDIALOG:
      return 1;
    case platform::kWM_MOVE:
      player.present_again();
      return 0;
    case platform::kWM_COMMAND: {
      const std::uint16_t id = platform::low_word(message.wparam);
      if (id == platform::kAboutWebButtonId) {
        player.open_web_page();
        player.services().shell->end_dialog(message.window, id);
        return 1;
      }
      if (id == platform::kIDOK || id == platform::kIDCANCEL) {
        player.services().shell->end_dialog(message.window, id);
        return 1;
      }
      return 0;
    }
    default:
      return 0;
  }
}

platform::WindowProcedure window_procedure(Player& player) {
  return {[](void* context, const Message& message) {
            return handle_window_message(*static_cast<Player*>(context), message);
          },
          &player};
}

platform::DialogProcedure about_procedure(Player& player) {
  return {[](void* context, const Message& message) {
            return handle_about_message(*static_cast<Player*>(context), message);
          },
          &player};
}

}  // namespace app
