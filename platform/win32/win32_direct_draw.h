// The DirectDraw 7 object, its clipper and the display system's entry points
// (DirectDrawCreateEx and the screen's device context) behind the portable interfaces.
#pragma once

#include <cstdint>

#include "platform/direct_draw.h"
#include "platform/reference_counted.h"
#include "platform/win32/win32_draw_context.h"
#include "platform/win32/win32_headers.h"

namespace platform::win32 {

class Win32Clipper final : public ReferenceCounted<Clipper> {
 public:
  // Takes over one COM reference to clipper.
  explicit Win32Clipper(IDirectDrawClipper* clipper) : clipper_(clipper) {}
  IDirectDrawClipper* com() const { return clipper_; }

  HResult set_hwnd(WindowHandle window) override;

 private:
  ~Win32Clipper() override;

  IDirectDrawClipper* clipper_;
};

class Win32DirectDraw final : public ReferenceCounted<DirectDraw> {
 public:
  // Takes over one COM reference to ddraw. windowed_only refuses the exclusive level and
  // presents onto the primary surface by GDI (a screen saver's preview).
  Win32DirectDraw(IDirectDraw7* ddraw, bool windowed_only)
      : ddraw_(ddraw), windowed_only_(windowed_only) {}

  HResult set_cooperative_level(WindowHandle window, std::uint32_t flags) override;
  HResult set_display_mode(std::uint32_t width, std::uint32_t height,
                           std::uint32_t bits_per_pixel) override;
  HResult create_surface(const SurfaceDesc& desc, Surface** out) override;
  HResult create_clipper(Clipper** out) override;
  HResult restore_all_surfaces() override;
  HResult test_cooperative_level() override;

 private:
  ~Win32DirectDraw() override;

  IDirectDraw7* ddraw_;
  bool windowed_only_;
  HWND window_ = nullptr;  // the window of the last cooperative level set
};

class Win32DisplaySystem final : public DisplaySystem {
 public:
  HResult create_direct_draw(DirectDraw** out) override;
  DrawContext* get_screen_dc() override;
  void release_screen_dc(DrawContext* context) override;
  // From now on the DirectDraw objects refuse the exclusive full screen (a preview must
  // never take the screen).
  void set_windowed_only(bool windowed_only) { windowed_only_ = windowed_only; }

 private:
  bool windowed_only_ = false;
  Win32DrawContext screen_context_;  // the screen's context while it is handed out
};

}  // namespace platform::win32
