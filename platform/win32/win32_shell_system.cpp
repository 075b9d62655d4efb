// The main window's class, creation and Win32 procedures (which hand every message to the
// portable handlers), the About dialog, cursors and the shell's "open" verb.
#include "platform/win32/win32_shell_system.h"

#include <shellapi.h>

#include "platform/win32/main_window_class.h"
#include "resources/resource_ids.h"

namespace platform::win32 {

namespace {

// The plain numbers of main_window_class.h are the Windows constants they stand for.
static_assert(kMainWindowClass.class_style == (CS_HREDRAW | CS_VREDRAW));
static_assert(kMainWindowClass.background_color == COLOR_WINDOW + 1);
static_assert(kMainWindowClass.window_style ==
              (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX));

// The session the Win32 callbacks below hand their messages on with: they receive only
// what Windows gives them. The one mutable pointer of the backend, set by the shell system.
Win32Session* callback_session = nullptr;

Message to_message(HWND window, UINT id, WPARAM wparam, LPARAM lparam) {
  return Message{window, static_cast<std::uint32_t>(id), static_cast<std::uintptr_t>(wparam),
                 static_cast<std::intptr_t>(lparam)};
}

LRESULT CALLBACK main_window_procedure(HWND window, UINT id, WPARAM wparam, LPARAM lparam) {
  const WindowProcedure procedure =
      callback_session != nullptr ? callback_session->window_procedure : nullptr;
  if (procedure != nullptr) {
    const HandlerResult result = procedure(to_message(window, id, wparam, lparam));
    if (!result.use_default) return static_cast<LRESULT>(result.value);
  }
  return DefWindowProcA(window, id, wparam, lparam);
}

INT_PTR CALLBACK dialog_procedure(HWND dialog, UINT id, WPARAM wparam, LPARAM lparam) {
  const DialogProcedure procedure =
      callback_session != nullptr ? callback_session->dialog_procedure : nullptr;
  if (procedure == nullptr) return FALSE;
  return static_cast<INT_PTR>(procedure(to_message(dialog, id, wparam, lparam)));
}

}  // namespace

Win32ShellSystem::Win32ShellSystem(Win32Session& session) : session_(session) {
  callback_session = &session;
}

Win32ShellSystem::~Win32ShellSystem() {
  if (callback_session == &session_) callback_session = nullptr;
}

void Win32ShellSystem::set_cursor(Cursor cursor) {
  switch (cursor) {
    case Cursor::kNone:
      SetCursor(nullptr);
      break;
    case Cursor::kArrow:
      SetCursor(LoadCursorA(nullptr, IDC_ARROW));
      break;
    case Cursor::kHelp:
      SetCursor(LoadCursorA(nullptr, IDC_HELP));
      break;
  }
}

void Win32ShellSystem::show_cursor(bool show) {
  ShowCursor(show ? TRUE : FALSE);
}

std::intptr_t Win32ShellSystem::shell_open(const char* target) {
  HINSTANCE result = ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<std::intptr_t>(result);
}

HResult Win32ShellSystem::create_main_window(const char* class_name, const char* title,
                                             std::int32_t show_command, WindowProcedure procedure,
                                             WindowHandle* out) {
  if (out == nullptr) return kE_FAIL;
  Win32Session& state = session_;
  state.window_procedure = procedure;

  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.style = kMainWindowClass.class_style;
  window_class.lpfnWndProc = main_window_procedure;
  window_class.cbClsExtra = 0;
  window_class.cbWndExtra = 0;
  window_class.hInstance = state.instance;
  window_class.hIcon = LoadIconA(state.instance, MAKEINTRESOURCEA(kMainWindowClass.icon_id));
  window_class.hIconSm = LoadIconA(state.instance, MAKEINTRESOURCEA(kMainWindowClass.icon_id));
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  // A system colour index plus one stands for that colour's brush.
  window_class.hbrBackground =
      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(kMainWindowClass.background_color));
  const bool player = state.kind == MainWindowKind::kPlayer;
  // A screen saver has neither menu nor accelerators: every key ends it.
  window_class.lpszMenuName = player ? MAKEINTRESOURCEA(kMainWindowClass.menu_id) : nullptr;
  window_class.lpszClassName = class_name;
  if (RegisterClassExA(&window_class) == 0) return kE_FAIL;

  if (player) {
    state.accelerators = LoadAcceleratorsA(state.instance, MAKEINTRESOURCEA(MQ_IDA_MAIN));
  }
  if (state.kind == MainWindowKind::kPreview) return create_preview_window(class_name, title, out);

  const int frame_x = GetSystemMetrics(SM_CXFRAME);
  const int frame_y = GetSystemMetrics(SM_CYFRAME);
  const int menu_y = GetSystemMetrics(SM_CYMENU);
  const int caption_y = GetSystemMetrics(SM_CYCAPTION);
  HWND window =
      CreateWindowExA(0, class_name, title, kMainWindowClass.window_style, CW_USEDEFAULT,
                      CW_USEDEFAULT, 640 + 2 * frame_x, 480 + 2 * frame_y + caption_y + menu_y,
                      nullptr, nullptr, state.instance, nullptr);
  if (window == nullptr) return kE_FAIL;
  state.main_window = window;

  ShowWindow(window, show_command);
  UpdateWindow(window);
  *out = window;
  return kS_OK;
}

HResult Win32ShellSystem::create_preview_window(const char* class_name, const char* title,
                                                WindowHandle* out) {
  Win32Session& state = session_;
  RECT area{};
  if (GetClientRect(state.preview_parent, &area) == FALSE) return kE_FAIL;
  HWND window = CreateWindowExA(0, class_name, title, WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                                area.right - area.left, area.bottom - area.top,
                                state.preview_parent, nullptr, state.instance, nullptr);
  if (window == nullptr) return kE_FAIL;
  state.main_window = window;
  // Shown only now, so that its first WM_SIZE tells the player it is active.
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  *out = window;
  return kS_OK;
}

void Win32ShellSystem::post_quit(std::int32_t exit_code) {
  PostQuitMessage(exit_code);
}

std::intptr_t Win32ShellSystem::run_dialog(WindowHandle owner, std::int32_t dialog_id,
                                           DialogProcedure procedure) {
  Win32Session& state = session_;
  state.dialog_procedure = procedure;
  const INT_PTR result = DialogBoxParamA(state.instance, MAKEINTRESOURCEA(dialog_id),
                                         static_cast<HWND>(owner), dialog_procedure, 0);
  return static_cast<std::intptr_t>(result);
}

void Win32ShellSystem::end_dialog(WindowHandle dialog, std::intptr_t result) {
  EndDialog(static_cast<HWND>(dialog), static_cast<INT_PTR>(result));
}

std::int32_t Win32ShellSystem::system_metric(std::int32_t index) {
  return GetSystemMetrics(index);
}

}  // namespace platform::win32
