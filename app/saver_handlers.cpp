// The screen saver's window procedure.
#include "app/saver_handlers.h"

#include "app/window_handlers.h"
#include "platform/window_system.h"

namespace app {

namespace {

// Further Win32 messages and the system command a saver answers.
constexpr std::uint32_t kWM_MBUTTONDOWN = 0x0207;
constexpr std::uint32_t kWM_XBUTTONDOWN = 0x020B;
constexpr std::uint32_t kWM_MOUSEWHEEL = 0x020A;
constexpr std::uint32_t kWM_CHAR = 0x0102;
constexpr std::uintptr_t kSC_SCREENSAVE = 0xF140;

platform::Point pointer_of(const platform::Message& message) {
  const auto bits = static_cast<std::uintptr_t>(message.lparam);
  return {static_cast<std::int16_t>(bits & 0xFFFFu),
          static_cast<std::int16_t>((bits >> 16) & 0xFFFFu)};
}

bool beyond_jitter(platform::Point origin, platform::Point now) {
  const std::int32_t dx = now.x - origin.x;
  const std::int32_t dy = now.y - origin.y;
  return dx > kSaverJitterPixels || dx < -kSaverJitterPixels || dy > kSaverJitterPixels ||
         dy < -kSaverJitterPixels;
}

bool is_input(std::uint32_t id) {
  switch (id) {
    case platform::kWM_KEYDOWN:
    case platform::kWM_KEYUP:
    case platform::kWM_SYSKEYDOWN:
    case platform::kWM_SYSKEYUP:
    case kWM_CHAR:
    case platform::kWM_LBUTTONDOWN:
    case platform::kWM_LBUTTONUP:
    case platform::kWM_RBUTTONDOWN:
    case platform::kWM_RBUTTONUP:
    case kWM_MBUTTONDOWN:
    case kWM_XBUTTONDOWN:
    case kWM_MOUSEWHEEL:
      return true;
    default:
      return false;
  }
}

bool ends_run(const SaverState& state, const platform::Message& message) {
  if (message.id == platform::kWM_MOUSEMOVE) {
    return beyond_jitter(state.origin, pointer_of(message));
  }
  return message.id == platform::kWM_KEYDOWN || message.id == platform::kWM_SYSKEYDOWN ||
         message.id == platform::kWM_LBUTTONDOWN || message.id == platform::kWM_RBUTTONDOWN ||
         message.id == kWM_MBUTTONDOWN || message.id == kWM_XBUTTONDOWN ||
         message.id == kWM_MOUSEWHEEL;
}

}  // namespace

platform::HandlerResult handle_saver_message(const SaverState& state,
                                             const platform::Message& message) {
  Player& player = *state.player;
  if (message.id == platform::kWM_MOUSEMOVE || is_input(message.id)) {
    if (state.ends_on_input && ends_run(state, message)) {
      player.services().windows->post_close(message.window);
    }
    return {false, 0};
  }
  if (message.id == platform::kWM_SYSCOMMAND && message.wparam == kSC_SCREENSAVE) {
    return {false, 0};
  }
  // A preview's size is its parent's, not the player's frame.
  if (message.id == platform::kWM_GETMINMAXINFO && !state.ends_on_input) return {true, 0};
  return handle_window_message(player, message);
}

}  // namespace app
