// The translation of one SDL event into window messages.
#include "platform/sdl2/sdl2_events.h"

#include "platform/sdl2/sdl2_keys.h"

namespace platform::sdl2 {

namespace {

constexpr std::intptr_t kHTCLIENT = 1;

}  // namespace

TranslatedEvent translate_event(const SDL_Event& event, const EventTarget& target) {
  TranslatedEvent out;
  const auto add = [&](std::uint32_t id, std::uintptr_t wparam, std::intptr_t lparam) {
    out.messages[out.count++] = Message{target.window, id, wparam, lparam};
  };
  switch (event.type) {
    case SDL_QUIT:  // SIGINT or SIGTERM: close the window as the close box does
      add(kWM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT:
      if (event.window.windowID != target.id) break;
      switch (event.window.event) {
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
          if (target.visible) add(kWM_SIZE, kSIZE_RESTORED, make_lparam(640, 480));
          break;
        case SDL_WINDOWEVENT_HIDDEN:
        case SDL_WINDOWEVENT_MINIMIZED:
          add(kWM_SIZE, kSIZE_MINIMIZED, 0);
          break;
        case SDL_WINDOWEVENT_MOVED:
          add(kWM_MOVE, 0, make_lparam(event.window.data1, event.window.data2 + target.top));
          break;
        case SDL_WINDOWEVENT_CLOSE:
          add(kWM_SYSCOMMAND, kSC_CLOSE, 0);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          out.repaint = true;
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (target.input) out.messages[out.count++] = key_message(target.window, event.key);
      break;
    case SDL_MOUSEMOTION: {
      if (!target.input) break;
      const PicturePoint at = to_picture(target.picture, event.motion.x, event.motion.y);
      add(kWM_SETCURSOR, reinterpret_cast<std::uintptr_t>(target.window),
          make_lparam(static_cast<int>(kHTCLIENT), static_cast<int>(kWM_MOUSEMOVE)));
      add(kWM_MOUSEMOVE, 0, make_lparam(at.x, at.y));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (!target.input) break;
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      if (event.button.y < target.top) {
        if (down && event.button.button == SDL_BUTTON_LEFT) {
          add(kWM_NCLBUTTONDOWN, static_cast<std::uintptr_t>(kHTMENU),
              make_lparam(event.button.x, event.button.y));
        }
        break;
      }
      // Window pixels, perhaps of an enlarged picture, back to the 640x480 picture's.
      const PicturePoint point = to_picture(target.picture, event.button.x, event.button.y);
      const std::intptr_t at = make_lparam(point.x, point.y);
      if (event.button.button == SDL_BUTTON_LEFT) {
        add(down ? kWM_LBUTTONDOWN : kWM_LBUTTONUP, 0, at);
      } else if (event.button.button == SDL_BUTTON_RIGHT) {
        add(down ? kWM_RBUTTONDOWN : kWM_RBUTTONUP, 0, at);
      }
      break;
    }
    default:
      break;
  }
  return out;
}

}  // namespace platform::sdl2
