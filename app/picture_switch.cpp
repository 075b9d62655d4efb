// The picture switch: the shown picture changes, and the pixel format, the scene and the
// cursor follow it.
#include "app/picture_switch.h"

#include "app/picture_preparation.h"
#include "app/pictures.h"
#include "app/shell_state.h"
#include "display/display_setup.h"
#include "engine/scene.h"
#include "platform/shell_system.h"
#include "platform/window_system.h"

namespace app {

bool show_picture() {
  const PictureBytes& bytes = engine::info_mode != 0 ? info_picture : main_picture;
  if (!prepare_source_image(bytes.data.get(), bytes.length)) return false;
  display::detect_frame_format();
  engine::build_scene();
  platform::ShellSystem* shell = platform::services().shell;
  if (shell != nullptr) {
    if (engine::info_mode != 0) {
      shell->set_cursor(platform::Cursor::kHelp);
      shell->show_cursor(true);
    } else {
      shell->set_cursor(windowed != 0 ? platform::Cursor::kArrow : platform::Cursor::kNone);
    }
  }
  return true;
}

void install_picture_switch() {
  engine::set_picture_switch(&show_picture);
}

}  // namespace app
