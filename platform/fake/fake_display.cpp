// The stand-in's DirectDraw object, surfaces, clipper and drawing contexts over plain
// memory, and the display system that owns the mode, the faults and the counters.
#include "platform/fake/fake_display.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "platform/font/bitmap_font.h"
#include "platform/reference_counted.h"

namespace platform::fake {

PixelFormatDesc format_565() {
  return {16, 0xF800, 0x07E0, 0x001F};
}
PixelFormatDesc format_555() {
  return {16, 0x7C00, 0x03E0, 0x001F};
}
PixelFormatDesc format_24() {
  return {24, 0xFF0000, 0x00FF00, 0x0000FF};
}
PixelFormatDesc format_32() {
  return {32, 0xFF0000, 0x00FF00, 0x0000FF};
}
PixelFormatDesc format_8() {
  return {8, 0, 0, 0};
}

namespace {

// The stand-in records an over-release as misuse, where the tests look for it.
void record_over_release(FakeDisplaySystem* system, const char* what) {
  system->misuse(std::string(what) + " released more often than referenced");
}

std::uint32_t bytes_per_pixel(const PixelFormatDesc& format) {
  return (format.rgb_bit_count + 7) / 8;
}

std::uint32_t depth_mask(const PixelFormatDesc& format) {
  return format.rgb_bit_count >= 32 ? 0xFFFFFFFFu : (1u << format.rgb_bit_count) - 1;
}

// An 8-bit value into a channel mask, truncated to the channel's bits.
std::uint32_t pack_channel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const std::uint32_t v = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
  return (v << shift) & mask;
}

// A channel out of a raw pixel as an 8-bit value with zero low bits.
std::uint32_t unpack_channel(std::uint32_t raw, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const std::uint32_t v = (raw & mask) >> shift;
  return bits >= 8 ? v >> (bits - 8) : v << (8 - bits);
}

std::uint32_t rgb_from_raw(std::uint32_t raw, const PixelFormatDesc& format) {
  if (format.rgb_bit_count == 8) {
    return ((raw >> 5) & 7u) << 21 | ((raw >> 2) & 7u) << 13 | (raw & 3u) << 6;
  }
  return unpack_channel(raw, format.r_mask) << 16 | unpack_channel(raw, format.g_mask) << 8 |
         unpack_channel(raw, format.b_mask);
}

std::uint32_t raw_from_rgb(std::uint32_t rgb, const PixelFormatDesc& format) {
  const std::uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  if (format.rgb_bit_count == 8) return (r >> 5) << 5 | (g >> 5) << 2 | (b >> 6);
  return pack_channel(r, format.r_mask) | pack_channel(g, format.g_mask) |
         pack_channel(b, format.b_mask);
}

std::uint32_t swap_red_blue(std::uint32_t color) {
  return (color & 0xFF) << 16 | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

bool same_format(const PixelFormatDesc& a, const PixelFormatDesc& b) {
  return a.rgb_bit_count == b.rgb_bit_count && a.r_mask == b.r_mask && a.g_mask == b.g_mask &&
         a.b_mask == b.b_mask;
}

Rect intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

bool empty(const Rect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

}  // namespace

std::uint32_t raw_from_colorref(ColorRef color, const PixelFormatDesc& format) {
  return raw_from_rgb(swap_red_blue(color), format);
}

ColorRef colorref_from_raw(std::uint32_t raw, const PixelFormatDesc& format) {
  return swap_red_blue(rgb_from_raw(raw, format));
}

// ---------------------------------------------------------------------------------------

class FakeDrawContext final : public DrawContext {
 public:
  FakeDrawContext(FakeDisplaySystem* system, FakeSurface* surface)
      : system_(system), surface_(surface) {
    system_->add_live(Kind::kDrawContext, 1);
  }
  ~FakeDrawContext() override { system_->add_live(Kind::kDrawContext, -1); }
  FakeDrawContext(const FakeDrawContext&) = delete;
  FakeDrawContext& operator=(const FakeDrawContext&) = delete;

  ColorRef set_bk_color(ColorRef color) override { return std::exchange(background_, color); }
  ColorRef set_text_color(ColorRef color) override { return std::exchange(text_, color); }
  void select_font(Font* font) override { font_selected_ = font != nullptr; }
  bool text_out(std::int32_t x, std::int32_t y, const char* text, std::int32_t length) override;
  bool text_extent(const char* text, std::int32_t length, std::int32_t* width,
                   std::int32_t* height) override;
  ColorRef get_pixel(std::int32_t x, std::int32_t y) override;
  ColorRef set_pixel(std::int32_t x, std::int32_t y, ColorRef color) override;

  FakeSurface* surface() const { return surface_; }

 private:
  static void plot(void* context, int x, int y, bool ink);

  FakeDisplaySystem* system_;
  FakeSurface* surface_;  // null for the screen's context
  ColorRef background_ = 0xFFFFFF;
  ColorRef text_ = 0x000000;
  bool font_selected_ = false;
};

class FakeClipper final : public ReferenceCounted<Clipper> {
 public:
  explicit FakeClipper(FakeDisplaySystem* system) : system_(system) {
    system_->add_live(Kind::kClipper, 1);
  }
  ~FakeClipper() override { system_->add_live(Kind::kClipper, -1); }
  FakeClipper(const FakeClipper&) = delete;
  FakeClipper& operator=(const FakeClipper&) = delete;

  HResult set_hwnd(WindowHandle window) override {
    const HResult hr = system_->check(Op::kClipperSetHwnd);
    if (failed(hr)) return hr;
    window_ = window;
    return kS_OK;
  }

 private:
  void over_released(const char* what) override { record_over_release(system_, what); }

  FakeDisplaySystem* system_;
  WindowHandle window_ = nullptr;
};

class FakeSurface final : public ReferenceCounted<Surface> {
 public:
  FakeSurface(FakeDisplaySystem* system, int owner_id, std::int32_t width, std::int32_t height,
              const PixelFormatDesc& format, std::uint32_t caps, bool implicit)
      // A surface owned by a flipping chain has no reference of its own until asked for.
      : ReferenceCounted(implicit ? 0 : 1),
        system_(system),
        owner_id_(owner_id),
        width_(width),
        height_(height),
        format_(format),
        caps_(caps),
        implicit_(implicit),
        generation_(system->desktop_generation_) {
    pitch_ = width * static_cast<std::int32_t>(bytes_per_pixel(format)) + system->row_padding_;
    memory_.assign(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(height), 0);
    system_->add_live(Kind::kSurface, 1);
    system_->surfaces_.push_back(this);
  }
  ~FakeSurface() override {
    if (attached_ != nullptr) delete attached_;
    if (clipper_ != nullptr) clipper_->release();
    if (dc_ != nullptr) {
      system_->misuse("surface destroyed with its drawing context still out");
      delete dc_;
    }
    if (system_->primary_ == this) system_->primary_ = nullptr;
    auto& list = system_->surfaces_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    system_->add_live(Kind::kSurface, -1);
  }
  FakeSurface(const FakeSurface&) = delete;
  FakeSurface& operator=(const FakeSurface&) = delete;

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

  std::uint32_t raw(std::int32_t x, std::int32_t y) const {
    const std::uint8_t* p = pixel_address(x, y);
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < bytes_per_pixel(format_); ++i)
      value |= std::uint32_t{p[i]} << (8 * i);
    return value;
  }
  void put(std::int32_t x, std::int32_t y, std::uint32_t value) {
    std::uint8_t* p = pixel_address(x, y);
    for (std::uint32_t i = 0; i < bytes_per_pixel(format_); ++i) {
      p[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
  }
  bool inside(std::int32_t x, std::int32_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
  }
  void lose() {
    lost_ = true;
    if (attached_ != nullptr) attached_->lose();
  }
  void fill_all(std::uint32_t value) {
    for (std::int32_t y = 0; y < height_; ++y) {
      for (std::int32_t x = 0; x < width_; ++x) put(x, y, value);
    }
  }
  // The memory of a restored surface holds whatever the driver left there.
  void scramble() {
    for (std::size_t i = 0; i < memory_.size(); ++i) {
      memory_[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 7));
    }
  }

  FakeDisplaySystem* system_;
  int owner_id_;
  std::int32_t width_;
  std::int32_t height_;
  std::int32_t pitch_ = 0;
  PixelFormatDesc format_;
  std::uint32_t caps_;
  bool implicit_;
  int generation_;
  std::vector<std::uint8_t> memory_;
  bool lost_ = false;
  bool locked_ = false;
  FakeDrawContext* dc_ = nullptr;
  bool has_key_ = false;
  std::uint32_t key_low_ = 0;
  std::uint32_t key_high_ = 0;
  FakeClipper* clipper_ = nullptr;
  FakeSurface* attached_ = nullptr;  // the back buffer of a flipping chain, owned

 private:
  void over_released(const char* what) override { record_over_release(system_, what); }
  // The back buffer of a flipping chain lives as long as its front surface.
  bool deleted_at_zero() const override { return !implicit_; }
  const std::uint8_t* pixel_address(std::int32_t x, std::int32_t y) const {
    return memory_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch_) +
           static_cast<std::size_t>(x) * bytes_per_pixel(format_);
  }
  std::uint8_t* pixel_address(std::int32_t x, std::int32_t y) {
    return memory_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch_) +
           static_cast<std::size_t>(x) * bytes_per_pixel(format_);
  }
  std::size_t row_bytes(std::int32_t pixels) const {
    return static_cast<std::size_t>(pixels) * bytes_per_pixel(format_);
  }
  HResult busy_or_lost() const {
    if (lost_) return kDDERR_SURFACELOST;
    if (locked_ || dc_ != nullptr) return kDDERR_SURFACEBUSY;
    return kS_OK;
  }
  friend class FakeDrawContext;
};

