// A GDI-like drawing context over an SDL surface, drawing text with the player's bitmap
// font; without a surface it only measures text (the screen's context).
#pragma once

#include <SDL.h>

#include "platform/direct_draw.h"

namespace platform::sdl2 {

class Sdl2DrawContext : public DrawContext {
 public:
  // target may be null: the context then measures text and draws nothing.
  explicit Sdl2DrawContext(SDL_Surface* target) : target_(target) {}

  ColorRef set_bk_color(ColorRef color) override;
  ColorRef set_text_color(ColorRef color) override;
  void select_font(Font* font) override;
  bool text_out(std::int32_t x, std::int32_t y, const char* text, std::int32_t length) override;
  bool text_extent(const char* text, std::int32_t length, std::int32_t* width,
                   std::int32_t* height) override;
  ColorRef get_pixel(std::int32_t x, std::int32_t y) override;
  ColorRef set_pixel(std::int32_t x, std::int32_t y, ColorRef color) override;

 private:
  SDL_Surface* target_;
  ColorRef background_ = 0xFFFFFF;  // GDI's defaults: black text on white
  ColorRef foreground_ = 0x000000;
};

// Raw pixel access to a surface of 1 to 4 bytes per pixel, clipped to the surface.
Uint32 read_pixel(const SDL_Surface* surface, int x, int y);
void write_pixel(SDL_Surface* surface, int x, int y, Uint32 pixel);
// A GDI colour (0x00BBGGRR) as a raw pixel of the surface's format, and back.
Uint32 map_color(const SDL_Surface* surface, ColorRef color);
ColorRef unmap_pixel(const SDL_Surface* surface, Uint32 pixel);

}  // namespace platform::sdl2
