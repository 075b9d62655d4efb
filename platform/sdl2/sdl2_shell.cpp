// The message queue over SDL events, accelerators, the default window procedure, the About box,
// cursors and the web-page opener of the SDL backend.
#include "platform/sdl2/sdl2_shell.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/emulated/accelerator_table.h"
#include "platform/sdl2/sdl2_about_dialog.h"
#include "platform/sdl2/sdl2_cursors.h"
#include "platform/sdl2/sdl2_events.h"
#include "platform/sdl2/sdl2_icon.h"
#include "platform/sdl2/sdl2_keys.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_menu_bar.h"
#include "platform/sdl2/sdl2_termination.h"
#include "platform/sdl2/sdl2_trace.h"
#include "platform/sdl2/sdl2_window_scale.h"
#include "platform/sdl2/sdl2_x11_windows.h"
#include "platform/window_system.h"

namespace platform::sdl2 {

namespace {

constexpr std::uint32_t kVK_F4 = 0x73;

bool executable_on_path(const char* name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::string dirs(path);
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = dirs.find(':', start);
    const std::string dir =
        dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string file = (dir.empty() ? std::string(".") : dir) + "/" + name;
    if (access(file.c_str(), X_OK) == 0) return true;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

}  // namespace

// ---- shell services ----

void Sdl2Shell::set_cursor(Cursor cursor) {
  // The cursor follows the picture switch; the end-to-end checks see the switch here.
  if (cursor != cursor_) {
    trace("cursor %s", cursor == Cursor::kHelp   ? "help"
                       : cursor == Cursor::kNone ? "none"
                                                 : "arrow");
  }
  if (cursor == Cursor::kNone) {
    if (cursor_ != Cursor::kNone) SDL_ShowCursor(SDL_DISABLE);
    cursor_ = cursor;
    return;
  }
  if (cursor != cursor_) {
    SDL_Cursor* shape = cursor == Cursor::kHelp ? cursors_.help() : cursors_.arrow();
    if (shape != nullptr) SDL_SetCursor(shape);
  }
  if (cursor_ == Cursor::kNone) SDL_ShowCursor(SDL_ENABLE);
  cursor_ = cursor;
}

void Sdl2Shell::show_cursor(bool show) {
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

std::intptr_t Sdl2Shell::shell_open(const char* target) {
  if (target == nullptr || *target == '\0') return 2;
  std::string address(target);
  if (address.find("://") == std::string::npos) address = "http://" + address;
  trace("open %s", address.c_str());
  if (!executable_on_path("xdg-open")) return 2;  // SE_ERR_FILENOTFOUND
  // Start the opener in a grandchild so that it is never left behind as a zombie.
  const pid_t child = fork();
  if (child < 0) return 2;
  if (child == 0) {
    if (fork() == 0) {
      setsid();
      execlp("xdg-open", "xdg-open", address.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return 33;
}

HResult Sdl2Shell::create_main_window(const char*, const char* title, std::int32_t show_command,
                                      WindowProcedure procedure, WindowHandle* out) {
  if (procedure == nullptr || out == nullptr || main_window_.sdl != nullptr) return kE_FAIL;
  MainWindow& w = main_window_;
  if (foreign_window_ != 0) return adopt_foreign_window(procedure, out);
  // The scale of the window, here and whenever the player comes back from full screen.
  SDL_Rect usable{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0) {
    const WindowScale chosen = choose_window_scale(w.scale, usable.w, usable.h, kMenuBarHeight);
    if (chosen.reduced) {
      std::fprintf(stderr, "moviquel: --scale %d does not fit the screen; using %d\n", w.scale,
                   chosen.scale);
    }
    w.scale = chosen.scale;
  }
  if (w.scale < 1) w.scale = 1;
  const int scale = w.scale;
  // Resizable and maximisable: the picture keeps its whole-number enlargement, centred.
  SDL_Window* sdl =
      SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640 * scale,
                       480 * scale + kMenuBarHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (sdl == nullptr) {
    std::fprintf(stderr, "moviquel: cannot create the window: %s\n", SDL_GetError());
    return kE_FAIL;
  }
  procedure_ = procedure;
  w.sdl = sdl;
  w.style = kStyleCaption | kStyleSysMenu | kStyleThickFrame | kStyleMinimizeBox;
  w.menu_attached = true;
  w.picture = scaled_picture(0, kMenuBarHeight, scale);
  if (SDL_Surface* icon = application_icon()) {
    SDL_SetWindowIcon(sdl, icon);
    SDL_FreeSurface(icon);
  }
  *out = sdl;
  // ShowWindow: hidden (0), minimised (2, 6, 7) or shown; showing sends the first
  // WM_SIZE, which makes the player active.
  if (show_command == 0) return kS_OK;
  SDL_ShowWindow(sdl);
  if (show_command == 2 || show_command == 6 || show_command == 7) {
    SDL_MinimizeWindow(sdl);
    dispatch(Message{sdl, kWM_SIZE, kSIZE_MINIMIZED, 0});
    return kS_OK;
  }
  dispatch(Message{sdl, kWM_SIZE, kSIZE_RESTORED, make_lparam(640, 480)});
  dispatch(Message{sdl, kWM_MOVE, 0, 0});
  return kS_OK;
}

HResult Sdl2Shell::adopt_foreign_window(WindowProcedure procedure, WindowHandle* out) {
  SDL_Window* sdl = SDL_CreateWindowFrom(reinterpret_cast<const void*>(foreign_window_));
  if (sdl == nullptr) {
    std::fprintf(stderr, "moviquel: cannot draw into window 0x%lx: %s\n",
                 static_cast<unsigned long>(foreign_window_), SDL_GetError());
    return kE_FAIL;
  }
  procedure_ = procedure;
  MainWindow& w = main_window_;
  w.sdl = sdl;
  w.foreign = true;
  w.style = kStylePopup;
  w.menu_attached = false;
  w.scale = 1;
  x11_watch_window(sdl, foreign_window_);
  *out = sdl;
  // The window is shown by its owner; the player is active from the start.
  dispatch(Message{sdl, kWM_SIZE, kSIZE_RESTORED, make_lparam(640, 480)});
  return kS_OK;
}

void Sdl2Shell::destroy_main_window() {
  SDL_Window* sdl = main_window_.sdl;
  if (sdl == nullptr) return;
  if (procedure_ != nullptr) procedure_(Message{sdl, kWM_DESTROY, 0, 0});
  main_window_ = MainWindow{};
  SDL_DestroyWindow(sdl);
}

void Sdl2Shell::post_quit(std::int32_t exit_code) {
  queue_.post_quit(exit_code);
}

std::intptr_t Sdl2Shell::run_dialog(WindowHandle owner, std::int32_t dialog_id,
                                    DialogProcedure procedure) {
  if (dialog_id != kAboutDialogId || procedure == nullptr) return -1;
  dialog_ended_ = false;
  dialog_result_ = -1;
  if (!run_about_dialog(sdl_window(main_window_, owner), &dialog_tag_, procedure,
                        [this] { return dialog_ended_; })) {
    return -1;
  }
  return dialog_result_;
}

void Sdl2Shell::end_dialog(WindowHandle, std::intptr_t result) {
  dialog_ended_ = true;
  dialog_result_ = result;
}

std::int32_t Sdl2Shell::system_metric(std::int32_t index) {
  // The window manager draws the frame and the caption outside the SDL window; only the
  // menu bar is inside it.
  return index == kSM_CYMENU ? kMenuBarHeight : 0;
}

// ---- the queue ----

void Sdl2Shell::translate(const SDL_Event& event) {
  SDL_Window* sdl = main_window_.sdl;
  if (sdl == nullptr) return;
  if (main_window_.foreign && x11_watched_window_gone(&event)) return;
  EventTarget target;
  target.window = sdl;
  target.id = SDL_GetWindowID(sdl);
  target.visible = (SDL_GetWindowFlags(sdl) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
  // A screensaver's keys and mouse belong to the screensaver daemon.
  target.input = !main_window_.foreign;
  target.top = picture_top(main_window_);
  target.picture = main_window_.picture;
  const TranslatedEvent translated = translate_event(event, target);
  for (int i = 0; i < translated.count; ++i) post(translated.messages[i]);
  if (translated.repaint) main_window_.repaint = true;
}

void Sdl2Shell::close_when_asked() {
  // Once: SIGINT or SIGTERM, or a screensaver's window that its owner took away (its
  // owner expects the player to go quietly).
  if (close_asked_ || main_window_.sdl == nullptr) return;
  const bool gone = main_window_.foreign && x11_watched_window_gone(nullptr);
  if (!termination_requested() && !gone) return;
  close_asked_ = true;
  trace("%s", gone ? "the window has gone: closing" : "SIGINT or SIGTERM: closing");
  post(Message{main_window_.sdl, kWM_CLOSE, 0, 0});
}

bool Sdl2Shell::peek() {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) translate(event);
  close_when_asked();
  return queue_.waiting();
}

bool Sdl2Shell::get(Message* out) {
  for (;;) {
    close_when_asked();
    if (const std::optional<Message> next = queue_.take()) {
      *out = *next;
      return next->id != kWM_QUIT;
    }
    SDL_Event event;
    if (SDL_WaitEvent(&event) != 0) translate(event);
  }
}

void Sdl2Shell::wait() {
  close_when_asked();
  if (queue_.waiting()) return;
  SDL_Event event;
  if (SDL_WaitEvent(&event) != 0) translate(event);
  close_when_asked();
}

bool Sdl2Shell::translate_accelerator(const Message& message) {
  return emulated::translate_accelerator(*this, message);
}

void Sdl2Shell::dispatch(const Message& message) {
  if (procedure_ == nullptr || sdl_window(main_window_, message.window) == nullptr) return;
  if (tracing_messages()) {
    trace("message 0x%04x %#lx %#lx", message.id, static_cast<unsigned long>(message.wparam),
          static_cast<unsigned long>(message.lparam));
  }
  if (procedure_(message).use_default) default_procedure(message);
}

void Sdl2Shell::default_procedure(const Message& message) {
  SDL_Window* sdl = sdl_window(main_window_, message.window);
  if (sdl == nullptr) return;
  switch (message.id) {
    case kWM_CLOSE:
      destroy_main_window();
      break;
    case kWM_SYSCOMMAND:
      if (message.wparam == kSC_CLOSE) dispatch(Message{sdl, kWM_CLOSE, 0, 0});
      if (message.wparam == kSC_MINIMIZE) SDL_MinimizeWindow(sdl);
      if (message.wparam == kSC_RESTORE) SDL_RestoreWindow(sdl);
      break;
    case kWM_SETCURSOR:
      set_cursor(Cursor::kArrow);  // the class cursor
      break;
    case kWM_NCLBUTTONDOWN:
      if (message.wparam == static_cast<std::uintptr_t>(kHTMENU) && main_window_.menu_attached) {
        const int x = static_cast<std::int16_t>(message.lparam & 0xFFFF);
        const int y = static_cast<std::int16_t>((message.lparam >> 16) & 0xFFFF);
        if (on_file_title(x, y)) {
          const std::uint16_t command = track_file_menu(sdl);
          if (command != 0) dispatch(Message{sdl, kWM_COMMAND, command, 0});
        }
      }
      break;
    case kWM_SYSKEYDOWN: {
      const bool alt = (static_cast<std::uint32_t>(message.lparam) & kKeyAlt) != 0;
      if (alt && message.wparam == kVK_F4) {
        dispatch(Message{sdl, kWM_SYSCOMMAND, kSC_CLOSE, 0});
      } else if (main_window_.menu_attached &&
                 (message.wparam == kVK_F10 || (alt && message.wparam == 'F'))) {
        const std::uint16_t command = track_file_menu(sdl);
        if (command != 0) dispatch(Message{sdl, kWM_COMMAND, command, 0});
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace platform::sdl2
