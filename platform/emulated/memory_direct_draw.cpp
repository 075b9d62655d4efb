// The memory DirectDraw object's operations.
#include "platform/emulated/memory_direct_draw.h"

#include "platform/emulated/memory_pixels.h"
#include "platform/emulated/memory_surface.h"

namespace platform::emulated {

HResult MemoryDirectDraw::set_cooperative_level(WindowHandle window, std::uint32_t flags) {
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

HResult MemoryDirectDraw::set_display_mode(std::uint32_t width, std::uint32_t height,
                                           std::uint32_t bits_per_pixel) {
  const HResult hr = system_->check(Op::kSetDisplayMode);
  if (failed(hr)) return hr;
  if (system_->exclusive_owner_ != id_) return kDDERR_NOEXCLUSIVEMODE;
  if (width == 640 && height == 480 && bits_per_pixel == 16 && system_->mode_available_) {
    // DDERR_GENERIC, which is E_FAIL, where the screen could not take the mode.
    return system_->enter_mode(640, 480, system_->mode_format_) ? kS_OK : kE_FAIL;
  }
  return kDDERR_INVALIDMODE;
}

HResult MemoryDirectDraw::create_surface(const SurfaceDesc& desc, Surface** out) {
  if (system_->tap_ != nullptr) system_->tap_->surface_requested(desc);
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
    auto* front = new MemorySurface(system_, id_, system_->screen_width_, system_->screen_height_,
                                    system_->display_format_, desc.caps, false);
    if (chain) {
      front->attached_ =
          new MemorySurface(system_, id_, system_->screen_width_, system_->screen_height_,
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
  *out = new MemorySurface(system_, id_, static_cast<std::int32_t>(desc.width),
                           static_cast<std::int32_t>(desc.height), format, desc.caps, false);
  return kS_OK;
}

HResult MemoryDirectDraw::create_clipper(Clipper** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  const HResult hr = system_->check(Op::kCreateClipper);
  if (failed(hr)) return hr;
  *out = new MemoryClipper(system_);
  return kS_OK;
}

HResult MemoryDirectDraw::restore_all_surfaces() {
  const HResult hr = system_->check(Op::kRestoreAllSurfaces);
  if (failed(hr)) return hr;
  if (generation_ != system_->desktop_generation_) return kDDERR_WRONGMODE;
  if (system_->exclusive_taken_) return kDDERR_NOEXCLUSIVEMODE;
  for (MemorySurface* s : system_->surfaces_) {
    if (s->owner_id_ == id_ && s->lost_) {
      s->lost_ = false;
      s->scramble();
    }
  }
  return kS_OK;
}

HResult MemoryDirectDraw::test_cooperative_level() {
  const HResult hr = system_->check(Op::kTestCooperativeLevel);
  if (failed(hr)) return hr;
  if (system_->exclusive_taken_) {
    return exclusive_ ? kDDERR_NOEXCLUSIVEMODE : kDDERR_EXCLUSIVEMODEALREADYSET;
  }
  if (!exclusive_ && generation_ != system_->desktop_generation_) return kDDERR_WRONGMODE;
  return kS_OK;
}

}  // namespace platform::emulated
