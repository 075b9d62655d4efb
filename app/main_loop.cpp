// The main loop over the thread's message queue, one turn at a time.
#include "app/main_loop.h"

namespace app {

LoopTurn main_loop_step(Player& player, platform::MessagePump& pump) {
  // Every waiting message is handled before the next frame.
  while (pump.peek()) {
    platform::Message message;
    if (!pump.get(&message)) return {false, static_cast<std::int32_t>(message.wparam)};
    if (!pump.translate_accelerator(message)) pump.dispatch(message);
  }
  // Minimised or hidden: no frames, and no processor time until a message arrives.
  if (!player.active()) {
    pump.wait();
    return {};
  }
  if (platform::succeeded(player.frame_step())) return {};
  player.report_failed_frame();
  return {false, 0};
}

std::int32_t run_main_loop(Player& player, platform::MessagePump& pump) {
  for (;;) {
    const LoopTurn turn = main_loop_step(player, pump);
    if (!turn.running) return turn.exit_code;
  }
}

}  // namespace app
