// The memory display's GDI drawing context: text from the bitmap font and single pixels, on a
// surface's memory or, for the screen's context, on nothing.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/direct_draw.h"
#include "platform/emulated/memory_display.h"

namespace platform::emulated {

class MemoryDrawContext final : public DrawContext {
 public:
  MemoryDrawContext(MemoryDisplaySystem* system, MemorySurface* surface)
      : system_(system), surface_(surface) {
    system_->add_live(Kind::kDrawContext, 1);
  }
  ~MemoryDrawContext() override { system_->add_live(Kind::kDrawContext, -1); }
  MemoryDrawContext(const MemoryDrawContext&) = delete;
  MemoryDrawContext& operator=(const MemoryDrawContext&) = delete;

  ColorRef set_bk_color(ColorRef color) override { return std::exchange(background_, color); }
  ColorRef set_text_color(ColorRef color) override { return std::exchange(text_, color); }
  void select_font(Font* font) override { font_selected_ = font != nullptr; }
  bool text_out(std::int32_t x, std::int32_t y, const char* text, std::int32_t length) override;
  bool text_extent(const char* text, std::int32_t length, std::int32_t* width,
                   std::int32_t* height) override;
  ColorRef get_pixel(std::int32_t x, std::int32_t y) override;
  ColorRef set_pixel(std::int32_t x, std::int32_t y, ColorRef color) override;

  MemorySurface* surface() const { return surface_; }

 private:
  static void plot(void* context, int x, int y, bool ink);

  MemoryDisplaySystem* system_;
  MemorySurface* surface_;  // null for the screen's context
  ColorRef background_ = 0xFFFFFF;
  ColorRef text_ = 0x000000;
  bool font_selected_ = false;
};

}  // namespace platform::emulated
