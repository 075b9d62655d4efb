// Draws the 640x480 picture into an area of the window's surface: converted to the
// window's pixel format, then enlarged by whole numbers by repeating pixels and rows, so
// the picture stays sharp and costs one pass over the pixels it covers.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/picture_fit/picture_fit.h"

namespace platform::sdl2 {

class PictureScaler {
 public:
  PictureScaler() = default;
  PictureScaler(const PictureScaler&) = delete;
  PictureScaler& operator=(const PictureScaler&) = delete;
  ~PictureScaler();

  // Draws picture (640x480, any format) into area of screen, which must lie inside screen.
  // Areas that are no whole multiple of the picture (a screensaver's small preview) get
  // SDL's nearest-pixel stretch. 0, or SDL's negative error.
  int draw(SDL_Surface* picture, SDL_Surface* screen, const PictureArea& area);

 private:
  // The picture in the screen's format, made when the two formats differ.
  SDL_Surface* converted(SDL_Surface* picture, const SDL_PixelFormat* format);
  // The table from 16-bit picture pixels to 32-bit screen pixels, built for the screen's
  // format; false when the formats are not those two.
  bool fill_table(const SDL_PixelFormat* from, const SDL_PixelFormat* to);
  // Converts and enlarges in one pass through the table.
  void widen_through_table(const SDL_Surface* picture, SDL_Surface* screen, const PictureArea& area,
                           int scale) const;

  SDL_Surface* staging_ = nullptr;
  Uint32 table_from_ = SDL_PIXELFORMAT_UNKNOWN;
  Uint32 table_to_ = SDL_PIXELFORMAT_UNKNOWN;
  std::vector<std::uint32_t> table_;
};

}  // namespace platform::sdl2