class FakeDirectDraw final : public ReferenceCounted<DirectDraw> {
 public:
  explicit FakeDirectDraw(FakeDisplaySystem* system)
      : system_(system), id_(system->next_id_++), generation_(system->desktop_generation_) {
    system_->add_live(Kind::kDirectDraw, 1);
  }
  ~FakeDirectDraw() override {
    if (system_->exclusive_owner_ == id_) {
      system_->exclusive_owner_ = 0;
      system_->leave_mode();
    }
    system_->add_live(Kind::kDirectDraw, -1);
  }
  FakeDirectDraw(const FakeDirectDraw&) = delete;
  FakeDirectDraw& operator=(const FakeDirectDraw&) = delete;

  HResult set_cooperative_level(WindowHandle window, std::uint32_t flags) override;
  HResult set_display_mode(std::uint32_t width, std::uint32_t height,
                           std::uint32_t bits_per_pixel) override;
  HResult create_surface(const SurfaceDesc& desc, Surface** out) override;
  HResult create_clipper(Clipper** out) override;
  HResult restore_all_surfaces() override;
  HResult test_cooperative_level() override;

 private:
  void over_released(const char* what) override { record_over_release(system_, what); }

  FakeDisplaySystem* system_;
  int id_;
  int generation_;
  bool exclusive_ = false;
};

