// Stand-in start-up used while the portable shell is not part of the build: opens the main
// window with its class, menu and accelerators and runs the message loop until it closes,
// so that the executable, its resources and the Win32 backends can be checked early.
#include "app/shell.h"
#include "platform/shell_system.h"
#include "platform/window_system.h"

namespace app {

platform::WindowHandle main_window = nullptr;

namespace {

platform::HandlerResult handle_pending_message(const platform::Message& message) {
  if (message.id == platform::kWM_DESTROY) {
    platform::services().shell->post_quit(0);
    return platform::HandlerResult{false, 0};
  }
  if (message.id == platform::kWM_COMMAND && platform::low_word(message.wparam) == 1001) {
    platform::services().windows->post_close(message.window);
    return platform::HandlerResult{false, 0};
  }
  return platform::HandlerResult{true, 0};
}

}  // namespace

std::int32_t win_main(platform::MessagePump& pump, std::int32_t show_command) {
  if (platform::services().shell->create_main_window("Moviquel Player", "Moviquel Player",
                                                     show_command, handle_pending_message,
                                                     &main_window) != platform::kS_OK) {
    return 0;
  }
  platform::Message message;
  for (;;) {
    if (!pump.get(&message)) return static_cast<std::int32_t>(message.wparam);
    if (!pump.translate_accelerator(message)) pump.dispatch(message);
  }
}

}  // namespace app
