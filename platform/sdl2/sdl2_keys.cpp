// The table from SDL key codes to Windows virtual-key codes.
#include "platform/sdl2/sdl2_keys.h"

#include "platform/message_pump.h"

namespace platform::sdl2 {

std::uint32_t virtual_key(SDL_Keycode key) {
  // Letters and digits: Windows uses the upper-case ASCII code for both.
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint32_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::uint32_t>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70u + static_cast<std::uint32_t>(key - SDLK_F1);
  if (key >= SDLK_F13 && key <= SDLK_F24) {
    return 0x7Cu + static_cast<std::uint32_t>(key - SDLK_F13);  // VK_F13..VK_F24
  }
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
    return 0x61u + static_cast<std::uint32_t>(key - SDLK_KP_1);  // VK_NUMPAD1..9
  }
  switch (key) {
    case SDLK_SPACE:
      return kVK_SPACE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return kVK_RETURN;
    case SDLK_ESCAPE:
      return kVK_ESCAPE;
    case SDLK_BACKSPACE:
      return kVK_BACK;
    case SDLK_TAB:
      return kVK_TAB;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return kVK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return kVK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
      return kVK_MENU;
    case SDLK_KP_0:
      return 0x60;  // VK_NUMPAD0
    case SDLK_PAUSE:
      return 0x13;
    case SDLK_CAPSLOCK:
      return 0x14;
    case SDLK_PAGEUP:
      return 0x21;
    case SDLK_PAGEDOWN:
      return 0x22;
    case SDLK_END:
      return 0x23;
    case SDLK_HOME:
      return 0x24;
    case SDLK_LEFT:
      return 0x25;
    case SDLK_UP:
      return 0x26;
    case SDLK_RIGHT:
      return 0x27;
    case SDLK_DOWN:
      return 0x28;
    case SDLK_INSERT:
      return 0x2D;
    case SDLK_DELETE:
      return 0x2E;
    case SDLK_KP_MULTIPLY:
      return 0x6A;
    case SDLK_KP_PLUS:
      return 0x6B;
    case SDLK_KP_MINUS:
      return 0x6D;
    case SDLK_KP_PERIOD:
      return 0x6E;
    case SDLK_KP_DIVIDE:
      return 0x6F;
    case SDLK_SEMICOLON:
      return 0xBA;
    case SDLK_EQUALS:
      return 0xBB;
    case SDLK_COMMA:
      return 0xBC;
    case SDLK_MINUS:
      return 0xBD;
    case SDLK_PERIOD:
      return 0xBE;
    case SDLK_SLASH:
      return 0xBF;
    case SDLK_BACKQUOTE:
      return 0xC0;
    case SDLK_LEFTBRACKET:
      return 0xDB;
    case SDLK_BACKSLASH:
      return 0xDC;
    case SDLK_RIGHTBRACKET:
      return 0xDD;
    case SDLK_QUOTE:
      return 0xDE;
    case SDLK_PRINTSCREEN:
      return 0x2C;  // VK_SNAPSHOT
    case SDLK_LGUI:
      return 0x5B;  // VK_LWIN
    case SDLK_RGUI:
      return 0x5C;  // VK_RWIN
    case SDLK_APPLICATION:
    case SDLK_MENU:
      return 0x5D;  // VK_APPS
    case SDLK_NUMLOCKCLEAR:
      return 0x90;
    case SDLK_SCROLLLOCK:
      return 0x91;
    default:
      // Any other key still reaches the window procedure, with the code Windows gives keys
      // that have no virtual-key code of their own; "any other key" switches the picture.
      return kVK_NoMapping;
  }
}

Message key_message(WindowHandle window, const SDL_KeyboardEvent& event) {
  const std::uint16_t mod = event.keysym.mod;
  KeyTransition key;
  key.virtual_key = virtual_key(event.keysym.sym);
  key.scan_code = static_cast<std::uint8_t>(event.keysym.scancode & 0xFF);
  key.down = event.type == SDL_KEYDOWN;
  key.repeat = event.repeat != 0;
  key.alt = (mod & KMOD_ALT) != 0;
  key.shift = (mod & KMOD_SHIFT) != 0;
  key.ctrl = (mod & KMOD_CTRL) != 0;
  return platform::key_message(window, key);
}

}  // namespace platform::sdl2