// --- Drawing context ---------------------------------------------------------------------

void FakeDrawContext::plot(void* context, int x, int y, bool ink) {
  auto* self = static_cast<FakeDrawContext*>(context);
  FakeSurface* s = self->surface_;
  if (!s->inside(x, y)) return;
  s->put(x, y, raw_from_colorref(ink ? self->text_ : self->background_, s->format_));
}

bool FakeDrawContext::text_out(std::int32_t x, std::int32_t y, const char* text,
                               std::int32_t length) {
  if (failed(system_->check(Op::kTextOut))) return false;
  if (text == nullptr || length < 0) return false;
  if (surface_ == nullptr) return true;
  if (surface_->lost_) return false;
  font::draw_text(text, length, x, y, plot, this);
  return true;
}

bool FakeDrawContext::text_extent(const char* text, std::int32_t length, std::int32_t* width,
                                  std::int32_t* height) {
  if (failed(system_->check(Op::kTextExtent))) return false;
  if (text == nullptr || length < 0 || width == nullptr || height == nullptr) return false;
  *width = font::text_width(text, length);
  *height = font::line_height();
  return true;
}

ColorRef FakeDrawContext::get_pixel(std::int32_t x, std::int32_t y) {
  if (surface_ == nullptr || surface_->lost_ || !surface_->inside(x, y)) return kInvalidColor;
  return colorref_from_raw(surface_->raw(x, y), surface_->format_);
}

ColorRef FakeDrawContext::set_pixel(std::int32_t x, std::int32_t y, ColorRef color) {
  if (surface_ == nullptr || surface_->lost_ || !surface_->inside(x, y)) return kInvalidColor;
  const std::uint32_t raw = raw_from_colorref(color, surface_->format_);
  surface_->put(x, y, raw);
  return colorref_from_raw(raw, surface_->format_);
}

// --- Surface -----------------------------------------------------------------------------

