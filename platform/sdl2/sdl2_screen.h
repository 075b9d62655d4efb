// The player's SDL window as the screen of the memory display. Windowed, the 640x480 picture
// goes below the menu bar, enlarged by the largest whole number the window holds (its scale
// unless the user resized it) and centred on black. In full screen it fills the display's
// own 640x480 16-bit mode when the display lists one; on any other desktop of at least
// 640x480 it covers the whole desktop, enlarged by whole numbers between black bars; in
// another program's window (a screensaver's) it is fitted to that window as it is.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/emulated/memory_display.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_picture_scaler.h"

namespace platform::sdl2 {

class Sdl2Screen : public emulated::MemoryScreen {
 public:
  // The screen of window for display; both must outlive it.
  Sdl2Screen(MainWindow& window, emulated::MemoryDisplaySystem& display)
      : main_window_(window), display_(display) {}
  Sdl2Screen(const Sdl2Screen&) = delete;
  Sdl2Screen& operator=(const Sdl2Screen&) = delete;
  ~Sdl2Screen() override;

  // Draws the primary surface into the window and shows it; the first frame on screen is
  // traced, and with MQ_SDL2_TRACE=frames every frame.
  void show(const std::uint8_t* pixels, std::int32_t pitch_bytes, std::int32_t width,
            std::int32_t height, const PixelFormatDesc& format) override;
  // Puts the window into full screen as the class comment says, or back into a window.
  bool set_full_screen(bool on) override;

  // Whether the memory display's 640x480x16 mode can be entered now, and the layout of its
  // pixels: in another program's window always (5-6-5); else not with MQ_SDL2_NO_640X480X16
  // in the environment (for tests of the refusal), else the layout of the display's listed
  // 640x480 16-bit mode, else 5-6-5 when the desktop holds 640x480.
  bool full_screen_mode(PixelFormatDesc* format) const;
  // Gives the display the desktop's pixel format as DirectDraw gives it to a windowed
  // program (x8r8g8b8, b8g8r8 in memory, or the desktop's own 16- or 8-bit layout): the
  // first time as its desktop, later as a change of mode the user made
  // (change_desktop_mode) when it differs. Windowed frames check it too. Nothing without a
  // window surface.
  void follow_desktop();
  // The next frame repaints the whole window, as after a new display set-up.
  void repaint_all() { painted_ = nullptr; }

 private:
  // Whether screen is a window surface not painted whole since it was made, exposed or
  // resized; it counts as painted from now on.
  bool fresh_screen(const SDL_Surface* screen);
  // An SDL surface over the primary's memory (not owned by SDL), made again when the
  // primary's size, pitch or format change.
  SDL_Surface* wrap(const std::uint8_t* pixels, std::int32_t pitch_bytes, std::int32_t width,
                    std::int32_t height, const PixelFormatDesc& format);

  void follow_desktop(const SDL_Surface* screen);
  // Traces the frame just shown, and the first one of the run.
  void note_frame_shown();

  MainWindow& main_window_;
  emulated::MemoryDisplaySystem& display_;
  bool full_screen_ = false;
  bool desktop_known_ = false;
  PixelFormatDesc desktop_;  // the format the display was last given
  PictureScaler scaler_;
  SDL_Surface* picture_ = nullptr;        // over the primary's memory
  const SDL_Surface* painted_ = nullptr;  // the window surface last painted whole
  int painted_width_ = 0;
  int painted_height_ = 0;
  bool first_frame_shown_ = false;
};

}  // namespace platform::sdl2
