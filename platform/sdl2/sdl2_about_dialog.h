// The About dialog (dialog 103) drawn by the backend in a modal window of its own: the
// group box "About" around the product caption, the version and notice lines, and the
// default push button with the host name.
#pragma once

#include <SDL.h>

#include <functional>

#include "platform/message_pump.h"

namespace platform::sdl2 {

// Runs the dialog over owner until ended() is true, sending its messages to procedure with
// dialog as the window: WM_INITDIALOG first, WM_MOVE when it moves, WM_COMMAND 1004 for
// the button (click, Enter or Space) and WM_COMMAND IDCANCEL for Esc, the close box or a
// quit request; keys act when released (run_modal_loop). False when the window cannot be
// made.
bool run_about_dialog(SDL_Window* owner, WindowHandle dialog, DialogProcedure procedure,
                      const std::function<bool()>& ended);

}  // namespace platform::sdl2