HResult FakeSurface::get_attached_surface(std::uint32_t caps, Surface** out) {
  const HResult hr = system_->check(Op::kGetAttachedSurface, caps);
  if (failed(hr)) return hr;
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  if (attached_ == nullptr || (caps & kCapsBackBuffer) == 0) return kE_FAIL;
  attached_->add_ref();
  *out = attached_;
  return kS_OK;
}

HResult FakeSurface::set_clipper(Clipper* clipper) {
  const HResult hr = system_->check(Op::kSetClipper);
  if (failed(hr)) return hr;
  auto* fake = dynamic_cast<FakeClipper*>(clipper);
  if (clipper != nullptr && fake == nullptr) return kE_INVALIDARG;
  if (fake != nullptr) fake->add_ref();
  if (clipper_ != nullptr) clipper_->release();
  clipper_ = fake;
  return kS_OK;
}

HResult FakeSurface::flip(Surface* target, std::uint32_t flags) {
  const HResult hr = system_->check(Op::kFlip, flags);
  if (failed(hr)) return hr;
  if (target != nullptr || attached_ == nullptr) return kDDERR_NOTFLIPPABLE;
  if (lost_ || attached_->lost_) return kDDERR_SURFACELOST;
  if (busy_or_lost() != kS_OK || attached_->busy_or_lost() != kS_OK) return kDDERR_SURFACEBUSY;
  std::swap(memory_, attached_->memory_);
  system_->presents_++;
  return kS_OK;
}

HResult FakeSurface::blt(const Rect* dest_rect, Surface* source, const Rect* source_rect,
                         std::uint32_t flags, std::uint32_t fill_color) {
  const HResult hr = system_->check(Op::kBlt, flags);
  if (failed(hr)) return hr;
  const Rect bounds{0, 0, width_, height_};
  const Rect dest = dest_rect != nullptr ? *dest_rect : bounds;
  if (empty(dest)) return kDDERR_INVALIDRECT;
  // Without a clipper a destination outside the surface is refused, as DirectDraw does.
  const Rect visible = intersect(dest, bounds);
  if (clipper_ == nullptr && (visible.left != dest.left || visible.top != dest.top ||
                              visible.right != dest.right || visible.bottom != dest.bottom)) {
    return kDDERR_INVALIDRECT;
  }
  if (const HResult state = busy_or_lost(); state != kS_OK) return state;

  if ((flags & kBltColorFill) != 0) {
    if (source != nullptr) return kE_INVALIDARG;
    const std::uint32_t value = fill_color & depth_mask(format_);
    // The first row pixel by pixel, the others as copies of it.
    for (std::int32_t x = visible.left; x < visible.right; ++x) put(x, visible.top, value);
    for (std::int32_t y = visible.top + 1; y < visible.bottom; ++y) {
      std::memcpy(pixel_address(visible.left, y), pixel_address(visible.left, visible.top),
                  row_bytes(visible.right - visible.left));
    }
    if (system_->primary_ == this) system_->presents_++;
    return kS_OK;
  }

  auto* src = dynamic_cast<FakeSurface*>(source);
  if (src == nullptr) return kE_INVALIDARG;
  if (src == this) return kE_INVALIDARG;
  if (const HResult state = src->busy_or_lost(); state != kS_OK) return state;
  const Rect src_bounds{0, 0, src->width_, src->height_};
  const Rect from = source_rect != nullptr ? *source_rect : src_bounds;
  const Rect from_visible = intersect(from, src_bounds);
  if (empty(from) || from_visible.left != from.left || from_visible.top != from.top ||
      from_visible.right != from.right || from_visible.bottom != from.bottom) {
    return kDDERR_INVALIDRECT;
  }
  const std::int64_t dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  const std::int64_t sw = from.right - from.left, sh = from.bottom - from.top;
  const bool same = same_format(format_, src->format_);
  if (same && dw == sw && dh == sh) {  // an unscaled copy: whole rows at once
    for (std::int32_t y = visible.top; y < visible.bottom; ++y) {
      std::memcpy(pixel_address(visible.left, y),
                  src->pixel_address(from.left + visible.left - dest.left, from.top + y - dest.top),
                  row_bytes(visible.right - visible.left));
    }
    if (system_->primary_ == this) system_->presents_++;
    return kS_OK;
  }
  for (std::int32_t y = visible.top; y < visible.bottom; ++y) {
    const auto sy = static_cast<std::int32_t>(from.top + (y - dest.top) * sh / dh);
    for (std::int32_t x = visible.left; x < visible.right; ++x) {
      const auto sx = static_cast<std::int32_t>(from.left + (x - dest.left) * sw / dw);
      const std::uint32_t value = src->raw(sx, sy);
      put(x, y, same ? value : raw_from_rgb(rgb_from_raw(value, src->format_), format_));
    }
  }
  if (system_->primary_ == this) system_->presents_++;
  return kS_OK;
}

