// The browser's key codes (KeyboardEvent.code, which names the key's place, whatever the
// layout) translated to the Windows virtual-key messages that the window procedure and the
// accelerators expect, as the Linux backend does with SDL's.
#pragma once

#include <cstdint>

#include "platform/message_pump.h"

namespace platform::web {

// Key-message bits of the second parameter, as on Linux: Windows' context code (Alt held)
// and transition bits, and two reserved bits that carry Shift and Ctrl.
inline constexpr std::uint32_t kKeyAlt = 1u << 29;
inline constexpr std::uint32_t kKeyShift = 1u << 25;
inline constexpr std::uint32_t kKeyCtrl = 1u << 26;
inline constexpr std::uint32_t kKeyPrevious = 1u << 30;
inline constexpr std::uint32_t kKeyReleased = 1u << 31;

// The code Windows reports for a key without a virtual-key code of its own.
inline constexpr std::uint32_t kVK_NoMapping = 0xFF;

// The virtual-key code of a KeyboardEvent.code ("KeyA", "Digit1", "Escape", ...);
// kVK_NoMapping for codes without one, so that every key reaches the window procedure.
std::uint32_t virtual_key(const char* code);

struct KeyEvent {
  const char* code = "";
  bool down = false;
  bool repeat = false;
  bool alt = false;
  bool shift = false;
  bool ctrl = false;
};

// The key message (WM_KEYDOWN/UP, or WM_SYSKEYDOWN/UP with Alt held, for Alt and F10).
Message key_message(WindowHandle window, const KeyEvent& event);

// The accelerator table: 1001 for Esc alone and Alt+X, 1002 for Alt+Enter, else 0.
std::uint16_t accelerator_command(const Message& message);

}  // namespace platform::web
