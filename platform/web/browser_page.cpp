// The page's script calls and the page's input handlers.
#include "platform/web/browser_page.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>

#include "platform/web/canvas_pixels.h"
#include "platform/web/web_keys.h"
#include "resources/about_texts.h"
#include "resources/commands.h"

namespace platform::web {

namespace {

// clang-format off
EM_JS(void, page_show_frame, (const std::uint8_t* rgba, int width, int height), {
  MoviquelPage.showFrame(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width,
                         height);
});
EM_JS(void, page_first_frame, (), { MoviquelPage.firstFrame(); });
EM_JS(void, page_set_full_screen, (int on), { MoviquelPage.setFullScreen(!!on); });
EM_JS(void, page_set_title, (const char* title), { MoviquelPage.setTitle(UTF8ToString(title)); });
EM_JS(void, page_show_menu_bar, (int shown), { MoviquelPage.showMenuBar(!!shown); });
EM_JS(void, page_open_file_menu, (), { MoviquelPage.openFileMenu(); });
EM_JS(void, page_set_file_menu, (const char* title), {
  MoviquelPage.setFileMenu(UTF8ToString(title));
});
EM_JS(void, page_add_menu_item, (int command, const char* text), {
  MoviquelPage.addMenuItem(command, UTF8ToString(text));
});
EM_JS(void, page_set_cursor, (int cursor), { MoviquelPage.setCursor(cursor); });
EM_JS(void, page_open_tab, (const char* address), {
  MoviquelPage.openTab(UTF8ToString(address));
});
EM_JS(void, page_show_message, (const char* caption, const char* text), {
  MoviquelPage.showMessage(UTF8ToString(caption), UTF8ToString(text));
});
EM_JS(void, page_show_about, (const char* product, const char* version, const char* notice,
                             const char* button), {
  MoviquelPage.showAbout(UTF8ToString(product), UTF8ToString(version), UTF8ToString(notice),
                         UTF8ToString(button));
});
EM_JS(void, page_close_about, (), { MoviquelPage.closeAbout(); });
EM_JS(void, page_ended, (), { MoviquelPage.ended(); });
EM_JS(void, page_started, (), { MoviquelPage.started(); });
EM_JS(int, page_width, (), { return window.innerWidth | 0; });
EM_JS(int, page_height, (), { return window.innerHeight | 0; });
// clang-format on

constexpr char kCanvas[] = "#canvas";
constexpr std::intptr_t kHTCLIENT = 1;

std::intptr_t make_lparam(int low, int high) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(low) & 0xFFFFu) |
                                    ((static_cast<std::uint32_t>(high) & 0xFFFFu) << 16));
}

// A point on the canvas (CSS pixels from its top-left) in the 640×480 picture's pixels.
std::intptr_t picture_point(double x, double y) {
  double css_width = 640.0;
  double css_height = 480.0;
  emscripten_get_element_css_size(kCanvas, &css_width, &css_height);
  const int px = std::clamp(static_cast<int>(x * 640.0 / std::max(css_width, 1.0)), 0, 639);
  const int py = std::clamp(static_cast<int>(y * 480.0 / std::max(css_height, 1.0)), 0, 479);
  return make_lparam(px, py);
}

// Where the page's handlers post to.
WebShell* target = nullptr;
BrowserPage* page = nullptr;

EM_BOOL on_key(int type, const EmscriptenKeyboardEvent* e, void*) {
  // A dialog in the page takes its own keys.
  if (target == nullptr || target->modal() || target->window() == nullptr) return EM_FALSE;
  KeyEvent key;
  key.code = e->code;
  key.down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  key.repeat = e->repeat != 0;
  key.alt = e->altKey != 0;
  key.shift = e->shiftKey != 0;
  key.ctrl = e->ctrlKey != 0;
  const Message message = key_message(target->window(), key);
  target->post(message.id, message.wparam, message.lparam);
  // The browser keeps its own shortcuts (with Ctrl or Meta, reload, full screen, tools);
  // every other key is the player's alone (Space would scroll, Alt and F10 open menus).
  const std::uint32_t code = message.wparam;
  const bool browser = e->ctrlKey != 0 || e->metaKey != 0 || code == 0x74 /* F5 */ ||
                       code == 0x7A /* F11 */ || code == 0x7B /* F12 */;
  return browser ? EM_FALSE : EM_TRUE;
}

EM_BOOL on_mouse(int type, const EmscriptenMouseEvent* e, void*) {
  if (target == nullptr || target->modal()) return EM_FALSE;
  const std::intptr_t at = picture_point(e->targetX, e->targetY);
  switch (type) {
    case EMSCRIPTEN_EVENT_MOUSEMOVE:
      target->post(kWM_SETCURSOR, reinterpret_cast<std::uintptr_t>(target->window()),
                   make_lparam(static_cast<int>(kHTCLIENT), static_cast<int>(kWM_MOUSEMOVE)));
      target->post(kWM_MOUSEMOVE, 0, at);
      return EM_FALSE;
    case EMSCRIPTEN_EVENT_MOUSEDOWN:
    case EMSCRIPTEN_EVENT_MOUSEUP: {
      const bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
      if (e->button == 0) target->post(down ? kWM_LBUTTONDOWN : kWM_LBUTTONUP, 0, at);
      if (e->button == 2) target->post(down ? kWM_RBUTTONDOWN : kWM_RBUTTONUP, 0, at);
      return EM_TRUE;
    }
    default:
      return EM_FALSE;
  }
}

// A tap is the left button, a two-finger tap the right one, at the first finger.
int most_fingers = 0;
double first_x = 0;
double first_y = 0;

