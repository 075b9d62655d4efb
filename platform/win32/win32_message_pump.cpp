// PeekMessageA, GetMessageA, TranslateAcceleratorA, TranslateMessage, DispatchMessageA and
// WaitMessage for the main loop.
#include "platform/win32/win32_message_pump.h"

namespace platform::win32 {

bool Win32MessagePump::peek() {
  MSG waiting{};
  return PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
}

bool Win32MessagePump::get(Message* out) {
  MSG taken{};
  const BOOL result = GetMessageA(&taken, nullptr, 0, 0);
  last_ = taken;
  if (out != nullptr) {
    *out = Message{taken.hwnd, static_cast<std::uint32_t>(taken.message),
                   static_cast<std::uintptr_t>(taken.wParam),
                   static_cast<std::intptr_t>(taken.lParam)};
  }
  // -1 (an error of the queue itself) would repeat for ever; it ends the loop like the
  // quit message, with exit code 0.
  if (result == -1) {
    if (out != nullptr) out->wparam = 0;
    return false;
  }
  return result != 0;
}

bool Win32MessagePump::translate_accelerator(const Message& message) {
  const Win32Session& state = session_;
  if (state.main_window == nullptr || state.accelerators == nullptr) return false;
  MSG msg = as_msg(message);
  return TranslateAcceleratorA(state.main_window, state.accelerators, &msg) != 0;
}

void Win32MessagePump::dispatch(const Message& message) {
  MSG msg = as_msg(message);
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void Win32MessagePump::wait() {
  WaitMessage();
}

MSG Win32MessagePump::as_msg(const Message& message) const {
  MSG msg = last_;
  msg.hwnd = static_cast<HWND>(message.window);
  msg.message = static_cast<UINT>(message.id);
  msg.wParam = static_cast<WPARAM>(message.wparam);
  msg.lParam = static_cast<LPARAM>(message.lparam);
  return msg;
}

}  // namespace platform::win32
