// The browser's key codes (KeyboardEvent.code, which names the key's place, whatever the
// layout) translated to the Windows virtual-key messages that the window procedure and the
// accelerators expect, as the Linux backend does with SDL's.
#pragma once

#include <cstdint>

#include "platform/key_messages.h"
#include "platform/message_pump.h"

namespace platform::web {

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

}  // namespace platform::web
