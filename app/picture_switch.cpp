// The picture switch: the shown picture changes, and the pixel format, the scene and the
// cursor follow it.
#include "app/picture_switch.h"

#include "app/picture_preparation.h"
#include "platform/shell_system.h"

namespace app {

bool show_picture(Player& player) {
  engine::Scene& scene = player.scene;
  const PictureBytes& bytes =
      scene.info_mode ? player.pictures.info_picture : player.pictures.main_picture;
  if (!prepare_source_image(scene.source_image.get(), bytes.data.get(), bytes.length)) {
    return false;
  }
  display::detect_frame_format(player.display);
  engine::build_scene(scene, player.display.pixel_format);
  platform::ShellSystem* shell = player.services.shell;
  if (shell != nullptr) {
    if (scene.info_mode) {
      shell->set_cursor(platform::Cursor::kHelp);
      shell->show_cursor(true);
    } else {
      shell->set_cursor(player.windowed ? platform::Cursor::kArrow : platform::Cursor::kNone);
    }
  }
  return true;
}

}  // namespace app
