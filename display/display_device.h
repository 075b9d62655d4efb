// The display device over DirectDraw 7 (or a backend that stands in for it): front and back
// buffer, full-screen and windowed creation, presentation, copies and fills, and the
// off-screen surface wrapper used for the frame surface and the text labels.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/direct_draw.h"
#include "platform/hresult.h"
#include "platform/window_system.h"

namespace display {

using platform::HResult;

// One owned off-screen surface with its description as read back after creation.
class OffscreenSurface {
 public:
  OffscreenSurface() = default;
  ~OffscreenSurface();
  OffscreenSurface(const OffscreenSurface&) = delete;
  OffscreenSurface& operator=(const OffscreenSurface&) = delete;

  // Creates the surface from desc on ddraw and reads its description back into desc.
  // 0, E_POINTER without ddraw, or the creation's (or read-back's) error.
  HResult create_surface(platform::DirectDraw* ddraw, const platform::SurfaceDesc& request);
  // Releases and nulls the surface.
  void release();

  // Draws text with its top-left at (x, y), opaque background; font null keeps the
  // context's default font. 0, E_INVALIDARG without surface or text, or the GDI error.
  HResult draw_text(platform::Font* font, const char* text, std::int32_t x, std::int32_t y,
                    platform::ColorRef background, platform::ColorRef foreground);
  // Makes the pixel value of color this surface's source colour key and marks the surface
  // colour-keyed. The result of setting the key; E_POINTER without surface.
  HResult set_color_key(platform::ColorRef color);
  // The raw pixel value this surface stores for a GDI colour, probed through pixel (0, 0),
  // which keeps its colour. kInvalidColor reads pixel (0, 0) unchanged. 0 without surface,
  // 0xFFFFFFFF when the surface cannot be locked.
  std::uint32_t color_to_pixel(platform::ColorRef color);

  platform::Surface* surface = nullptr;
  platform::SurfaceDesc desc;
  std::int32_t color_keyed = 0;
};

// Width and height of a created surface as its description gives them.
std::int32_t label_width(const OffscreenSurface& label);
std::int32_t label_height(const OffscreenSurface& label);

// Tries at most this many presents while the flip reports that it is still drawing, so
// that a driver that never finishes cannot hang the program.
inline constexpr int kMaxPresentAttempts = 1000000;

class DisplayDevice {
 public:
  // A device without objects that will create them through system and size its window
  // through windows (either may be null: creation then fails, or the window is left alone).
  DisplayDevice(platform::DisplaySystem* system, platform::WindowSystem* windows)
      : display_system(system), window_system(windows) {}
  virtual ~DisplayDevice();
  DisplayDevice(const DisplayDevice&) = delete;
  DisplayDevice& operator=(const DisplayDevice&) = delete;

  // Releases back, front and (after leaving exclusive mode) the DirectDraw object. 0.
  virtual HResult release_all();

  // Exclusive full screen at width × height × bits_per_pixel with a flipping chain.
  // 0 or E_FAIL; what was created before a failure stays until release_all.
  HResult create_fullscreen(platform::WindowHandle window, std::uint32_t width,
                            std::uint32_t height, std::uint32_t bits_per_pixel);
  // A window with a client area of width × height kept on the work area, a primary surface
  // with a clipper and an off-screen back buffer. 0 or E_FAIL.
  HResult create_windowed(platform::WindowHandle window, std::uint32_t width, std::uint32_t height);
  // A new off-screen surface of the display's format into *out, which owns it (null on
  // failure). 0, E_POINTER without ddraw, E_INVALIDARG for a null out, or the creation error.
  HResult create_offscreen(std::unique_ptr<OffscreenSurface>* out, std::uint32_t width,
                           std::uint32_t height);
  // A surface exactly as large as text in font (measured on the screen), with the text
  // drawn into it, into *out. 0, E_INVALIDARG without ddraw, text or out, or the first error.
  HResult create_text_label(std::unique_ptr<OffscreenSurface>* out, platform::Font* font,
                            const char* text, platform::ColorRef background,
                            platform::ColorRef foreground);
  // Shows the back buffer: flip in full screen, blit onto screen_rect in a window, retried
  // while still drawing. A lost surface restores front and back and is returned.
  HResult present();
  // Unscaled copy of surface (source_rect of it, null: all) to (x, y) of the back buffer,
  // colour-keyed when the surface is. E_INVALIDARG without surface, E_POINTER without back.
  HResult draw_surface(std::int32_t x, std::int32_t y, OffscreenSurface* surface,
                       const platform::Rect* source_rect);
  // Fills the whole back buffer with color, a raw pixel of its format.
  HResult clear_back_buffer(std::uint32_t color);
  // Sizes the window so that its client area is width × height with the menu it has now,
  // keeps its top-left on the work area and recomputes screen_rect. 0, or E_FAIL without a
  // window system.
  HResult fit_window_to_client(std::uint32_t width, std::uint32_t height);
  // Recomputes screen_rect: the client area on the screen, or the whole screen. 0.
  HResult update_bounds();

  platform::DirectDraw* ddraw = nullptr;
  platform::Surface* front = nullptr;
  platform::Surface* back = nullptr;
  platform::WindowHandle window = nullptr;
  platform::Rect screen_rect;
  bool windowed = false;
  platform::DisplaySystem* display_system;
  platform::WindowSystem* window_system;

 private:
  void release_objects();
  HResult create_direct_draw();
};

}  // namespace display
