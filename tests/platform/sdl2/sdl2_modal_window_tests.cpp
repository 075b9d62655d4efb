// The events of a modal window (the About dialog, the message box) and what they mean,
// row by row: keys act on their release, a click on the default button when it is released
// there, the player's window events and a quit request wait until the window has closed.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/sdl2/sdl2_modal_window.h"

namespace platform::sdl2 {
namespace {

constexpr Uint32 kId = 3;
constexpr Uint32 kPlayer = 1;
constexpr SDL_Rect kButton{50, 60, 75, 23};

SDL_Event key(Uint32 type, SDL_Keycode sym, Uint32 window = kId, Uint8 repeat = 0) {
  SDL_Event e{};
  e.type = type;
  e.key.windowID = window;
  e.key.repeat = repeat;
  e.key.keysym.sym = sym;
  return e;
}
SDL_Event button(Uint32 type, int x, int y, Uint8 which = SDL_BUTTON_LEFT, Uint32 window = kId) {
  SDL_Event e{};
  e.type = type;
  e.button.windowID = window;
  e.button.button = which;
  e.button.x = x;
  e.button.y = y;
  return e;
}
SDL_Event window_event(SDL_WindowEventID what, Uint32 window) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = window;
  e.window.event = static_cast<Uint8>(what);
  return e;
}
SDL_Event of_type(Uint32 type) {
  SDL_Event e{};
  e.type = type;
  return e;
}

struct Row {
  const char* what;
  ModalInput before;
  SDL_Event event;
  ModalAction action;
  bool defer;
  ModalInput after;
};

TEST(Sdl2ModalWindow, EachEventHasItsMeaningForTheWindow) {
  const ModalInput none{};
  const ModalInput held_enter{SDLK_RETURN, false};
  const ModalInput held_escape{SDLK_ESCAPE, false};
  const ModalInput pressed{SDLK_UNKNOWN, true};
  const Row rows[] = {
      {"Enter pressed: nothing yet", none, key(SDL_KEYDOWN, SDLK_RETURN), ModalAction::kNone, false,
       held_enter},
      {"Enter released", held_enter, key(SDL_KEYUP, SDLK_RETURN), ModalAction::kDefault, false,
       none},
      {"a release without its press here (a key held from before)", none,
       key(SDL_KEYUP, SDLK_RETURN), ModalAction::kNone, false, none},
      {"a repeat does not make a press", none, key(SDL_KEYDOWN, SDLK_RETURN, kId, 1),
       ModalAction::kNone, false, none},
      {"another key's release", held_enter, key(SDL_KEYUP, SDLK_ESCAPE), ModalAction::kNone, false,
       held_enter},
      {"keypad Enter released",
       {SDLK_KP_ENTER, false},
       key(SDL_KEYUP, SDLK_KP_ENTER),
       ModalAction::kDefault,
       false,
       none},
      {"Space released",
       {SDLK_SPACE, false},
       key(SDL_KEYUP, SDLK_SPACE),
       ModalAction::kDefault,
       false,
       none},
      {"Esc released", held_escape, key(SDL_KEYUP, SDLK_ESCAPE), ModalAction::kCancel, false, none},
      {"a letter released",
       {SDLK_a, false},
       key(SDL_KEYUP, SDLK_a),
       ModalAction::kNone,
       false,
       none},
      {"a key of the player's window", none, key(SDL_KEYDOWN, SDLK_RETURN, kPlayer),
       ModalAction::kNone, false, none},
      {"a press read before SDL gave the window the keyboard", none,
       key(SDL_KEYDOWN, SDLK_RETURN, 0), ModalAction::kNone, false, held_enter},
      {"left button down on the button", none, button(SDL_MOUSEBUTTONDOWN, 50, 60),
       ModalAction::kNone, false, pressed},
      {"and up on it", pressed, button(SDL_MOUSEBUTTONUP, 124, 82), ModalAction::kDefault, false,
       none},
      {"up beside it", pressed, button(SDL_MOUSEBUTTONUP, 125, 82), ModalAction::kNone, false,
       none},
      {"up on it without a press there", none, button(SDL_MOUSEBUTTONUP, 60, 70),
       ModalAction::kNone, false, none},
      {"left button down beside it", pressed, button(SDL_MOUSEBUTTONDOWN, 49, 60),
       ModalAction::kNone, false, none},
      {"right button down on it", none, button(SDL_MOUSEBUTTONDOWN, 60, 70, SDL_BUTTON_RIGHT),
       ModalAction::kNone, false, none},
      {"the close box", none, window_event(SDL_WINDOWEVENT_CLOSE, kId), ModalAction::kCancel, false,
       none},
      {"moved", none, window_event(SDL_WINDOWEVENT_MOVED, kId), ModalAction::kMoved, false, none},
      {"exposed: drawn again, nothing else", none, window_event(SDL_WINDOWEVENT_EXPOSED, kId),
       ModalAction::kNone, false, none},
      {"the player's window moved: kept for it", none, window_event(SDL_WINDOWEVENT_MOVED, kPlayer),
       ModalAction::kNone, true, none},
      {"a quit request: answers, and is kept", none, of_type(SDL_QUIT), ModalAction::kCancel, true,
       none},
      {"mouse motion: dropped", none, of_type(SDL_MOUSEMOTION), ModalAction::kNone, false, none},
  };
  for (const Row& row : rows) {
    ModalInput input = row.before;
    const ModalStep step = modal_step(input, row.event, kId, kButton);
    EXPECT_EQ(step.action, row.action) << row.what;
    EXPECT_EQ(step.defer, row.defer) << row.what;
    EXPECT_EQ(input.key_down, row.after.key_down) << row.what;
    EXPECT_EQ(input.pressed, row.after.pressed) << row.what;
  }
}

}  // namespace
}  // namespace platform::sdl2
