// SDL key codes translated to the Windows virtual-key codes that the window procedure and
// the accelerators (platform/emulated/accelerator_table.h) expect.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/key_messages.h"
#include "platform/message_pump.h"

namespace platform::sdl2 {

// The virtual-key code of an SDL key; kVK_NoMapping for keys without one (media keys,
// unknown keys), so that every key reaches the window procedure.
std::uint32_t virtual_key(SDL_Keycode key);

// The key message (WM_KEYDOWN/UP or WM_SYSKEYDOWN/UP) for an SDL key event.
Message key_message(WindowHandle window, const SDL_KeyboardEvent& event);

}  // namespace platform::sdl2
