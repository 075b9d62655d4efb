// The start of SDL's video subsystem, with what it reads as it starts.
#pragma once

namespace platform::sdl2 {

// The window class (X11 WM_CLASS, Wayland app id) of every window SDL opens for the player:
// the desktop entry's id, so that docks and task bars tie the windows to the launcher (the
// entry's StartupWMClass names it too).
inline constexpr char kWindowClass[] = "example.mql.moviquel";

// SDL_Init(SDL_INIT_VIDEO) with the window class set (unless the user chose one through
// SDL_VIDEO_X11_WMCLASS) and, on X11, window surfaces that go straight to the X server.
// Returns SDL_Init's result.
int init_video();

}  // namespace platform::sdl2
