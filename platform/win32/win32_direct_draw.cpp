// IDirectDraw7 and IDirectDrawClipper calls, DirectDrawCreateEx and the screen's context.
#include "platform/win32/win32_direct_draw.h"

#include "platform/win32/win32_surface.h"

namespace platform::win32 {

Win32Clipper::~Win32Clipper() {
  if (clipper_ != nullptr) clipper_->Release();
}

HResult Win32Clipper::set_hwnd(WindowHandle window) {
  return to_result(clipper_->SetHWnd(0, static_cast<HWND>(window)));
}

Win32DirectDraw::~Win32DirectDraw() {
  if (ddraw_ != nullptr) ddraw_->Release();
}

HResult Win32DirectDraw::set_cooperative_level(WindowHandle window, std::uint32_t flags) {
  if (windowed_only_ && (flags & kCoopExclusive) != 0) return kE_FAIL;
  window_ = static_cast<HWND>(window);
  return to_result(ddraw_->SetCooperativeLevel(static_cast<HWND>(window), flags));
}

HResult Win32DirectDraw::set_display_mode(std::uint32_t width, std::uint32_t height,
                                          std::uint32_t bits_per_pixel) {
  // Default refresh rate, no flags.
  return to_result(ddraw_->SetDisplayMode(width, height, bits_per_pixel, 0, 0));
}

HResult Win32DirectDraw::create_surface(const SurfaceDesc& desc, Surface** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  // The portable flag and caps bits have DirectDraw's values, so they pass through.
  DDSURFACEDESC2 request{};
  request.dwSize = sizeof(request);
  request.dwFlags = desc.flags;
  request.dwWidth = desc.width;
  request.dwHeight = desc.height;
  request.dwBackBufferCount = desc.back_buffer_count;
  request.ddsCaps.dwCaps = desc.caps;
  if ((desc.flags & kDescPixelFormat) != 0) {
    request.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    request.ddpfPixelFormat.dwFlags = DDPF_RGB;
    request.ddpfPixelFormat.dwRGBBitCount = desc.format.rgb_bit_count;
    request.ddpfPixelFormat.dwRBitMask = desc.format.r_mask;
    request.ddpfPixelFormat.dwGBitMask = desc.format.g_mask;
    request.ddpfPixelFormat.dwBBitMask = desc.format.b_mask;
  }
  IDirectDrawSurface7* surface = nullptr;
  const HRESULT hr = ddraw_->CreateSurface(&request, &surface, nullptr);
  if (FAILED(hr)) return to_result(hr);
  const bool by_gdi = windowed_only_ && (desc.caps & kCapsPrimarySurface) != 0;
  *out = by_gdi ? new Win32Surface(surface, window_) : new Win32Surface(surface);
  return kS_OK;
}

HResult Win32DirectDraw::create_clipper(Clipper** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  IDirectDrawClipper* clipper = nullptr;
  const HRESULT hr = ddraw_->CreateClipper(0, &clipper, nullptr);
  if (FAILED(hr)) return to_result(hr);
  *out = new Win32Clipper(clipper);
  return kS_OK;
}

HResult Win32DirectDraw::restore_all_surfaces() {
  return to_result(ddraw_->RestoreAllSurfaces());
}

HResult Win32DirectDraw::test_cooperative_level() {
  return to_result(ddraw_->TestCooperativeLevel());
}

HResult Win32DisplaySystem::create_direct_draw(DirectDraw** out) {
  if (out == nullptr) return kE_INVALIDARG;
  *out = nullptr;
  void* created = nullptr;
  // The default display driver (null GUID), asking for the IDirectDraw7 interface.
  const HRESULT hr = DirectDrawCreateEx(nullptr, &created, IID_IDirectDraw7, nullptr);
  if (FAILED(hr)) return to_result(hr);
  if (created == nullptr) return kE_FAIL;
  *out = new Win32DirectDraw(static_cast<IDirectDraw7*>(created), windowed_only_);
  return kS_OK;
}

DrawContext* Win32DisplaySystem::get_screen_dc() {
  if (screen_context_.handle() != nullptr) return nullptr;  // one at a time
  HDC dc = GetDC(nullptr);
  if (dc == nullptr) return nullptr;
  screen_context_.attach(dc);
  return &screen_context_;
}

void Win32DisplaySystem::release_screen_dc(DrawContext* context) {
  if (context != &screen_context_ || screen_context_.handle() == nullptr) return;
  ReleaseDC(nullptr, screen_context_.handle());
  screen_context_.attach(nullptr);
}

}  // namespace platform::win32
