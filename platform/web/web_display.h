// DirectDraw in the browser: every surface is plain memory in the 16-bit 5-6-5 layout, and
// the primary surface stands for the canvas. Windowed, a copy onto the primary shows it;
// in full screen the primary has a flipping chain whose back buffer a flip shows. The
// canvas itself, and what full screen means on the page, are the Screen's.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/direct_draw.h"
#include "platform/reference_counted.h"

namespace platform::web {

// The page's side of the display.
class Screen {
 public:
  virtual ~Screen() = default;
  // Shows width × height 5-6-5 pixels, rows pitch_pixels apart.
  virtual void show(const std::uint16_t* pixels, std::int32_t pitch_pixels, std::int32_t width,
                    std::int32_t height) = 0;
  // Enters (the Fullscreen API, no menu bar) or leaves the player's full-screen mode.
  virtual void set_full_screen(bool on) = 0;
};

// The 5-6-5 layout of every surface.
inline constexpr PixelFormatDesc kWebPixelFormat{16, 0xF800u, 0x07E0u, 0x001Fu};

// A GDI colour (0x00BBGGRR) as a 5-6-5 pixel, and back (channels widened by repeating their
// top bits).
std::uint16_t pixel_of(ColorRef color);
ColorRef color_of(std::uint16_t pixel);

class WebSurface;

// A drawing context on a surface's memory with the bitmap font; without a surface it only
// measures text (the screen's context).
class WebDrawContext : public DrawContext {
 public:
  explicit WebDrawContext(WebSurface* target) : target_(target) {}
  ColorRef set_bk_color(ColorRef color) override;
  ColorRef set_text_color(ColorRef color) override;
  void select_font(Font*) override {}
  bool text_out(std::int32_t x, std::int32_t y, const char* text, std::int32_t length) override;
  bool text_extent(const char* text, std::int32_t length, std::int32_t* width,
                   std::int32_t* height) override;
  ColorRef get_pixel(std::int32_t x, std::int32_t y) override;
  ColorRef set_pixel(std::int32_t x, std::int32_t y, ColorRef color) override;

 private:
  WebSurface* target_;
  ColorRef background_ = 0xFFFFFF;  // GDI's defaults: black text on white
  ColorRef foreground_ = 0x000000;
};

class WebSurface : public ReferenceCounted<Surface> {
 public:
  enum class Kind { kOffscreen, kWindowPrimary, kFlipFront, kFlipBack };

  WebSurface(Screen* screen, Kind kind, std::int32_t width, std::int32_t height);

  HResult get_attached_surface(std::uint32_t caps, Surface** out) override;
  HResult set_clipper(Clipper* clipper) override;
  HResult flip(Surface* target, std::uint32_t flags) override;
  HResult blt(const Rect* dest_rect, Surface* source, const Rect* source_rect, std::uint32_t flags,
              std::uint32_t fill_color) override;
  HResult blt_fast(std::int32_t x, std::int32_t y, Surface* source, const Rect* source_rect,
                   std::uint32_t flags) override;
  HResult restore() override { return kS_OK; }
  HResult get_pixel_format(PixelFormatDesc* out) override;
  HResult get_surface_desc(SurfaceDesc* out) override;
  HResult lock(const Rect* rect, SurfaceDesc* out, std::uint32_t flags) override;
  HResult unlock(const Rect*) override { return kS_OK; }
  HResult get_dc(DrawContext** out) override;
  HResult release_dc(DrawContext* context) override;
  HResult set_color_key(std::uint32_t flags, std::uint32_t low, std::uint32_t high) override;

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  std::uint16_t* row(std::int32_t y) {
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  bool inside(std::int32_t x, std::int32_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
  }
  // Gives a flipping chain's front its back buffer, which it owns.
  void attach_back(WebSurface* back) { back_ = back; }

 protected:
  ~WebSurface() override;
  bool deleted_at_zero() const override { return kind_ != Kind::kFlipBack; }

 private:
  void show();

  Screen* screen_;
  Kind kind_;
  std::int32_t width_;
  std::int32_t height_;
  std::vector<std::uint16_t> pixels_;
  WebSurface* back_ = nullptr;
  Clipper* clipper_ = nullptr;
  bool keyed_ = false;
  std::uint16_t key_ = 0;
  WebDrawContext context_{this};
};

class WebClipper : public ReferenceCounted<Clipper> {
 public:
  HResult set_hwnd(WindowHandle) override { return kS_OK; }  // the canvas clips itself

 protected:
  ~WebClipper() override = default;
};

class WebDirectDraw : public ReferenceCounted<DirectDraw> {
 public:
  explicit WebDirectDraw(Screen* screen) : screen_(screen) {}
  // Exclusive and full screen asks for full screen; normal leaves it.
  HResult set_cooperative_level(WindowHandle window, std::uint32_t flags) override;
  // Only 640×480×16 in exclusive mode: the page shows it over the whole screen.
  HResult set_display_mode(std::uint32_t width, std::uint32_t height,
                           std::uint32_t bits_per_pixel) override;
  HResult create_surface(const SurfaceDesc& desc, Surface** out) override;
  HResult create_clipper(Clipper** out) override;
  HResult restore_all_surfaces() override { return kS_OK; }
  // Nothing takes the canvas away; a hidden page simply gets no animation frames.
  HResult test_cooperative_level() override { return kS_OK; }

 protected:
  ~WebDirectDraw() override;

 private:
  Screen* screen_;
  bool exclusive_ = false;
  bool full_screen_ = false;
};

class WebDisplaySystem : public DisplaySystem {
 public:
  explicit WebDisplaySystem(Screen* screen) : screen_(screen) {}
  HResult create_direct_draw(DirectDraw** out) override;
  DrawContext* get_screen_dc() override { return &measure_; }
  void release_screen_dc(DrawContext*) override {}

 private:
  Screen* screen_;
  WebDrawContext measure_{nullptr};
};

}  // namespace platform::web
