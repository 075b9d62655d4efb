// IDirectDrawSurface7 calls for the portable Surface.
#include "platform/win32/win32_surface.h"

#include "platform/win32/blit_clipping.h"
#include "platform/win32/win32_direct_draw.h"

namespace platform::win32 {

namespace {

IDirectDrawSurface7* com_of(Surface* surface) {
  // Every Surface the display code holds was made by this backend.
  return surface == nullptr ? nullptr : static_cast<Win32Surface*>(surface)->com();
}

}  // namespace

PixelFormatDesc from_pixel_format(const DDPIXELFORMAT& format) {
  PixelFormatDesc out;
  out.rgb_bit_count = static_cast<std::uint32_t>(format.dwRGBBitCount);
  out.r_mask = static_cast<std::uint32_t>(format.dwRBitMask);
  out.g_mask = static_cast<std::uint32_t>(format.dwGBitMask);
  out.b_mask = static_cast<std::uint32_t>(format.dwBBitMask);
  return out;
}

SurfaceDesc from_surface_desc(const DDSURFACEDESC2& desc) {
  SurfaceDesc out;
  out.flags = static_cast<std::uint32_t>(desc.dwFlags);
  out.width = static_cast<std::uint32_t>(desc.dwWidth);
  out.height = static_cast<std::uint32_t>(desc.dwHeight);
  out.pitch_bytes = static_cast<std::int32_t>(desc.lPitch);
  out.back_buffer_count = static_cast<std::uint32_t>(desc.dwBackBufferCount);
  out.caps = static_cast<std::uint32_t>(desc.ddsCaps.dwCaps);
  out.pixels = desc.lpSurface;
  out.format = from_pixel_format(desc.ddpfPixelFormat);
  return out;
}

Win32Surface::Win32Surface(IDirectDrawSurface7* surface) : surface_(surface) {}

Win32Surface::Win32Surface(IDirectDrawSurface7* surface, HWND window)
    : surface_(surface), gdi_window_(window) {}

Win32Surface::Win32Surface(IDirectDrawSurface7* surface, InChain)
    : ReferenceCounted<Surface>(0), surface_(surface), in_chain_(true) {}

Win32Surface::~Win32Surface() {
  delete attached_;  // gives its COM reference back before this surface's own
  if (surface_ != nullptr) surface_->Release();
}

HResult Win32Surface::get_attached_surface(std::uint32_t caps, Surface** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  DDSCAPS2 wanted{};
  wanted.dwCaps = caps;
  IDirectDrawSurface7* attached = nullptr;
  const HRESULT hr = surface_->GetAttachedSurface(&wanted, &attached);
  if (FAILED(hr)) return to_result(hr);
  // One wrapper per chain: every reference the caller adds or drops is the wrapper's, and
  // the wrapper goes with this surface, so no extra reference can keep it alive.
  if (attached_ == nullptr) {
    attached_ = new Win32Surface(attached, InChain{});
  } else if (attached_->surface_ == attached) {
    attached->Release();
  } else {
    *out = new Win32Surface(attached);  // some other attached surface: a wrapper of its own
    return kS_OK;
  }
  attached_->add_ref();
  *out = attached_;
  return kS_OK;
}

HResult Win32Surface::set_clipper(Clipper* clipper) {
  IDirectDrawClipper* com =
      clipper == nullptr ? nullptr : static_cast<Win32Clipper*>(clipper)->com();
  return to_result(surface_->SetClipper(com));
}

HResult Win32Surface::flip(Surface* target, std::uint32_t flags) {
  return to_result(surface_->Flip(com_of(target), flags));
}

HResult Win32Surface::blt(const Rect* dest_rect, Surface* source, const Rect* source_rect,
                          std::uint32_t flags, std::uint32_t fill_color) {
  if (gdi_window_ != nullptr && source != nullptr && (flags & kBltColorFill) == 0) {
    return stretch_to_window(source, source_rect);
  }
  // A stretching copy that reaches past this surface (a window partly off the screen) is
  // refused by DirectDraw, so it is cut to the part on the surface first.
  StretchCopy clipped;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t source_width = 0;
  std::int32_t source_height = 0;
  if (dest_rect != nullptr && source != nullptr && read_size(&width, &height) &&
      static_cast<Win32Surface*>(source)->read_size(&source_width, &source_height) &&
      (dest_rect->left < 0 || dest_rect->top < 0 || dest_rect->right > width ||
       dest_rect->bottom > height)) {
    clipped =
        clip_stretch_copy(*dest_rect, source_rect, width, height, source_width, source_height);
    if (clipped.empty) return kS_OK;
    dest_rect = &clipped.dest_area;
    source_rect = &clipped.source_area;
  }
  RECT dest{};
  RECT from{};
  if (dest_rect != nullptr) dest = to_rect(*dest_rect);
  if (source_rect != nullptr) from = to_rect(*source_rect);
  DDBLTFX effects{};
  effects.dwSize = sizeof(effects);
  effects.dwFillColor = fill_color;
  const bool fill = (flags & kBltColorFill) != 0;
  return to_result(surface_->Blt(dest_rect != nullptr ? &dest : nullptr, com_of(source),
                                 source_rect != nullptr ? &from : nullptr, flags,
                                 fill ? &effects : nullptr));
}

HResult Win32Surface::stretch_to_window(Surface* source, const Rect* source_rect) {
  auto* from = static_cast<Win32Surface*>(source);
  std::int32_t source_width = 0;
  std::int32_t source_height = 0;
  if (!from->read_size(&source_width, &source_height)) return kE_FAIL;
  const Rect area = source_rect != nullptr ? *source_rect : Rect{0, 0, source_width, source_height};
  RECT client{};
  GetClientRect(gdi_window_, &client);
  HDC source_dc = nullptr;
  const HRESULT hr = from->surface_->GetDC(&source_dc);
  if (FAILED(hr)) return to_result(hr);
  HDC window_dc = GetDC(gdi_window_);
  BOOL copied = FALSE;
  if (window_dc != nullptr) {
    // Averaged rather than dropped pixels: the preview is a quarter of the frame's size.
    SetStretchBltMode(window_dc, HALFTONE);
    SetBrushOrgEx(window_dc, 0, 0, nullptr);
    copied = StretchBlt(window_dc, 0, 0, client.right, client.bottom, source_dc, area.left,
                        area.top, area.right - area.left, area.bottom - area.top, SRCCOPY);
    ReleaseDC(gdi_window_, window_dc);
  }
  from->surface_->ReleaseDC(source_dc);
  return copied != FALSE ? kS_OK : kE_FAIL;
}

HResult Win32Surface::blt_fast(std::int32_t x, std::int32_t y, Surface* source,
                               const Rect* source_rect, std::uint32_t flags) {
  IDirectDrawSurface7* from = com_of(source);
  if (from == nullptr) return kE_INVALIDARG;
  // BltFast refuses rectangles that reach past either surface, so the copy is clipped
  // here to the part that lands on this surface.
  std::int32_t source_width = 0;
  std::int32_t source_height = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  if (!static_cast<Win32Surface*>(source)->read_size(&source_width, &source_height) ||
      !read_size(&width, &height)) {
    // Without the sizes there is nothing to clip by: the copy goes to DirectDraw as asked,
    // which copies it or refuses it with its own code.
    RECT rect{};
    if (source_rect != nullptr) rect = to_rect(*source_rect);
    return to_result(surface_->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), from,
                                       source_rect != nullptr ? &rect : nullptr, flags));
  }
  const FastCopy copy =
      clip_fast_copy(x, y, source_rect, source_width, source_height, width, height);
  if (copy.empty) return kS_OK;
  RECT rect = to_rect(copy.source_area);
  return to_result(surface_->BltFast(static_cast<DWORD>(copy.x), static_cast<DWORD>(copy.y), from,
                                     &rect, flags));
}

