// The memory display system: the desktop and the mode, what happens to them from outside,
// and the views into its surfaces.
#include "platform/emulated/memory_display.h"

#include <algorithm>

#include "platform/emulated/memory_direct_draw.h"
#include "platform/emulated/memory_draw_context.h"
#include "platform/emulated/memory_pixels.h"
#include "platform/emulated/memory_surface.h"
#include "platform/reference_counted.h"

namespace platform::emulated {

MemoryDisplaySystem::MemoryDisplaySystem()
    : desktop_format_(format_32()), mode_format_(format_565()), display_format_(format_32()) {}

MemoryDisplaySystem::~MemoryDisplaySystem() = default;

HResult MemoryDisplaySystem::create_direct_draw(DirectDraw** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  const HResult hr = check(Op::kCreateDirectDraw);
  if (failed(hr)) return hr;
  *out = new MemoryDirectDraw(this);
  return kS_OK;
}

DrawContext* MemoryDisplaySystem::get_screen_dc() {
  return new MemoryDrawContext(this, nullptr);
}

void MemoryDisplaySystem::release_screen_dc(DrawContext* context) {
  auto* memory = dynamic_cast<MemoryDrawContext*>(context);
  if (memory == nullptr || memory->surface() != nullptr) {
    report_misuse("release_screen_dc of a context that is not the screen's");
    return;
  }
  delete memory;
}

void MemoryDisplaySystem::set_desktop(std::int32_t width, std::int32_t height,
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

void MemoryDisplaySystem::set_mode_640x480x16(bool available, const PixelFormatDesc& format) {
  mode_available_ = available;
  mode_format_ = format;
}

void MemoryDisplaySystem::set_row_padding_bytes(std::int32_t padding) {
  row_padding_ = std::max(0, padding);
}

void MemoryDisplaySystem::lose_surfaces() {
  for (MemorySurface* s : surfaces_) s->lost_ = true;
}

void MemoryDisplaySystem::take_exclusive_mode() {
  exclusive_taken_ = true;
  lose_surfaces();
}

void MemoryDisplaySystem::return_exclusive_mode() {
  exclusive_taken_ = false;
}

void MemoryDisplaySystem::change_desktop_mode(const PixelFormatDesc& format) {
  desktop_format_ = format;
  ++desktop_generation_;
  if (!mode_set_) display_format_ = format;
  lose_surfaces();
}

bool MemoryDisplaySystem::enter_mode(std::int32_t width, std::int32_t height,
                                     const PixelFormatDesc& format) {
  // A screen that cannot go full screen refuses the mode, which then changes nothing.
  const bool entered = !mode_set_;
  if (entered && screen_ != nullptr && !screen_->set_full_screen(true)) return false;
  // Changing the mode loses every surface made in the old one.
  if (!mode_set_ || width != screen_width_ || height != screen_height_ ||
      !same_format(format, display_format_)) {
    lose_surfaces();
  }
  mode_set_ = true;
  screen_width_ = width;
  screen_height_ = height;
  display_format_ = format;
  return true;
}

void MemoryDisplaySystem::leave_mode() {
  if (!mode_set_) return;
  mode_set_ = false;
  screen_width_ = desktop_width_;
  screen_height_ = desktop_height_;
  display_format_ = desktop_format_;
  lose_surfaces();
  if (screen_ != nullptr) screen_->set_full_screen(false);
}

void MemoryDisplaySystem::present() {
  ++presents_;
  if (screen_ == nullptr || primary_ == nullptr) return;
  primary_->before_read();
  screen_->show(primary_->memory_.data(), primary_->pitch_, primary_->width_, primary_->height_,
                primary_->format_);
}

void MemoryDisplaySystem::misuse_over_release(const char* what) {
  if (tap_ == nullptr) {
    report_over_release(what);
    return;
  }
  report_misuse((std::string(what) + " released more often than referenced").c_str());
}

std::uint32_t MemoryDisplaySystem::screen_rgb(std::int32_t x, std::int32_t y) const {
  if (primary_ == nullptr || !primary_->inside(x, y)) return kNoPixel;
  primary_->before_read();
  return rgb_from_raw(primary_->raw(x, y), primary_->format_);
}

// --- Looking into surfaces ---------------------------------------------------------------

namespace {
MemorySurface* as_memory(Surface* surface) {
  return dynamic_cast<MemorySurface*>(surface);
}
}  // namespace

std::uint32_t surface_rgb(Surface* surface, std::int32_t x, std::int32_t y) {
  MemorySurface* s = as_memory(surface);
  if (s == nullptr || !s->inside(x, y)) return kNoPixel;
  s->before_read();
  return rgb_from_raw(s->raw(x, y), s->format_);
}

std::uint32_t surface_raw(Surface* surface, std::int32_t x, std::int32_t y) {
  MemorySurface* s = as_memory(surface);
  if (s == nullptr || !s->inside(x, y)) return kNoPixel;
  s->before_read();
  return s->raw(x, y);
}

std::int32_t surface_width(Surface* surface) {
  MemorySurface* s = as_memory(surface);
  return s == nullptr ? 0 : s->width_;
}

std::int32_t surface_height(Surface* surface) {
  MemorySurface* s = as_memory(surface);
  return s == nullptr ? 0 : s->height_;
}

std::int32_t surface_pitch(Surface* surface) {
  MemorySurface* s = as_memory(surface);
  return s == nullptr ? 0 : s->pitch_;
}

bool surface_lost(Surface* surface) {
  MemorySurface* s = as_memory(surface);
  return s != nullptr && s->lost_;
}

bool surface_color_key(Surface* surface, std::uint32_t* low, std::uint32_t* high) {
  MemorySurface* s = as_memory(surface);
  if (s == nullptr || !s->has_key_) return false;
  if (low != nullptr) *low = s->key_low_;
  if (high != nullptr) *high = s->key_high_;
  return true;
}

void surface_fill(Surface* surface, std::uint32_t raw) {
  if (MemorySurface* s = as_memory(surface); s != nullptr)
    s->fill_all(raw & depth_mask(s->format_));
}

std::uint32_t ref_count(Unknown* object) {
  if (auto* s = dynamic_cast<MemorySurface*>(object)) return s->references();
  if (auto* d = dynamic_cast<MemoryDirectDraw*>(object)) return d->references();
  if (auto* c = dynamic_cast<MemoryClipper*>(object)) return c->references();
  return 0;
}

}  // namespace platform::emulated
