// The key message's bits.
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

}  // namespace platform
