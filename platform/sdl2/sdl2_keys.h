// SDL key codes translated to the Windows virtual-key codes that the window procedure and
// the accelerators expect.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/message_pump.h"

namespace platform::sdl2 {

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

// The virtual-key code of an SDL key; kVK_NoMapping for keys without one (media keys,
// unknown keys), so that every key reaches the window procedure.
std::uint32_t virtual_key(SDL_Keycode key);

// Whether Windows reports the key through the system key messages (WM_SYSKEYDOWN/UP):
// any key while Alt is held, Alt itself and F10.
bool is_system_key(SDL_Keycode key, std::uint16_t modifiers);

// The key message (WM_KEYDOWN/UP or WM_SYSKEYDOWN/UP) for an SDL key event.
Message key_message(WindowHandle window, const SDL_KeyboardEvent& event);

// The accelerator table: the command of a key-down message (1001 for Esc alone and for
// Alt+X, 1002 for Alt+Enter), or 0 when the message is no accelerator.
std::uint16_t accelerator_command(const Message& message);

}  // namespace platform::sdl2
