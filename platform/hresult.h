// HRESULT-style result codes shared by the display code and every platform backend.
// The values are the real Windows ones; the names carry a k prefix so that they never
// collide with the macros of <windows.h> in the Windows backend.
#pragma once

#include <cstdint>

namespace platform {

// 0 or positive: success; negative: failure.
using HResult = std::int32_t;

constexpr HResult make_hresult(std::uint32_t bits) {
  return static_cast<HResult>(bits);
}

inline constexpr HResult kS_OK = 0;
inline constexpr HResult kE_FAIL = make_hresult(0x80004005u);
inline constexpr HResult kE_POINTER = make_hresult(0x80004003u);
inline constexpr HResult kE_INVALIDARG = make_hresult(0x80070057u);
inline constexpr HResult kE_OUTOFMEMORY = make_hresult(0x8007000Eu);

// DirectDraw's own codes that the recovery rules key on.
inline constexpr HResult kDDERR_NOEXCLUSIVEMODE = make_hresult(0x887600E1u);
inline constexpr HResult kDDERR_SURFACELOST = make_hresult(0x887601C2u);
inline constexpr HResult kDDERR_WASSTILLDRAWING = make_hresult(0x8876021Cu);
inline constexpr HResult kDDERR_EXCLUSIVEMODEALREADYSET = make_hresult(0x88760245u);
inline constexpr HResult kDDERR_WRONGMODE = make_hresult(0x8876024Bu);

inline constexpr bool failed(HResult hr) {
  return hr < 0;
}
inline constexpr bool succeeded(HResult hr) {
  return hr >= 0;
}

}  // namespace platform
