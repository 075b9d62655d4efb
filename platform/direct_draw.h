// The display interfaces the display code draws through: a DirectDraw 7 object, its
// surfaces and clipper, and a GDI drawing context on a surface. Each backend (real
// DirectDraw 7 on Windows, SDL2 on Linux, the in-memory stand-in of the tests) implements
// them; the display code never sees which one it has.
//
// Objects are reference counted as COM objects are: a creator hands out one reference,
// add_ref() adds one, release() drops one and destroys the object at zero.
#pragma once

#include <cstdint>

#include "platform/hresult.h"

namespace platform {

// An opaque window handle (an HWND on Windows).
using WindowHandle = void*;

// A GDI colour: 0x00BBGGRR. kInvalidColor (CLR_INVALID) marks "no colour".
using ColorRef = std::uint32_t;
inline constexpr ColorRef kInvalidColor = 0xFFFFFFFFu;

// Inclusive-exclusive rectangle as Windows uses it: right and bottom are one past the edge.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The subset of DDPIXELFORMAT the display code reads.
struct PixelFormatDesc {
  std::uint32_t rgb_bit_count = 0;
  std::uint32_t r_mask = 0;
  std::uint32_t g_mask = 0;
  std::uint32_t b_mask = 0;
};

// Surface capability bits (DDSCAPS_*), with the DirectDraw values.
inline constexpr std::uint32_t kCapsBackBuffer = 0x4;
inline constexpr std::uint32_t kCapsComplex = 0x8;
inline constexpr std::uint32_t kCapsFlip = 0x10;
inline constexpr std::uint32_t kCapsOffscreenPlain = 0x40;
inline constexpr std::uint32_t kCapsPrimarySurface = 0x200;
inline constexpr std::uint32_t kCaps3dDevice = 0x2000;

// Which fields of a SurfaceDesc are valid (DDSD_*).
inline constexpr std::uint32_t kDescCaps = 0x1;
inline constexpr std::uint32_t kDescHeight = 0x2;
inline constexpr std::uint32_t kDescWidth = 0x4;
inline constexpr std::uint32_t kDescPitch = 0x8;
inline constexpr std::uint32_t kDescBackBufferCount = 0x20;
inline constexpr std::uint32_t kDescPixelFormat = 0x1000;

// The subset of DDSURFACEDESC2 that is asked for at creation and read back by
// GetSurfaceDesc and Lock.
struct SurfaceDesc {
  std::uint32_t flags = 0;  // kDesc* bits
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::int32_t pitch_bytes = 0;  // bytes from one row to the next (lPitch)
  std::uint32_t back_buffer_count = 0;
  std::uint32_t caps = 0;   // kCaps* bits
  void* pixels = nullptr;   // lpSurface: valid between lock() and unlock()
  PixelFormatDesc format;
};

// Cooperative levels (DDSCL_*).
inline constexpr std::uint32_t kCoopFullscreen = 0x1;
inline constexpr std::uint32_t kCoopNormal = 0x8;
inline constexpr std::uint32_t kCoopExclusive = 0x10;

// Flags of the copies, flips, locks and keys (DDBLT_*, DDBLTFAST_*, DDFLIP_*, DDLOCK_*, DDCKEY_*).
inline constexpr std::uint32_t kBltColorFill = 0x400;
inline constexpr std::uint32_t kBltWait = 0x01000000;
inline constexpr std::uint32_t kBltFastNoColorKey = 0x0;
inline constexpr std::uint32_t kBltFastSrcColorKey = 0x1;
inline constexpr std::uint32_t kFlipDoNotWait = 0x20;
inline constexpr std::uint32_t kLockWait = 0x1;
inline constexpr std::uint32_t kLockNoSysLock = 0x800;
inline constexpr std::uint32_t kColorKeySrcBlt = 0x8;

class Unknown {
 public:
  // Adds a reference; returns the new count.
  virtual std::uint32_t add_ref() = 0;
  // Drops a reference and destroys the object at zero; returns the new count.
  virtual std::uint32_t release() = 0;

