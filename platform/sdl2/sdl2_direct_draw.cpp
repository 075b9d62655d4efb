// The SDL implementation of the DirectDraw object.
#include "platform/sdl2/sdl2_direct_draw.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/sdl2/sdl2_clipper.h"
#include "platform/sdl2/sdl2_display.h"
#include "platform/sdl2/sdl2_main_window.h"

namespace platform::sdl2 {

Sdl2DirectDraw::Sdl2DirectDraw(MainWindow& main_window) : main_window_(main_window) {
  ++main_window_.live_display_objects;
}

Sdl2DirectDraw::~Sdl2DirectDraw() {
  for (Sdl2Surface* s : surfaces_) s->forget_owner();
  --main_window_.live_display_objects;
}

void Sdl2DirectDraw::forget(Sdl2Surface* surface) {
  surfaces_.erase(std::remove(surfaces_.begin(), surfaces_.end(), surface), surfaces_.end());
}

HResult Sdl2DirectDraw::set_cooperative_level(WindowHandle window, std::uint32_t flags) {
  SDL_Window* sdl = sdl_window(main_window_, window);
  if (sdl == nullptr) return kE_INVALIDARG;
  window_ = sdl;
  exclusive_ = (flags & kCoopExclusive) != 0;
  if (!exclusive_) {
    if (full_screen_ && !main_window_.foreign) SDL_SetWindowFullscreen(sdl, 0);
    full_screen_ = false;
    desktop_format_ = window_format(sdl);
  }
  return kS_OK;
}

HResult Sdl2DirectDraw::set_display_mode(std::uint32_t width, std::uint32_t height,
                                         std::uint32_t bits_per_pixel) {
  if (window_ == nullptr || !exclusive_) return kE_FAIL;
  if (width != kPictureWidth || height != kPictureHeight || bits_per_pixel != 16) return kE_FAIL;
  // A screensaver's window is drawn into as it is: the picture is fitted to it.
  if (main_window_.foreign) {
    mode_format_ = SDL_PIXELFORMAT_RGB565;
    full_screen_ = true;
    return kS_OK;
  }
  if (std::getenv("MQ_SDL2_NO_640X480X16") != nullptr) return kE_FAIL;
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
  SDL_Rect screen{0, 0, 0, 0};
  if (SDL_GetDisplayBounds(display, &screen) != 0) return kE_FAIL;
  const int count = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(display, i, &mode) != 0) continue;
    if (mode.w != kPictureWidth || mode.h != kPictureHeight) continue;
    if (SDL_BYTESPERPIXEL(mode.format) * 8u != bits_per_pixel) continue;
    if (SDL_SetWindowDisplayMode(window_, &mode) != 0) return kE_FAIL;
    // The whole window becomes the screen: no room is left for the menu bar.
    SDL_SetWindowSize(window_, mode.w, mode.h);
    SDL_SetWindowPosition(window_, screen.x, screen.y);
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0) return kE_FAIL;
    mode_format_ = mode.format;
    full_screen_ = true;
    return kS_OK;
  }
  // Any desktop that can hold the picture: the window covers it and flip enlarges the
  // picture into it. The window is placed and sized first, because without a window
  // manager nothing else would.
  if (screen.w < kPictureWidth || screen.h < kPictureHeight) return kE_FAIL;
  SDL_SetWindowPosition(window_, screen.x, screen.y);
  SDL_SetWindowSize(window_, screen.w, screen.h);
  if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return kE_FAIL;
  mode_format_ = SDL_PIXELFORMAT_RGB565;
  full_screen_ = true;
  return kS_OK;
}

Uint32 Sdl2DirectDraw::offscreen_format() const {
  if (full_screen_) return mode_format_;
  const Uint32 desktop = window_format(window_);
  switch (SDL_BYTESPERPIXEL(desktop)) {
    case 4:
      return SDL_PIXELFORMAT_XRGB8888;
    case 3:
      return SDL_PIXELFORMAT_BGR24;
    default:
      return desktop;
  }
}

HResult Sdl2DirectDraw::create_surface(const SurfaceDesc& desc, Surface** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  if (window_ == nullptr) return kE_FAIL;
  Sdl2Surface* made = nullptr;
  if ((desc.caps & kCapsPrimarySurface) != 0) {
    if ((desc.caps & kCapsFlip) != 0) {
      if (!full_screen_) return kE_FAIL;
      // The chain holds the 640x480 picture; flip fits it to the window.
      SDL_Surface* front = make_surface(kPictureWidth, kPictureHeight, mode_format_);
      SDL_Surface* back = make_surface(kPictureWidth, kPictureHeight, mode_format_);
      if (front == nullptr || back == nullptr) {
        SDL_FreeSurface(front);
        SDL_FreeSurface(back);
        return kE_OUTOFMEMORY;
      }
      made = new Sdl2Surface(main_window_, this, Sdl2Surface::Kind::kFlipFront, window_, front);
      auto* chained =
          new Sdl2Surface(main_window_, this, Sdl2Surface::Kind::kFlipBack, window_, back);
      made->attach_back(chained);
      surfaces_.push_back(chained);
    } else {
      made =
          new Sdl2Surface(main_window_, this, Sdl2Surface::Kind::kWindowPrimary, window_, nullptr);
    }
  } else {
    if (desc.width == 0 || desc.height == 0) return kE_INVALIDARG;
    SDL_Surface* pixels = make_surface(static_cast<int>(desc.width), static_cast<int>(desc.height),
                                       offscreen_format());
    if (pixels == nullptr) return kE_OUTOFMEMORY;
    made = new Sdl2Surface(main_window_, this, Sdl2Surface::Kind::kOffscreen, window_, pixels);
  }
  surfaces_.push_back(made);
  *out = made;
  return kS_OK;
}

HResult Sdl2DirectDraw::create_clipper(Clipper** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = new Sdl2Clipper(main_window_);
  return kS_OK;
}

HResult Sdl2DirectDraw::restore_all_surfaces() {
  HResult result = kS_OK;
  for (Sdl2Surface* s : surfaces_) {
    const HResult restored = s->restore();
    if (failed(restored)) result = restored;
  }
  return result;
}

HResult Sdl2DirectDraw::test_cooperative_level() {
  if (window_ == nullptr) return kS_OK;
  if (exclusive_) {
    const Uint32 flags = SDL_GetWindowFlags(window_);
    if ((flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0) return kDDERR_NOEXCLUSIVEMODE;
    return kS_OK;
  }
  const Uint32 now = window_format(window_);
  if (now != SDL_PIXELFORMAT_UNKNOWN && desktop_format_ != SDL_PIXELFORMAT_UNKNOWN &&
      now != desktop_format_) {
    return kDDERR_WRONGMODE;
  }
  return kS_OK;
}

}  // namespace platform::sdl2
