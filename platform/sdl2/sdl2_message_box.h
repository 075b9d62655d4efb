// Message boxes of the SDL2 backend: the system's box when it can be shown, otherwise a
// window of the backend's own, so that no message is lost.
#pragma once

#include <SDL.h>

namespace platform::sdl2 {

// Shows a box with one OK button and returns when it was answered: true when it could be
// shown. flags are SDL_MESSAGEBOX_*; owner may be null.
using SystemMessageBox = bool (*)(Uint32 flags, const char* caption, const char* text,
                                  SDL_Window* owner);

// SDL_ShowSimpleMessageBox (zenity, or SDL's own X11 box, which needs the X core fonts).
bool show_system_message_box(Uint32 flags, const char* caption, const char* text,
                             SDL_Window* owner);

// Shows text under caption with an OK button, modal over owner (may be null), and returns
// when it is answered. When system_box fails, the message goes to standard error and into a
// window of the backend's own (run_message_window).
void show_message_box(Uint32 flags, const char* caption, const char* text, SDL_Window* owner,
                      SystemMessageBox system_box = show_system_message_box);

}  // namespace platform::sdl2
