// The in-memory display system of the tests: DirectDraw-like objects whose surfaces are
// plain memory, a visible front buffer a test can read, GDI-like text from the bitmap
// font, fault injection for every failure the display code reacts to, and live-object
// counting so that a test can prove nothing leaked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/direct_draw.h"

namespace platform::fake {

// DirectDraw codes the stand-in returns besides those of platform/hresult.h (real values).
inline constexpr HResult kDDERR_INVALIDMODE = make_hresult(0x88760078u);
inline constexpr HResult kDDERR_INVALIDRECT = make_hresult(0x88760096u);
inline constexpr HResult kDDERR_NOCOLORKEY = make_hresult(0x887600D7u);
inline constexpr HResult kDDERR_SURFACEBUSY = make_hresult(0x887601AEu);
inline constexpr HResult kDDERR_PRIMARYSURFACEALREADYEXISTS = make_hresult(0x88760234u);
inline constexpr HResult kDDERR_NOTLOCKED = make_hresult(0x88760248u);
inline constexpr HResult kDDERR_NOTFLIPPABLE = make_hresult(0x887600B4u);

// Pixel formats of desktops and modes. 8 bits is palette-indexed (no masks); the stand-in
// stores its colours as 3-3-2 indices.
PixelFormatDesc format_565();
PixelFormatDesc format_555();
PixelFormatDesc format_24();
PixelFormatDesc format_32();
PixelFormatDesc format_8();

// The operations a fault can be injected into; each call of one is counted.
enum class Op {
  kCreateDirectDraw,
  kSetCooperativeLevel,
  kSetDisplayMode,
  kCreateSurface,  // every creation: primary, back buffer, off-screen, label
  kCreateClipper,
  kClipperSetHwnd,
  kSetClipper,
  kGetAttachedSurface,
  kFlip,
  kBlt,  // copies and colour fills
  kBltFast,
  kRestore,
  kRestoreAllSurfaces,
  kGetPixelFormat,
  kGetSurfaceDesc,
  kLock,
  kGetDc,
  kReleaseDc,
  kSetColorKey,
  kTestCooperativeLevel,
  kTextOut,
  kTextExtent,
  kCount
};

class FakeSurface;
class FakeDirectDraw;

// Kinds of live objects.
enum class Kind { kDirectDraw, kSurface, kClipper, kDrawContext, kCount };

// A value screen_rgb() and surface_rgb() return for a pixel that does not exist.
inline constexpr std::uint32_t kNoPixel = 0xFFFFFFFFu;

class FakeDisplaySystem : public DisplaySystem {
 public:
  FakeDisplaySystem();
  ~FakeDisplaySystem() override;
  FakeDisplaySystem(const FakeDisplaySystem&) = delete;
  FakeDisplaySystem& operator=(const FakeDisplaySystem&) = delete;

  HResult create_direct_draw(DirectDraw** out) override;
  DrawContext* get_screen_dc() override;
  void release_screen_dc(DrawContext* context) override;

  // --- Set-up (before the code under test runs) ---
  // The desktop's size and format (default 1024×768, 32 bits).
  void set_desktop(std::int32_t width, std::int32_t height, const PixelFormatDesc& format);
  // Whether the 640×480×16 full-screen mode exists (default yes), and its layout (5-6-5).
  void set_mode_640x480x16(bool available, const PixelFormatDesc& format = format_565());
  // Bytes added to every row of surfaces created from now on (default 0), so that the
  // pitch is wider than width × bytes per pixel.
  void set_row_padding_bytes(std::int32_t padding);

