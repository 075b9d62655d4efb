// Conversion into the screen's format and whole-number enlargement of the picture.
#include "platform/sdl2/sdl2_picture_scaler.h"

#include <cstdint>
#include <cstring>

namespace platform::sdl2 {

namespace {

// Writes each pixel of a source row scale times.
template <typename Pixel>
void widen_row(const void* source, void* dest, int width, int scale) {
  const auto* from = static_cast<const Pixel*>(source);
  auto* to = static_cast<Pixel*>(dest);
  for (int x = 0; x < width; ++x) {
    const Pixel pixel = from[x];
    for (int k = 0; k < scale; ++k) *to++ = pixel;
  }
}

void widen_row_bytes(const Uint8* from, Uint8* to, int width, int scale, int bytes) {
  for (int x = 0; x < width; ++x, from += bytes) {
    for (int k = 0; k < scale; ++k, to += bytes) std::memcpy(to, from, static_cast<size_t>(bytes));
  }
}

}  // namespace

PictureScaler::~PictureScaler() {
  if (staging_ != nullptr) SDL_FreeSurface(staging_);
}

SDL_Surface* PictureScaler::converted(SDL_Surface* picture, const SDL_PixelFormat* format) {
  if (picture->format->format == format->format) return picture;
  if (staging_ == nullptr || staging_->format->format != format->format ||
      staging_->w != picture->w || staging_->h != picture->h) {
    if (staging_ != nullptr) SDL_FreeSurface(staging_);
    staging_ = SDL_CreateRGBSurfaceWithFormat(0, picture->w, picture->h, format->BitsPerPixel,
                                              format->format);
    if (staging_ == nullptr) return nullptr;
    SDL_SetSurfaceBlendMode(staging_, SDL_BLENDMODE_NONE);
  }
  SDL_SetColorKey(picture, SDL_FALSE, 0);
  return SDL_BlitSurface(picture, nullptr, staging_, nullptr) == 0 ? staging_ : nullptr;
}

int PictureScaler::draw(SDL_Surface* picture, SDL_Surface* screen, const PictureArea& area) {
  SDL_Rect to{area.x, area.y, area.width, area.height};
  SDL_SetColorKey(picture, SDL_FALSE, 0);
  if (area.width == picture->w && area.height == picture->h) {
    return SDL_BlitSurface(picture, nullptr, screen, &to);
  }
  SDL_Surface* source = converted(picture, screen->format);
  if (source == nullptr) return -1;
  const int scale = area.width / source->w;
  const bool whole =
      scale >= 1 && area.width == source->w * scale && area.height == source->h * scale;
  const bool inside = area.x >= 0 && area.y >= 0 && area.x + area.width <= screen->w &&
                      area.y + area.height <= screen->h;
  if (!whole || !inside) return SDL_BlitScaled(source, nullptr, screen, &to);

  if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) return -1;
  const int bytes = screen->format->BytesPerPixel;
  const auto row_bytes = static_cast<size_t>(area.width * bytes);
  for (int y = 0; y < source->h; ++y) {
    const Uint8* from = static_cast<const Uint8*>(source->pixels) + y * source->pitch;
    Uint8* first =
        static_cast<Uint8*>(screen->pixels) + (area.y + y * scale) * screen->pitch + area.x * bytes;
    switch (bytes) {
      case 4:
        widen_row<std::uint32_t>(from, first, source->w, scale);
        break;
      case 2:
        widen_row<std::uint16_t>(from, first, source->w, scale);
        break;
      default:
        widen_row_bytes(from, first, source->w, scale, bytes);
        break;
    }
    for (int k = 1; k < scale; ++k) std::memcpy(first + k * screen->pitch, first, row_bytes);
  }
  if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
  return 0;
}

}  // namespace platform::sdl2
