// The File menu of the windowed player, drawn by the backend because SDL has no native
// menus: the bar above the picture area and the drop-down list, tracked in a modal loop
// as a Windows menu is (the animation stands still while it is open).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>

namespace platform::sdl2 {

// One entry of the drop-down: a command, or a separator (command 0, no text).
struct MenuItem {
  const char* text;  // "\t" separates the shortcut, "&" marks the mnemonic
  std::uint16_t command;
};

// The popup "&File" with its items and separators, in order.
std::span<const MenuItem> file_menu_items();

// Draws the menu bar across the top kMenuBarHeight rows of the window's surface.
void draw_menu_bar(SDL_Surface* screen);

// Whether window point (x, y) is on the menu bar's "File" title.
bool on_file_title(int x, int y);

// Opens the drop-down under the bar and tracks the mouse and keyboard until an item is
// chosen (its command is returned) or the menu is dismissed (0). Events that are not for
// the menu are put back in SDL's queue for the main loop.
std::uint16_t track_file_menu(SDL_Window* window);

}  // namespace platform::sdl2
