// Event handling and the loop of the backend's modal windows.
#include "platform/sdl2/sdl2_modal_window.h"

#include <vector>

#include "platform/sdl2/sdl2_termination.h"
#include "platform/sdl2/sdl2_trace.h"

namespace platform::sdl2 {

namespace {

// Keys of the window, or of no window: SDL gives a window shown after the full screen was
// given up the keyboard only a moment after the X server does, and a key read in between
// comes without a window. While the modal window is open no other window of the player
// takes keys.
bool keys_for(const SDL_Event& event, Uint32 id) {
  return event.key.windowID == id || event.key.windowID == 0;
}

bool inside(const SDL_Rect& r, int x, int y) {
  return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

}  // namespace

ModalStep modal_step(ModalInput& input, const SDL_Event& event, Uint32 id, const SDL_Rect& button) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      if (event.window.windowID != id) return {ModalAction::kNone, true};
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) return {ModalAction::kCancel, false};
      if (event.window.event == SDL_WINDOWEVENT_MOVED) return {ModalAction::kMoved, false};
      return {};
    case SDL_KEYDOWN:
      if (keys_for(event, id) && event.key.repeat == 0) input.key_down = event.key.keysym.sym;
      return {};
    case SDL_KEYUP: {
      const SDL_Keycode key = event.key.keysym.sym;
      if (!keys_for(event, id) || key != input.key_down) return {};
      input.key_down = SDLK_UNKNOWN;
      if (key == SDLK_ESCAPE) return {ModalAction::kCancel, false};
      if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_SPACE) {
        return {ModalAction::kDefault, false};
      }
      return {};
    }
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.windowID == id && event.button.button == SDL_BUTTON_LEFT) {
        input.pressed = inside(button, event.button.x, event.button.y);
      }
      return {};
    case SDL_MOUSEBUTTONUP: {
      const bool click = event.button.windowID == id && input.pressed &&
                         inside(button, event.button.x, event.button.y);
      input.pressed = false;
      return {click ? ModalAction::kDefault : ModalAction::kNone, false};
    }
    case SDL_QUIT:
      // The player ends once the window is answered; the request is kept for it.
      return {ModalAction::kCancel, true};
    default:
      return {};
  }
}

SDL_Window* create_modal_window(SDL_Window* owner, const char* title, int width, int height) {
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
  if (owner != nullptr) {
    int ox = 0, oy = 0, ow = 0, oh = 0;
    SDL_GetWindowPosition(owner, &ox, &oy);
    SDL_GetWindowSize(owner, &ow, &oh);
    x = ox + (ow - width) / 2;
    y = oy + (oh - height) / 2;
  }
  SDL_Window* window =
      SDL_CreateWindow(title != nullptr ? title : "", x, y, width, height, SDL_WINDOW_SKIP_TASKBAR);
  if (window == nullptr) return nullptr;
  if (owner != nullptr) SDL_SetWindowModalFor(window, owner);
  SDL_RaiseWindow(window);
  return window;
}

void run_modal_loop(SDL_Window* window, const SDL_Rect& button,
                    const std::function<void(SDL_Surface*, bool pressed)>& draw,
                    const std::function<void(ModalAction)>& act,
                    const std::function<bool()>& done) {
  const Uint32 id = SDL_GetWindowID(window);
  ModalInput input;
  std::vector<SDL_Event> deferred;
  while (!done()) {
    // SIGINT or SIGTERM: the window is cancelled, and the player ends once it has gone.
    if (termination_requested()) {
      act(ModalAction::kCancel);
      break;
    }
    if (SDL_Surface* s = SDL_GetWindowSurface(window)) {
      draw(s, input.pressed);
      SDL_UpdateWindowSurface(window);
    }
    SDL_Event e;
    if (SDL_WaitEvent(&e) == 0) break;
    if (tracing_messages() && (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP)) {
      trace("modal window %u: key %s 0x%x of window %u, repeat %u", id,
            e.type == SDL_KEYDOWN ? "down" : "up", static_cast<unsigned>(e.key.keysym.sym),
            e.key.windowID, e.key.repeat);
    }
    const ModalStep step = modal_step(input, e, id, button);
    if (step.defer) deferred.push_back(e);
    if (step.action != ModalAction::kNone) act(step.action);
  }
  SDL_DestroyWindow(window);
  for (SDL_Event& e : deferred) SDL_PushEvent(&e);
}

}  // namespace platform::sdl2
