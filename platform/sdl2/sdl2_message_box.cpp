// The system's message box, and the backend's own window where the system has none.
#include "platform/sdl2/sdl2_message_box.h"

#include <cstdio>

#include "platform/sdl2/sdl2_message_window.h"

namespace platform::sdl2 {

bool show_system_message_box(Uint32 flags, const char* caption, const char* text,
                             SDL_Window* owner) {
  return SDL_ShowSimpleMessageBox(flags, caption, text, owner) == 0;
}

void show_message_box(Uint32 flags, const char* caption, const char* text, SDL_Window* owner,
                      SystemMessageBox system_box) {
  if (system_box(flags, caption, text, owner)) return;
  // Standard error keeps the message even when no window at all can be opened.
  std::fprintf(stderr, "moviquel: no system message window (%s); showing \"%s\": %s\n",
               SDL_GetError(), caption, text);
  if (!run_message_window(owner, caption, text)) {
    std::fprintf(stderr, "moviquel: cannot open a message window either: %s\n", SDL_GetError());
  }
}

}  // namespace platform::sdl2
