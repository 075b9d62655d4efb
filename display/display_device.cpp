// Creation, presentation, copies and fills of the display device, and the off-screen
// surface's own creation and release.
#include "display/display_device.h"

#include <utility>

#include "platform/window_system.h"

namespace display {

using platform::kE_FAIL;
using platform::kE_INVALIDARG;
using platform::kE_POINTER;
using platform::kS_OK;

namespace {

template <typename T>
void release_and_null(T*& object) {
  if (object != nullptr) {
    object->release();
    object = nullptr;
  }
}

// Window-style bits that windowed mode changes: pop-up off; caption, sizing frame and
// minimise box on.
constexpr std::uint32_t kWindowedStyleKeep = 0x7F39FFFFu;
constexpr std::uint32_t kWindowedStyleAdd = 0x00C60000u;

// Sizes the window for a client area of width × height with its current style and menu,
// then keeps its top-left corner on the work area.
void fit_window(platform::WindowSystem* windows, platform::WindowHandle window, std::uint32_t style,
                std::uint32_t width, std::uint32_t height) {
  const platform::Rect client{0, 0, static_cast<std::int32_t>(width),
                              static_cast<std::int32_t>(height)};
  const platform::Rect outer = windows->adjust_window_rect(client, style, windows->has_menu(window),
                                                           windows->get_ex_style(window));
  windows->set_window_size(window, outer.right - outer.left, outer.bottom - outer.top);
  windows->set_not_topmost(window);

  const platform::Rect work = windows->work_area();
  const platform::Rect placed = windows->window_rect(window);
  std::int32_t x = placed.left;
  std::int32_t y = placed.top;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  windows->move_window(window, x, y);
}

}  // namespace

// --- OffscreenSurface ----------------------------------------------------------------------

OffscreenSurface::~OffscreenSurface() {
  release();
}

HResult OffscreenSurface::create_surface(platform::DirectDraw* ddraw,
                                         const platform::SurfaceDesc& request) {
  if (ddraw == nullptr) return kE_POINTER;
  release();
  const HResult created = ddraw->create_surface(request, &surface);
  if (platform::failed(created)) {
    surface = nullptr;
    return created;
  }
  desc = platform::SurfaceDesc{};
  // The labels are placed from this description, so a failed read-back is a failure.
  const HResult read = surface->get_surface_desc(&desc);
  if (platform::failed(read)) return read;
  return kS_OK;
}

void OffscreenSurface::release() {
  release_and_null(surface);
}

std::int32_t label_width(const OffscreenSurface& label) {
  return static_cast<std::int32_t>(label.desc.width);
}

std::int32_t label_height(const OffscreenSurface& label) {
  return static_cast<std::int32_t>(label.desc.height);
}

// --- DisplayDevice -------------------------------------------------------------------------

DisplayDevice::~DisplayDevice() {
  release_objects();
}

HResult DisplayDevice::release_all() {
  release_objects();
  return kS_OK;
}

void DisplayDevice::release_objects() {
  release_and_null(back);
  release_and_null(front);
  if (ddraw != nullptr) {
    ddraw->set_cooperative_level(window, platform::kCoopNormal);
    release_and_null(ddraw);
  }
}

HResult DisplayDevice::create_direct_draw() {
  platform::DisplaySystem* system = display_system;
  if (system == nullptr) return kE_FAIL;
  if (platform::failed(system->create_direct_draw(&ddraw))) {
    ddraw = nullptr;
    return kE_FAIL;
  }
  return kS_OK;
}

HResult DisplayDevice::create_fullscreen(platform::WindowHandle new_window, std::uint32_t width,
                                         std::uint32_t height, std::uint32_t bits_per_pixel) {
  release_all();
  if (platform::failed(create_direct_draw())) return kE_FAIL;
  if (platform::failed(ddraw->set_cooperative_level(
          new_window, platform::kCoopExclusive | platform::kCoopFullscreen))) {
    return kE_FAIL;
  }
  if (platform::failed(ddraw->set_display_mode(width, height, bits_per_pixel))) return kE_FAIL;

  platform::SurfaceDesc primary;
  primary.flags = platform::kDescCaps | platform::kDescBackBufferCount;
  primary.caps = platform::kCapsPrimarySurface | platform::kCapsFlip | platform::kCapsComplex |
                 platform::kCaps3dDevice;
  primary.back_buffer_count = 1;
  if (platform::failed(ddraw->create_surface(primary, &front))) {
    front = nullptr;
    return kE_FAIL;
  }
  if (platform::failed(front->get_attached_surface(platform::kCapsBackBuffer, &back))) {
    back = nullptr;
    return kE_FAIL;
  }
  // The chain's back buffer is released on its own by release_all, so hold a second
  // reference as the flipping chain keeps the first.
  back->add_ref();

  windowed = false;
  window = new_window;
  update_bounds();
  return kS_OK;
}

HResult DisplayDevice::create_windowed(platform::WindowHandle new_window, std::uint32_t width,
                                       std::uint32_t height) {
  release_all();
  if (platform::failed(create_direct_draw())) return kE_FAIL;
  if (platform::failed(ddraw->set_cooperative_level(new_window, platform::kCoopNormal))) {
    return kE_FAIL;
  }

  platform::WindowSystem* windows = window_system;
  if (windows == nullptr) return kE_FAIL;
  const std::uint32_t style =
      (windows->get_style(new_window) & kWindowedStyleKeep) | kWindowedStyleAdd;
  windows->set_style(new_window, style);

  fit_window(windows, new_window, style, width, height);

  platform::SurfaceDesc primary;
  primary.flags = platform::kDescCaps;
  primary.caps = platform::kCapsPrimarySurface;
  if (platform::failed(ddraw->create_surface(primary, &front))) {
    front = nullptr;
    return kE_FAIL;
  }

  platform::SurfaceDesc back_desc;
  back_desc.flags = platform::kDescCaps | platform::kDescWidth | platform::kDescHeight;
  back_desc.width = width;
  back_desc.height = height;
  back_desc.caps = platform::kCapsOffscreenPlain | platform::kCaps3dDevice;
  if (platform::failed(ddraw->create_surface(back_desc, &back))) {
    back = nullptr;
    return kE_FAIL;
  }

  platform::Clipper* clipper = nullptr;
  if (platform::failed(ddraw->create_clipper(&clipper)) || clipper == nullptr) return kE_FAIL;
  HResult attached = clipper->set_hwnd(new_window);
  if (platform::succeeded(attached)) attached = front->set_clipper(clipper);
  // The primary surface keeps its own reference to the clipper.
  clipper->release();
  if (platform::failed(attached)) return kE_FAIL;

  window = new_window;
  windowed = true;
  update_bounds();
  return kS_OK;
}

HResult DisplayDevice::create_offscreen(std::unique_ptr<OffscreenSurface>* out, std::uint32_t width,
                                        std::uint32_t height) {
  if (ddraw == nullptr) return kE_POINTER;
  if (out == nullptr) return kE_INVALIDARG;
  platform::SurfaceDesc request;
  request.flags = platform::kDescCaps | platform::kDescWidth | platform::kDescHeight;
  request.width = width;
  request.height = height;
  request.caps = platform::kCapsOffscreenPlain;

  auto created = std::make_unique<OffscreenSurface>();
  const HResult hr = created->create_surface(ddraw, request);
  if (platform::failed(hr)) {
    out->reset();
    return hr;  // created goes on return, releasing whatever was made
  }
  *out = std::move(created);
  return kS_OK;
}

HResult DisplayDevice::present() {
  // Both are needed by either way of presenting; a half-built device has nothing to show.
  if (front == nullptr || back == nullptr) return kE_POINTER;
  HResult hr = kS_OK;
  int attempts = 0;
  do {
    if (windowed) {
      hr = front->blt(&screen_rect, back, nullptr, platform::kBltWait, 0);
    } else {
      hr = front->flip(nullptr, platform::kFlipDoNotWait);
    }
    if (hr == platform::kDDERR_SURFACELOST) {
      front->restore();
      back->restore();
    }
  } while (hr == platform::kDDERR_WASSTILLDRAWING && ++attempts < kMaxPresentAttempts);
  return hr;
}

HResult DisplayDevice::draw_surface(std::int32_t x, std::int32_t y, OffscreenSurface* surface,
                                    const platform::Rect* source_rect) {
  if (surface == nullptr || surface->surface == nullptr) return kE_INVALIDARG;
  if (back == nullptr) return kE_POINTER;
  const std::uint32_t flags =
      surface->color_keyed != 0 ? platform::kBltFastSrcColorKey : platform::kBltFastNoColorKey;
  return back->blt_fast(x, y, surface->surface, source_rect, flags);
}

HResult DisplayDevice::clear_back_buffer(std::uint32_t color) {
  if (back == nullptr) return kE_POINTER;
  return back->blt(nullptr, nullptr, nullptr, platform::kBltColorFill, color);
}

HResult DisplayDevice::fit_window_to_client(std::uint32_t width, std::uint32_t height) {
  platform::WindowSystem* windows = window_system;
  if (windows == nullptr) return kE_FAIL;
  fit_window(windows, window, windows->get_style(window), width, height);
  return update_bounds();
}

HResult DisplayDevice::update_bounds() {
  platform::WindowSystem* windows = window_system;
  if (windows == nullptr) return kS_OK;
  if (windowed) {
    screen_rect = windows->client_rect_on_screen(window);
  } else {
    screen_rect = {0, 0, windows->screen_width(), windows->screen_height()};
  }
  return kS_OK;
}

}  // namespace display