HResult FakeSurface::blt_fast(std::int32_t x, std::int32_t y, Surface* source,
                              const Rect* source_rect, std::uint32_t flags) {
  const HResult hr = system_->check(Op::kBltFast, flags);
  if (failed(hr)) return hr;
  auto* src = dynamic_cast<FakeSurface*>(source);
  if (src == nullptr || src == this) return kE_INVALIDARG;
  if (const HResult state = busy_or_lost(); state != kS_OK) return state;
  if (const HResult state = src->busy_or_lost(); state != kS_OK) return state;
  const bool keyed = (flags & kBltFastSrcColorKey) != 0;
  if (keyed && !src->has_key_) return kDDERR_NOCOLORKEY;
  const Rect src_bounds{0, 0, src->width_, src->height_};
  const Rect from = source_rect != nullptr ? intersect(*source_rect, src_bounds) : src_bounds;
  const bool same = same_format(format_, src->format_);
  // The source columns whose destination lies inside this surface.
  const std::int32_t first = std::max(from.left, from.left - x);
  const std::int32_t last = std::min(from.right, from.left + width_ - x);
  for (std::int32_t row = from.top; row < from.bottom; ++row) {
    const std::int32_t dy = y + row - from.top;
    if (dy < 0 || dy >= height_ || first >= last) continue;
    if (same && !keyed) {
      std::memcpy(pixel_address(x + first - from.left, dy), src->pixel_address(first, row),
                  row_bytes(last - first));
      continue;
    }
    for (std::int32_t column = first; column < last; ++column) {
      const std::int32_t dx = x + column - from.left;
      const std::uint32_t value = src->raw(column, row);
      if (keyed && value >= src->key_low_ && value <= src->key_high_) continue;
      put(dx, dy, same ? value : raw_from_rgb(rgb_from_raw(value, src->format_), format_));
    }
  }
  return kS_OK;
}

HResult FakeSurface::restore() {
  const HResult hr = system_->check(Op::kRestore);
  if (failed(hr)) return hr;
  if (generation_ != system_->desktop_generation_) return kDDERR_WRONGMODE;
  if (system_->exclusive_taken_) return kDDERR_NOEXCLUSIVEMODE;
  for (FakeSurface* s = this; s != nullptr; s = s->attached_) {
    if (s->lost_) {
      s->lost_ = false;
      s->scramble();
    }
  }
  return kS_OK;
}

HResult FakeSurface::get_pixel_format(PixelFormatDesc* out) {
  const HResult hr = system_->check(Op::kGetPixelFormat);
  if (failed(hr)) return hr;
  if (out == nullptr) return kE_INVALIDARG;
  *out = format_;
  return kS_OK;
}

HResult FakeSurface::get_surface_desc(SurfaceDesc* out) {
  const HResult hr = system_->check(Op::kGetSurfaceDesc);
  if (failed(hr)) return hr;
  if (out == nullptr) return kE_INVALIDARG;
  *out = SurfaceDesc{};
  out->flags = kDescCaps | kDescWidth | kDescHeight | kDescPitch | kDescPixelFormat;
  out->width = static_cast<std::uint32_t>(width_);
  out->height = static_cast<std::uint32_t>(height_);
  out->pitch_bytes = pitch_;
  out->caps = caps_;
  out->format = format_;
  if (attached_ != nullptr) {
    out->flags |= kDescBackBufferCount;
    out->back_buffer_count = 1;
  }
  return kS_OK;
}

HResult FakeSurface::lock(const Rect* rect, SurfaceDesc* out, std::uint32_t flags) {
  const HResult hr = system_->check(Op::kLock, flags);
  if (failed(hr)) return hr;
  if (rect != nullptr || out == nullptr) return kE_INVALIDARG;
  if (const HResult state = busy_or_lost(); state != kS_OK) return state;
  locked_ = true;
  *out = SurfaceDesc{};
  out->flags = kDescCaps | kDescWidth | kDescHeight | kDescPitch | kDescPixelFormat;
  out->width = static_cast<std::uint32_t>(width_);
  out->height = static_cast<std::uint32_t>(height_);
  out->pitch_bytes = pitch_;
  out->caps = caps_;
  out->format = format_;
  out->pixels = memory_.data();
  return kS_OK;
}

