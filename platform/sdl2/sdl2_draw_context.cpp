// Text and pixel drawing on SDL surfaces with the bitmap font.
#include "platform/sdl2/sdl2_draw_context.h"

#include <cstring>

#include "platform/font/bitmap_font.h"

namespace platform::sdl2 {

Uint32 read_pixel(const SDL_Surface* surface, int x, int y) {
  if (surface == nullptr || x < 0 || y < 0 || x >= surface->w || y >= surface->h) return 0;
  const int bytes = surface->format->BytesPerPixel;
  const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
  const Uint8* at = row + x * bytes;
  Uint32 pixel = 0;
  switch (bytes) {
    case 1:
      pixel = *at;
      break;
    case 2: {
      Uint16 v;
      std::memcpy(&v, at, 2);
      pixel = v;
      break;
    }
    case 3:
      pixel = Uint32{at[0]} | (Uint32{at[1]} << 8) | (Uint32{at[2]} << 16);
      break;
    default:
      std::memcpy(&pixel, at, 4);
      break;
  }
  return pixel;
}

void write_pixel(SDL_Surface* surface, int x, int y, Uint32 pixel) {
  if (surface == nullptr || x < 0 || y < 0 || x >= surface->w || y >= surface->h) return;
  const int bytes = surface->format->BytesPerPixel;
  Uint8* at = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
  switch (bytes) {
    case 1:
      *at = static_cast<Uint8>(pixel);
      break;
    case 2: {
      const auto v = static_cast<Uint16>(pixel);
      std::memcpy(at, &v, 2);
      break;
    }
    case 3:
      at[0] = static_cast<Uint8>(pixel);
      at[1] = static_cast<Uint8>(pixel >> 8);
      at[2] = static_cast<Uint8>(pixel >> 16);
      break;
    default:
      std::memcpy(at, &pixel, 4);
      break;
  }
}

Uint32 map_color(const SDL_Surface* surface, ColorRef color) {
  return SDL_MapRGB(surface->format, static_cast<Uint8>(color), static_cast<Uint8>(color >> 8),
                    static_cast<Uint8>(color >> 16));
}

ColorRef unmap_pixel(const SDL_Surface* surface, Uint32 pixel) {
  Uint8 r = 0, g = 0, b = 0;
  SDL_GetRGB(pixel, surface->format, &r, &g, &b);
  return ColorRef{r} | (ColorRef{g} << 8) | (ColorRef{b} << 16);
}

ColorRef Sdl2DrawContext::set_bk_color(ColorRef color) {
  const ColorRef previous = background_;
  background_ = color;
  return previous;
}

ColorRef Sdl2DrawContext::set_text_color(ColorRef color) {
  const ColorRef previous = foreground_;
  foreground_ = color;
  return previous;
}

void Sdl2DrawContext::select_font(Font*) {}  // one font only

namespace {

struct Plot {
  SDL_Surface* target;
  Uint32 ink;
  Uint32 paper;
};

void plot(void* context, int x, int y, bool ink) {
  auto* p = static_cast<Plot*>(context);
  write_pixel(p->target, x, y, ink ? p->ink : p->paper);
}

}  // namespace

bool Sdl2DrawContext::text_out(std::int32_t x, std::int32_t y, const char* text,
                               std::int32_t length) {
  if (text == nullptr || length < 0) return false;
  if (target_ == nullptr) return true;
  Plot p{target_, map_color(target_, foreground_), map_color(target_, background_)};
  font::draw_text(text, length, x, y, &plot, &p);
  return true;
}

bool Sdl2DrawContext::text_extent(const char* text, std::int32_t length, std::int32_t* width,
                                  std::int32_t* height) {
  if (text == nullptr || width == nullptr || height == nullptr || length < 0) return false;
  *width = font::text_width(text, length);
  *height = font::line_height();
  return true;
}

ColorRef Sdl2DrawContext::get_pixel(std::int32_t x, std::int32_t y) {
  if (target_ == nullptr || x < 0 || y < 0 || x >= target_->w || y >= target_->h) {
    return kInvalidColor;
  }
  return unmap_pixel(target_, read_pixel(target_, x, y));
}

ColorRef Sdl2DrawContext::set_pixel(std::int32_t x, std::int32_t y, ColorRef color) {
  if (target_ == nullptr || x < 0 || y < 0 || x >= target_->w || y >= target_->h) {
    return kInvalidColor;
  }
  const Uint32 pixel = map_color(target_, color);
  write_pixel(target_, x, y, pixel);
  return unmap_pixel(target_, pixel);  // the colour actually set, as SetPixel reports it
}

}  // namespace platform::sdl2
