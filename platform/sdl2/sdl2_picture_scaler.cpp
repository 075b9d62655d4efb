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

bool PictureScaler::fill_table(const SDL_PixelFormat* from, const SDL_PixelFormat* to) {
  if (from->BytesPerPixel != 2 || to->BytesPerPixel != 4) return false;
  if (table_from_ == from->format && table_to_ == to->format) return true;
  table_.resize(65536);
  for (std::uint32_t pixel = 0; pixel < 65536; ++pixel) {
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(pixel, from, &r, &g, &b);
    table_[pixel] = SDL_MapRGB(to, r, g, b);
  }
  table_from_ = from->format;
  table_to_ = to->format;
  return true;
}

void PictureScaler::widen_through_table(const SDL_Surface* picture, SDL_Surface* screen,
                                        const PictureArea& area, int scale) const {
  const std::uint32_t* table = table_.data();
  const auto row_bytes = static_cast<size_t>(area.width) * 4;
  for (int y = 0; y < picture->h; ++y) {
    const Uint8* row = static_cast<const Uint8*>(picture->pixels) + y * picture->pitch;
    const auto* from = reinterpret_cast<const std::uint16_t*>(row);
    Uint8* first =
        static_cast<Uint8*>(screen->pixels) + (area.y + y * scale) * screen->pitch + area.x * 4;
    auto* to = reinterpret_cast<std::uint32_t*>(first);
    if (scale == 2) {
      for (int x = 0; x < picture->w; ++x) to[2 * x] = to[2 * x + 1] = table[from[x]];
    } else {
      for (int x = 0; x < picture->w; ++x) {
        const std::uint32_t pixel = table[from[x]];
        for (int k = 0; k < scale; ++k) *to++ = pixel;
      }
    }
    for (int k = 1; k < scale; ++k) std::memcpy(first + k * screen->pitch, first, row_bytes);
  }
}

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
  const int scale = area.width / picture->w;
  const bool whole =
      scale >= 1 && area.width == picture->w * scale && area.height == picture->h * scale;
  const bool inside = area.x >= 0 && area.y >= 0 && area.x + area.width <= screen->w &&
                      area.y + area.height <= screen->h;
  if (whole && inside && fill_table(picture->format, screen->format)) {
    // The usual case, a 16-bit picture on a 32-bit desktop: one pass, no staging copy.
    if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) return -1;
    widen_through_table(picture, screen, area, scale);
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
    return 0;
  }
  SDL_Surface* source = converted(picture, screen->format);
  if (source == nullptr) return -1;
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
