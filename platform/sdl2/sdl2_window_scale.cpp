#include "platform/sdl2/sdl2_window_scale.h"

#include <algorithm>

#include "platform/picture_fit/picture_fit.h"

namespace platform::sdl2 {

namespace {

int largest_fitting(int width, int height, int menu_height) {
  const int across = width / kPictureWidth;
  const int down = (height - menu_height) / kPictureHeight;
  return std::max(1, std::min(across, down));
}

}  // namespace

WindowScale choose_window_scale(int requested, int width, int height, int menu_height) {
  if (requested <= 0) {
    return WindowScale{largest_fitting(width * 4 / 5, height * 4 / 5, menu_height), false};
  }
  const int fitting = largest_fitting(width, height, menu_height);
  if (requested <= fitting) return WindowScale{requested, false};
  return WindowScale{fitting, true};
}

}  // namespace platform::sdl2
