// Text and pixels of the memory display's drawing context.
#include "platform/emulated/memory_draw_context.h"

#include "platform/emulated/memory_pixels.h"
#include "platform/emulated/memory_surface.h"
#include "platform/font/bitmap_font.h"

namespace platform::emulated {

void MemoryDrawContext::plot(void* context, int x, int y, bool ink) {
  auto* self = static_cast<MemoryDrawContext*>(context);
  MemorySurface* s = self->surface_;
  if (!s->inside(x, y)) return;
  s->put(x, y, raw_from_colorref(ink ? self->text_ : self->background_, s->format_));
}

bool MemoryDrawContext::text_out(std::int32_t x, std::int32_t y, const char* text,
                                 std::int32_t length) {
  if (failed(system_->check(Op::kTextOut))) return false;
  if (text == nullptr || length < 0) return false;
  if (surface_ == nullptr) return true;
  if (surface_->lost_) return false;
  font::draw_text(text, length, x, y, plot, this);
  return true;
}

bool MemoryDrawContext::text_extent(const char* text, std::int32_t length, std::int32_t* width,
                                    std::int32_t* height) {
  if (failed(system_->check(Op::kTextExtent))) return false;
  if (text == nullptr || length < 0 || width == nullptr || height == nullptr) return false;
  *width = font::text_width(text, length);
  *height = font::line_height();
  return true;
}

ColorRef MemoryDrawContext::get_pixel(std::int32_t x, std::int32_t y) {
  if (surface_ == nullptr || surface_->lost_ || !surface_->inside(x, y)) return kInvalidColor;
  return colorref_from_raw(surface_->raw(x, y), surface_->format_);
}

ColorRef MemoryDrawContext::set_pixel(std::int32_t x, std::int32_t y, ColorRef color) {
  if (surface_ == nullptr || surface_->lost_ || !surface_->inside(x, y)) return kInvalidColor;
  const std::uint32_t raw = raw_from_colorref(color, surface_->format_);
  surface_->put(x, y, raw);
  return colorref_from_raw(raw, surface_->format_);
}

}  // namespace platform::emulated