 protected:
  virtual ~Unknown() = default;
};

class Font;  // an opaque GDI font (HFONT); the player always passes null

// A GDI device context on a surface or on the screen.
class DrawContext {
 public:
  virtual ~DrawContext() = default;
  virtual ColorRef set_bk_color(ColorRef color) = 0;    // returns the previous colour
  virtual ColorRef set_text_color(ColorRef color) = 0;  // returns the previous colour
  virtual void select_font(Font* font) = 0;             // null keeps the default font
  // Draws length characters of text with the top-left of the first cell at (x, y),
  // on an opaque background. Returns false on failure.
  virtual bool text_out(std::int32_t x, std::int32_t y, const char* text, std::int32_t length) = 0;
  // Width and height in pixels of length characters of text in the selected font.
  virtual bool text_extent(const char* text, std::int32_t length, std::int32_t* width,
                           std::int32_t* height) = 0;
  virtual ColorRef get_pixel(std::int32_t x, std::int32_t y) = 0;  // kInvalidColor outside
  virtual ColorRef set_pixel(std::int32_t x, std::int32_t y, ColorRef color) = 0;
};

class Clipper : public Unknown {
 public:
  // Confines blits onto the primary surface to the window's visible client area.
  virtual HResult set_hwnd(WindowHandle window) = 0;
};

class Surface : public Unknown {
 public:
  // The attached surface with the given caps (the back buffer of a flipping chain),
  // with one reference handed to the caller.
  virtual HResult get_attached_surface(std::uint32_t caps, Surface** out) = 0;
  virtual HResult set_clipper(Clipper* clipper) = 0;
  // Shows the back buffer of a flipping chain (target null, flags kFlipDoNotWait).
  virtual HResult flip(Surface* target, std::uint32_t flags) = 0;
  // Stretching copy of source_rect of source (null: all of it) onto dest_rect of this
  // surface (null: all of it). With kBltColorFill, source is null and fill_color is a raw
  // pixel of this surface's format.
  virtual HResult blt(const Rect* dest_rect, Surface* source, const Rect* source_rect,
                      std::uint32_t flags, std::uint32_t fill_color) = 0;
  // Unscaled copy to (x, y), clipped to this surface; kBltFastSrcColorKey skips source
  // pixels equal to the source's colour key.
  virtual HResult blt_fast(std::int32_t x, std::int32_t y, Surface* source, const Rect* source_rect,
                           std::uint32_t flags) = 0;
  // Reallocates the memory of a lost surface (its contents must then be redrawn).
  virtual HResult restore() = 0;
  virtual HResult get_pixel_format(PixelFormatDesc* out) = 0;
  virtual HResult get_surface_desc(SurfaceDesc* out) = 0;
  // Locks the whole surface (rect must be null); out->pixels and out->pitch_bytes are then valid.
  virtual HResult lock(const Rect* rect, SurfaceDesc* out, std::uint32_t flags) = 0;
  virtual HResult unlock(const Rect* rect) = 0;
  // A GDI context on the surface; hand it back with release_dc.
  virtual HResult get_dc(DrawContext** out) = 0;
  virtual HResult release_dc(DrawContext* context) = 0;
  // Sets the source colour key (flags kColorKeySrcBlt) to the raw pixel range low..high.
  virtual HResult set_color_key(std::uint32_t flags, std::uint32_t low, std::uint32_t high) = 0;
};

class DirectDraw : public Unknown {
 public:
  virtual HResult set_cooperative_level(WindowHandle window, std::uint32_t flags) = 0;
  virtual HResult set_display_mode(std::uint32_t width, std::uint32_t height,
                                   std::uint32_t bits_per_pixel) = 0;
  // Creates a surface from desc (flags, caps, size, back-buffer count); one reference to the caller.
  virtual HResult create_surface(const SurfaceDesc& desc, Surface** out) = 0;
  virtual HResult create_clipper(Clipper** out) = 0;
  virtual HResult restore_all_surfaces() = 0;
  // 0 when drawing is possible now; kDDERR_NOEXCLUSIVEMODE, kDDERR_EXCLUSIVEMODEALREADYSET,
  // kDDERR_WRONGMODE or another failure otherwise.
  virtual HResult test_cooperative_level() = 0;
};

// The entry points of the display system that are not methods of an object.
class DisplaySystem {
 public:
  virtual ~DisplaySystem() = default;
  // DirectDrawCreateEx with the default driver; one reference to the caller.
  virtual HResult create_direct_draw(DirectDraw** out) = 0;
  // The screen's device context (GetDC of no window), used to measure text.
  virtual DrawContext* get_screen_dc() = 0;
  virtual void release_screen_dc(DrawContext* context) = 0;
};

}  // namespace platform
