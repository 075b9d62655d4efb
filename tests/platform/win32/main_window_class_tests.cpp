// The class and window style the Windows backend registers and creates its main window with.
#include <gtest/gtest.h>

#include "platform/win32/main_window_class.h"

namespace {

TEST(Win32MainWindow, ClassAndWindowStyleAreTheRegisteredOnes) {
  const platform::win32::MainWindowClass& c = platform::win32::kMainWindowClass;
  EXPECT_EQ(c.class_style, 3u);      // CS_HREDRAW | CS_VREDRAW
  EXPECT_EQ(c.background_color, 6);  // COLOR_WINDOW + 1
  EXPECT_EQ(c.icon_id, 101);
  EXPECT_EQ(c.menu_id, 102);
  EXPECT_EQ(c.window_style, 0x00CE0000u);  // caption, system menu, sizing frame, minimise box
}

}  // namespace
