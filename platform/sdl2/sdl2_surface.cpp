// The SDL implementation of the DirectDraw surfaces.
#include "platform/sdl2/sdl2_surface.h"

#include <algorithm>

#include "platform/sdl2/sdl2_direct_draw.h"
#include "platform/sdl2/sdl2_display.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_menu_bar.h"
#include "platform/sdl2/sdl2_trace.h"

namespace platform::sdl2 {

namespace {

// The time of the first frame on screen, for the end-to-end tests and the start-up benchmark.
void note_frame_shown(MainWindow& window) {
  if (tracing_frames()) trace("frame shown at %u ms", SDL_GetTicks());
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
    if (kind_ == Kind::kWindowPrimary && whole_picture) {
      // The frame goes below the menu bar, enlarged by the largest whole number the window
      // holds and centred on black, as in full screen: the user may have resized the window.
      const int top = picture_top(main_window_);
      if (fresh_screen(dest)) {
        SDL_Rect below{0, top, dest->w, dest->h - top};
        SDL_FillRect(dest, &below, SDL_MapRGB(dest->format, 0, 0, 0));
      }
      PictureArea placed = fit_picture(dest->w, dest->h - top);
      placed.y += top;
      area = SDL_Rect{placed.x, placed.y, placed.width, placed.height};
      result = placed.width > 0 ? scaler_.draw(pixels, dest, placed) : 0;
    } else if (part.w == area.w && part.h == area.h) {
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

}  // namespace platform::sdl2
