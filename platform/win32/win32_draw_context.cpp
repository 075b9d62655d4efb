// GDI calls on a device context handed out by a surface or by the screen.
#include "platform/win32/win32_draw_context.h"

namespace platform::win32 {

ColorRef Win32DrawContext::set_bk_color(ColorRef color) {
  return static_cast<ColorRef>(SetBkColor(dc_, static_cast<COLORREF>(color)));
}

ColorRef Win32DrawContext::set_text_color(ColorRef color) {
  return static_cast<ColorRef>(SetTextColor(dc_, static_cast<COLORREF>(color)));
}

void Win32DrawContext::select_font(Font* font) {
  // The portable Font is an opaque HFONT; null keeps the context's default font.
  if (font != nullptr) SelectObject(dc_, reinterpret_cast<HGDIOBJ>(font));
}

bool Win32DrawContext::text_out(std::int32_t x, std::int32_t y, const char* text,
                                std::int32_t length) {
  if (text == nullptr || length < 0) return false;
  return TextOutA(dc_, x, y, text, length) != FALSE;
}

bool Win32DrawContext::text_extent(const char* text, std::int32_t length, std::int32_t* width,
                                   std::int32_t* height) {
  if (text == nullptr || length < 0 || width == nullptr || height == nullptr) return false;
  SIZE size{};
  if (GetTextExtentPoint32A(dc_, text, length, &size) == FALSE) return false;
  *width = static_cast<std::int32_t>(size.cx);
  *height = static_cast<std::int32_t>(size.cy);
  return true;
}

ColorRef Win32DrawContext::get_pixel(std::int32_t x, std::int32_t y) {
  return static_cast<ColorRef>(GetPixel(dc_, x, y));
}

ColorRef Win32DrawContext::set_pixel(std::int32_t x, std::int32_t y, ColorRef color) {
  return static_cast<ColorRef>(SetPixel(dc_, x, y, static_cast<COLORREF>(color)));
}

}  // namespace platform::win32
