// The thread's Win32 message queue behind the portable MessagePump: peek, get, the main
// window's accelerators, translate and dispatch, wait.
#pragma once

#include "platform/message_pump.h"
#include "platform/win32/win32_session.h"

namespace platform::win32 {

class Win32MessagePump final : public MessagePump {
 public:
  // session must outlive the queue.
  explicit Win32MessagePump(const Win32Session& session) : session_(session) {}

  bool peek() override;
  bool get(Message* out) override;
  bool translate_accelerator(const Message& message) override;
  void dispatch(const Message& message) override;
  void wait() override;

 private:
  // The whole MSG of the last get(), so that its time and cursor position reach the
  // accelerator and dispatch calls unchanged.
  MSG as_msg(const Message& message) const;

  const Win32Session& session_;
  MSG last_{};
};

}  // namespace platform::win32
