// The screen saver's entry point (moviquel.scr): the settings dialog, or the player over the
// Win32 backends, full screen until the user moves or in a preview window, playing the
// photos of the folder the settings name. Nothing here depends on the file's own name, which
// Windows may give in its short form.
#include "app/main_loop.h"
#include "app/photo_start.h"
#include "app/player.h"
#include "app/saver_command_line.h"
#include "app/saver_handlers.h"
#include "platform/win32/win32_backend.h"
#include "platform/win32/win32_saver_settings.h"

namespace {

namespace win32 = platform::win32;

// The player's procedure with the mouse messages' positions made screen positions, as the
// pointer's position at the start is.
platform::HandlerResult screen_procedure(void* context, const platform::Message& message) {
  platform::Message moved = message;
  if (message.id == platform::kWM_MOUSEMOVE) {
    const auto bits = static_cast<std::uintptr_t>(message.lparam);
    POINT point{static_cast<std::int16_t>(bits & 0xFFFFu),
                static_cast<std::int16_t>((bits >> 16) & 0xFFFFu)};
    ClientToScreen(static_cast<HWND>(message.window), &point);
    moved.lparam = static_cast<std::intptr_t>(MAKELPARAM(point.x, point.y));
  }
  return app::handle_saver_message(*static_cast<const app::SaverState*>(context), moved);
}

// The photos of the settings' folder; null for the player's own pictures, or when the folder
// holds no photo that can be shown.
std::unique_ptr<photos::PhotoShow> settings_show(const win32::SaverSettings& settings) {
  const std::string folder = win32::walk_path(settings.folder);
  if (!settings.use_folder || folder.empty()) return nullptr;
  return app::start_photo_show({{folder}, settings.shuffle, settings.fit_contain}, {});
}

int run_saver(HINSTANCE instance, HWND preview_parent, std::int32_t show_command) {
  const bool preview = preview_parent != nullptr;
  std::unique_ptr<photos::PhotoShow> show = settings_show(win32::load_saver_settings());
  const std::unique_ptr<win32::Win32Backend> backend = win32::make_win32_backend(
      {.instance = instance,
       .kind = preview ? win32::MainWindowKind::kPreview : win32::MainWindowKind::kSaver,
       .preview_parent = preview_parent});
  app::Player player(backend->services(),
                     preview ? app::StartMode::kWindowed : app::StartMode::kFullScreen);
  if (show != nullptr) player.play_photos(std::move(show));

  app::SaverState state{&player, !preview, {}};
  POINT pointer{};
  if (GetCursorPos(&pointer) != FALSE) state.origin = {pointer.x, pointer.y};
  if (platform::failed(player.open_window_and_display(
          show_command, platform::WindowProcedure(screen_procedure, &state))) ||
      !player.show_first_picture()) {
    return 0;
  }
  return static_cast<int>(app::run_main_loop(player, backend->pump));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show_command) {
  (void)previous;
  const app::SaverCommand command = app::parse_saver_command_line(command_line);
  const HWND window = reinterpret_cast<HWND>(command.window);
  switch (command.mode) {
    case app::SaverMode::kSettings:
      win32::run_saver_settings_dialog(instance, window);
      return 0;
    case app::SaverMode::kRun:
      return run_saver(instance, nullptr, static_cast<std::int32_t>(show_command));
    case app::SaverMode::kPreview:
      // The dialog may have closed before the preview started.
      if (IsWindow(window) == FALSE) return 0;
      return run_saver(instance, window, SW_SHOWNORMAL);
    case app::SaverMode::kNone:
      break;
  }
  return 0;
}
