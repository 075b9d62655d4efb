// The player: the scene and the display it owns, its main window and flags, the frame
// statistics, the pictures and the texts, and the operations that change them. Every entry
// point, test and tool makes one from the backends; the window handlers and the main loop
// drive it through its members.
#pragma once

#include <cstdint>
#include <memory>

#include "app/frame_statistics.h"
#include "app/pictures.h"
#include "app/texts.h"
#include "display/display_setup.h"
#include "engine/scene.h"
#include "photos/photo_show.h"
#include "platform/direct_draw.h"
#include "platform/hresult.h"
#include "platform/message_pump.h"
#include "platform/window_system.h"

namespace app {

// How the first display is made: full screen (with a window as the fallback), or a window.
enum class StartMode { kFullScreen, kWindowed };

class Player {
 public:
  // A scene on the backends' clock and a display over their display and windows, nothing
  // created yet. The backends are not owned and must outlive the player.
  explicit Player(const platform::Services& services, StartMode mode = StartMode::kFullScreen);
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // --- Start-up (app/player.cpp) ---

  // Texts, the main window with procedure, and the display: the start mode first, then the
  // other one (a refused full screen has told the user). 0; kE_FAIL when the program must
  // end (any message already shown).
  platform::HResult open_window_and_display(std::int32_t show_command,
                                            platform::WindowProcedure procedure);
  // Loads the pictures and shows the main one. When either fails the display is released
  // and the user told that the pictures are damaged; false then.
  bool show_first_picture();

  // Plays the user's photos in place of the main picture, from now on (a show begun without
  // a photo: once its first comes); the info picture stays. Null: the main picture again.
  void play_photos(std::unique_ptr<photos::PhotoShow> show);

  // --- What the window handlers ask for ---

  // Shows the picture that the scene's info_mode names: prepares it, re-reads the frame
  // surface's pixel format, builds the scene and sets the cursor (help cursor in info mode,
  // the arrow in a window, none in full screen). On failure returns false with nothing
  // changed (app/picture_switch.cpp).
  bool show_picture();
  // Shows the other picture; a failure leaves the previous one in place. With photos: the
  // next photo, or back to the photo from the info picture.
  void switch_picture();
  // With photos: the photo before (or back to the photo from the info picture). Otherwise
  // as switch_picture.
  void previous_picture();
  // Shows the info picture, decoding it again when it is already shown.
  void show_info_picture();
  // Switches between windowed and full screen. On failure the device is destroyed, the user
  // is told and the main window is asked to close (app/display_modes.cpp).
  void toggle_full_screen();
  // Shows or hides the frame-time text.
  void toggle_statistics();
  // Frames are produced only while active (the window is neither minimised nor hidden).
  void set_active(bool active);
  // Recomputes where the device presents, after the window moved or changed size.
  void update_bounds();
  // Destroys the whole display (the window is going).
  void release_display();
  // Opens the web page with the shell's "open" verb; true when the shell accepted it.
  // Every caller ignores the result.
  bool open_web_page();

  // --- One frame (app/frame_step.cpp) ---

  // The cooperative-level rules, then render_frame with the recovery of a lost surface.
  // 0 to go on; a negative status ends the main loop.
  platform::HResult frame_step();
  // Composes and presents one frame: scene (with the picture switch when it is due),
  // upload, statistics, back buffer, labels, present. 0, or the negative display status of
  // present.
  platform::HResult render_frame();
  // Presents the back buffer once more, when the display exists (the window or the About
  // dialog moved).
  void present_again();
  // After a failed frame: destroys the device and tells the user that the program ends.
  void report_failed_frame();

  // --- What the handlers, the loop, the tools and the tests read ---

  const platform::Services& services() const { return services_; }
  platform::WindowHandle main_window() const { return main_window_; }
  bool active() const { return active_; }
  bool windowed() const { return display_.windowed; }
  bool info_shown() const { return scene_.info_mode; }
  bool statistics_shown() const { return show_statistics_; }
  const StatisticsState& statistics() const { return statistics_; }
  // The parts, for the tools and tests that look inside or set up a case.
  engine::Scene& scene() { return scene_; }
  display::Display& display() { return display_; }
  Pictures& pictures() { return pictures_; }

 private:
  // Creates the whole display in the display's mode and tells the user when the
  // full-screen mode is refused. 0 or the display's failure (app/display_modes.cpp).
  platform::HResult init_display();
  void tell_user(const char* text);
  bool showing_photos() const { return photos_ != nullptr && photos_->has_current(); }

  platform::Services services_;
  engine::Scene scene_;
  display::Display display_;
  platform::WindowHandle main_window_ = nullptr;
  bool active_ = false;
  bool show_statistics_ = false;
  StatisticsState statistics_;
  Pictures pictures_;
  Texts texts_;
  std::unique_ptr<photos::PhotoShow> photos_;
};

}  // namespace app
