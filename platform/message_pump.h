// Window messages and the thread's message queue as the shell sees them. Message ids,
// parameters, virtual-key codes and command values are the Win32 ones, so that the Windows
// backend passes its messages through unchanged and the SDL2 backend translates its events
// into the very same thing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/direct_draw.h"

namespace platform {

// One message: the window it is for, its id (WM_*) and its two parameters.
struct Message {
  WindowHandle window = nullptr;
  std::uint32_t id = 0;
  std::uintptr_t wparam = 0;  // WPARAM
  std::intptr_t lparam = 0;   // LPARAM
};

// Message ids (WM_*).
inline constexpr std::uint32_t kWM_DESTROY = 0x0002;
inline constexpr std::uint32_t kWM_MOVE = 0x0003;
inline constexpr std::uint32_t kWM_SIZE = 0x0005;
inline constexpr std::uint32_t kWM_CLOSE = 0x0010;
inline constexpr std::uint32_t kWM_QUIT = 0x0012;
inline constexpr std::uint32_t kWM_SETCURSOR = 0x0020;
inline constexpr std::uint32_t kWM_GETMINMAXINFO = 0x0024;
inline constexpr std::uint32_t kWM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t kWM_KEYUP = 0x0101;
inline constexpr std::uint32_t kWM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t kWM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t kWM_INITDIALOG = 0x0110;
inline constexpr std::uint32_t kWM_COMMAND = 0x0111;
inline constexpr std::uint32_t kWM_SYSCOMMAND = 0x0112;
inline constexpr std::uint32_t kWM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t kWM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t kWM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t kWM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t kWM_RBUTTONUP = 0x0205;

// WM_SIZE size types (first parameter).
inline constexpr std::uintptr_t kSIZE_RESTORED = 0;
inline constexpr std::uintptr_t kSIZE_MINIMIZED = 1;
inline constexpr std::uintptr_t kSIZE_MAXIMIZED = 2;
inline constexpr std::uintptr_t kSIZE_MAXSHOW = 3;
inline constexpr std::uintptr_t kSIZE_MAXHIDE = 4;

// WM_SYSCOMMAND values (first parameter, compared as whole values).
inline constexpr std::uintptr_t kSC_SIZE = 0xF000;
inline constexpr std::uintptr_t kSC_MOVE = 0xF010;
inline constexpr std::uintptr_t kSC_MINIMIZE = 0xF020;
inline constexpr std::uintptr_t kSC_MAXIMIZE = 0xF030;
inline constexpr std::uintptr_t kSC_CLOSE = 0xF060;
inline constexpr std::uintptr_t kSC_RESTORE = 0xF120;
inline constexpr std::uintptr_t kSC_MONITORPOWER = 0xF170;

// Dialog command ids.
inline constexpr std::uint16_t kIDOK = 1;
inline constexpr std::uint16_t kIDCANCEL = 2;

// Virtual-key codes (VK_*); letters and digits are their upper-case ASCII codes.
inline constexpr std::uint32_t kVK_BACK = 0x08;
inline constexpr std::uint32_t kVK_TAB = 0x09;
inline constexpr std::uint32_t kVK_RETURN = 0x0D;
inline constexpr std::uint32_t kVK_SHIFT = 0x10;
inline constexpr std::uint32_t kVK_CONTROL = 0x11;
inline constexpr std::uint32_t kVK_MENU = 0x12;  // Alt
inline constexpr std::uint32_t kVK_ESCAPE = 0x1B;
inline constexpr std::uint32_t kVK_SPACE = 0x20;
inline constexpr std::uint32_t kVK_LEFT = 0x25;
inline constexpr std::uint32_t kVK_F10 = 0x79;

// MINMAXINFO, laid out as on Windows (five POINTs of two 32-bit values) so that the
// second parameter of WM_GETMINMAXINFO can be read the same way on every platform.
struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
};
struct MinMaxInfo {
  Point reserved;
  Point max_size;
  Point max_position;
  Point min_track_size;
  Point max_track_size;
};

// LOWORD of a parameter (the command id of WM_COMMAND).
constexpr std::uint16_t low_word(std::uintptr_t value) {
  return static_cast<std::uint16_t>(value & 0xFFFFu);
}

// The thread's message queue with the operations of the main loop. Modal loops (message
// boxes, the About dialog, menu tracking) run inside the backend and dispatch to the
// window procedure themselves, so the main loop is suspended while one is open.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // PeekMessageA(no filter, PM_NOREMOVE): true when a message is waiting.
  virtual bool peek() = 0;
  // GetMessageA: blocks for the next message. False for the quit message, whose exit code
  // is then in out->wparam.
  virtual bool get(Message* out) = 0;
  // TranslateAcceleratorA with the main window and the accelerator table: true when the
  // message was an accelerator key, whose command has then been sent to the window.
  virtual bool translate_accelerator(const Message& message) = 0;
  // TranslateMessage and DispatchMessageA: hands the message to its window's procedure.
  virtual void dispatch(const Message& message) = 0;
  // WaitMessage: blocks until a message arrives, using no processor time meanwhile.
  virtual void wait() = 0;
};

// The result of a portable window procedure: either a value, or "pass the message on to
// the default procedure" (DefWindowProcA), which only the backend can do.
struct HandlerResult {
  bool use_default = false;
  std::intptr_t value = 0;
};

// A procedure as the backends call it: a function and the state it works on (the
// program's, which the backend only hands back). Null when it has no function.
template <typename Result>
struct Procedure {
  using Function = Result (*)(void* context, const Message& message);

  Procedure(std::nullptr_t = nullptr) {}  // NOLINT: null converts, as for a function pointer
  Procedure(Function f, void* c) : function(f), context(c) {}

  Result operator()(const Message& message) const { return function(context, message); }
  friend bool operator==(const Procedure& p, std::nullptr_t) { return p.function == nullptr; }

  Function function = nullptr;
  void* context = nullptr;
};

// A window procedure and a dialog procedure (which returns TRUE or FALSE).
using WindowProcedure = Procedure<HandlerResult>;
using DialogProcedure = Procedure<std::intptr_t>;

}  // namespace platform
