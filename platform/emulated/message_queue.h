// The thread's message queue as Windows keeps it, for the backends that post their own
// messages (SDL2, the browser, the tests' scripted pump).
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "platform/message_pump.h"

namespace platform::emulated {

// Posted messages in order, and the quit request beside them: as on Windows, WM_QUIT comes
// out only once no posted message is left, and only once however often quit was posted.
class MessageQueue {
 public:
  // PostMessageA.
  void post(const Message& message) { posted_.push_back(message); }
  // PostQuitMessage; the last exit code given is the one WM_QUIT carries.
  void post_quit(std::int32_t exit_code);
  // PeekMessageA(no filter, PM_NOREMOVE): a posted message or the quit is waiting.
  bool waiting() const { return !posted_.empty() || quit_posted_; }
  // GetMessageA without blocking: the next posted message, else WM_QUIT with the exit code
  // in wparam, else nothing.
  std::optional<Message> take();
  // Forgets every message and the quit, for a main window made afresh.
  void clear();

 private:
  std::deque<Message> posted_;
  bool quit_posted_ = false;
  std::int32_t exit_code_ = 0;
};

}  // namespace platform::emulated
