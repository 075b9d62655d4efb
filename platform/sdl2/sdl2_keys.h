// SDL key codes translated to the Windows virtual-key codes that the window procedure and
// the accelerators expect.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform::sdl2 {

// The virtual-key code of an SDL key, or 0 for keys the player has no code for.
std::uint32_t virtual_key(SDL_Keycode key);

// Whether Windows reports the key through the system key messages (WM_SYSKEYDOWN/UP):
// any key while Alt is held, Alt itself and F10.
bool is_system_key(SDL_Keycode key, std::uint16_t modifiers);

}  // namespace platform::sdl2
