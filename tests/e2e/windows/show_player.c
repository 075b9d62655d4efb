/* What a user does through the taskbar, for the Wine checks (there is no taskbar there):
 * show_player minimize | restore
 * minimises the player's window, or restores it and brings it to the foreground.
 * Exit code 0 when the window was found. */
#include <string.h>
#include <windows.h>

int main(int argc, char** argv) {
  HWND player = FindWindowA("Moviquel Player", NULL);
  if (player == NULL || argc != 2) return 1;
  if (strcmp(argv[1], "minimize") == 0) {
    ShowWindow(player, SW_MINIMIZE);
    return 0;
  }
  if (strcmp(argv[1], "restore") == 0) {
    ShowWindow(player, SW_RESTORE);
    SetForegroundWindow(player);
    return 0;
  }
  return 1;
}
