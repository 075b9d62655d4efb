// Key messages as the window procedure sees them (WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP), for the
// backends that make the messages themselves from their own key events (SDL2, the browser);
// on Windows the system makes them.
#pragma once

#include <cstdint>

#include "platform/message_pump.h"

namespace platform {

// Key-message bits of the second parameter: Windows' context code (Alt held) and
// transition bits, and two bits Windows leaves reserved that carry Shift and Ctrl here,
// so that the accelerators can be matched from the message alone.
inline constexpr std::uint32_t kKeyAlt = 1u << 29;
inline constexpr std::uint32_t kKeyShift = 1u << 25;
inline constexpr std::uint32_t kKeyCtrl = 1u << 26;
inline constexpr std::uint32_t kKeyPrevious = 1u << 30;
inline constexpr std::uint32_t kKeyReleased = 1u << 31;

// The code Windows reports for a key that has no virtual-key code of its own.
inline constexpr std::uint32_t kVK_NoMapping = 0xFF;

// One key going down (again, when held) or up, with the modifiers held at the time.
struct KeyTransition {
  std::uint32_t virtual_key = kVK_NoMapping;
  std::uint8_t scan_code = 0;  // bits 16 to 23 of the message, as Windows gives them
  bool down = false;
  bool repeat = false;  // a key held down, sent again
  bool alt = false;
  bool shift = false;
  bool ctrl = false;
};

// The key message: WM_SYSKEYDOWN/UP, as on Windows, for any key while Alt is held, for Alt
// itself and for F10; WM_KEYDOWN/UP otherwise.
Message key_message(WindowHandle window, const KeyTransition& key);

}  // namespace platform