HResult FakeSurface::unlock(const Rect* rect) {
  if (rect != nullptr) return kE_INVALIDARG;
  if (!locked_) {
    system_->misuse("unlock of a surface that is not locked");
    return kDDERR_NOTLOCKED;
  }
  locked_ = false;
  return kS_OK;
}

HResult FakeSurface::get_dc(DrawContext** out) {
  const HResult hr = system_->check(Op::kGetDc);
  if (failed(hr)) return hr;
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  if (const HResult state = busy_or_lost(); state != kS_OK) return state;
  dc_ = new FakeDrawContext(system_, this);
  *out = dc_;
  return kS_OK;
}

HResult FakeSurface::release_dc(DrawContext* context) {
  if (context == nullptr || context != dc_) {
    system_->misuse("release_dc of a context this surface did not hand out");
    return kE_INVALIDARG;
  }
  const HResult hr = system_->check(Op::kReleaseDc);
  // The context is gone whatever the result, as GDI frees it.
  delete dc_;
  dc_ = nullptr;
  return hr;
}

HResult FakeSurface::set_color_key(std::uint32_t flags, std::uint32_t low, std::uint32_t high) {
  const HResult hr = system_->check(Op::kSetColorKey, flags);
  if (failed(hr)) return hr;
  if (flags != kColorKeySrcBlt) return kE_INVALIDARG;
  has_key_ = true;
  key_low_ = low;
  key_high_ = high;
  return kS_OK;
}

// --- DirectDraw object -------------------------------------------------------------------

HResult FakeDirectDraw::set_cooperative_level(WindowHandle window, std::uint32_t flags) {
  const HResult hr = system_->check(Op::kSetCooperativeLevel, flags);
  if (failed(hr)) return hr;
  if (flags == kCoopNormal) {
    if (system_->exclusive_owner_ == id_) {
      system_->exclusive_owner_ = 0;
      system_->leave_mode();
    }
    exclusive_ = false;
    return kS_OK;
  }
  if (flags != (kCoopExclusive | kCoopFullscreen) || window == nullptr) return kE_INVALIDARG;
  if (system_->exclusive_taken_ ||
      (system_->exclusive_owner_ != 0 && system_->exclusive_owner_ != id_)) {
    return kDDERR_EXCLUSIVEMODEALREADYSET;
  }
  system_->exclusive_owner_ = id_;
  exclusive_ = true;
  return kS_OK;
}

HResult FakeDirectDraw::set_display_mode(std::uint32_t width, std::uint32_t height,
                                         std::uint32_t bits_per_pixel) {
  const HResult hr = system_->check(Op::kSetDisplayMode);
  if (failed(hr)) return hr;
  if (system_->exclusive_owner_ != id_) return kDDERR_NOEXCLUSIVEMODE;
  if (width == 640 && height == 480 && bits_per_pixel == 16 && system_->mode_available_) {
    system_->enter_mode(640, 480, system_->mode_format_);
    return kS_OK;
  }
  return kDDERR_INVALIDMODE;
}

HResult FakeDirectDraw::create_surface(const SurfaceDesc& desc, Surface** out) {
  system_->surface_requests_.push_back(desc);
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  const HResult hr = system_->check(Op::kCreateSurface, desc.caps);
  if (failed(hr)) return hr;
  if ((desc.flags & kDescCaps) == 0) return kE_INVALIDARG;
  if ((desc.caps & kCapsPrimarySurface) != 0) {
    if (system_->primary_ != nullptr) return kDDERR_PRIMARYSURFACEALREADYEXISTS;
    const bool chain = (desc.caps & (kCapsFlip | kCapsComplex)) != 0;
    if (chain) {
      if ((desc.caps & (kCapsFlip | kCapsComplex)) != (kCapsFlip | kCapsComplex) ||
          (desc.flags & kDescBackBufferCount) == 0 || desc.back_buffer_count != 1) {
        return kE_INVALIDARG;
      }
      if (system_->exclusive_owner_ != id_) return kDDERR_NOEXCLUSIVEMODE;
    }
    auto* front = new FakeSurface(system_, id_, system_->screen_width_, system_->screen_height_,
                                  system_->display_format_, desc.caps, false);
    if (chain) {
      front->attached_ =
          new FakeSurface(system_, id_, system_->screen_width_, system_->screen_height_,
                          system_->display_format_, kCapsBackBuffer | kCaps3dDevice, true);
    }
    system_->primary_ = front;
    *out = front;
    return kS_OK;
  }
  if ((desc.flags & (kDescWidth | kDescHeight)) != (kDescWidth | kDescHeight) || desc.width == 0 ||
      desc.height == 0 || desc.width > 8192 || desc.height > 8192) {
    return kE_INVALIDARG;
  }
  const PixelFormatDesc format =
      (desc.flags & kDescPixelFormat) != 0 ? desc.format : system_->display_format_;
  const std::uint32_t bpp = format.rgb_bit_count;
  if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return kE_INVALIDARG;
  *out = new FakeSurface(system_, id_, static_cast<std::int32_t>(desc.width),
                         static_cast<std::int32_t>(desc.height), format, desc.caps, false);
  return kS_OK;
}

