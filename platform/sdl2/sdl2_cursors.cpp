// The help cursor's picture and the cursor cache.
#include "platform/sdl2/sdl2_cursors.h"

#include <cstdint>

namespace platform::sdl2 {

namespace {

// 32x32, hot spot at the arrow's tip: 'X' black, '.' white, ' ' transparent.
constexpr const char* kHelpPicture[32] = {
    "X                               ", "XX                              ",
    "X.X                             ", "X..X                            ",
    "X...X                           ", "X....X                          ",
    "X.....X                         ", "X......X                        ",
    "X.......X       XXXXXX          ", "X........X     X......X         ",
    "X.....XXXXX   X..XXXX..X        ", "X..X..X       X..X  X..X        ",
    "X.X X..X       XX  X...X        ", "XX  X..X          X...X         ",
    "X    X..X        X...X          ", "     X..X        X..X           ",
    "      X..X       X..X           ", "      X..X        XX            ",
    "       XX        X..X           ", "                 X..X           ",
    "                  XX            ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
    "                                ", "                                ",
};

SDL_Cursor* make_help_cursor() {
  // SDL's monochrome cursors: data 1 + mask 1 is black, data 0 + mask 1 is white.
  Uint8 data[32 * 4] = {};
  Uint8 mask[32 * 4] = {};
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const char c = kHelpPicture[y][x];
      const auto bit = static_cast<Uint8>(0x80u >> (x % 8));
      if (c == 'X') data[y * 4 + x / 8] |= bit;
      if (c != ' ') mask[y * 4 + x / 8] |= bit;
    }
  }
  return SDL_CreateCursor(data, mask, 32, 32, 0, 0);
}

}  // namespace

Cursors::~Cursors() {
  if (help_ != nullptr) SDL_FreeCursor(help_);
  if (arrow_ != nullptr) SDL_FreeCursor(arrow_);
}

SDL_Cursor* Cursors::help() {
  if (help_ == nullptr) help_ = make_help_cursor();
  return help_;
}

SDL_Cursor* Cursors::arrow() {
  if (arrow_ == nullptr) arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  return arrow_;
}

}  // namespace platform::sdl2
