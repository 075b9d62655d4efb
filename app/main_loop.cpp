// The main loop over the thread's message queue.
#include "app/main_loop.h"

#include "app/shell.h"
#include "app/shell_state.h"
#include "app/texts.h"
#include "display/display_setup.h"
#include "platform/window_system.h"

namespace app {

std::int32_t run_main_loop(platform::MessagePump& pump, platform::WindowHandle window) {
  for (;;) {
    // Every waiting message is handled before the next frame.
    if (pump.peek()) {
      platform::Message message;
      if (!pump.get(&message)) return static_cast<std::int32_t>(message.wparam);
      if (!pump.translate_accelerator(message)) pump.dispatch(message);
      continue;
    }
    // Minimised or hidden: no frames, and no processor time until a message arrives.
    if (app_active == 0) {
      pump.wait();
      continue;
    }
    if (platform::failed(frame_step(window))) break;
  }
  display::release_device();
  platform::services().windows->message_box(window, frame_failed_text, product_caption,
                                            platform::kMessageBoxIconError);
  return 0;
}

}  // namespace app