HResult FakeDirectDraw::create_clipper(Clipper** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  const HResult hr = system_->check(Op::kCreateClipper);
  if (failed(hr)) return hr;
  *out = new FakeClipper(system_);
  return kS_OK;
}

HResult FakeDirectDraw::restore_all_surfaces() {
  const HResult hr = system_->check(Op::kRestoreAllSurfaces);
  if (failed(hr)) return hr;
  if (generation_ != system_->desktop_generation_) return kDDERR_WRONGMODE;
  if (system_->exclusive_taken_) return kDDERR_NOEXCLUSIVEMODE;
  for (FakeSurface* s : system_->surfaces_) {
    if (s->owner_id_ == id_ && s->lost_) {
      s->lost_ = false;
      s->scramble();
    }
  }
  return kS_OK;
}

HResult FakeDirectDraw::test_cooperative_level() {
  const HResult hr = system_->check(Op::kTestCooperativeLevel);
  if (failed(hr)) return hr;
  if (system_->exclusive_taken_) {
    return exclusive_ ? kDDERR_NOEXCLUSIVEMODE : kDDERR_EXCLUSIVEMODEALREADYSET;
  }
  if (!exclusive_ && generation_ != system_->desktop_generation_) return kDDERR_WRONGMODE;
  return kS_OK;
}

// --- Display system ----------------------------------------------------------------------

FakeDisplaySystem::FakeDisplaySystem()
    : desktop_format_(format_32()), mode_format_(format_565()), display_format_(format_32()) {}

FakeDisplaySystem::~FakeDisplaySystem() = default;

HResult FakeDisplaySystem::create_direct_draw(DirectDraw** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  const HResult hr = check(Op::kCreateDirectDraw);
  if (failed(hr)) return hr;
  *out = new FakeDirectDraw(this);
  return kS_OK;
}

DrawContext* FakeDisplaySystem::get_screen_dc() {
  return new FakeDrawContext(this, nullptr);
}

void FakeDisplaySystem::release_screen_dc(DrawContext* context) {
  auto* fake = dynamic_cast<FakeDrawContext*>(context);
  if (fake == nullptr || fake->surface() != nullptr) {
    misuse("release_screen_dc of a context that is not the screen's");
    return;
  }
  delete fake;
}

void FakeDisplaySystem::set_desktop(std::int32_t width, std::int32_t height,
                                    const PixelFormatDesc& format) {
  desktop_width_ = width;
  desktop_height_ = height;
  desktop_format_ = format;
  if (!mode_set_) {
    screen_width_ = width;
    screen_height_ = height;
    display_format_ = format;
  }
}

void FakeDisplaySystem::set_mode_640x480x16(bool available, const PixelFormatDesc& format) {
  mode_available_ = available;
  mode_format_ = format;
}

void FakeDisplaySystem::set_row_padding_bytes(std::int32_t padding) {
  row_padding_ = std::max(0, padding);
}

void FakeDisplaySystem::fail(Op op, HResult code, int skip, int times) {
  faults_.push_back({op, code, skip, times});
}

void FakeDisplaySystem::clear_faults() {
  faults_.clear();
}

HResult FakeDisplaySystem::check(Op op, std::uint32_t flags) {
  flags_[static_cast<int>(op)].push_back(flags);
  return check(op);
}

HResult FakeDisplaySystem::check(Op op) {
  calls_[static_cast<int>(op)]++;
  for (Fault& fault : faults_) {
    if (fault.op != op || fault.times == 0) continue;
    if (fault.skip > 0) {
      --fault.skip;
      continue;
    }
    if (fault.times > 0) --fault.times;
    return fault.code;
  }
  return kS_OK;
}

