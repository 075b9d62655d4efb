// The values the Windows backend registers its window class with and creates the main
// window with, as plain numbers so that they are checked on every platform.
#pragma once

#include <cstdint>

#include "resources/resource_ids.h"

namespace platform::win32 {

struct MainWindowClass {
  std::uint32_t class_style;      // CS_HREDRAW | CS_VREDRAW
  std::int32_t background_color;  // a system colour index plus one: COLOR_WINDOW + 1
  std::int32_t icon_id;           // the large and the small icon
  std::int32_t menu_id;           // the class menu
  std::uint32_t window_style;     // WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX
};

// No maximise box: the window's size is fixed.
inline constexpr MainWindowClass kMainWindowClass{0x3, 6, MQ_IDI_MAIN, MQ_IDM_MAIN, 0x00CE0000u};

}  // namespace platform::win32
