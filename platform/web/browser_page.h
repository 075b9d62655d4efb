// The page the player runs in (index.html): the canvas with its whole-number scaling, the
// menu bar, the in-page dialogs, the cursor, full screen and new tabs, reached through the
// page's own script (MoviquelPage); and the page's input, through emscripten's HTML5
// interface, posted to the shell as the Win32 messages the window procedure handles.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/emulated/memory_display.h"
#include "platform/web/web_shell.h"

namespace platform::web {

class BrowserPage : public Page, public emulated::MemoryScreen {
 public:
  // The screen: the 5-6-5 frame, converted for the canvas in one pass.
  void show(const std::uint8_t* pixels, std::int32_t pitch_bytes, std::int32_t width,
            std::int32_t height, const PixelFormatDesc& format) override;
  bool set_full_screen(bool on) override;

  // Page.
  void set_title(const char* title) override;
  void show_menu_bar(bool shown) override;
  void open_file_menu() override;
  void set_cursor(Cursor cursor) override;
  void open_tab(const char* address) override;
  void show_message(const char* caption, const char* text) override;
  void show_about() override;
  void close_about() override;
  std::int32_t width() override;
  std::int32_t height() override;

  // The player has ended: the page offers "Play again"; and has started again.
  void ended();
  void started();

  // Fills in the page's File menu and registers the keyboard, mouse, touch, full-screen and
  // visibility handlers that post to shell (which must outlive the page's events).
  void listen(WebShell* shell);

  bool full_screen() const { return full_screen_; }

 private:
  std::vector<std::uint8_t> rgba_;
  bool full_screen_ = false;
  bool first_shown_ = false;
};

}  // namespace platform::web
