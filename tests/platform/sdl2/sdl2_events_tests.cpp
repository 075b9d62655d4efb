// SDL events of the player's window and the messages they become, row by row.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "platform/sdl2/sdl2_events.h"
#include "platform/sdl2/sdl2_keys.h"

namespace platform::sdl2 {
namespace {

int window_tag;
constexpr Uint32 kId = 7;
constexpr std::uint32_t kWM_NCLBUTTONDOWN = 0x00A1;
constexpr std::uint32_t kHTMENU = 5;

SDL_Event window_event(SDL_WindowEventID what, Uint32 id = kId, int x = 0, int y = 0) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = id;
  e.window.event = static_cast<Uint8>(what);
  e.window.data1 = x;
  e.window.data2 = y;
  return e;
}
SDL_Event button(Uint32 type, Uint8 which, int x, int y) {
  SDL_Event e{};
  e.type = type;
  e.button.windowID = kId;
  e.button.button = which;
  e.button.x = x;
  e.button.y = y;
  return e;
}
SDL_Event motion(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = kId;
  e.motion.x = x;
  e.motion.y = y;
  return e;
}
SDL_Event key(Uint32 type, SDL_Keycode sym) {
  SDL_Event e{};
  e.type = type;
  e.key.windowID = kId;
  e.key.keysym.sym = sym;
  return e;
}
SDL_Event quit() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  return e;
}

// A window with its menu bar and the picture enlarged twice below it.
EventTarget windowed() {
  EventTarget t;
  t.window = &window_tag;
  t.id = kId;
  t.top = 20;
  t.picture = scaled_picture(0, 20, 2);
  return t;
}
EventTarget minimised() {
  EventTarget t = windowed();
  t.visible = false;
  return t;
}
EventTarget screensaver() {
  EventTarget t = windowed();
  t.input = false;
  t.top = 0;
  t.picture = scaled_picture(0, 0, 1);
  return t;
}

struct Sent {
  std::uint32_t id;
  std::uintptr_t wparam;
  std::intptr_t lparam;
  bool operator==(const Sent&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Sent& s) {
  return out << std::hex << "{0x" << s.id << ", 0x" << s.wparam << ", 0x" << s.lparam << "}";
}

constexpr std::intptr_t at(int x, int y) {
  return static_cast<std::intptr_t>(static_cast<std::uint32_t>(y) << 16 |
                                    static_cast<std::uint32_t>(x));
}

struct Row {
  const char* what;
  SDL_Event event;
  EventTarget target;
  std::vector<Sent> messages;
  bool repaint;
};

TEST(Sdl2Events, EachEventBecomesTheMessagesOfItsWin32Counterpart) {
  const std::intptr_t kSetCursorMove = at(1, static_cast<int>(kWM_MOUSEMOVE));
  const Row rows[] = {
      {"SIGTERM or SIGINT close the window", quit(), windowed(), {{kWM_CLOSE, 0, 0}}, false},
      {"shown",
       window_event(SDL_WINDOWEVENT_SHOWN),
       windowed(),
       {{kWM_SIZE, kSIZE_RESTORED, at(640, 480)}},
       false},
      {"restored while still minimised: nothing",
       window_event(SDL_WINDOWEVENT_RESTORED),
       minimised(),
       {},
       false},
      {"hidden",
       window_event(SDL_WINDOWEVENT_HIDDEN),
       windowed(),
       {{kWM_SIZE, kSIZE_MINIMIZED, 0}},
       false},
      {"minimised",
       window_event(SDL_WINDOWEVENT_MINIMIZED),
       windowed(),
       {{kWM_SIZE, kSIZE_MINIMIZED, 0}},
       false},
      {"moved: the picture area's corner",
       window_event(SDL_WINDOWEVENT_MOVED, kId, 100, 50),
       windowed(),
       {{kWM_MOVE, 0, at(100, 70)}},
       false},
      {"close box",
       window_event(SDL_WINDOWEVENT_CLOSE),
       windowed(),
       {{kWM_SYSCOMMAND, kSC_CLOSE, 0}},
       false},
      {"exposed: repaint", window_event(SDL_WINDOWEVENT_EXPOSED), windowed(), {}, true},
      {"resized: repaint", window_event(SDL_WINDOWEVENT_SIZE_CHANGED), windowed(), {}, true},
      {"another window's event",
       window_event(SDL_WINDOWEVENT_CLOSE, kId + 1),
       windowed(),
       {},
       false},
      {"key", key(SDL_KEYDOWN, SDLK_a), windowed(), {{kWM_KEYDOWN, 'A', 1}}, false},
      {"mouse move: cursor, then the picture pixel",
       motion(201, 121),
       windowed(),
       {{kWM_SETCURSOR, reinterpret_cast<std::uintptr_t>(&window_tag), kSetCursorMove},
        {kWM_MOUSEMOVE, 0, at(100, 50)}},
       false},
      {"left button on the menu bar",
       button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 15, 10),
       windowed(),
       {{kWM_NCLBUTTONDOWN, kHTMENU, at(15, 10)}},
       false},
      {"its release there: nothing",
       button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 15, 10),
       windowed(),
       {},
       false},
      {"left button on the picture",
       button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 201, 121),
       windowed(),
       {{kWM_LBUTTONDOWN, 0, at(100, 50)}},
       false},
      {"left release",
       button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 201, 121),
       windowed(),
       {{kWM_LBUTTONUP, 0, at(100, 50)}},
       false},
      {"right button",
       button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 0, 20),
       windowed(),
       {{kWM_RBUTTONDOWN, 0, at(0, 0)}},
       false},
      {"right release",
       button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 0, 20),
       windowed(),
       {{kWM_RBUTTONUP, 0, at(0, 0)}},
       false},
      {"middle button: nothing",
       button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 201, 121),
       windowed(),
       {},
       false},
      {"a screensaver's key", key(SDL_KEYDOWN, SDLK_a), screensaver(), {}, false},
      {"a screensaver's mouse", motion(5, 5), screensaver(), {}, false},
      {"a screensaver's click",
       button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 5),
       screensaver(),
       {},
       false},
      {"a screensaver's window closed",
       window_event(SDL_WINDOWEVENT_CLOSE),
       screensaver(),
       {{kWM_SYSCOMMAND, kSC_CLOSE, 0}},
       false},
  };
  for (const Row& row : rows) {
    const TranslatedEvent t = translate_event(row.event, row.target);
    std::vector<Sent> sent;
    for (int i = 0; i < t.count; ++i) {
      EXPECT_EQ(t.messages[i].window, &window_tag) << row.what;
      std::uintptr_t wparam = t.messages[i].wparam;
      std::intptr_t lparam = t.messages[i].lparam;
      if (t.messages[i].id == kWM_KEYDOWN) lparam &= 0xFFFF;  // the repeat count
      sent.push_back(Sent{t.messages[i].id, wparam, lparam});
    }
    EXPECT_EQ(sent, row.messages) << row.what;
    EXPECT_EQ(t.repaint, row.repaint) << row.what;
  }
}

}  // namespace
}  // namespace platform::sdl2
