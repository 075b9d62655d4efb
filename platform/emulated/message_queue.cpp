// The posted messages and the quit request.
#include "platform/emulated/message_queue.h"

namespace platform::emulated {

void MessageQueue::post_quit(std::int32_t exit_code) {
  quit_posted_ = true;
  exit_code_ = exit_code;
}

std::optional<Message> MessageQueue::take() {
  if (!posted_.empty()) {
    const Message next = posted_.front();
    posted_.pop_front();
    return next;
  }
  if (!quit_posted_) return std::nullopt;
  quit_posted_ = false;
  return Message{nullptr, kWM_QUIT, static_cast<std::uintptr_t>(exit_code_), 0};
}

void MessageQueue::clear() {
  posted_.clear();
  quit_posted_ = false;
}

}  // namespace platform::emulated
