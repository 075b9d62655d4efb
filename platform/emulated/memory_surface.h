// A surface over plain memory: copies, fills, flips, locks, colour keys, loss and restore.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/direct_draw.h"
#include "platform/emulated/memory_display.h"
#include "platform/emulated/memory_pixels.h"
#include "platform/reference_counted.h"

namespace platform::emulated {

class MemoryClipper;
class MemoryDrawContext;

class MemorySurface final : public ReferenceCounted<Surface> {
 public:
  MemorySurface(MemoryDisplaySystem* system, int owner_id, std::int32_t width, std::int32_t height,
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
  ~MemorySurface() override;
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;

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
    before_overwrite();
    for (std::int32_t y = 0; y < height_; ++y) {
      for (std::int32_t x = 0; x < width_; ++x) put(x, y, value);
    }
  }
  // The memory of a restored surface holds whatever the driver left there.
  void scramble() {
    before_overwrite();
    for (std::size_t i = 0; i < memory_.size(); ++i) {
      memory_[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 7));
    }
  }

  // A fill of a whole surface is owed until its pixels are next read or partly changed,
  // and dropped when they are overwritten whole first (a back buffer cleared, then covered
  // by the frame). A copy of a whole surface onto another of the same size, pitch and format
  // swaps their memory instead: the source then owes itself a copy of the destination's
  // pixels, made or dropped alike (the windowed back buffer is cleared for the next frame).
  // Every operation calls one of the three below before it touches a surface's memory, so
  // nothing can tell.
  // Before the pixels are read: what this surface owes itself is done.
  void before_read() {
    if (owes_fill_) {
      owes_fill_ = false;
      fill(Rect{0, 0, width_, height_}, fill_value_);
    }
    if (!owes_copy_) return;
    std::memcpy(memory_.data(), copy_partner_->memory_.data(), memory_.size());
    forget_copy();
  }
  // Before some of the pixels change: a surface owing itself a copy of them gets it first.
  void before_write() {
    if (copy_partner_ != nullptr && !owes_copy_) copy_partner_->before_read();
    before_read();
  }
  // Before every pixel is overwritten: what this surface owes itself is not needed.
  void before_overwrite() {
    if (copy_partner_ != nullptr && !owes_copy_) copy_partner_->before_read();
    forget_copy();
    owes_fill_ = false;
  }
  // After source's memory was swapped with this one's: source owes itself the copy.
  void lend_copy(MemorySurface* source) {
    copy_partner_ = source;
    source->copy_partner_ = this;
    source->owes_copy_ = true;
  }

  MemoryDisplaySystem* system_;
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
  bool owes_copy_ = false;  // these pixels are copy_partner_'s, not copied yet
  bool owes_fill_ = false;  // every pixel is fill_value_, not written yet
  MemoryDrawContext* dc_ = nullptr;
  bool has_key_ = false;
  std::uint32_t key_low_ = 0;
  std::uint32_t key_high_ = 0;
  std::uint32_t fill_value_ = 0;
  MemoryClipper* clipper_ = nullptr;
  MemorySurface* attached_ = nullptr;  // the back buffer of a flipping chain, owned
  // The surface whose pixels this one owes itself (owes_copy_), or that owes itself this
  // one's; null when neither.
  MemorySurface* copy_partner_ = nullptr;

 private:
  void over_released(const char* what) override { system_->misuse_over_release(what); }
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
  // Copies count pixels of bytes each from a row to another, leaving those equal to key.
  static void copy_keyed_row(const std::uint8_t* from, std::uint8_t* to, std::int32_t count,
                             std::uint32_t bytes, std::uint32_t key);
  // Sets every pixel of visible (inside the surface) to value.
  void fill(const Rect& visible, std::uint32_t value);
  void forget_copy() {
    if (copy_partner_ != nullptr) {
      copy_partner_->copy_partner_ = nullptr;
      copy_partner_->owes_copy_ = false;
    }
    copy_partner_ = nullptr;
    owes_copy_ = false;
  }
  HResult busy_or_lost() const {
    if (lost_) return kDDERR_SURFACELOST;
    if (locked_ || dc_ != nullptr) return kDDERR_SURFACEBUSY;
    return kS_OK;
  }
  friend class MemoryDrawContext;
};

}  // namespace platform::emulated
