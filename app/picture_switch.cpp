// The picture switch: the shown picture changes, and the pixel format, the scene and the
// cursor follow it.
#include <algorithm>

#include "app/picture_preparation.h"
#include "app/player.h"
#include "platform/shell_system.h"

namespace app {

bool Player::show_picture() {
  if (showing_photos() && !scene_.info_mode) {
    // Fitted already, in the source image's own layout.
    std::copy(photos_->current().begin(), photos_->current().end(), scene_.source_image.get());
  } else {
    const PictureBytes& bytes = scene_.info_mode ? pictures_.info_picture : pictures_.main_picture;
    if (!prepare_source_image(scene_.source_image.get(), bytes.data.get(), bytes.length)) {
      return false;
    }
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
  if (showing_photos() && !scene_.info_mode) {
    photos_->want_next();  // shown by a frame once it is fitted
    return;
  }
  scene_.info_mode = !scene_.info_mode;
  show_picture();  // a failure leaves the previous picture in place
}

void Player::previous_picture() {
  if (showing_photos() && !scene_.info_mode) {
    photos_->want_previous();
    return;
  }
  switch_picture();
}

void Player::show_info_picture() {
  scene_.info_mode = true;
  show_picture();
}

}  // namespace app