  // --- Faults ---
  // The calls of op after the next skip ones fail with code, times times (-1: for ever).
  void fail(Op op, HResult code, int skip = 0, int times = 1);
  void clear_faults();
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
  int live_objects() const;
  int live(Kind kind) const { return live_[static_cast<int>(kind)]; }
  int calls(Op op) const { return calls_[static_cast<int>(op)]; }
  // The flags of every call of op so far, in order: cooperative levels, copy, fill, flip,
  // lock and colour-key flags; for kCreateSurface the caps asked for, for
  // kGetAttachedSurface the caps looked for. Empty for operations that take no flags.
  const std::vector<std::uint32_t>& flags_of(Op op) const { return flags_[static_cast<int>(op)]; }
  // Every description handed to create_surface, in order.
  const std::vector<SurfaceDesc>& surface_requests() const { return surface_requests_; }
  // Forgets the recorded flags and surface requests, keeping the lists' storage, so that a
  // long run's records cost no memory. Call counts, live objects and misuses stay.
  void clear_records();
  // API misuse seen (unlock without lock, foreign release_dc, over-release, ...), with a
  // line of text each; a correct caller leaves this empty.
  const std::vector<std::string>& misuses() const { return misuses_; }
  // The current display mode (desktop, or the full-screen mode while set).
  std::int32_t screen_width() const { return screen_width_; }
  std::int32_t screen_height() const { return screen_height_; }
  const PixelFormatDesc& display_format() const { return display_format_; }
  bool full_screen_mode_set() const { return mode_set_; }
  bool exclusive_held() const { return exclusive_owner_ != 0; }
  // Frames made visible: flips of the primary and copies onto it.
  int presents() const { return presents_; }
  // 0x00RRGGBB of pixel (x, y) of the visible primary surface, kNoPixel if there is none.
  std::uint32_t screen_rgb(std::int32_t x, std::int32_t y) const;
  bool has_primary() const { return primary_ != nullptr; }

  // Used by the stand-in's own objects: counts a call and returns its injected fault.
  HResult check(Op op);
  // The same for an operation that takes flags: they are recorded first.
  HResult check(Op op, std::uint32_t flags);
  void add_live(Kind kind, int delta);
  void misuse(const std::string& what);
  // An object released more often than referenced is recorded as misuse.
  void misuse_over_release(const char* what);

 private:
  friend class FakeDirectDraw;
  friend class FakeSurface;
  struct Fault {
    Op op;
    HResult code;
    int skip;
    int times;
  };
  void enter_mode(std::int32_t width, std::int32_t height, const PixelFormatDesc& format);
  void leave_mode();

  std::vector<Fault> faults_;
  int calls_[static_cast<int>(Op::kCount)] = {};
  std::vector<std::uint32_t> flags_[static_cast<int>(Op::kCount)];
  std::vector<SurfaceDesc> surface_requests_;
  int live_[static_cast<int>(Kind::kCount)] = {};
  std::vector<std::string> misuses_;
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
  FakeSurface* primary_ = nullptr;
  std::vector<FakeSurface*> surfaces_;  // every live surface
};

// Looks into a surface made by the stand-in (null or any other surface gives the
// kNoPixel / 0 / false answers).
std::uint32_t surface_rgb(Surface* surface, std::int32_t x, std::int32_t y);  // 0x00RRGGBB
std::uint32_t surface_raw(Surface* surface, std::int32_t x, std::int32_t y);  // raw pixel
std::int32_t surface_width(Surface* surface);
std::int32_t surface_height(Surface* surface);
std::int32_t surface_pitch(Surface* surface);
bool surface_lost(Surface* surface);
bool surface_color_key(Surface* surface, std::uint32_t* low, std::uint32_t* high);
// Fills the whole surface with one raw pixel value, bypassing every fault.
void surface_fill(Surface* surface, std::uint32_t raw);
// The external reference count of an object of the stand-in.
std::uint32_t ref_count(Unknown* object);

// The raw pixel of format for a GDI colour (0x00BBGGRR), and back, as the stand-in's GDI
// rounds: channels are truncated to their bits and expanded with zero low bits.
std::uint32_t raw_from_colorref(ColorRef color, const PixelFormatDesc& format);
ColorRef colorref_from_raw(std::uint32_t raw, const PixelFormatDesc& format);

}  // namespace platform::fake