HResult Win32Surface::restore() {
  return to_result(surface_->Restore());
}

HResult Win32Surface::get_pixel_format(PixelFormatDesc* out) {
  if (out == nullptr) return kE_INVALIDARG;
  DDPIXELFORMAT format{};
  format.dwSize = sizeof(format);
  const HRESULT hr = surface_->GetPixelFormat(&format);
  if (SUCCEEDED(hr)) *out = from_pixel_format(format);
  return to_result(hr);
}

HResult Win32Surface::get_surface_desc(SurfaceDesc* out) {
  if (out == nullptr) return kE_INVALIDARG;
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof(desc);
  const HRESULT hr = surface_->GetSurfaceDesc(&desc);
  if (SUCCEEDED(hr)) *out = from_surface_desc(desc);
  return to_result(hr);
}

HResult Win32Surface::lock(const Rect* rect, SurfaceDesc* out, std::uint32_t flags) {
  if (out == nullptr) return kE_INVALIDARG;
  RECT area{};
  if (rect != nullptr) area = to_rect(*rect);
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof(desc);
  const HRESULT hr = surface_->Lock(rect != nullptr ? &area : nullptr, &desc, flags, nullptr);
  if (SUCCEEDED(hr)) *out = from_surface_desc(desc);
  return to_result(hr);
}

HResult Win32Surface::unlock(const Rect* rect) {
  RECT area{};
  if (rect != nullptr) area = to_rect(*rect);
  return to_result(surface_->Unlock(rect != nullptr ? &area : nullptr));
}

HResult Win32Surface::get_dc(DrawContext** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  HDC dc = nullptr;
  const HRESULT hr = surface_->GetDC(&dc);
  if (FAILED(hr)) return to_result(hr);
  context_.attach(dc);
  *out = &context_;
  return kS_OK;
}

HResult Win32Surface::release_dc(DrawContext* context) {
  if (context != &context_ || context_.handle() == nullptr) return kE_INVALIDARG;
  const HRESULT hr = surface_->ReleaseDC(context_.handle());
  context_.attach(nullptr);
  return to_result(hr);
}

HResult Win32Surface::set_color_key(std::uint32_t flags, std::uint32_t low, std::uint32_t high) {
  DDCOLORKEY key{};
  key.dwColorSpaceLowValue = low;
  key.dwColorSpaceHighValue = high;
  return to_result(surface_->SetColorKey(flags, &key));
}

bool Win32Surface::read_size(std::int32_t* width, std::int32_t* height) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof(desc);
  if (FAILED(surface_->GetSurfaceDesc(&desc))) return false;
  *width = static_cast<std::int32_t>(desc.dwWidth);
  *height = static_cast<std::int32_t>(desc.dwHeight);
  return true;
}

}  // namespace platform::win32
