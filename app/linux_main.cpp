// The Linux entry point: reads the command line, starts the photo show when there are photos
// to play, makes the SDL2 backends and the player over them, and runs the player's start-up
// and main loop, in its own window or in a screensaver's.
#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/photo_start.h"
#include "app/player.h"
#include "app/shell.h"
#include "app/xscreensaver_settings.h"
#include "platform/sdl2/sdl2_backend.h"
#include "platform/sdl2/sdl2_trace.h"
#include "platform/sdl2/sdl2_x11_windows.h"

namespace {

void tell_problem(const std::string& line) {
  std::fprintf(stderr, "moviquel: %s\n", line.c_str());
}

void trace_shown(const std::string& path) {
  platform::sdl2::trace("photo shown %s", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const app::CommandLine line =
      app::parse_command_line(argc - 1, argv + 1, std::getenv("XSCREENSAVER_WINDOW"));
  if (const int answered = app::answer_command_line(line, stdout, stderr); answered >= 0) {
    return answered;
  }
  app::PhotoRequest photos{line.paths, line.shuffle, line.fit_contain};
  // A screensaver given no paths plays the image folder of xscreensaver's settings, as its
  // image hacks do; without one it shows the player's own pictures.
  const bool from_settings = photos.paths.empty() && line.target != app::DrawTarget::kOwnWindow;
  if (const char* home = std::getenv("HOME"); from_settings && home != nullptr) {
    if (std::optional<std::string> folder = app::read_xscreensaver_image_folder(home)) {
      photos.paths = {*folder};
      photos.shuffle = true;
    }
  }
  std::unique_ptr<photos::PhotoShow> show;
  if (!photos.paths.empty()) {
    show = app::start_photo_show(photos, {tell_problem, trace_shown, {}});
    if (show == nullptr && !from_settings) {
      std::fputs("moviquel: no photo that can be shown in the paths given\n", stderr);
      return 1;
    }
    if (show == nullptr) {
      std::fputs(
          "moviquel: no photo that can be shown in xscreensaver's image folder; "
          "showing the player's own pictures\n",
          stderr);
    }
  }
  namespace sdl2 = platform::sdl2;
  // Without a display the player ends at once with code 1, as other X programs do.
  if (!sdl2::start_video()) return 1;

  sdl2::Sdl2Options options{.scale = line.scale};
  if (line.target != app::DrawTarget::kOwnWindow) {
    // A screensaver's window: the picture fills it as it is, SIGTERM ends the player.
    options.foreign_window =
        line.target == app::DrawTarget::kRootWindow ? sdl2::x11_root_window() : line.window_id;
    if (!sdl2::x11_window_exists(options.foreign_window)) {
      char text[80];
      std::snprintf(text, sizeof text, "moviquel: there is no X window 0x%lx on this display",
                    static_cast<unsigned long>(options.foreign_window));
      sdl2::stop_video();
      return app::refuse_usage(text, stderr);
    }
  }

  std::int32_t code = 0;
  {
    const std::unique_ptr<sdl2::Sdl2Backend> backend = sdl2::make_sdl2_backend(options);
    const bool windowed = line.target == app::DrawTarget::kOwnWindow && line.start_windowed;
    app::Player player(backend->services(),
                       windowed ? app::StartMode::kWindowed : app::StartMode::kFullScreen);
    if (show != nullptr) player.play_photos(std::move(show));
    code = app::win_main(player, backend->shell, 1 /* SW_SHOWNORMAL */);
    // A start-up failure or a failed frame leaves the window open; closing it releases
    // what is left of the display.
    backend->close(code);
  }
  sdl2::stop_video();
  return code;
}
