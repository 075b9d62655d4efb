// A DirectDraw 7 surface behind the portable Surface: flip and blits, colour key, lock,
// restore, pixel format and a GDI context on its memory.
#pragma once

#include <cstdint>

#include "platform/direct_draw.h"
#include "platform/reference_counted.h"
#include "platform/win32/win32_draw_context.h"
#include "platform/win32/win32_headers.h"

namespace platform::win32 {

class Win32Surface final : public ReferenceCounted<Surface> {
 public:
  // Takes over one COM reference to surface; the wrapper starts with one reference of its
  // own and gives the COM reference back when its own count drops to zero.
  explicit Win32Surface(IDirectDrawSurface7* surface);
  // A primary surface whose copies onto it are drawn by GDI into window's client area,
  // stretched to fill it: a screen saver's preview, a child of another program's window,
  // which DirectDraw's own presentation through the desktop does not reach under Wine.
  Win32Surface(IDirectDrawSurface7* surface, HWND window);

  IDirectDrawSurface7* com() const { return surface_; }

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

 private:
  ~Win32Surface() override;

  // The back buffer of this surface's flipping chain: starts without references and lives
  // as long as this surface, however its references go, as DirectDraw's own does.
  struct InChain {};
  Win32Surface(IDirectDrawSurface7* surface, InChain);
  bool deleted_at_zero() const override { return !in_chain_; }

  // Width and height from DirectDraw; they never change for the life of a surface.
  bool read_size(std::int32_t* width, std::int32_t* height);

  // The copy of source (null: all of it) into the client area of gdi_window_.
  HResult stretch_to_window(Surface* source, const Rect* source_rect);

  IDirectDrawSurface7* surface_;
  HWND gdi_window_ = nullptr;
  bool in_chain_ = false;
  Win32Surface* attached_ = nullptr;  // the chain's back buffer once asked for, owned
  Win32DrawContext context_;          // the one context handed out between get_dc and release_dc
};

// The portable description of a DirectDraw one (flags, size, pitch, caps, memory, format).
SurfaceDesc from_surface_desc(const DDSURFACEDESC2& desc);
PixelFormatDesc from_pixel_format(const DDPIXELFORMAT& format);

}  // namespace platform::win32
