// The stand-in's display system: the desktop and the mode, the faults, the counters, and
// the views into its surfaces that the tests read.
#include "platform/fake/fake_display.h"

#include <algorithm>

#include "platform/fake/fake_direct_draw.h"
#include "platform/fake/fake_draw_context.h"
#include "platform/fake/fake_pixels.h"
#include "platform/fake/fake_surface.h"

namespace platform::fake {

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

void FakeDisplaySystem::misuse_over_release(const char* what) {
  misuse(std::string(what) + " released more often than referenced");
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
