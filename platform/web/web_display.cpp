// The browser's DirectDraw over memory surfaces.
#include "platform/web/web_display.h"

#include <algorithm>
#include <utility>

#include "platform/font/bitmap_font.h"

namespace platform::web {

namespace {

constexpr std::int32_t kScreenWidth = 640;
constexpr std::int32_t kScreenHeight = 480;

// The part of rect (null: all) that lies on a width × height surface.
Rect clipped(const Rect* rect, std::int32_t width, std::int32_t height) {
  Rect r = rect != nullptr ? *rect : Rect{0, 0, width, height};
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, width);
  r.bottom = std::min(r.bottom, height);
  return r;
}

bool empty(const Rect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

}  // namespace

std::uint16_t pixel_of(ColorRef color) {
  const std::uint32_t r = color & 0xFFu;
  const std::uint32_t g = (color >> 8) & 0xFFu;
  const std::uint32_t b = (color >> 16) & 0xFFu;
  return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

ColorRef color_of(std::uint16_t pixel) {
  const std::uint32_t r = pixel >> 11;
  const std::uint32_t g = (pixel >> 5) & 0x3Fu;
  const std::uint32_t b = pixel & 0x1Fu;
  return ((r << 3) | (r >> 2)) | (((g << 2) | (g >> 4)) << 8) | (((b << 3) | (b >> 2)) << 16);
}

// ---- drawing context ----

ColorRef WebDrawContext::set_bk_color(ColorRef color) {
  return std::exchange(background_, color);
}

ColorRef WebDrawContext::set_text_color(ColorRef color) {
  return std::exchange(foreground_, color);
}

namespace {

struct Plot {
  WebSurface* target;
  std::uint16_t ink;
  std::uint16_t paper;
};

void plot(void* context, int x, int y, bool ink) {
  auto* p = static_cast<Plot*>(context);
  if (p->target->inside(x, y)) p->target->row(y)[x] = ink ? p->ink : p->paper;
}

}  // namespace

bool WebDrawContext::text_out(std::int32_t x, std::int32_t y, const char* text,
                              std::int32_t length) {
  if (text == nullptr || length < 0) return false;
  if (target_ == nullptr) return true;
  Plot p{target_, pixel_of(foreground_), pixel_of(background_)};
  font::draw_text(text, length, x, y, &plot, &p);
  return true;
}

bool WebDrawContext::text_extent(const char* text, std::int32_t length, std::int32_t* width,
                                 std::int32_t* height) {
  if (text == nullptr || width == nullptr || height == nullptr || length < 0) return false;
  *width = font::text_width(text, length);
  *height = font::line_height();
  return true;
}

ColorRef WebDrawContext::get_pixel(std::int32_t x, std::int32_t y) {
  if (target_ == nullptr || !target_->inside(x, y)) return kInvalidColor;
  return color_of(target_->row(y)[x]);
}

ColorRef WebDrawContext::set_pixel(std::int32_t x, std::int32_t y, ColorRef color) {
  if (target_ == nullptr || !target_->inside(x, y)) return kInvalidColor;
  const std::uint16_t pixel = pixel_of(color);
  target_->row(y)[x] = pixel;
  return color_of(pixel);  // the colour actually set, as SetPixel reports it
}

// ---- surfaces ----

WebSurface::WebSurface(Screen* screen, Kind kind, std::int32_t width, std::int32_t height)
    // A flipping chain's back buffer has no reference of its own until asked for.
    : ReferenceCounted(kind == Kind::kFlipBack ? 0 : 1),
      screen_(screen),
      kind_(kind),
      width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

WebSurface::~WebSurface() {
  delete back_;  // the chain's back buffer goes with its front
  if (clipper_ != nullptr) clipper_->release();
}

void WebSurface::show() {
  if (screen_ != nullptr) screen_->show(pixels_.data(), width_, width_, height_);
}

HResult WebSurface::get_attached_surface(std::uint32_t caps, Surface** out) {
  if (out == nullptr) return kE_INVALIDARG;
  if ((caps & kCapsBackBuffer) == 0 || back_ == nullptr) return kE_FAIL;
  back_->add_ref();
  *out = back_;
  return kS_OK;
}

HResult WebSurface::set_clipper(Clipper* clipper) {
  if (clipper != nullptr) clipper->add_ref();
  if (clipper_ != nullptr) clipper_->release();
  clipper_ = clipper;
  return kS_OK;
}

HResult WebSurface::flip(Surface*, std::uint32_t) {
  if (kind_ != Kind::kFlipFront || back_ == nullptr) return kE_FAIL;
  // What was drawn becomes the front, and the old front the next back buffer.
  std::swap(pixels_, back_->pixels_);
  show();
  return kS_OK;
}

HResult WebSurface::blt(const Rect* dest_rect, Surface* source, const Rect* source_rect,
                        std::uint32_t flags, std::uint32_t fill_color) {
  if ((flags & kBltColorFill) != 0) {
    const Rect to = clipped(dest_rect, width_, height_);
    for (std::int32_t y = to.top; y < to.bottom; ++y) {
      std::fill(row(y) + to.left, row(y) + to.right, static_cast<std::uint16_t>(fill_color));
    }
  } else {
    auto* from = static_cast<WebSurface*>(source);
    if (from == nullptr) return kE_INVALIDARG;
    // The primary is the canvas: whatever rectangle of the screen the window's picture area
    // has, the picture fills the canvas.
    const Rect* wanted = kind_ == Kind::kWindowPrimary ? nullptr : dest_rect;
    const Rect to = wanted != nullptr ? *wanted : Rect{0, 0, width_, height_};
    const Rect part =
        source_rect != nullptr ? *source_rect : Rect{0, 0, from->width_, from->height_};
    const std::int32_t to_w = to.right - to.left;
    const std::int32_t to_h = to.bottom - to.top;
    const std::int32_t part_w = part.right - part.left;
    const std::int32_t part_h = part.bottom - part.top;
    if (to_w <= 0 || to_h <= 0 || part_w <= 0 || part_h <= 0) return kE_INVALIDARG;
    // Nearest-pixel stretch; 1:1 in every copy the player makes.
    for (std::int32_t y = std::max(to.top, 0); y < std::min(to.bottom, height_); ++y) {
      const std::int32_t sy = part.top + (y - to.top) * part_h / to_h;
      if (sy < 0 || sy >= from->height_) continue;
      for (std::int32_t x = std::max(to.left, 0); x < std::min(to.right, width_); ++x) {
        const std::int32_t sx = part.left + (x - to.left) * part_w / to_w;
        if (sx >= 0 && sx < from->width_) row(y)[x] = from->row(sy)[sx];
      }
    }
  }
  if (kind_ == Kind::kWindowPrimary) show();
  return kS_OK;
}

HResult WebSurface::blt_fast(std::int32_t x, std::int32_t y, Surface* source,
                             const Rect* source_rect, std::uint32_t flags) {
  auto* from = static_cast<WebSurface*>(source);
  if (from == nullptr) return kE_INVALIDARG;
  const Rect part = clipped(source_rect, from->width_, from->height_);
  if (empty(part)) return kS_OK;
  const bool keyed = (flags & kBltFastSrcColorKey) != 0 && from->keyed_;
  for (std::int32_t sy = part.top; sy < part.bottom; ++sy) {
    const std::int32_t dy = y + sy - part.top;
    if (dy < 0 || dy >= height_) continue;
    const std::uint16_t* in = from->row(sy);
    std::uint16_t* out = row(dy);
    for (std::int32_t sx = part.left; sx < part.right; ++sx) {
      const std::int32_t dx = x + sx - part.left;
      if (dx < 0 || dx >= width_) continue;
      if (keyed && in[sx] == from->key_) continue;
      out[dx] = in[sx];
    }
  }
  return kS_OK;
}

HResult WebSurface::get_pixel_format(PixelFormatDesc* out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = kWebPixelFormat;
  return kS_OK;
}

HResult WebSurface::get_surface_desc(SurfaceDesc* out) {
  if (out == nullptr) return kE_INVALIDARG;
  std::uint32_t caps = kCapsOffscreenPlain;
  if (kind_ == Kind::kWindowPrimary) caps = kCapsPrimarySurface;
  if (kind_ == Kind::kFlipFront) caps = kCapsPrimarySurface | kCapsFlip | kCapsComplex;
  if (kind_ == Kind::kFlipBack) caps = kCapsBackBuffer | kCapsFlip | kCapsComplex;
  out->flags = kDescCaps | kDescWidth | kDescHeight | kDescPitch | kDescPixelFormat;
  out->width = static_cast<std::uint32_t>(width_);
  out->height = static_cast<std::uint32_t>(height_);
  out->pitch_bytes = width_ * 2;
  out->back_buffer_count = 0;
  out->caps = caps;
  out->format = kWebPixelFormat;
  return kS_OK;
}

HResult WebSurface::lock(const Rect* rect, SurfaceDesc* out, std::uint32_t) {
  if (out == nullptr || rect != nullptr) return kE_INVALIDARG;
  get_surface_desc(out);
  out->pixels = pixels_.data();
  return kS_OK;
}

HResult WebSurface::get_dc(DrawContext** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = &context_;
  return kS_OK;
}

HResult WebSurface::release_dc(DrawContext* context) {
  return context == &context_ ? kS_OK : kE_INVALIDARG;
}

HResult WebSurface::set_color_key(std::uint32_t flags, std::uint32_t low, std::uint32_t) {
  if ((flags & kColorKeySrcBlt) == 0) return kE_INVALIDARG;
  keyed_ = true;
  key_ = static_cast<std::uint16_t>(low);
  return kS_OK;
}

// ---- the display object ----

WebDirectDraw::~WebDirectDraw() {
  if (full_screen_ && screen_ != nullptr) screen_->set_full_screen(false);
}

HResult WebDirectDraw::set_cooperative_level(WindowHandle, std::uint32_t flags) {
  exclusive_ = (flags & kCoopExclusive) != 0;
  if (!exclusive_ && full_screen_) {
    full_screen_ = false;
    if (screen_ != nullptr) screen_->set_full_screen(false);
  }
  return kS_OK;
}

HResult WebDirectDraw::set_display_mode(std::uint32_t width, std::uint32_t height,
                                        std::uint32_t bits_per_pixel) {
  if (!exclusive_) return kE_FAIL;
  if (width != kScreenWidth || height != kScreenHeight || bits_per_pixel != 16) return kE_FAIL;
  full_screen_ = true;
  if (screen_ != nullptr) screen_->set_full_screen(true);
  return kS_OK;
}

HResult WebDirectDraw::create_surface(const SurfaceDesc& desc, Surface** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  if ((desc.caps & kCapsPrimarySurface) != 0) {
    if ((desc.caps & kCapsFlip) != 0) {
      if (!full_screen_) return kE_FAIL;
      auto* front =
          new WebSurface(screen_, WebSurface::Kind::kFlipFront, kScreenWidth, kScreenHeight);
      front->attach_back(
          new WebSurface(screen_, WebSurface::Kind::kFlipBack, kScreenWidth, kScreenHeight));
      *out = front;
      return kS_OK;
    }
    *out = new WebSurface(screen_, WebSurface::Kind::kWindowPrimary, kScreenWidth, kScreenHeight);
    return kS_OK;
  }
  if (desc.width == 0 || desc.height == 0 || desc.width > 4096 || desc.height > 4096) {
    return kE_INVALIDARG;
  }
  *out =
      new WebSurface(screen_, WebSurface::Kind::kOffscreen, static_cast<std::int32_t>(desc.width),
                     static_cast<std::int32_t>(desc.height));
  return kS_OK;
}

HResult WebDirectDraw::create_clipper(Clipper** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = new WebClipper();
  return kS_OK;
}

HResult WebDisplaySystem::create_direct_draw(DirectDraw** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = new WebDirectDraw(screen_);
  return kS_OK;
}

}  // namespace platform::web