void FakeDisplaySystem::lose_surfaces() {
  for (FakeSurface* s : surfaces_) s->lost_ = true;
}

void FakeDisplaySystem::take_exclusive_mode() {
  exclusive_taken_ = true;
  lose_surfaces();
}

void FakeDisplaySystem::return_exclusive_mode() {
  exclusive_taken_ = false;
}

void FakeDisplaySystem::change_desktop_mode(const PixelFormatDesc& format) {
  desktop_format_ = format;
  ++desktop_generation_;
  if (!mode_set_) display_format_ = format;
  lose_surfaces();
}

void FakeDisplaySystem::enter_mode(std::int32_t width, std::int32_t height,
                                   const PixelFormatDesc& format) {
  // Changing the mode loses every surface made in the old one.
  if (!mode_set_ || width != screen_width_ || height != screen_height_ ||
      !same_format(format, display_format_)) {
    lose_surfaces();
  }
  mode_set_ = true;
  screen_width_ = width;
  screen_height_ = height;
  display_format_ = format;
}

void FakeDisplaySystem::leave_mode() {
  if (!mode_set_) return;
  mode_set_ = false;
  screen_width_ = desktop_width_;
  screen_height_ = desktop_height_;
  display_format_ = desktop_format_;
  lose_surfaces();
}

int FakeDisplaySystem::live_objects() const {
  int total = 0;
  for (int count : live_) total += count;
  return total;
}

void FakeDisplaySystem::add_live(Kind kind, int delta) {
  live_[static_cast<int>(kind)] += delta;
}

void FakeDisplaySystem::misuse(const std::string& what) {
  misuses_.push_back(what);
}

void FakeDisplaySystem::clear_records() {
  for (auto& flags : flags_) flags.clear();
  surface_requests_.clear();
}

std::uint32_t FakeDisplaySystem::screen_rgb(std::int32_t x, std::int32_t y) const {
  if (primary_ == nullptr || !primary_->inside(x, y)) return kNoPixel;
  return rgb_from_raw(primary_->raw(x, y), primary_->format_);
}

// --- Looking into surfaces ---------------------------------------------------------------

namespace {
FakeSurface* as_fake(Surface* surface) {
  return dynamic_cast<FakeSurface*>(surface);
}
}  // namespace

std::uint32_t surface_rgb(Surface* surface, std::int32_t x, std::int32_t y) {
  FakeSurface* s = as_fake(surface);
  if (s == nullptr || !s->inside(x, y)) return kNoPixel;
  return rgb_from_raw(s->raw(x, y), s->format_);
}

std::uint32_t surface_raw(Surface* surface, std::int32_t x, std::int32_t y) {
  FakeSurface* s = as_fake(surface);
  if (s == nullptr || !s->inside(x, y)) return kNoPixel;
  return s->raw(x, y);
}

std::int32_t surface_width(Surface* surface) {
  FakeSurface* s = as_fake(surface);
  return s == nullptr ? 0 : s->width_;
}

std::int32_t surface_height(Surface* surface) {
  FakeSurface* s = as_fake(surface);
  return s == nullptr ? 0 : s->height_;
}

std::int32_t surface_pitch(Surface* surface) {
  FakeSurface* s = as_fake(surface);
  return s == nullptr ? 0 : s->pitch_;
}

bool surface_lost(Surface* surface) {
  FakeSurface* s = as_fake(surface);
  return s != nullptr && s->lost_;
}

bool surface_color_key(Surface* surface, std::uint32_t* low, std::uint32_t* high) {
  FakeSurface* s = as_fake(surface);
  if (s == nullptr || !s->has_key_) return false;
  if (low != nullptr) *low = s->key_low_;
  if (high != nullptr) *high = s->key_high_;
  return true;
}

void surface_fill(Surface* surface, std::uint32_t raw) {
  if (FakeSurface* s = as_fake(surface); s != nullptr) s->fill_all(raw & depth_mask(s->format_));
}

std::uint32_t ref_count(Unknown* object) {
  if (auto* s = dynamic_cast<FakeSurface*>(object)) return s->references();
  if (auto* d = dynamic_cast<FakeDirectDraw*>(object)) return d->references();
  if (auto* c = dynamic_cast<FakeClipper*>(object)) return c->references();
  return 0;
}

}  // namespace platform::fake
