// The player's mouse cursors over SDL: the arrow, and the help cursor (an arrow with a
// question mark), which SDL does not have and is drawn here.
#pragma once

#include <SDL.h>

namespace platform::sdl2 {

// The two cursors of one run, each created on first use and freed with the object (which
// must go before SDL_Quit).
class Cursors {
 public:
  Cursors() = default;
  ~Cursors();
  Cursors(const Cursors&) = delete;
  Cursors& operator=(const Cursors&) = delete;

  // The help cursor; null when SDL cannot make it.
  SDL_Cursor* help();
  // SDL's system arrow.
  SDL_Cursor* arrow();

 private:
  SDL_Cursor* help_ = nullptr;
  SDL_Cursor* arrow_ = nullptr;
};

}  // namespace platform::sdl2
