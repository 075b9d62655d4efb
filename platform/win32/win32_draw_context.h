// A GDI device context (on a DirectDraw surface or on the screen) behind the portable
// DrawContext: colours, font, text output and measurement, single pixels.
#pragma once

#include "platform/direct_draw.h"
#include "platform/win32/win32_headers.h"

namespace platform::win32 {

class Win32DrawContext final : public DrawContext {
 public:
  // The context to draw through; null while none is handed out.
  void attach(HDC dc) { dc_ = dc; }
  HDC handle() const { return dc_; }

  ColorRef set_bk_color(ColorRef color) override;
  ColorRef set_text_color(ColorRef color) override;
  void select_font(Font* font) override;
  bool text_out(std::int32_t x, std::int32_t y, const char* text, std::int32_t length) override;
  bool text_extent(const char* text, std::int32_t length, std::int32_t* width,
                   std::int32_t* height) override;
  ColorRef get_pixel(std::int32_t x, std::int32_t y) override;
  ColorRef set_pixel(std::int32_t x, std::int32_t y, ColorRef color) override;

 private:
  HDC dc_ = nullptr;
};

}  // namespace platform::win32
