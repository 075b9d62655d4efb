// The accelerator table, expanded from the command table, and its translation.
#include "platform/emulated/accelerator_table.h"

#include "platform/key_messages.h"
#include "resources/commands.h"

namespace platform::emulated {

namespace {

// The key-message bits of the table's modifier names.
constexpr std::uint32_t kModifiers_NONE = 0;
constexpr std::uint32_t kModifiers_ALT = kKeyAlt;

struct Accelerator {
  std::uint32_t virtual_key;
  std::uint32_t modifiers;
  std::uint16_t command;
};

#define MQ_ACCELERATOR_ROW(key, modifiers, command) \
  Accelerator{key, kModifiers_##modifiers, MQ_COMMAND_ID(command)},
constexpr Accelerator kAccelerators[] = {MQ_ACCELERATORS(MQ_ACCELERATOR_ROW)};
#undef MQ_ACCELERATOR_ROW

}  // namespace

std::uint16_t accelerator_command(const Message& message) {
  if (message.id != kWM_KEYDOWN && message.id != kWM_SYSKEYDOWN) return 0;
  const std::uint32_t held =
      static_cast<std::uint32_t>(message.lparam) & (kKeyAlt | kKeyShift | kKeyCtrl);
  for (const Accelerator& accelerator : kAccelerators) {
    if (message.wparam == accelerator.virtual_key && held == accelerator.modifiers) {
      return accelerator.command;
    }
  }
  return 0;
}

bool translate_accelerator(MessagePump& pump, const Message& message) {
  const std::uint16_t command = accelerator_command(message);
  if (command == 0) return false;
  // Accelerators send their command with 1 in the high word.
  pump.dispatch(Message{message.window, kWM_COMMAND, (std::uintptr_t{1} << 16) | command, 0});
  return true;
}

}  // namespace platform::emulated
