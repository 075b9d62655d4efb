// DirectDraw 7 over plain memory, for every backend without the real one: surfaces with
// lockable memory, the flipping chain, the clipper, source colour keys and colour fills, a
// GDI-like text context from the bitmap font, and lost surfaces with their restore, in a
// desktop and a full-screen mode of its own. The visible primary surface can be read back
// (a headless backend's frames), and an observer (memory_tap.h) can follow every call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/direct_draw.h"
#include "platform/emulated/memory_tap.h"

namespace platform::emulated {

// DirectDraw codes the memory display returns besides those of platform/hresult.h (real
// values).
inline constexpr HResult kDDERR_INVALIDMODE = make_hresult(0x88760078u);
inline constexpr HResult kDDERR_INVALIDRECT = make_hresult(0x88760096u);
inline constexpr HResult kDDERR_NOCOLORKEY = make_hresult(0x887600D7u);
inline constexpr HResult kDDERR_SURFACEBUSY = make_hresult(0x887601AEu);
inline constexpr HResult kDDERR_PRIMARYSURFACEALREADYEXISTS = make_hresult(0x88760234u);
inline constexpr HResult kDDERR_NOTLOCKED = make_hresult(0x88760248u);
inline constexpr HResult kDDERR_NOTFLIPPABLE = make_hresult(0x887600B4u);

// Pixel formats of desktops and modes. 8 bits is palette-indexed (no masks); the memory
// display stores its colours as 3-3-2 indices.
PixelFormatDesc format_565();
PixelFormatDesc format_555();
PixelFormatDesc format_24();
PixelFormatDesc format_32();
PixelFormatDesc format_8();

class MemorySurface;
class MemoryDirectDraw;

// Where a backend shows the memory display's frames: its window, canvas or nothing.
class MemoryScreen {
 public:
  virtual ~MemoryScreen() = default;
  // The visible primary surface changed (a flip, or a copy or fill onto it): width × height
  // pixels of format, rows pitch_bytes apart, valid until the next call into the display.
  virtual void show(const std::uint8_t* pixels, std::int32_t pitch_bytes, std::int32_t width,
                    std::int32_t height, const PixelFormatDesc& format) = 0;
  // The full-screen mode is being entered (true) or was left. False when the screen cannot
  // show it: the mode is then refused, not entered.
  virtual bool set_full_screen(bool on) = 0;
};

// A value screen_rgb() and surface_rgb() return for a pixel that does not exist.
inline constexpr std::uint32_t kNoPixel = 0xFFFFFFFFu;

class MemoryDisplaySystem : public DisplaySystem {
 public:
  MemoryDisplaySystem();
  ~MemoryDisplaySystem() override;
  MemoryDisplaySystem(const MemoryDisplaySystem&) = delete;
  MemoryDisplaySystem& operator=(const MemoryDisplaySystem&) = delete;

  HResult create_direct_draw(DirectDraw** out) override;
  DrawContext* get_screen_dc() override;
  void release_screen_dc(DrawContext* context) override;

  // --- Set-up (before the display is used) ---
  // The desktop's size and format (default 1024×768, 32 bits).
  void set_desktop(std::int32_t width, std::int32_t height, const PixelFormatDesc& format);
  // Whether the 640×480×16 full-screen mode exists (default yes), and its layout (5-6-5).
  void set_mode_640x480x16(bool available, const PixelFormatDesc& format = format_565());
  // Bytes added to every row of surfaces created from now on (default 0), so that the
  // pitch is wider than width × bytes per pixel.
  void set_row_padding_bytes(std::int32_t padding);
  // The observer of every call (not owned; null: none).
  void set_tap(MemoryTap* tap) { tap_ = tap; }
  // Where frames are shown (not owned; null: nowhere, as in the tests).
  void set_screen(MemoryScreen* screen) { screen_ = screen; }

