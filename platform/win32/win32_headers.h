// The Windows SDK headers of the Win32 backend, included in one place with the macros that
// keep them lean, and the conversions between their rectangles and the portable ones.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// windows.h first: ddraw.h relies on its types.
#include <ddraw.h>

#include "platform/direct_draw.h"

namespace platform::win32 {

// The structure sizes that DirectDraw and USER32 check in their size fields, as a 32-bit
// build must have them.
static_assert(sizeof(void*) != 4 || sizeof(DDSURFACEDESC2) == 124);
static_assert(sizeof(void*) != 4 || sizeof(WNDCLASSEXA) == 48);
static_assert(sizeof(DDPIXELFORMAT) == 32);
static_assert(sizeof(void*) != 4 || sizeof(DDBLTFX) == 100);

inline RECT to_rect(const Rect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

inline Rect from_rect(const RECT& rect) {
  return Rect{static_cast<std::int32_t>(rect.left), static_cast<std::int32_t>(rect.top),
              static_cast<std::int32_t>(rect.right), static_cast<std::int32_t>(rect.bottom)};
}

// DirectDraw and COM results are 32-bit HRESULTs; the portable code keeps the same bits.
inline HResult to_result(HRESULT hr) {
  return static_cast<HResult>(hr);
}

}  // namespace platform::win32
