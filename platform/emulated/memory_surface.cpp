// The memory surface's operations, as DirectDraw 7 does them.
#include "platform/emulated/memory_surface.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/emulated/memory_direct_draw.h"
#include "platform/emulated/memory_draw_context.h"

namespace platform::emulated {

namespace {

// Copies the pixels of a row that are not the key, reading each as its native type.
template <typename Pixel>
void copy_keyed_pixels(const std::uint8_t* from, std::uint8_t* to, std::int32_t count,
                       std::uint32_t key) {
  const auto k = static_cast<Pixel>(key);
  for (std::int32_t i = 0; i < count; ++i, from += sizeof(Pixel), to += sizeof(Pixel)) {
    Pixel pixel;
    std::memcpy(&pixel, from, sizeof(Pixel));
    if (pixel != k) std::memcpy(to, &pixel, sizeof(Pixel));
  }
}

}  // namespace

void MemorySurface::copy_keyed_row(const std::uint8_t* from, std::uint8_t* to, std::int32_t count,
                                   std::uint32_t bytes, std::uint32_t key) {
  switch (bytes) {
    case 1:
      copy_keyed_pixels<std::uint8_t>(from, to, count, key);
      return;
    case 2:
      copy_keyed_pixels<std::uint16_t>(from, to, count, key);
      return;
    case 4:
      copy_keyed_pixels<std::uint32_t>(from, to, count, key);
      return;
    default:
      for (std::int32_t i = 0; i < count; ++i, from += 3, to += 3) {
        const std::uint32_t pixel =
            std::uint32_t{from[0]} | std::uint32_t{from[1]} << 8 | std::uint32_t{from[2]} << 16;
        if (pixel != key) std::memcpy(to, from, 3);
      }
  }
}

void MemorySurface::fill(const Rect& visible, std::uint32_t value) {
  const std::size_t bytes = row_bytes(visible.right - visible.left);
  const std::uint32_t size = bytes_per_pixel(format_);
  // A value of one repeated byte (black above all) is set row by row without reading.
  bool one_byte = true;
  for (std::uint32_t i = 1; i < size; ++i) {
    one_byte = one_byte && ((value >> (8 * i)) & 0xFF) == (value & 0xFF);
  }
  if (one_byte) {
    for (std::int32_t y = visible.top; y < visible.bottom; ++y) {
      std::memset(pixel_address(visible.left, y), static_cast<int>(value & 0xFF), bytes);
    }
    return;
  }
  // The first row pixel by pixel, the others as copies of it.
  for (std::int32_t x = visible.left; x < visible.right; ++x) put(x, visible.top, value);
  for (std::int32_t y = visible.top + 1; y < visible.bottom; ++y) {
    std::memcpy(pixel_address(visible.left, y), pixel_address(visible.left, visible.top), bytes);
  }
}

MemorySurface::~MemorySurface() {
  before_overwrite();
  if (attached_ != nullptr) delete attached_;
  if (clipper_ != nullptr) clipper_->release();
  if (dc_ != nullptr) {
    system_->report_misuse("surface destroyed with its drawing context still out");
    delete dc_;
  }
  if (system_->primary_ == this) system_->primary_ = nullptr;
  auto& list = system_->surfaces_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  system_->add_live(Kind::kSurface, -1);
}

HResult MemorySurface::get_attached_surface(std::uint32_t caps, Surface** out) {
  const HResult hr = system_->check(Op::kGetAttachedSurface, caps);
  if (failed(hr)) return hr;
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  if (attached_ == nullptr || (caps & kCapsBackBuffer) == 0) return kE_FAIL;
  attached_->add_ref();
  *out = attached_;
  return kS_OK;
}

HResult MemorySurface::set_clipper(Clipper* clipper) {
  const HResult hr = system_->check(Op::kSetClipper);
  if (failed(hr)) return hr;
  auto* memory = dynamic_cast<MemoryClipper*>(clipper);
  if (clipper != nullptr && memory == nullptr) return kE_INVALIDARG;
  if (memory != nullptr) memory->add_ref();
  if (clipper_ != nullptr) clipper_->release();
  clipper_ = memory;
  return kS_OK;
}

HResult MemorySurface::flip(Surface* target, std::uint32_t flags) {
  const HResult hr = system_->check(Op::kFlip, flags);
  if (failed(hr)) return hr;
  if (target != nullptr || attached_ == nullptr) return kDDERR_NOTFLIPPABLE;
  if (lost_ || attached_->lost_) return kDDERR_SURFACELOST;
  if (busy_or_lost() != kS_OK || attached_->busy_or_lost() != kS_OK) return kDDERR_SURFACEBUSY;
  before_write();
  attached_->before_write();
  std::swap(memory_, attached_->memory_);
  system_->present();
  return kS_OK;
}

HResult MemorySurface::blt(const Rect* dest_rect, Surface* source, const Rect* source_rect,
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
  const bool whole =
      visible.left == 0 && visible.top == 0 && visible.right == width_ && visible.bottom == height_;

  if ((flags & kBltColorFill) != 0) {
    if (source != nullptr) return kE_INVALIDARG;
    if (whole) {
      before_overwrite();
      owes_fill_ = true;
      fill_value_ = fill_color & depth_mask(format_);
    } else {
      before_write();
      fill(visible, fill_color & depth_mask(format_));
    }
    if (system_->primary_ == this) system_->present();
    return kS_OK;
  }

  auto* src = dynamic_cast<MemorySurface*>(source);
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
  src->before_read();
  if (same && whole && dest.left == 0 && dest.top == 0 && dw == width_ && dh == height_ &&
      sw == src->width_ && sh == src->height_ && pitch_ == src->pitch_ &&
      static_cast<std::size_t>(pitch_) == row_bytes(width_)) {
    // A whole surface onto another just like it, without padding that a lock could have
    // written (a window's frame onto the primary): the memory is swapped and the source
    // owes itself the copy (before_read).
    src->before_write();
    before_overwrite();
    std::swap(memory_, src->memory_);
    lend_copy(src);
    if (system_->primary_ == this) system_->present();
    return kS_OK;
  }
  if (whole) {
    before_overwrite();
  } else {
    before_write();
  }
  if (same && dw == sw && dh == sh) {  // an unscaled copy: whole rows at once
    for (std::int32_t y = visible.top; y < visible.bottom; ++y) {
      std::memcpy(pixel_address(visible.left, y),
                  src->pixel_address(from.left + visible.left - dest.left, from.top + y - dest.top),
                  row_bytes(visible.right - visible.left));
    }
    if (system_->primary_ == this) system_->present();
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
  if (system_->primary_ == this) system_->present();
  return kS_OK;
}

HResult MemorySurface::blt_fast(std::int32_t x, std::int32_t y, Surface* source,
                                const Rect* source_rect, std::uint32_t flags) {
  const HResult hr = system_->check(Op::kBltFast, flags);
  if (failed(hr)) return hr;
  auto* src = dynamic_cast<MemorySurface*>(source);
  if (src == nullptr || src == this) return kE_INVALIDARG;
  if (const HResult state = busy_or_lost(); state != kS_OK) return state;
  if (const HResult state = src->busy_or_lost(); state != kS_OK) return state;
  bool keyed = (flags & kBltFastSrcColorKey) != 0;
  if (keyed && !src->has_key_) return kDDERR_NOCOLORKEY;
  src->before_read();
  const Rect src_bounds{0, 0, src->width_, src->height_};
  const Rect from = source_rect != nullptr ? intersect(*source_rect, src_bounds) : src_bounds;
  const bool same = same_format(format_, src->format_);
  const std::uint32_t bytes = bytes_per_pixel(src->format_);
  // Without DDCKEY_COLORSPACE the key is the one value low, as DirectDraw 7 keys it; a key
  // wider than the source's pixels matches none of them.
  if (keyed && bytes < 4 && (src->key_low_ >> (8 * bytes)) != 0) keyed = false;
  // The source columns whose destination lies inside this surface.
  const std::int32_t first = std::max(from.left, from.left - x);
  const std::int32_t last = std::min(from.right, from.left + width_ - x);
  const bool covers = !keyed && x + first - from.left == 0 && x + last - from.left == width_ &&
                      y <= 0 && y + from.bottom - from.top >= height_;
  if (covers) {
    before_overwrite();
  } else {
    before_write();
  }
  for (std::int32_t row = from.top; row < from.bottom; ++row) {
    const std::int32_t dy = y + row - from.top;
    if (dy < 0 || dy >= height_ || first >= last) continue;
    std::uint8_t* to = pixel_address(x + first - from.left, dy);
    const std::uint8_t* from_row = src->pixel_address(first, row);
    if (same && !keyed) {
      std::memcpy(to, from_row, row_bytes(last - first));
      continue;
    }
    if (same) {
      copy_keyed_row(from_row, to, last - first, bytes, src->key_low_);
      continue;
    }
    for (std::int32_t column = first; column < last; ++column) {
      const std::int32_t dx = x + column - from.left;
      const std::uint32_t value = src->raw(column, row);
      if (keyed && value == src->key_low_) continue;
      put(dx, dy, same ? value : raw_from_rgb(rgb_from_raw(value, src->format_), format_));
    }
  }
  return kS_OK;
}

HResult MemorySurface::restore() {
  const HResult hr = system_->check(Op::kRestore);
  if (failed(hr)) return hr;
  if (generation_ != system_->desktop_generation_) return kDDERR_WRONGMODE;
  if (system_->exclusive_taken_) return kDDERR_NOEXCLUSIVEMODE;
  for (MemorySurface* s = this; s != nullptr; s = s->attached_) {
    if (s->lost_) {
      s->lost_ = false;
      s->scramble();
    }
  }
  return kS_OK;
}

HResult MemorySurface::get_pixel_format(PixelFormatDesc* out) {
  const HResult hr = system_->check(Op::kGetPixelFormat);
  if (failed(hr)) return hr;
  if (out == nullptr) return kE_INVALIDARG;
  *out = format_;
  return kS_OK;
}

HResult MemorySurface::get_surface_desc(SurfaceDesc* out) {
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

HResult MemorySurface::lock(const Rect* rect, SurfaceDesc* out, std::uint32_t flags) {
  const HResult hr = system_->check(Op::kLock, flags);
  if (failed(hr)) return hr;
  if (rect != nullptr || out == nullptr) return kE_INVALIDARG;
  if (const HResult state = busy_or_lost(); state != kS_OK) return state;
  before_write();
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

HResult MemorySurface::unlock(const Rect* rect) {
  if (rect != nullptr) return kE_INVALIDARG;
  if (!locked_) {
    system_->report_misuse("unlock of a surface that is not locked");
    return kDDERR_NOTLOCKED;
  }
  locked_ = false;
  return kS_OK;
}

HResult MemorySurface::get_dc(DrawContext** out) {
  const HResult hr = system_->check(Op::kGetDc);
  if (failed(hr)) return hr;
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  if (const HResult state = busy_or_lost(); state != kS_OK) return state;
  before_write();
  dc_ = new MemoryDrawContext(system_, this);
  *out = dc_;
  return kS_OK;
}

HResult MemorySurface::release_dc(DrawContext* context) {
  if (context == nullptr || context != dc_) {
    system_->report_misuse("release_dc of a context this surface did not hand out");
    return kE_INVALIDARG;
  }
  const HResult hr = system_->check(Op::kReleaseDc);
  // The context is gone whatever the result, as GDI frees it.
  delete dc_;
  dc_ = nullptr;
  return hr;
}

HResult MemorySurface::set_color_key(std::uint32_t flags, std::uint32_t low, std::uint32_t high) {
  const HResult hr = system_->check(Op::kSetColorKey, flags);
  if (failed(hr)) return hr;
  if (flags != kColorKeySrcBlt) return kE_INVALIDARG;
  has_key_ = true;
  key_low_ = low;
  key_high_ = high;
  return kS_OK;
}

}  // namespace platform::emulated
