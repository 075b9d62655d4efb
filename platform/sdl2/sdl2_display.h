// DirectDraw over SDL: the display object, its surfaces and clipper. Windowed, the primary
// surface is the window's picture area in the desktop's pixel format and the back buffer
// is blitted onto it (enlarged when the window is). In full screen the primary has a
// flipping chain of 640x480 16-bit surfaces whose back buffer is shown by flip: on a
// display that offers 640x480 with 16 bits per pixel in that mode; on any other desktop of
// at least 640x480 over the whole desktop, the picture enlarged by whole numbers, centred
// between black bars; in another program's window (a screensaver's), fitted to it.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

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

class Sdl2Clipper : public ReferenceCounted<Clipper> {
 public:
  explicit Sdl2Clipper(MainWindow& main_window);
  HResult set_hwnd(WindowHandle window) override;

 protected:
  ~Sdl2Clipper() override;

 private:
  MainWindow& main_window_;
};

class Sdl2DirectDraw : public ReferenceCounted<DirectDraw> {
 public:
  explicit Sdl2DirectDraw(MainWindow& main_window);
  HResult set_cooperative_level(WindowHandle window, std::uint32_t flags) override;
  // 640x480x16: the display's own mode when it lists it (the window goes full screen in
  // that mode), else SDL's desktop full screen on a desktop of at least 640x480; in
  // another program's window, that window as it is. Any other mode, a smaller desktop, or
  // MQ_SDL2_NO_640X480X16 in the environment (for tests of the refusal): kE_FAIL.
  HResult set_display_mode(std::uint32_t width, std::uint32_t height,
                           std::uint32_t bits_per_pixel) override;
  HResult create_surface(const SurfaceDesc& desc, Surface** out) override;
  HResult create_clipper(Clipper** out) override;
  HResult restore_all_surfaces() override;
  // Full screen: kDDERR_NOEXCLUSIVEMODE while the window is minimised or hidden. Windowed:
  // kDDERR_WRONGMODE once the desktop's pixel format differs from the one at set-up.
  HResult test_cooperative_level() override;

  void forget(Sdl2Surface* surface);

 protected:
  ~Sdl2DirectDraw() override;

 private:
  // The pixel format of off-screen surfaces: the full-screen mode's, or the desktop's in
  // the layout DirectDraw gives it (x8r8g8b8, b8g8r8 in memory, or the 16-bit layout).
  Uint32 offscreen_format() const;

  MainWindow& main_window_;
  SDL_Window* window_ = nullptr;
  bool exclusive_ = false;
  bool full_screen_ = false;
  Uint32 mode_format_ = SDL_PIXELFORMAT_UNKNOWN;
  Uint32 desktop_format_ = SDL_PIXELFORMAT_UNKNOWN;
  std::vector<Sdl2Surface*> surfaces_;
};

class Sdl2DisplaySystem : public DisplaySystem {
 public:
  // The display of window, which must outlive it and every object it makes.
  explicit Sdl2DisplaySystem(MainWindow& window) : main_window_(window) {}
  HResult create_direct_draw(DirectDraw** out) override;
  DrawContext* get_screen_dc() override;
  void release_screen_dc(DrawContext* context) override;

 private:
  MainWindow& main_window_;
  Sdl2DrawContext screen_{nullptr};
};

}  // namespace platform::sdl2
