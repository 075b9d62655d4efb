// The SDL implementation of the DirectDraw object, its surfaces and clipper.
#include "platform/sdl2/sdl2_display.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_menu_bar.h"
#include "platform/sdl2/sdl2_trace.h"

namespace platform::sdl2 {

namespace {

// The time of the first frame on screen, for the end-to-end tests and the start-up benchmark.
void note_frame_shown(MainWindow& window) {
  if (window.first_frame_shown) return;
  window.first_frame_shown = true;
  trace("first frame shown at %u ms", SDL_GetTicks());
}

SDL_Rect to_sdl(const Rect& r) {
  return SDL_Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SDL_Rect whole(const SDL_Surface* s) {
  return SDL_Rect{0, 0, s->w, s->h};
}

SDL_Surface* make_surface(int width, int height, Uint32 format) {
  SDL_Surface* s =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, SDL_BITSPERPIXEL(format), format);
  if (s != nullptr) SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
  return s;
}

Uint32 window_format(SDL_Window* window) {
  SDL_Surface* s = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
  return s != nullptr ? s->format->format : static_cast<Uint32>(SDL_PIXELFORMAT_UNKNOWN);
}

void fill_desc(const SDL_Surface* s, std::uint32_t caps, SurfaceDesc* out) {
  out->flags = kDescCaps | kDescWidth | kDescHeight | kDescPitch | kDescPixelFormat;
  out->width = static_cast<std::uint32_t>(s->w);
  out->height = static_cast<std::uint32_t>(s->h);
  out->pitch_bytes = s->pitch;
  out->caps = caps;
  out->back_buffer_count = 0;
  // DirectDraw counts the bits of the whole pixel, padding included (x8r8g8b8 is 32).
  out->format.rgb_bit_count = static_cast<std::uint32_t>(s->format->BytesPerPixel) * 8u;
  out->format.r_mask = s->format->Rmask;
  out->format.g_mask = s->format->Gmask;
  out->format.b_mask = s->format->Bmask;
}

}  // namespace

// ---- surfaces ----

Sdl2Surface::Sdl2Surface(MainWindow& main_window, Sdl2DirectDraw* owner, Kind kind,
                         SDL_Window* window, SDL_Surface* pixels)
    : main_window_(main_window), owner_(owner), kind_(kind), window_(window), pixels_(pixels) {
  ++main_window_.live_display_objects;
}

Sdl2Surface::~Sdl2Surface() {
  if (owner_ != nullptr) owner_->forget(this);
  // The implicit back buffer of a flipping chain goes with its front, whatever its count.
  delete attached_;
  if (clipper_ != nullptr) clipper_->release();
  if (pixels_ != nullptr) SDL_FreeSurface(pixels_);
  --main_window_.live_display_objects;
}

SDL_Surface* Sdl2Surface::target() {
  if (kind_ == Kind::kWindowPrimary) {
    return window_ != nullptr ? SDL_GetWindowSurface(window_) : nullptr;
  }
  return pixels_;
}

HResult Sdl2Surface::show_window(const SDL_Rect* part) {
  SDL_Surface* screen = SDL_GetWindowSurface(window_);
  if (screen == nullptr) {
    lost_ = true;
    return kDDERR_SURFACELOST;
  }
  if (main_window_.menu_attached && kind_ == Kind::kWindowPrimary) draw_menu_bar(screen);
  const int shown = part != nullptr ? SDL_UpdateWindowSurfaceRects(window_, part, 1)
                                    : SDL_UpdateWindowSurface(window_);
  if (shown != 0) {
    lost_ = true;
    return kDDERR_SURFACELOST;
  }
  note_frame_shown(main_window_);
  return kS_OK;
}

HResult Sdl2Surface::get_attached_surface(std::uint32_t caps, Surface** out) {
  if (out == nullptr) return kE_INVALIDARG;
  if ((caps & kCapsBackBuffer) == 0 || attached_ == nullptr) return kE_FAIL;
  attached_->add_ref();
  *out = attached_;
  return kS_OK;
}

HResult Sdl2Surface::set_clipper(Clipper* clipper) {
  if (clipper != nullptr) clipper->add_ref();
  if (clipper_ != nullptr) clipper_->release();
  clipper_ = clipper;
  return kS_OK;
}

HResult Sdl2Surface::flip(Surface*, std::uint32_t) {
  if (kind_ != Kind::kFlipFront || attached_ == nullptr || window_ == nullptr) return kE_FAIL;
  if (lost_) return kDDERR_SURFACELOST;
  SDL_Surface* screen = SDL_GetWindowSurface(window_);
  if (screen == nullptr) return kDDERR_SURFACELOST;
  // The whole window is painted (bars black) when it is new to us or was exposed; after
  // that only the picture changes.
  const bool fresh = fresh_screen(screen);
  if (fresh) SDL_FillRect(screen, nullptr, 0);
  const PictureArea area = fit_picture(screen->w, screen->h);
  if (scaler_.draw(attached_->pixels_, screen, area) != 0) return kE_FAIL;
  main_window_.picture = area;
  // What was shown becomes the back buffer, as in a real flipping chain.
  std::swap(pixels_, attached_->pixels_);
  const SDL_Rect part{area.x, area.y, area.width, area.height};
  return show_window(fresh ? nullptr : &part);
}

bool Sdl2Surface::fresh_screen(const SDL_Surface* screen) {
  MainWindow& w = main_window_;
  const bool fresh = w.repaint || screen != painted_ || screen->w != painted_width_ ||
                     screen->h != painted_height_;
  w.repaint = false;
  painted_ = screen;
  painted_width_ = screen->w;
  painted_height_ = screen->h;
  return fresh;
}

HResult Sdl2Surface::blt(const Rect* dest_rect, Surface* source, const Rect* source_rect,
                         std::uint32_t flags, std::uint32_t fill_color) {
  if (lost_) return kDDERR_SURFACELOST;
  SDL_Surface* dest = target();
  if (dest == nullptr) return kDDERR_SURFACELOST;
  SDL_Rect area = whole(dest);
  if (kind_ == Kind::kWindowPrimary) {
    // The destination is in screen coordinates of the 640x480 picture area; the window's
    // surface starts at the window's top-left corner and its picture area may be enlarged.
    int x = 0, y = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    const int scale = main_window_.scale;
    area = dest_rect != nullptr ? to_sdl(*dest_rect)
                                : SDL_Rect{0, picture_top(main_window_), dest->w / scale,
                                           (dest->h - picture_top(main_window_)) / scale};
    if (dest_rect != nullptr) {
      area.x -= x;
      area.y -= y;
    }
    area.w *= scale;
    area.h *= scale;
  } else if (dest_rect != nullptr) {
    area = to_sdl(*dest_rect);
  }
  if ((flags & kBltColorFill) != 0) {
    SDL_FillRect(dest, &area, fill_color);
  } else {
    auto* from = static_cast<Sdl2Surface*>(source);
    SDL_Surface* pixels = from != nullptr ? from->target() : nullptr;
    if (pixels == nullptr) return kE_INVALIDARG;
    SDL_Rect part = source_rect != nullptr ? to_sdl(*source_rect) : whole(pixels);
    SDL_SetColorKey(pixels, SDL_FALSE, 0);
    const bool whole_picture = part.x == 0 && part.y == 0 && part.w == pixels->w &&
                               part.h == pixels->h && pixels->w == kPictureWidth &&
                               pixels->h == kPictureHeight;
    int result = 0;
    if (part.w == area.w && part.h == area.h) {
      result = SDL_BlitSurface(pixels, &part, dest, &area);
    } else if (whole_picture) {
      const PictureArea placed{area.x, area.y, area.w, area.h};
      result = scaler_.draw(pixels, dest, placed);
    } else {
      result = SDL_BlitScaled(pixels, &part, dest, &area);
    }
    if (result != 0) return kE_FAIL;
    if (kind_ == Kind::kWindowPrimary && whole_picture) {
      main_window_.picture = PictureArea{area.x, area.y, area.w, area.h};
    }
  }
  return kind_ == Kind::kWindowPrimary ? show_window() : kS_OK;
}

HResult Sdl2Surface::blt_fast(std::int32_t x, std::int32_t y, Surface* source,
                              const Rect* source_rect, std::uint32_t flags) {
  if (lost_) return kDDERR_SURFACELOST;
  SDL_Surface* dest = target();
  auto* from = static_cast<Sdl2Surface*>(source);
  SDL_Surface* pixels = from != nullptr ? from->target() : nullptr;
  if (dest == nullptr || pixels == nullptr) return kE_INVALIDARG;
  SDL_Rect part = source_rect != nullptr ? to_sdl(*source_rect) : whole(pixels);
  SDL_Rect at{x, y, part.w, part.h};
  const bool keyed = (flags & kBltFastSrcColorKey) != 0 && from->keyed_;
  SDL_SetColorKey(pixels, keyed ? SDL_TRUE : SDL_FALSE, from->key_);
  return SDL_BlitSurface(pixels, &part, dest, &at) == 0 ? kS_OK : kE_FAIL;
}

HResult Sdl2Surface::restore() {
  lost_ = false;
  if (kind_ == Kind::kWindowPrimary && window_ != nullptr &&
      SDL_GetWindowSurface(window_) == nullptr) {
    lost_ = true;
    return kDDERR_SURFACELOST;
  }
  return kS_OK;
}

HResult Sdl2Surface::get_pixel_format(PixelFormatDesc* out) {
  if (out == nullptr) return kE_INVALIDARG;
  SDL_Surface* s = target();
  if (s == nullptr) return kDDERR_SURFACELOST;
  SurfaceDesc desc;
  fill_desc(s, 0, &desc);
  *out = desc.format;
  return kS_OK;
}

HResult Sdl2Surface::get_surface_desc(SurfaceDesc* out) {
  if (out == nullptr) return kE_INVALIDARG;
  SDL_Surface* s = target();
  if (s == nullptr) return kDDERR_SURFACELOST;
  std::uint32_t caps = kCapsOffscreenPlain;
  if (kind_ == Kind::kWindowPrimary) caps = kCapsPrimarySurface;
  if (kind_ == Kind::kFlipFront) caps = kCapsPrimarySurface | kCapsFlip | kCapsComplex;
  if (kind_ == Kind::kFlipBack) caps = kCapsBackBuffer | kCapsFlip | kCapsComplex;
  fill_desc(s, caps, out);
  if (kind_ == Kind::kWindowPrimary) {
    // The picture area as the portable code sizes it, whatever its enlargement.
    const int scale = main_window_.scale;
    out->width = static_cast<std::uint32_t>(s->w / scale);
    out->height = static_cast<std::uint32_t>((s->h - picture_top(main_window_)) / scale);
  }
  return kS_OK;
}

HResult Sdl2Surface::lock(const Rect* rect, SurfaceDesc* out, std::uint32_t) {
  if (out == nullptr || rect != nullptr) return kE_INVALIDARG;
  if (lost_) return kDDERR_SURFACELOST;
  const HResult described = get_surface_desc(out);
  if (failed(described)) return described;
  SDL_Surface* s = target();
  out->pixels = static_cast<Uint8*>(s->pixels) +
                (kind_ == Kind::kWindowPrimary ? picture_top(main_window_) * s->pitch : 0);
  return kS_OK;
}

HResult Sdl2Surface::unlock(const Rect*) {
  return kS_OK;
}

HResult Sdl2Surface::get_dc(DrawContext** out) {
  if (out == nullptr) return kE_INVALIDARG;
  SDL_Surface* s = target();
  if (s == nullptr || lost_) return kDDERR_SURFACELOST;
  context_ = Sdl2DrawContext(s);
  *out = &context_;
  return kS_OK;
}

HResult Sdl2Surface::release_dc(DrawContext* context) {
  return context == &context_ ? kS_OK : kE_INVALIDARG;
}

HResult Sdl2Surface::set_color_key(std::uint32_t flags, std::uint32_t low, std::uint32_t) {
  if ((flags & kColorKeySrcBlt) == 0) return kE_INVALIDARG;
  keyed_ = true;
  key_ = low;
  return kS_OK;
}

// ---- clipper ----

Sdl2Clipper::Sdl2Clipper(MainWindow& main_window) : main_window_(main_window) {
  ++main_window_.live_display_objects;
}
Sdl2Clipper::~Sdl2Clipper() {
  --main_window_.live_display_objects;
}
// Blits onto the window's surface are clipped to it by SDL already.
HResult Sdl2Clipper::set_hwnd(WindowHandle window) {
  return sdl_window(main_window_, window) != nullptr ? kS_OK : kE_INVALIDARG;
}

// ---- the display object ----

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

// ---- entry points ----

HResult Sdl2DisplaySystem::create_direct_draw(DirectDraw** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = new Sdl2DirectDraw(main_window_);
  return kS_OK;
}

DrawContext* Sdl2DisplaySystem::get_screen_dc() {
  return &screen_;
}

void Sdl2DisplaySystem::release_screen_dc(DrawContext*) {}

}  // namespace platform::sdl2
