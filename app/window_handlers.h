// The window procedure of the main window and the procedure of the About dialog, written
// against the portable message form so that every backend's real window calls them. They
// change the player only through its members.
#pragma once

#include <cstdint>

#include "app/player.h"
#include "platform/message_pump.h"
#include "resources/commands.h"

namespace app {

// Menu and accelerator command ids (first parameter of WM_COMMAND): kCmdAbout, kCmdWebPage,
// kCmdToggleFullScreen and kCmdExit.
#define MQ_COMMAND_CONSTANT(name, id, text) inline constexpr std::uint16_t kCmd##name = id;
MQ_FILE_MENU(MQ_COMMAND_CONSTANT)
#undef MQ_COMMAND_CONSTANT

// The main window's procedure: key releases, mouse buttons, size and move, commands,
// system commands, cursor and tracking sizes. use_default asks the backend to pass the
// message on to its default procedure.
platform::HandlerResult handle_window_message(Player& player, const platform::Message& message);

// The About dialog's procedure; returns TRUE (1) when the message was handled.
std::intptr_t handle_about_message(Player& player, const platform::Message& message);

// The two procedures as the backends call them, over player.
platform::WindowProcedure window_procedure(Player& player);
platform::DialogProcedure about_procedure(Player& player);

}  // namespace app
