// A DirectDraw surface over SDL: an off-screen surface, the window's primary (drawn into
// the window's surface, enlarged when the window is), or the front or back of a full-screen
// flipping chain.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/direct_draw.h"
#include "platform/reference_counted.h"
#include "platform/sdl2/sdl2_draw_context.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_picture_scaler.h"

namespace platform::sdl2 {

class Sdl2DirectDraw;

class Sdl2Surface : public ReferenceCounted<Surface> {
 public:
  enum class Kind { kOffscreen, kWindowPrimary, kFlipFront, kFlipBack };

  // pixels is owned (null for the window primary, which draws into the window's surface).
  // main_window is the backend's window state; it must outlive the surface.
  Sdl2Surface(MainWindow& main_window, Sdl2DirectDraw* owner, Kind kind, SDL_Window* window,
              SDL_Surface* pixels);

  HResult get_attached_surface(std::uint32_t caps, Surface** out) override;
  HResult set_clipper(Clipper* clipper) override;
  HResult flip(Surface* target, std::uint32_t flags) override;
  HResult blt(const Rect* dest_rect, Surface* source, const Rect* source_rect, std::uint32_t flags,
              std::uint32_t fill_color) override;
  HResult blt_fast(std::int32_t x, std::int32_t y, Surface* source, const Rect* source_rect,
                   std::uint32_t flags) override;
  HResult restore() override;
  HResult get_pixel_format(PixelFormatDesc* out) override;
  HResult get_surface_desc(SurfaceDesc* out) override;
  HResult lock(const Rect* rect, SurfaceDesc* out, std::uint32_t flags) override;
  HResult unlock(const Rect* rect) override;
  HResult get_dc(DrawContext** out) override;
  HResult release_dc(DrawContext* context) override;
  HResult set_color_key(std::uint32_t flags, std::uint32_t low, std::uint32_t high) override;

  void attach_back(Sdl2Surface* back) { attached_ = back; }
  void forget_owner() { owner_ = nullptr; }

 protected:
  ~Sdl2Surface() override;
  // The back buffer of a chain lives as long as its front.
  bool deleted_at_zero() const override { return kind_ != Kind::kFlipBack; }

 private:
  // The SDL surface that holds this surface's pixels: its own, or the window's.
  SDL_Surface* target();
  // Shows the window's surface, only the given part of it when not null; a failure means
  // the window surface was lost.
  HResult show_window(const SDL_Rect* part = nullptr);
  // Whether screen is a window surface this surface has not painted whole yet.
  bool fresh_screen(const SDL_Surface* screen);

  MainWindow& main_window_;
  Sdl2DirectDraw* owner_;
  Kind kind_;
  SDL_Window* window_;
  SDL_Surface* pixels_;
  Sdl2Surface* attached_ = nullptr;  // the flipping chain's back buffer, destroyed with us
  Clipper* clipper_ = nullptr;
  bool keyed_ = false;
  Uint32 key_ = 0;
  bool lost_ = false;
  Sdl2DrawContext context_{nullptr};
  PictureScaler scaler_;
  const SDL_Surface* painted_ = nullptr;  // the window surface last painted whole
  int painted_width_ = 0;
  int painted_height_ = 0;
};

// An SDL surface of the given size and pixel format that copies without blending; null
// when it cannot be made.
SDL_Surface* make_surface(int width, int height, Uint32 format);
// The pixel format of the window's surface; SDL_PIXELFORMAT_UNKNOWN without one.
Uint32 window_format(SDL_Window* window);

}  // namespace platform::sdl2
