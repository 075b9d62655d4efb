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

SDL_Cursor* help = nullptr;
SDL_Cursor* arrow = nullptr;

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

SDL_Cursor* help_cursor() {
  if (help == nullptr) help = make_help_cursor();
  return help;
}

SDL_Cursor* arrow_cursor() {
  if (arrow == nullptr) arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  return arrow;
}

void free_cursors() {
  if (help != nullptr) SDL_FreeCursor(help);
  if (arrow != nullptr) SDL_FreeCursor(arrow);
  help = nullptr;
  arrow = nullptr;
}

}  // namespace platform::sdl2
