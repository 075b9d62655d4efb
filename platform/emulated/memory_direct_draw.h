// The memory DirectDraw object, which sets the cooperative level and the mode and makes
// surfaces and clippers, and its clipper.
#pragma once

#include <cstdint>

#include "platform/direct_draw.h"
#include "platform/emulated/memory_display.h"
#include "platform/reference_counted.h"

namespace platform::emulated {

class MemoryClipper final : public ReferenceCounted<Clipper> {
 public:
  explicit MemoryClipper(MemoryDisplaySystem* system) : system_(system) {
    system_->add_live(Kind::kClipper, 1);
  }
  ~MemoryClipper() override { system_->add_live(Kind::kClipper, -1); }
  MemoryClipper(const MemoryClipper&) = delete;
  MemoryClipper& operator=(const MemoryClipper&) = delete;

  HResult set_hwnd(WindowHandle window) override {
    const HResult hr = system_->check(Op::kClipperSetHwnd);
    if (failed(hr)) return hr;
    window_ = window;
    return kS_OK;
  }

 private:
  void over_released(const char* what) override { system_->misuse_over_release(what); }

  MemoryDisplaySystem* system_;
  WindowHandle window_ = nullptr;
};

class MemoryDirectDraw final : public ReferenceCounted<DirectDraw> {
 public:
  explicit MemoryDirectDraw(MemoryDisplaySystem* system)
      : system_(system), id_(system->next_id_++), generation_(system->desktop_generation_) {
    system_->add_live(Kind::kDirectDraw, 1);
  }
  ~MemoryDirectDraw() override {
    if (system_->exclusive_owner_ == id_) {
      system_->exclusive_owner_ = 0;
      system_->leave_mode();
    }
    system_->add_live(Kind::kDirectDraw, -1);
  }
  MemoryDirectDraw(const MemoryDirectDraw&) = delete;
  MemoryDirectDraw& operator=(const MemoryDirectDraw&) = delete;

  HResult set_cooperative_level(WindowHandle window, std::uint32_t flags) override;
  HResult set_display_mode(std::uint32_t width, std::uint32_t height,
                           std::uint32_t bits_per_pixel) override;
  HResult create_surface(const SurfaceDesc& desc, Surface** out) override;
  HResult create_clipper(Clipper** out) override;
  HResult restore_all_surfaces() override;
  HResult test_cooperative_level() override;

 private:
  void over_released(const char* what) override { system_->misuse_over_release(what); }

  MemoryDisplaySystem* system_;
  int id_;
  int generation_;
  bool exclusive_ = false;
};

}  // namespace platform::emulated
