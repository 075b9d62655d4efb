// SDL events of the player's window translated into the Win32 messages of the portable
// window procedure: window state, keys and the mouse.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/message_pump.h"
#include "platform/picture_fit/picture_fit.h"

namespace platform::sdl2 {

// WM_NCLBUTTONDOWN with HTMENU: a click on the menu bar, which the shell opens the menu for.
inline constexpr std::uint32_t kWM_NCLBUTTONDOWN = 0x00A1;
inline constexpr std::intptr_t kHTMENU = 5;

// MAKELPARAM: two 16-bit values in one message parameter, low first.
inline std::intptr_t make_lparam(int low, int high) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(low) & 0xFFFFu) |
                                    ((static_cast<std::uint32_t>(high) & 0xFFFFu) << 16));
}

// What the translation needs to know of the player's window.
struct EventTarget {
  WindowHandle window = nullptr;  // the handle the messages carry
  Uint32 id = 0;                  // its SDL window id; other windows' events are ignored
  bool visible = true;            // neither minimised nor hidden
  bool input = true;              // keys and mouse are the player's (not a screensaver's)
  int top = 0;                    // pixels from the window's top to the picture area
  PictureArea picture{};          // where the picture was last drawn, for the mouse
};

// The messages an event becomes (at most two), and whether the window's contents were lost
// so that the next frame must repaint it all.
struct TranslatedEvent {
  Message messages[2]{};
  int count = 0;
  bool repaint = false;
};

TranslatedEvent translate_event(const SDL_Event& event, const EventTarget& target);

}  // namespace platform::sdl2
