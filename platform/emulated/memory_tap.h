// The memory display's operations as an observer sees them: each call can be counted, have
// its flags recorded or fail with an injected code, and each object's life and each misuse
// of the interfaces can be followed. The display runs the same without one.
#pragma once

#include <cstdint>

#include "platform/direct_draw.h"

namespace platform::emulated {

// The operations an observer sees.
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

// Kinds of live objects.
enum class Kind { kDirectDraw, kSurface, kClipper, kDrawContext, kCount };

class MemoryTap {
 public:
  virtual ~MemoryTap() = default;
  // Called as op begins, with its flags when it takes any (cooperative levels, copy, fill,
  // flip, lock and colour-key flags; the caps asked for or looked for). A failure code is
  // returned by op at once, with nothing done.
  virtual HResult enter(Op op) = 0;
  virtual HResult enter(Op op, std::uint32_t flags) = 0;
  // Every description handed to create_surface, before it is checked.
  virtual void surface_requested(const SurfaceDesc& desc) = 0;
  // An object of kind was made (+1) or destroyed (-1).
  virtual void live(Kind kind, int delta) = 0;
  // A misuse of the interfaces (unlock without lock, foreign release_dc, over-release).
  virtual void misuse(const char* what) = 0;
};

}  // namespace platform::emulated
