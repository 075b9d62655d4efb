// Drawing and modal tracking of the File menu.
#include "platform/sdl2/sdl2_menu_bar.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "platform/font/bitmap_font.h"
#include "platform/sdl2/sdl2_main_window.h"
#include "platform/sdl2/sdl2_termination.h"
#include "platform/sdl2/sdl2_text.h"
#include "resources/commands.h"

namespace platform::sdl2 {

namespace {

// The items of the command table, each between two separators as in the resource script.
#define MQ_MENU_ITEM(name, id, text) MenuItem{nullptr, 0}, MenuItem{text, id}, MenuItem{nullptr, 0},
constexpr MenuItem kFileMenu[] = {MQ_FILE_MENU(MQ_MENU_ITEM)};
#undef MQ_MENU_ITEM

// Classic Windows menu colours (GDI 0x00BBGGRR).
constexpr std::uint32_t kMenuFace = 0xC8D0D4;
constexpr std::uint32_t kMenuText = 0x000000;
constexpr std::uint32_t kHighlight = 0x6A240A;
constexpr std::uint32_t kHighlightText = 0xFFFFFF;
constexpr std::uint32_t kShadow = 0x808080;
constexpr std::uint32_t kLight = 0xFFFFFF;

constexpr int kTitleX = 2;
constexpr int kTitlePadding = 8;
constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 8;
constexpr int kTextLeft = 22;
constexpr int kShortcutGap = 28;
constexpr int kTextRight = 18;

const char kTitle[] = MQ_FILE_MENU_TITLE;

// Text without the "&" marks, with the position of the mnemonic character (or -1).
struct Label {
  char text[64];
  int mnemonic;
};

Label strip(const char* text, std::size_t length) {
  Label label{{}, -1};
  std::size_t out = 0;
  for (std::size_t i = 0; i < length && out + 1 < sizeof label.text; ++i) {
    if (text[i] == '&' && i + 1 < length) {
      label.mnemonic = static_cast<int>(out);
      continue;
    }
    label.text[out++] = text[i];
  }
  label.text[out] = '\0';
  return label;
}

// Draws a label with its mnemonic underlined on the background colour; returns its width.
int draw_label(SDL_Surface* s, int x, int y, const Label& label, std::uint32_t color,
               std::uint32_t background) {
  const int length = static_cast<int>(std::strlen(label.text));
  draw_text(s, x, y, label.text, length, color, background);
  if (label.mnemonic >= 0) {
    const int from = x + font::text_width(label.text, label.mnemonic);
    const int width = font::glyph_advance(label.text[label.mnemonic]) - 1;
    fill_rect(s, from, y + font::line_height() - 2, width, 1, color);
  }
  return font::text_width(label.text, length);
}

int title_width() {
  const Label l = strip(kTitle, sizeof kTitle - 1);
  return font::text_width(l.text, static_cast<int>(std::strlen(l.text))) + 2 * kTitlePadding;
}

void draw_bar(SDL_Surface* screen, bool open) {
  fill_rect(screen, 0, 0, screen->w, kMenuBarHeight, kMenuFace);
  const int width = title_width();
  if (open) fill_rect(screen, kTitleX, 0, width, kMenuBarHeight, kHighlight);
  const int y = (kMenuBarHeight - font::line_height()) / 2;
  draw_label(screen, kTitleX + kTitlePadding, y, strip(kTitle, sizeof kTitle - 1),
             open ? kHighlightText : kMenuText, open ? kHighlight : kMenuFace);
}

// The drop-down's geometry: item tops, total size.
struct Layout {
  int x = kTitleX, y = kMenuBarHeight, width = 0, height = 0;
  std::vector<int> tops;
};

Layout layout() {
  Layout l;
  int left = 0, right = 0;
  int top = 2;
  for (const MenuItem& item : kFileMenu) {
    l.tops.push_back(top);
    if (item.command == 0) {
      top += kSeparatorHeight;
      continue;
    }
    top += kItemHeight;
    const char* tab = std::strchr(item.text, '\t');
    const std::size_t head =
        tab ? static_cast<std::size_t>(tab - item.text) : std::strlen(item.text);
    const Label a = strip(item.text, head);
    left = std::max(left, font::text_width(a.text, static_cast<int>(std::strlen(a.text))));
    if (tab)
      right = std::max(right, font::text_width(tab + 1, static_cast<int>(std::strlen(tab + 1))));
  }
  l.width = kTextLeft + left + kShortcutGap + right + kTextRight;
  l.height = top + 2;
  return l;
}

void draw_dropdown(SDL_Surface* s, const Layout& l, int highlighted) {
  fill_rect(s, l.x, l.y, l.width, l.height, kMenuFace);
  fill_rect(s, l.x, l.y, l.width, 1, kLight);
  fill_rect(s, l.x, l.y, 1, l.height, kLight);
  fill_rect(s, l.x, l.y + l.height - 1, l.width, 1, kShadow);
  fill_rect(s, l.x + l.width - 1, l.y, 1, l.height, kShadow);
  const int text_dy = (kItemHeight - font::line_height()) / 2;
  for (std::size_t i = 0; i < l.tops.size(); ++i) {
    const MenuItem& item = kFileMenu[i];
    const int top = l.y + l.tops[i];
    if (item.command == 0) {
      fill_rect(s, l.x + 2, top + kSeparatorHeight / 2 - 1, l.width - 4, 1, kShadow);
      fill_rect(s, l.x + 2, top + kSeparatorHeight / 2, l.width - 4, 1, kLight);
      continue;
    }
    const bool lit = static_cast<int>(i) == highlighted;
    if (lit) fill_rect(s, l.x + 2, top, l.width - 4, kItemHeight, kHighlight);
    const std::uint32_t color = lit ? kHighlightText : kMenuText;
    const std::uint32_t background = lit ? kHighlight : kMenuFace;
    const char* tab = std::strchr(item.text, '\t');
    const std::size_t head =
        tab ? static_cast<std::size_t>(tab - item.text) : std::strlen(item.text);
    draw_label(s, l.x + kTextLeft, top + text_dy, strip(item.text, head), color, background);
    if (tab) {
      const Label shortcut = strip(tab + 1, std::strlen(tab + 1));
      const int w = font::text_width(shortcut.text, static_cast<int>(std::strlen(shortcut.text)));
      draw_label(s, l.x + l.width - kTextRight - w, top + text_dy, shortcut, color, background);
    }
  }
}

int item_at(const Layout& l, int x, int y) {
  if (x < l.x || x >= l.x + l.width || y < l.y || y >= l.y + l.height) return -1;
  for (std::size_t i = 0; i < l.tops.size(); ++i) {
    const int top = l.y + l.tops[i];
    const int height = kFileMenu[i].command == 0 ? kSeparatorHeight : kItemHeight;
    if (y >= top && y < top + height) return kFileMenu[i].command == 0 ? -1 : static_cast<int>(i);
  }
  return -1;
}

// The item whose mnemonic is the key (SDL's key codes of letters are their lower-case
// characters), or -1.
int item_with_mnemonic(SDL_Keycode key) {
  for (std::size_t i = 0; i < std::size(kFileMenu); ++i) {
    const char* text = kFileMenu[i].text;
    const char* mark = text != nullptr ? std::strchr(text, '&') : nullptr;
    if (mark != nullptr && std::tolower(static_cast<unsigned char>(mark[1])) == key) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int next_item(int from, int step) {
  const int count = static_cast<int>(std::size(kFileMenu));
  int i = from;
  for (int n = 0; n < count; ++n) {
    i = ((i + step) % count + count) % count;
    if (kFileMenu[i].command != 0) return i;
  }
  return from;
}

}  // namespace

std::span<const MenuItem> file_menu_items() {
  return kFileMenu;
}

void draw_menu_bar(SDL_Surface* screen) {
  if (screen != nullptr) draw_bar(screen, false);
}

bool on_file_title(int x, int y) {
  return y >= 0 && y < kMenuBarHeight && x >= kTitleX && x < kTitleX + title_width();
}

std::uint16_t track_file_menu(SDL_Window* window) {
  SDL_Surface* screen = SDL_GetWindowSurface(window);
  if (screen == nullptr) return 0;
  const Layout l = layout();
  // Keep what the drop-down covers, to put it back when the menu closes.
  SDL_Rect covered{l.x, l.y, l.width, l.height};
  SDL_Surface* saved = SDL_CreateRGBSurfaceWithFormat(
      0, l.width, l.height, screen->format->BitsPerPixel, screen->format->format);
  if (saved != nullptr) SDL_BlitSurface(screen, &covered, saved, nullptr);

  int highlighted = -1;
  std::uint16_t chosen = 0;
  bool open = true;
  std::vector<SDL_Event> deferred;
  while (open && !termination_requested()) {
    screen = SDL_GetWindowSurface(window);
    if (screen == nullptr) break;
    draw_bar(screen, true);
    draw_dropdown(screen, l, highlighted);
    SDL_UpdateWindowSurface(window);
    SDL_Event e;
    if (SDL_WaitEvent(&e) == 0) break;
    switch (e.type) {
      case SDL_MOUSEMOTION:
        highlighted = item_at(l, e.motion.x, e.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (on_file_title(e.button.x, e.button.y)) {
          open = false;  // a second click on the title closes the menu
        } else if (item_at(l, e.button.x, e.button.y) < 0) {
          open = false;
        }
        break;
      case SDL_MOUSEBUTTONUP: {
        const int i = item_at(l, e.button.x, e.button.y);
        if (i >= 0) {
          chosen = kFileMenu[i].command;
          open = false;
        }
        break;
      }
      case SDL_KEYDOWN:
        switch (e.key.keysym.sym) {
          case SDLK_ESCAPE:
          case SDLK_F10:
          case SDLK_LALT:
          case SDLK_RALT:
            open = false;
            break;
          case SDLK_DOWN:
            highlighted = next_item(highlighted < 0 ? -1 : highlighted, 1);
            break;
          case SDLK_UP:
            highlighted = next_item(highlighted < 0 ? 0 : highlighted, -1);
            break;
          case SDLK_RETURN:
          case SDLK_KP_ENTER:
            if (highlighted >= 0) chosen = kFileMenu[highlighted].command;
            open = false;
            break;
          default:
            if (const int i = item_with_mnemonic(e.key.keysym.sym); i >= 0) {
              chosen = kFileMenu[i].command;
              open = false;
            }
            break;
        }
        break;
      case SDL_KEYUP:
      case SDL_TEXTINPUT:
      case SDL_MOUSEWHEEL:
        break;
      default:
        deferred.push_back(e);
        if (e.type == SDL_QUIT ||
            (e.type == SDL_WINDOWEVENT && (e.window.event == SDL_WINDOWEVENT_CLOSE ||
                                           e.window.event == SDL_WINDOWEVENT_MINIMIZED))) {
          open = false;
        }
        break;
    }
  }
  screen = SDL_GetWindowSurface(window);
  if (screen != nullptr) {
    if (saved != nullptr) SDL_BlitSurface(saved, nullptr, screen, &covered);
    draw_bar(screen, false);
    SDL_UpdateWindowSurface(window);
  }
  SDL_FreeSurface(saved);
  for (SDL_Event& e : deferred) SDL_PushEvent(&e);
  return chosen;
}

}  // namespace platform::sdl2
