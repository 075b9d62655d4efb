// The key message's bits and the accelerator table.
#include "platform/key_messages.h"

namespace platform {

Message key_message(WindowHandle window, const KeyTransition& key) {
  const bool system = key.alt || key.virtual_key == kVK_MENU || key.virtual_key == kVK_F10;
  std::uint32_t bits = 1u | (std::uint32_t{key.scan_code} << 16);
  if (key.alt) bits |= kKeyAlt;
  if (key.shift) bits |= kKeyShift;
  if (key.ctrl) bits |= kKeyCtrl;
  if (!key.down) bits |= kKeyPrevious | kKeyReleased;
  if (key.down && key.repeat) bits |= kKeyPrevious;
  const std::uint32_t id =
      key.down ? (system ? kWM_SYSKEYDOWN : kWM_KEYDOWN) : (system ? kWM_SYSKEYUP : kWM_KEYUP);
  return Message{window, id, key.virtual_key, static_cast<std::intptr_t>(bits)};
}

std::uint16_t accelerator_command(const Message& message) {
  if (message.id != kWM_KEYDOWN && message.id != kWM_SYSKEYDOWN) return 0;
  const auto bits = static_cast<std::uint32_t>(message.lparam);
  const bool alt = (bits & kKeyAlt) != 0;
  // Like the table's entries, each key matches only with exactly its modifiers.
  if ((bits & (kKeyShift | kKeyCtrl)) != 0) return 0;
  if (message.wparam == kVK_ESCAPE && !alt) return 1001;
  if (message.wparam == kVK_RETURN && alt) return 1002;
  if (message.wparam == 'X' && alt) return 1001;
  return 0;
}

}  // namespace platform
