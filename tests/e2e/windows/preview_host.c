/* What the Screen Saver Settings dialog does for its preview box, for the Wine checks:
 * preview_host SAVER
 * opens a window "Preview host" with a client area of 152x112 (the dialog's box), starts
 * "SAVER /p HWND" with the window's decimal handle, and closes on any key.
 * Exit code 0 when the saver could be started. */
#include <stdio.h>
#include <windows.h>

static LRESULT CALLBACK host_procedure(HWND window, UINT id, WPARAM wparam, LPARAM lparam) {
  switch (id) {
    case WM_KEYDOWN:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, id, wparam, lparam);
  }
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HINSTANCE instance = GetModuleHandleA(NULL);
  WNDCLASSA host_class = {0};
  host_class.lpfnWndProc = host_procedure;
  host_class.hInstance = instance;
  host_class.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  host_class.lpszClassName = "PreviewHost";
  if (RegisterClassA(&host_class) == 0) return 1;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT outer = {0, 0, 152, 112};
  AdjustWindowRect(&outer, style, FALSE);
  HWND host = CreateWindowA("PreviewHost", "Preview host", style, 40, 40, outer.right - outer.left,
                            outer.bottom - outer.top, NULL, NULL, instance, NULL);
  if (host == NULL) return 1;
  ShowWindow(host, SW_SHOWNORMAL);
  UpdateWindow(host);

  char command[MAX_PATH + 64];
  snprintf(command, sizeof command, "\"%s\" /p %lu", argv[1], (unsigned long)(UINT_PTR)host);
  STARTUPINFOA startup = {0};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
    return 1;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  MSG message;
  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
