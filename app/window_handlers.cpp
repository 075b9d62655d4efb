// The main window's procedure and the About dialog's procedure over the portable message
// form, and open_web_page.
#include "app/window_handlers.h"

#include "app/display_modes.h"
#include "app/picture_switch.h"
#include "app/shell.h"
#include "app/texts.h"
#include "display/display_setup.h"
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

void switch_picture(Player& player) {
  player.scene.info_mode = !player.scene.info_mode;
  show_picture(player);  // a failure leaves the previous picture in place
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
      player.show_statistics = !player.show_statistics;
      break;
    case 'T':
      toggle_fullscreen(player, message.window);
      break;
    default:
      switch_picture(player);
      break;
  }
}

HandlerResult on_command(Player& player, const Message& message) {
  switch (platform::low_word(message.wparam)) {
    case kCmdAbout:
      player.services.shell->run_dialog(message.window, platform::kAboutDialogId,
                                        about_procedure(player));
      return result(0);
    case kCmdExit:
      player.services.windows->post_close(message.window);
      return result(0);
    case kCmdToggleFullScreen:
      toggle_fullscreen(player, message.window);
      return result(0);
    case kCmdWebPage:
      open_web_page(player);
      return result(0);
    default:
      return pass_on();
  }
}

// In full screen the window must neither move, resize nor maximise, and the monitor must
// not be powered down under the player.
bool swallowed_system_command(const Player& player, std::uintptr_t command) {
  if (player.windowed) return false;
  return command == platform::kSC_SIZE || command == platform::kSC_MOVE ||
         command == platform::kSC_MAXIMIZE || command == platform::kSC_MONITORPOWER;
}

}  // namespace

HandlerResult handle_window_message(Player& player, const Message& message) {
  platform::ShellSystem& shell = *player.services.shell;
  display::DisplayDevice* device = player.display.display;
  switch (message.id) {
    case platform::kWM_DESTROY:
      display::release_display(player.display);
      shell.post_quit(0);
      return result(0);
    case platform::kWM_MOVE:
      if (device != nullptr) {
        device->update_bounds();
        present_again(player);
      }
      return result(0);
    case platform::kWM_SIZE:
      player.app_active =
          message.wparam != platform::kSIZE_MINIMIZED && message.wparam != platform::kSIZE_MAXHIDE;
      if (device != nullptr) device->update_bounds();
      return pass_on();
    case platform::kWM_SETCURSOR:
      if (player.scene.info_mode) {
        shell.set_cursor(platform::Cursor::kHelp);
        return result(1);
      }
      if (!player.windowed) {
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
      if (player.scene.info_mode) open_web_page(player);
      return pass_on();
    case platform::kWM_RBUTTONDOWN:
      // Set, not toggled: the info picture is decoded again even when it is shown.
      player.scene.info_mode = true;
      show_picture(player);
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
      present_again(player);
      return 0;
    case platform::kWM_COMMAND: {
      const std::uint16_t id = platform::low_word(message.wparam);
      if (id == platform::kAboutWebButtonId) {
        open_web_page(player);
        player.services.shell->end_dialog(message.window, id);
        return 1;
      }
      if (id == platform::kIDOK || id == platform::kIDCANCEL) {
        player.services.shell->end_dialog(message.window, id);
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

bool open_web_page(Player& player) {
  return player.services.shell->shell_open(player.texts.web_page_address) > 32;
}

}  // namespace app
