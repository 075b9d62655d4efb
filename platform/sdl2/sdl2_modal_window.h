// The modal loop shared by the backend's own dialog windows, the About dialog and the
// message window: each is one window with one default push button, drawn by its owner of
// the loop, answered by keys (acting on their release), a click on the button or its close
// box, while the player's window waits.
#pragma once

#include <SDL.h>

#include <functional>

namespace platform::sdl2 {

// What the user did to a modal window.
enum class ModalAction {
  kNone,
  kDefault,  // Enter, keypad Enter or Space released, or a click on the default button
  kCancel,   // Esc released, the close box, or a quit request
  kMoved,    // the window was moved
};

// What the loop remembers between events: the key last pressed in the window (a key acts
// only on the release of a press seen here, so that a key held from before the window
// opened does nothing) and whether the left button went down on the default button.
struct ModalInput {
  SDL_Keycode key_down = SDLK_UNKNOWN;
  bool pressed = false;
};

// One event's meaning for the modal window `id` whose default button is `button`: its
// action, and whether the event belongs to the player and waits until the window has
// closed (the player's window events, a quit request). Other input is dropped, as Windows
// drops input to a window disabled under a modal one.
struct ModalStep {
  ModalAction action = ModalAction::kNone;
  bool defer = false;
};
ModalStep modal_step(ModalInput& input, const SDL_Event& event, Uint32 id, const SDL_Rect& button);

// A window for a modal loop, title and size given, centred over owner (or the screen when
// owner is null) and kept above it; null when it cannot be made.
SDL_Window* create_modal_window(SDL_Window* owner, const char* title, int width, int height);

// Runs the loop over window until done(): draws it (draw gets whether the default button is
// held down) before each wait, hands every action to act, then destroys the window and
// puts the deferred events back in the queue in their order.
void run_modal_loop(SDL_Window* window, const SDL_Rect& button,
                    const std::function<void(SDL_Surface*, bool pressed)>& draw,
                    const std::function<void(ModalAction)>& act, const std::function<bool()>& done);

}  // namespace platform::sdl2
