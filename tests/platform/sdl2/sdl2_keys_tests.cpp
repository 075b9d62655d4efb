// The key table, the key messages and the accelerators, row by row.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/emulated/accelerator_table.h"
#include "platform/message_pump.h"
#include "platform/sdl2/sdl2_keys.h"

namespace platform::sdl2 {
namespace {

struct KeyRow {
  SDL_Keycode key;
  std::uint32_t code;  // the Windows virtual-key code
};

TEST(Sdl2Keys, EachKeyHasTheWindowsCodeTheHandlersKnow) {
  constexpr KeyRow kRows[] = {
      // Letters and digits: their upper-case ASCII codes; P, T and X act in the player.
      {SDLK_a, 0x41},
      {SDLK_p, 0x50},
      {SDLK_t, 0x54},
      {SDLK_x, 0x58},
      {SDLK_z, 0x5A},
      {SDLK_0, 0x30},
      {SDLK_9, 0x39},
      {SDLK_SPACE, 0x20},
      {SDLK_RETURN, 13},
      {SDLK_KP_ENTER, 13},
      {SDLK_ESCAPE, 27},
      {SDLK_LALT, 18},
      {SDLK_RALT, 18},
      {SDLK_LSHIFT, 0x10},
      {SDLK_RSHIFT, 0x10},
      {SDLK_LCTRL, 0x11},
      {SDLK_RCTRL, 0x11},
      {SDLK_F1, 0x70},
      {SDLK_F10, 0x79},
      {SDLK_F12, 0x7B},
      {SDLK_F13, 0x7C},
      {SDLK_F24, 0x87},
      {SDLK_KP_0, 0x60},
      {SDLK_KP_1, 0x61},
      {SDLK_KP_9, 0x69},
      {SDLK_KP_DIVIDE, 0x6F},
      {SDLK_LEFT, 0x25},
      {SDLK_DOWN, 0x28},
      {SDLK_PAGEUP, 0x21},
      {SDLK_DELETE, 0x2E},
      {SDLK_SEMICOLON, 0xBA},
      {SDLK_QUOTE, 0xDE},
      {SDLK_BACKQUOTE, 0xC0},
      {SDLK_NUMLOCKCLEAR, 0x90},
      {SDLK_SCROLLLOCK, 0x91},
      {SDLK_PRINTSCREEN, 0x2C},
      {SDLK_LGUI, 0x5B},
      {SDLK_RGUI, 0x5C},
      {SDLK_APPLICATION, 0x5D},
      // Keys without a code of their own reach the window procedure with the one Windows
      // gives such keys: "any other key" switches the picture.
      {SDLK_AUDIOPLAY, kVK_NoMapping},
      {SDLK_UNKNOWN, kVK_NoMapping},
  };
  for (const KeyRow& row : kRows) {
    EXPECT_EQ(virtual_key(row.key), row.code) << SDL_GetKeyName(row.key);
  }
}

struct MessageRow {
  Uint32 type;
  SDL_Keycode key;
  Uint16 modifiers;
  Uint8 repeat;
  std::uint32_t id;          // the message
  std::uint32_t set_bits;    // bits of the second parameter that must be set
  std::uint32_t clear_bits;  // and those that must not
  std::uint16_t command;     // the accelerator's command, 0 for none
};

TEST(Sdl2Keys, PressesAndReleasesBecomeKeyMessagesAndTheAcceleratorsActOnThePress) {
  constexpr std::uint32_t kUp = kKeyPrevious | kKeyReleased;
  constexpr MessageRow kRows[] = {
      {SDL_KEYDOWN, SDLK_a, KMOD_NONE, 0, kWM_KEYDOWN, 0, kUp | kKeyAlt, 0},
      // Windows sets the previous-state and transition bits on every release, and the
      // previous-state bit on a repeat.
      {SDL_KEYUP, SDLK_a, KMOD_NONE, 0, kWM_KEYUP, kUp, kKeyAlt, 0},
      {SDL_KEYDOWN, SDLK_a, KMOD_NONE, 1, kWM_KEYDOWN, kKeyPrevious, kKeyReleased, 0},
      // Alt, F10 and any key with Alt held are system keys.
      {SDL_KEYUP, SDLK_LALT, KMOD_NONE, 0, kWM_SYSKEYUP, kUp, 0, 0},
      {SDL_KEYDOWN, SDLK_F10, KMOD_NONE, 0, kWM_SYSKEYDOWN, 0, kKeyAlt, 0},
      {SDL_KEYUP, SDLK_a, KMOD_LALT, 0, kWM_SYSKEYUP, kUp | kKeyAlt, 0, 0},
      {SDL_KEYUP, SDLK_UNKNOWN, KMOD_NONE, 0, kWM_KEYUP, kUp, 0, 0},
      // The accelerators: Esc alone and Alt+X end, Alt+Enter switches the mode.
      {SDL_KEYDOWN, SDLK_ESCAPE, KMOD_NONE, 0, kWM_KEYDOWN, 0, kKeyAlt, 1001},
      {SDL_KEYDOWN, SDLK_x, KMOD_LALT, 0, kWM_SYSKEYDOWN, kKeyAlt, 0, 1001},
      {SDL_KEYDOWN, SDLK_x, KMOD_RALT, 0, kWM_SYSKEYDOWN, kKeyAlt, 0, 1001},
      {SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT, 0, kWM_SYSKEYDOWN, kKeyAlt, 0, 1002},
      {SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_RALT, 0, kWM_SYSKEYDOWN, kKeyAlt, 0, 1002},
      // Each matches only with exactly its modifiers, and never on the release.
      {SDL_KEYUP, SDLK_ESCAPE, KMOD_NONE, 0, kWM_KEYUP, kUp, 0, 0},
      {SDL_KEYDOWN, SDLK_ESCAPE, KMOD_LALT, 0, kWM_SYSKEYDOWN, kKeyAlt, 0, 0},
      {SDL_KEYDOWN, SDLK_ESCAPE, KMOD_LSHIFT, 0, kWM_KEYDOWN, kKeyShift, 0, 0},
      {SDL_KEYDOWN, SDLK_RETURN, KMOD_NONE, 0, kWM_KEYDOWN, 0, 0, 0},
      {SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT | KMOD_LCTRL, 0, kWM_SYSKEYDOWN, kKeyAlt | kKeyCtrl, 0,
       0},
      {SDL_KEYDOWN, SDLK_x, KMOD_NONE, 0, kWM_KEYDOWN, 0, 0, 0},
      {SDL_KEYDOWN, SDLK_x, KMOD_LALT | KMOD_LSHIFT, 0, kWM_SYSKEYDOWN, kKeyAlt | kKeyShift, 0, 0},
      {SDL_KEYDOWN, SDLK_t, KMOD_NONE, 0, kWM_KEYDOWN, 0, 0, 0},
  };
  static int window_tag;
  for (const MessageRow& row : kRows) {
    SDL_KeyboardEvent e{};
    e.type = row.type;
    e.state = row.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.repeat = row.repeat;
    e.keysym.sym = row.key;
    e.keysym.mod = row.modifiers;
    const Message m = key_message(&window_tag, e);
    SCOPED_TRACE(testing::Message() << SDL_GetKeyName(row.key) << " mod " << row.modifiers
                                    << (row.type == SDL_KEYDOWN ? " down" : " up"));
    EXPECT_EQ(m.window, &window_tag);
    EXPECT_EQ(m.id, row.id);
    EXPECT_EQ(m.wparam, virtual_key(row.key));
    const auto bits = static_cast<std::uint32_t>(m.lparam);
    EXPECT_EQ(bits & row.set_bits, row.set_bits);
    EXPECT_EQ(bits & row.clear_bits, 0u);
    EXPECT_EQ(bits & 0xFFFFu, 1u);  // the repeat count
    EXPECT_EQ(emulated::accelerator_command(m), row.command);
  }
}

}  // namespace
}  // namespace platform::sdl2