EM_BOOL on_touch(int type, const EmscriptenTouchEvent* e, void*) {
  if (target == nullptr || target->modal()) return EM_FALSE;
  if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
    if (most_fingers == 0 && e->numTouches > 0) {
      first_x = e->touches[0].targetX;
      first_y = e->touches[0].targetY;
    }
    most_fingers = std::max(most_fingers, e->numTouches);
    return EM_TRUE;
  }
  // Touches still down after this event end the gesture later.
  int still_down = 0;
  for (int i = 0; i < e->numTouches; ++i) {
    if (e->touches[i].isChanged == 0) ++still_down;
  }
  if (still_down > 0) return EM_TRUE;
  const int fingers = most_fingers;
  most_fingers = 0;
  if (type == EMSCRIPTEN_EVENT_TOUCHCANCEL) return EM_TRUE;
  const std::intptr_t at = picture_point(first_x, first_y);
  if (fingers == 1) {
    target->post(kWM_LBUTTONDOWN, 0, at);
    target->post(kWM_LBUTTONUP, 0, at);
  } else if (fingers == 2) {
    target->post(kWM_RBUTTONDOWN, 0, at);
    target->post(kWM_RBUTTONUP, 0, at);
  }
  return EM_TRUE;
}

// The browser left full screen by itself (Esc, a gesture): the player goes windowed.
EM_BOOL on_full_screen_change(int, const EmscriptenFullscreenChangeEvent* e, void*) {
  if (target != nullptr && page != nullptr && e->isFullscreen == 0 && page->full_screen()) {
    target->post(kWM_COMMAND, MQ_COMMAND_ID(MQ_COMMAND_TOGGLE_FULL_SCREEN), 0);
  }
  return EM_FALSE;
}

// A hidden page is a minimised window: the player makes no frames.
EM_BOOL on_visibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
  if (target != nullptr) target->post(kWM_SIZE, e->hidden ? kSIZE_MINIMIZED : kSIZE_RESTORED, 0);
  return EM_FALSE;
}

}  // namespace

void BrowserPage::show(const std::uint8_t* pixels, std::int32_t pitch_bytes, std::int32_t width,
                       std::int32_t height, const PixelFormatDesc&) {
  rgba_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  rgb565_to_rgba(reinterpret_cast<const std::uint16_t*>(pixels), pitch_bytes / 2, width, height,
                 rgba_.data());
  page_show_frame(rgba_.data(), width, height);
  if (!first_shown_) {
    first_shown_ = true;
    page_first_frame();
  }
}

bool BrowserPage::set_full_screen(bool on) {
  full_screen_ = on;
  page_set_full_screen(on ? 1 : 0);
  return true;
}

void BrowserPage::set_title(const char* title) {
  page_set_title(title);
}

void BrowserPage::show_menu_bar(bool shown) {
  page_show_menu_bar(shown ? 1 : 0);
}

void BrowserPage::open_file_menu() {
  page_open_file_menu();
}

void BrowserPage::set_cursor(Cursor cursor) {
  page_set_cursor(static_cast<int>(cursor));
}

void BrowserPage::open_tab(const char* address) {
  page_open_tab(address);
}

void BrowserPage::show_message(const char* caption, const char* text) {
  page_show_message(caption, text);
}

void BrowserPage::show_about() {
  page_show_about(MQ_ABOUT_PRODUCT_TEXT, MQ_ABOUT_VERSION_TEXT, MQ_ABOUT_NOTICE_TEXT,
                  "www.mql.example");
}

void BrowserPage::close_about() {
  page_close_about();
}

std::int32_t BrowserPage::width() {
  return page_width();
}

std::int32_t BrowserPage::height() {
  return page_height();
}

void BrowserPage::ended() {
  page_ended();
}

void BrowserPage::started() {
  page_started();
}

void BrowserPage::listen(WebShell* shell) {
  target = shell;
  page = this;
  // The page's File menu is the command table's, as the resource script's is.
  page_set_file_menu(MQ_FILE_MENU_TITLE);
#define MQ_PAGE_MENU_ITEM(name, id, text) page_add_menu_item(id, text);
  MQ_FILE_MENU(MQ_PAGE_MENU_ITEM)
#undef MQ_PAGE_MENU_ITEM
  const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(window, nullptr, EM_TRUE, &on_key);
  emscripten_set_keyup_callback(window, nullptr, EM_TRUE, &on_key);
  emscripten_set_mousedown_callback(kCanvas, nullptr, EM_TRUE, &on_mouse);
  emscripten_set_mouseup_callback(kCanvas, nullptr, EM_TRUE, &on_mouse);
  emscripten_set_mousemove_callback(kCanvas, nullptr, EM_TRUE, &on_mouse);
  emscripten_set_touchstart_callback(kCanvas, nullptr, EM_TRUE, &on_touch);
  emscripten_set_touchend_callback(kCanvas, nullptr, EM_TRUE, &on_touch);
  emscripten_set_touchcancel_callback(kCanvas, nullptr, EM_TRUE, &on_touch);
  emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE,
                                           &on_full_screen_change);
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, &on_visibility);
}

}  // namespace platform::web

// The page's menu bar and dialogs answer through these.
extern "C" {

EMSCRIPTEN_KEEPALIVE void mq_web_command(int id) {
  if (platform::web::target != nullptr) {
    platform::web::target->post(platform::kWM_COMMAND, static_cast<std::uintptr_t>(id), 0);
  }
}

EMSCRIPTEN_KEEPALIVE void mq_web_dialog_command(int id) {
  if (platform::web::target != nullptr) {
    platform::web::target->dialog_command(static_cast<std::uint16_t>(id));
  }
}

EMSCRIPTEN_KEEPALIVE void mq_web_message_closed() {
  if (platform::web::target != nullptr) platform::web::target->message_closed();
}

}  // extern "C"
