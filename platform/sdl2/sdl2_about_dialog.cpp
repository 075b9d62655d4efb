// Layout and drawing of the About dialog, and its messages.
#include "platform/sdl2/sdl2_about_dialog.h"

#include <cstdio>
#include <cstring>

#include "platform/font/bitmap_font.h"
#include "platform/sdl2/sdl2_modal_window.h"
#include "platform/sdl2/sdl2_text.h"
#include "platform/shell_system.h"
#include "resources/about_texts.h"

namespace platform::sdl2 {

namespace {

// Dialog units of the template (181x98, MS Sans Serif 8) at 3/2 pixel per horizontal unit
// and 13/8 per vertical unit, the classic Windows figures.
constexpr int px_x(int units) {
  return units * 3 / 2;
}
constexpr int px_y(int units) {
  return units * 13 / 8;
}

constexpr int kWidth = px_x(181);
constexpr int kHeight = px_y(98);
constexpr SDL_Rect kGroup{px_x(7), px_y(5), px_x(167), px_y(84)};
constexpr SDL_Rect kButton{px_x(52), px_y(66), px_x(78), px_y(14) + 2};

struct Line {
  const char* text;
  int top_units;
};
// Top to bottom as the template places them: caption, version, notice line.
constexpr Line kLines[] = {
    {MQ_ABOUT_PRODUCT_TEXT, 19}, {MQ_ABOUT_VERSION_TEXT, 34}, {MQ_ABOUT_NOTICE_TEXT, 49}};
constexpr char kGroupText[] = "About";
constexpr char kButtonText[] = "www.mql.example";

constexpr std::uint32_t kFace = 0xC8D0D4;  // GDI 0x00BBGGRR
constexpr std::uint32_t kText = 0x000000;
constexpr std::uint32_t kShadow = 0x808080;
constexpr std::uint32_t kLight = 0xFFFFFF;
constexpr std::uint32_t kDark = 0x404040;

void text(SDL_Surface* s, int x, int y, const char* t) {
  draw_text(s, x, y, t, static_cast<int>(std::strlen(t)), kText, kFace);
}

int width_of(const char* t) {
  return font::text_width(t, static_cast<int>(std::strlen(t)));
}

void draw(SDL_Surface* s, bool pressed) {
  fill_rect(s, 0, 0, s->w, s->h, kFace);
  // The group box: an etched frame whose label interrupts its top edge.
  const SDL_Rect g = kGroup;
  const int label_y = g.y - font::line_height() / 2 + 1;
  fill_rect(s, g.x, g.y, g.w, 1, kShadow);
  fill_rect(s, g.x + 1, g.y + 1, g.w - 1, 1, kLight);
  fill_rect(s, g.x, g.y + g.h - 2, g.w, 1, kShadow);
  fill_rect(s, g.x, g.y + g.h - 1, g.w, 1, kLight);
  fill_rect(s, g.x, g.y, 1, g.h, kShadow);
  fill_rect(s, g.x + 1, g.y + 1, 1, g.h - 2, kLight);
  fill_rect(s, g.x + g.w - 2, g.y, 1, g.h, kShadow);
  fill_rect(s, g.x + g.w - 1, g.y, 1, g.h, kLight);
  fill_rect(s, g.x + 8, g.y, width_of(kGroupText) + 4, 2, kFace);
  text(s, g.x + 10, label_y, kGroupText);
  for (const Line& line : kLines) {
    text(s, (kWidth - width_of(line.text)) / 2, px_y(line.top_units) - 3, line.text);
  }
  // The default push button: a dark outer frame, raised (or sunk while pressed).
  const SDL_Rect b = kButton;
  fill_rect(s, b.x, b.y, b.w, b.h, kDark);
  fill_rect(s, b.x + 1, b.y + 1, b.w - 2, b.h - 2, pressed ? kShadow : kLight);
  fill_rect(s, b.x + 2, b.y + 2, b.w - 3, b.h - 3, pressed ? kFace : kShadow);
  fill_rect(s, b.x + 2, b.y + 2, b.w - 4, b.h - 4, kFace);
  const int shift = pressed ? 1 : 0;
  text(s, b.x + (b.w - width_of(kButtonText)) / 2 + shift,
       b.y + (b.h - font::line_height()) / 2 + shift, kButtonText);
}

Message command(WindowHandle dialog, std::uint16_t id) {
  return Message{dialog, kWM_COMMAND, id, 0};
}

}  // namespace

bool run_about_dialog(SDL_Window* owner, WindowHandle dialog, DialogProcedure procedure,
                      const std::function<bool()>& ended) {
  // The template's caption is empty.
  SDL_Window* window = create_modal_window(owner, "", kWidth, kHeight);
  if (window == nullptr) {
    std::fprintf(stderr, "moviquel: cannot open the About dialog: %s\n", SDL_GetError());
    return false;
  }
  procedure(Message{dialog, kWM_INITDIALOG, 0, 0});
  run_modal_loop(
      window, kButton, draw,
      [&](ModalAction action) {
        switch (action) {
          case ModalAction::kDefault:
            procedure(command(dialog, kAboutWebButtonId));
            break;
          case ModalAction::kCancel:
            procedure(command(dialog, kIDCANCEL));
            break;
          case ModalAction::kMoved:
            procedure(Message{dialog, kWM_MOVE, 0, 0});
            break;
          case ModalAction::kNone:
            break;
        }
      },
      ended);
  return true;
}

}  // namespace platform::sdl2
