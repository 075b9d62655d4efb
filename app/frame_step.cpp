// The frame step with its recovery rules, and the composition of one frame.
#include "app/frame_statistics.h"
#include "app/player.h"
#include "display/display_setup.h"
#include "engine/scene.h"
#include "platform/clock.h"

namespace app {

namespace {

// How long a turn waits while another program holds the exclusive display.
constexpr std::uint32_t exclusive_mode_wait_ms = 10;

}  // namespace

platform::HResult Player::frame_step() {
  platform::Clock& clock = *services_.clock;
  // Without a device (a failed mode switch has asked the window to close) there is
  // nothing to draw; wait for the close to arrive.
  if (display_.device == nullptr || display_.device->ddraw == nullptr) {
    clock.sleep_ms(exclusive_mode_wait_ms);
    return platform::kS_OK;
  }
  const platform::HResult level = display::test_cooperative_level(display_);
  if (platform::failed(level)) {
    if (level == platform::kDDERR_NOEXCLUSIVEMODE ||
        level == platform::kDDERR_EXCLUSIVEMODEALREADYSET) {
      clock.sleep_ms(exclusive_mode_wait_ms);  // another program holds the screen
      return platform::kS_OK;
    }
    // The desktop mode was changed under the program: rebuild in the current mode.
    if (level == platform::kDDERR_WRONGMODE) return init_display();
    return level;
  }
  const platform::HResult rendered = render_frame();
  if (platform::succeeded(rendered)) return platform::kS_OK;
  if (rendered == platform::kDDERR_SURFACELOST) {
    display::restore_display(display_);  // the frame is lost; the next turn draws again
    return platform::kS_OK;
  }
  return rendered;
}

platform::HResult Player::render_frame() {
  // A photo asked for has been fitted: it is shown at once, unless the info picture is. A
  // show that can show nothing leaves the main picture.
  if (photos_ != nullptr && photos_->poll() && !scene_.info_mode) show_picture();
  if (photos_ != nullptr && photos_->exhausted()) photos_.reset();
  // A picture that fails to load leaves the old one, and its scene, in place.
  if (engine::scene_tick(scene_) == engine::SceneDue::kPictureSwitch) {
    if (showing_photos() && scene_.info_mode) {
      // A photo's main scene is over: the next photo comes, not the info picture. It has
      // been fitted meanwhile; should it not be, the photo plays again until it is.
      scene_.info_mode = false;
      photos_->want_next();
      photos_->poll();
    }
    show_picture();
  }
  engine::step_scene(scene_);
  display::upload_frame(display_);
  if (show_statistics_) {
    draw_statistics(statistics_, display_.frame_surface.get(), services_.clock->now_ms(),
                    scene_.frame_time_ms);
  }
  // Clear, the frame surface at (0, 0), the labels colour-keyed 12 pixels in from the
  // bottom corners.
  display::compose_back_buffer(display_);
  if (display_.device == nullptr) return platform::kE_POINTER;
  const platform::HResult presented = display_.device->present();
  return platform::failed(presented) ? presented : platform::kS_OK;
}

void Player::present_again() {
  if (display_.device != nullptr) display_.device->present();
}

}  // namespace app
