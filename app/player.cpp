// The player's assembly, its start-up up to the first picture, and its small state changes.
#include "app/player.h"

#include "platform/shell_system.h"

namespace app {

Player::Player(const platform::Services& services, StartMode mode)
    : services_(services),
      scene_(*services.clock),
      display_(services.display, services.windows, scene_.working_frame.get()) {
  display_.windowed = mode == StartMode::kWindowed;
}

platform::HResult Player::open_window_and_display(std::int32_t show_command,
                                                  platform::WindowProcedure procedure) {
  compose_texts(texts_);
  display::set_label_texts(display_, texts_.publisher_label_text, texts_.version_tag_text);
  if (platform::failed(services_.shell->create_main_window(
          product_caption, texts_.window_title, show_command, procedure, &main_window_))) {
    return platform::kE_FAIL;
  }
  // Full screen first; a refused attempt has shown its own message, so a machine without
  // the full-screen mode says so once and runs windowed.
  if (platform::failed(init_display())) {
    display_.windowed = !display_.windowed;
    if (platform::failed(init_display())) {
      tell_user(no_display_text);
      return platform::kE_FAIL;
    }
  }
  return platform::kS_OK;
}

bool Player::show_first_picture() {
  if (load_pictures(services_.resources, pictures_) && show_picture()) return true;
  // A picture that is missing or does not decode means the executable itself is damaged:
  // the user is told, over the desktop rather than a full-screen display, before the exit.
  release_display();
  tell_user(damaged_pictures_text);
  return false;
}

void Player::play_photos(std::unique_ptr<photos::PhotoShow> show) {
  photos_ = std::move(show);
  // A show that has its photo shows it now, one still to fit it when it comes; before the
  // display is up, the first picture is still to be shown anyway.
  if (display_.device == nullptr || scene_.info_mode) return;
  if (photos_ == nullptr || photos_->has_current()) show_picture();
}

void Player::toggle_statistics() {
  show_statistics_ = !show_statistics_;
}

void Player::set_active(bool active) {
  active_ = active;
}

void Player::update_bounds() {
  if (display_.device != nullptr) display_.device->update_bounds();
}

void Player::release_display() {
  display::release_display(display_);
}

bool Player::open_web_page() {
  return services_.shell->shell_open(texts_.web_page_address) > 32;
}

void Player::report_failed_frame() {
  display::release_device(display_);
  tell_user(frame_failed_text);
}

void Player::tell_user(const char* text) {
  services_.windows->message_box(main_window_, text, product_caption,
                                 platform::kMessageBoxIconError);
}

}  // namespace app