  // --- What happens to the display from outside ---
  // Every live surface is lost: calls that touch its memory report kDDERR_SURFACELOST
  // until it is restored; its contents are garbage after the restore.
  void lose_surfaces();
  // Another program takes exclusive mode: surfaces are lost; the owner's cooperative-level
  // test reports kDDERR_NOEXCLUSIVEMODE, others kDDERR_EXCLUSIVEMODEALREADYSET.
  void take_exclusive_mode();
  void return_exclusive_mode();
  // The user changes the desktop's format: surfaces are lost, restoring them fails with
  // kDDERR_WRONGMODE and windowed objects' cooperative-level tests report kDDERR_WRONGMODE.
  void change_desktop_mode(const PixelFormatDesc& format);

  // --- Observation ---
  // The current display mode (desktop, or the full-screen mode while set).
  std::int32_t screen_width() const { return screen_width_; }
  std::int32_t screen_height() const { return screen_height_; }
  bool full_screen_mode_set() const { return mode_set_; }
  bool exclusive_held() const { return exclusive_owner_ != 0; }
  // Frames made visible: flips of the primary and copies onto it.
  int presents() const { return presents_; }
  // 0x00RRGGBB of pixel (x, y) of the visible primary surface, kNoPixel if there is none.
  std::uint32_t screen_rgb(std::int32_t x, std::int32_t y) const;

  // Used by the display's own objects: tells the observer of a call and returns its
  // injected fault (kS_OK without an observer).
  HResult check(Op op) { return tap_ != nullptr ? tap_->enter(op) : kS_OK; }
  HResult check(Op op, std::uint32_t flags) {
    return tap_ != nullptr ? tap_->enter(op, flags) : kS_OK;
  }
  void add_live(Kind kind, int delta) {
    if (tap_ != nullptr) tap_->live(kind, delta);
  }
  void report_misuse(const char* what) {
    if (tap_ != nullptr) tap_->misuse(what);
  }
  // An object released more often than referenced is a misuse.
  void misuse_over_release(const char* what);

 private:
  friend class MemoryDirectDraw;
  friend class MemorySurface;
  bool enter_mode(std::int32_t width, std::int32_t height, const PixelFormatDesc& format);
  void leave_mode();
  // The primary surface changed: counted, and shown on the screen.
  void present();

  MemoryTap* tap_ = nullptr;
  MemoryScreen* screen_ = nullptr;
  std::int32_t desktop_width_ = 1024;
  std::int32_t desktop_height_ = 768;
  PixelFormatDesc desktop_format_;
  bool mode_available_ = true;
  PixelFormatDesc mode_format_;
  std::int32_t row_padding_ = 0;
  std::int32_t screen_width_ = 1024;
  std::int32_t screen_height_ = 768;
  PixelFormatDesc display_format_;
  bool mode_set_ = false;
  int exclusive_owner_ = 0;  // id of the DirectDraw object holding exclusive mode, 0: none
  bool exclusive_taken_ = false;
  int desktop_generation_ = 0;
  int presents_ = 0;
  int next_id_ = 1;
  MemorySurface* primary_ = nullptr;
  std::vector<MemorySurface*> surfaces_;  // every live surface
};

// Looks into a surface of the memory display (null or any other surface gives the
// kNoPixel / 0 / false answers).
std::uint32_t surface_rgb(Surface* surface, std::int32_t x, std::int32_t y);  // 0x00RRGGBB
std::uint32_t surface_raw(Surface* surface, std::int32_t x, std::int32_t y);  // raw pixel
std::int32_t surface_pitch(Surface* surface);
bool surface_lost(Surface* surface);
// The colour key as it was set (low and high values).
bool surface_color_key(Surface* surface, std::uint32_t* low, std::uint32_t* high);
// Fills the whole surface with one raw pixel value, bypassing the observer.
void surface_fill(Surface* surface, std::uint32_t raw);
// The external reference count of an object of the memory display.
std::uint32_t ref_count(Unknown* object);

// The raw pixel of format for a GDI colour (0x00BBGGRR), and back, as the memory display's
// GDI rounds: channels are truncated to their bits and expanded with zero low bits.
std::uint32_t raw_from_colorref(ColorRef color, const PixelFormatDesc& format);
ColorRef colorref_from_raw(std::uint32_t raw, const PixelFormatDesc& format);

}  // namespace platform::emulated
