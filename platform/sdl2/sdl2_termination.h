// SIGINT and SIGTERM end the player at any moment: in its main loop, in a modal window, in
// the File menu or during start-up. The handler only notes the request and wakes a thread
// that pushes SDL_QUIT, so that whichever loop waits for events wakes up and sees it.
#pragma once

namespace platform::sdl2 {

// Before SDL starts its video: SIGINT and SIGTERM go to the player's handler (SDL's own
// are left out). False when the handler cannot be set up.
bool catch_termination();

// Whether SIGINT or SIGTERM has come; once true, it stays true.
bool termination_requested();

// While SDL still runs: the waking thread ends.
void release_termination();

}  // namespace platform::sdl2
