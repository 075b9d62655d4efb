// The application icon for the SDL window, read from the same .ico file that the Windows
// executable carries as icon 101.
#pragma once

#include <SDL.h>

#include <cstddef>

namespace platform::sdl2 {

// Decodes the first uncompressed image of an .ico file (1, 4, 8, 24 or 32 bits per pixel,
// with its transparency mask) into a new 32-bit ARGB surface; null when it cannot.
SDL_Surface* decode_icon(const unsigned char* data, std::size_t size);

// The player's icon (icon 101) as an SDL surface, or null; the caller frees it.
SDL_Surface* application_icon();

}  // namespace platform::sdl2
