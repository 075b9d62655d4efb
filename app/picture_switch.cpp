// The picture switch: the shown picture changes, and the pixel format, the scene and the
// cursor follow it.
#include "app/picture_preparation.h"
#include "app/player.h"
#include "platform/shell_system.h"

namespace app {

bool Player::show_picture() {
  const PictureBytes& bytes = scene_.info_mode ? pictures_.info_picture : pictures_.main_picture;
  if (!prepare_source_image(scene_.source_image.get(), bytes.data.get(), bytes.length)) {
    return false;
  }
  display::detect_frame_format(display_);
  engine::build_scene(scene_, display_.pixel_format);
  platform::ShellSystem* shell = services_.shell;
  if (shell != nullptr) {
    if (scene_.info_mode) {
      shell->set_cursor(platform::Cursor::kHelp);
      shell->show_cursor(true);
    } else {
      shell->set_cursor(display_.windowed ? platform::Cursor::kArrow : platform::Cursor::kNone);
    }
  }
  return true;
}

void Player::switch_picture() {
  scene_.info_mode = !scene_.info_mode;
  show_picture();  // a failure leaves the previous picture in place
}

void Player::show_info_picture() {
  scene_.info_mode = true;
  show_picture();
}

}  // namespace app
