// Layout and drawing of the backend's own message box.
#include "platform/sdl2/sdl2_message_window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/font/bitmap_font.h"
#include "platform/sdl2/sdl2_modal_window.h"
#include "platform/sdl2/sdl2_text.h"

namespace platform::sdl2 {

namespace {

constexpr int kMargin = 24;  // left and right of the text and the button
constexpr int kTop = 18;
constexpr int kGap = 16;  // between the text and the button
constexpr int kBottom = 12;
constexpr int kButtonWidth = 75;  // a Windows push button of 50x14 dialog units
constexpr int kButtonHeight = 23;
constexpr int kMinWidth = 180;
constexpr int kMaxTextWidth = 560;  // longer lines are wrapped between words
constexpr char kButtonText[] = "OK";

constexpr std::uint32_t kFace = 0xC8D0D4;  // GDI 0x00BBGGRR
constexpr std::uint32_t kText = 0x000000;
constexpr std::uint32_t kShadow = 0x808080;
constexpr std::uint32_t kLight = 0xFFFFFF;
constexpr std::uint32_t kDark = 0x404040;

int width_of(const std::string& t) {
  return font::text_width(t.c_str(), static_cast<int>(t.size()));
}

// The text's lines: split at line breaks, long lines wrapped between words; a final line
// break adds no empty line.
std::vector<std::string> lines_of(const char* text) {
  std::vector<std::string> lines;
  std::string rest = text != nullptr ? text : "";
  if (!rest.empty() && rest.back() == '\n') rest.pop_back();
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('\n', start);
    if (end == std::string::npos) end = rest.size();
    std::string line = rest.substr(start, end - start);
    while (width_of(line) > kMaxTextWidth) {
      // The longest head that fits (at least one character), cut at its last space when it
      // has one.
      std::size_t fit = 1;
      int width = font::glyph_advance(line[0]);
      while (fit < line.size() && width + font::glyph_advance(line[fit]) <= kMaxTextWidth) {
        width += font::glyph_advance(line[fit++]);
      }
      const std::size_t space = line.rfind(' ', fit);
      const bool at_space = space != std::string::npos && space > 0;
      const std::size_t cut = at_space ? space : fit;
      lines.push_back(line.substr(0, cut));
      line.erase(0, at_space ? cut + 1 : cut);
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

struct Layout {
  std::vector<std::string> lines;
  int width = 0;
  int height = 0;
  SDL_Rect button{};
};

Layout layout_of(const char* text) {
  Layout l;
  l.lines = lines_of(text);
  int text_width = 0;
  for (const std::string& line : l.lines) text_width = std::max(text_width, width_of(line));
  l.width = std::max({kMinWidth, text_width + 2 * kMargin, kButtonWidth + 2 * kMargin});
  const int text_height = static_cast<int>(l.lines.size()) * font::line_height();
  l.button = SDL_Rect{(l.width - kButtonWidth) / 2, kTop + text_height + kGap, kButtonWidth,
                      kButtonHeight};
  l.height = l.button.y + kButtonHeight + kBottom;
  return l;
}

void text(SDL_Surface* s, int x, int y, const std::string& t) {
  draw_text(s, x, y, t.c_str(), static_cast<int>(t.size()), kText, kFace);
}

void draw(SDL_Surface* s, const Layout& l, bool pressed) {
  fill_rect(s, 0, 0, s->w, s->h, kFace);
  for (std::size_t i = 0; i < l.lines.size(); ++i) {
    text(s, kMargin, kTop + static_cast<int>(i) * font::line_height(), l.lines[i]);
  }
  // The default push button: a dark outer frame, raised (or sunk while pressed).
  const SDL_Rect b = l.button;
  fill_rect(s, b.x, b.y, b.w, b.h, kDark);
  fill_rect(s, b.x + 1, b.y + 1, b.w - 2, b.h - 2, pressed ? kShadow : kLight);
  fill_rect(s, b.x + 2, b.y + 2, b.w - 3, b.h - 3, pressed ? kFace : kShadow);
  fill_rect(s, b.x + 2, b.y + 2, b.w - 4, b.h - 4, kFace);
  const int shift = pressed ? 1 : 0;
  text(s, b.x + (b.w - width_of(kButtonText)) / 2 + shift,
       b.y + (b.h - font::line_height()) / 2 + shift, kButtonText);
}

}  // namespace

bool run_message_window(SDL_Window* owner, const char* caption, const char* text) {
  const Layout l = layout_of(text);
  SDL_Window* window = create_modal_window(owner, caption, l.width, l.height);
  if (window == nullptr) return false;
  bool answered = false;
  run_modal_loop(
      window, l.button, [&l](SDL_Surface* s, bool pressed) { draw(s, l, pressed); },
      [&answered](ModalAction action) {
        if (action == ModalAction::kDefault || action == ModalAction::kCancel) answered = true;
      },
      [&answered] { return answered; });
  return true;
}

}  // namespace platform::sdl2
