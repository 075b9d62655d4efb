// The SDL2 backend's message box: the message goes to standard error and into a window of
// the backend's own, answered as a box is. SDL's dummy video driver stands in for the
// screen and saves each drawn frame as a BMP file.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/font/bitmap_font.h"
#include "platform/sdl2/sdl2_message_window.h"
#include "platform/sdl2/sdl2_window_system.h"

namespace platform::sdl2 {
namespace {

constexpr char kCaption[] = "Moviquel Player";
constexpr char kText[] = "This display card does not support 640x480x16 ";

// What a user does to a box: the events sent to it once it is shown.
enum class Answer { kEnter, kKeypadEnter, kSpace, kEscape, kClickOnOk, kCloseBox, kQuit };

struct Watch {
  Answer answer = Answer::kEnter;
  std::vector<std::string> shown;  // titles of the windows shown
  std::vector<Uint32> ids;         // and their ids
  int width = 0, height = 0;       // of the last one
  std::vector<int> heights;
};

void push_key(Uint32 type, Uint32 window, SDL_Keycode key) {
  SDL_Event e{};
  e.type = type;
  e.key.windowID = window;
  e.key.keysym.sym = key;
  SDL_PushEvent(&e);
}

void push_click(Uint32 window, int x, int y) {
  for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = window;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }
}

// Answers each window as it is shown.
int answer_when_shown(void* data, SDL_Event* event) {
  if (event->type != SDL_WINDOWEVENT || event->window.event != SDL_WINDOWEVENT_SHOWN) return 0;
  auto& watch = *static_cast<Watch*>(data);
  const Uint32 id = event->window.windowID;
  SDL_Window* window = SDL_GetWindowFromID(id);
  // A closed box's events come back to the queue behind a new box's.
  if (window == nullptr || std::find(watch.ids.begin(), watch.ids.end(), id) != watch.ids.end()) {
    return 0;
  }
  watch.ids.push_back(id);
  watch.shown.emplace_back(SDL_GetWindowTitle(window));
  SDL_GetWindowSize(window, &watch.width, &watch.height);
  watch.heights.push_back(watch.height);
  auto key = [id](SDL_Keycode k) {
    push_key(SDL_KEYDOWN, id, k);
    push_key(SDL_KEYUP, id, k);
  };
  switch (watch.answer) {
    case Answer::kEnter:
      // A key released without its press seen by the box (held from before) does nothing.
      push_key(SDL_KEYUP, id, SDLK_ESCAPE);
      key(SDLK_RETURN);
      break;
    case Answer::kKeypadEnter:
      key(SDLK_KP_ENTER);
      break;
    case Answer::kSpace:
      key(SDLK_SPACE);
      break;
    case Answer::kEscape:
      key(SDLK_ESCAPE);
      break;
    case Answer::kClickOnOk:
      push_click(id, 5, 5);  // beside the button: nothing
      push_click(id, watch.width / 2, watch.height - 20);
      break;
    case Answer::kCloseBox: {
      SDL_Event e{};
      e.type = SDL_WINDOWEVENT;
      e.window.windowID = id;
      e.window.event = SDL_WINDOWEVENT_CLOSE;
      SDL_PushEvent(&e);
      break;
    }
    case Answer::kQuit: {
      SDL_Event e{};
      e.type = SDL_QUIT;
      SDL_PushEvent(&e);
      break;
    }
  }
  return 0;
}

class Sdl2MessageWindow : public testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("mq_message_box_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_setenv("SDL_VIDEO_DUMMY_SAVE_FRAMES", "1", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_AddEventWatch(answer_when_shown, &watch_);
  }
  void TearDown() override {
    SDL_DelEventWatch(answer_when_shown, &watch_);
    SDL_Quit();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder_);
  }
  // Shows the message through the window system; returns what went to standard error.
  std::string show() {
    Sdl2WindowSystem windows(window_, [](const Message&) {});
    testing::internal::CaptureStderr();
    windows.message_box(nullptr, kText, kCaption, kMessageBoxIconError);
    return testing::internal::GetCapturedStderr();
  }
  std::filesystem::path folder_;
  Watch watch_;
  MainWindow window_;  // no window: the boxes have no owner
};

TEST_F(Sdl2MessageWindow, TheMessageIsWrittenToStderrAndShownInAWindowOfItsOwn) {
  const std::string err = show();
  EXPECT_EQ(err, std::string("moviquel: \"") + kCaption + "\": " + kText + "\n");
  ASSERT_EQ(watch_.shown, std::vector<std::string>{kCaption});
  // The text's one line fits (9 pixels a character), above an OK button.
  EXPECT_GT(watch_.width, 47 * 9);
  EXPECT_LT(watch_.width, 640);
  EXPECT_GT(watch_.height, 16 + 23);

  // Its last drawn frame: a grey face with black text and the button's dark frame.
  SDL_Surface* frame = nullptr;
  for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
    if (frame != nullptr) SDL_FreeSurface(frame);
    frame = SDL_LoadBMP(entry.path().c_str());
  }
  ASSERT_NE(frame, nullptr) << "no frame was drawn";
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(frame, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(frame);
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(rgb->w, watch_.width);
  int ink_rows_text = 0, ink_rows_button = 0;
  for (int y = 0; y < rgb->h; ++y) {
    const auto* row =
        reinterpret_cast<const Uint32*>(static_cast<Uint8*>(rgb->pixels) + y * rgb->pitch);
    int ink = 0;
    for (int x = 0; x < rgb->w; ++x) ink += (row[x] & 0xFFFFFF) == 0 ? 1 : 0;
    if (ink > 0) (y < rgb->h / 2 ? ink_rows_text : ink_rows_button) += 1;
  }
  EXPECT_EQ(static_cast<Uint32*>(rgb->pixels)[0] & 0xFFFFFF, 0xD4D0C8u);
  EXPECT_GT(ink_rows_text, 8);
  EXPECT_GT(ink_rows_button, 8);  // "OK"
  SDL_FreeSurface(rgb);
}

TEST_F(Sdl2MessageWindow, TheOwnWindowIsAnsweredByEnterSpaceEscAClickOnOkOrItsCloseBox) {
  for (Answer answer : {Answer::kKeypadEnter, Answer::kSpace, Answer::kEscape, Answer::kClickOnOk,
                        Answer::kCloseBox}) {
    watch_.answer = answer;
    watch_.shown.clear();
    show();  // returns only once answered
    EXPECT_EQ(watch_.shown.size(), 1u) << static_cast<int>(answer);
  }
}

TEST_F(Sdl2MessageWindow, PlayerEventsWaitUntilTheOwnWindowIsAnsweredAndAQuitAnswersItAndStays) {
  SDL_Window* owner = SDL_CreateWindow("owner", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
  ASSERT_NE(owner, nullptr);
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  SDL_Event moved{};
  moved.type = SDL_WINDOWEVENT;
  moved.window.windowID = SDL_GetWindowID(owner);
  moved.window.event = SDL_WINDOWEVENT_MOVED;
  SDL_PushEvent(&moved);
  watch_.answer = Answer::kQuit;
  run_message_window(owner, kCaption, kText);
  // What is left in the queue, read without pumping.
  std::vector<Uint32> kept;
  SDL_Event e;
  while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
    if (e.type == SDL_QUIT ||
        (e.type == SDL_WINDOWEVENT && e.window.windowID == moved.window.windowID &&
         e.window.event == SDL_WINDOWEVENT_MOVED)) {
      kept.push_back(e.type);
    }
  }
  EXPECT_EQ(kept, (std::vector<Uint32>{SDL_WINDOWEVENT, SDL_QUIT}));
  SDL_DestroyWindow(owner);
}

TEST_F(Sdl2MessageWindow, LineBreaksStartNewLinesAndLongLinesWrapWithinTheWindow) {
  Sdl2WindowSystem windows(window_, [](const Message&) {});
  const std::string long_line(300, 'W');
  testing::internal::CaptureStderr();
  windows.message_box(nullptr, "one\ntwo\nthree\n", kCaption, kMessageBoxIconError);
  windows.message_box(nullptr, long_line.c_str(), kCaption, kMessageBoxIconError);
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(watch_.heights.size(), 2u);
  // Three lines, no empty fourth for the final break; the long line in lines of at most 560
  // pixels.
  const int per_line = 560 / font::glyph_advance('W');
  const int wrapped = (300 + per_line - 1) / per_line;
  EXPECT_EQ(watch_.heights[1] - watch_.heights[0], (wrapped - 3) * font::line_height());
  EXPECT_LE(watch_.width, 560 + 48);
}

}  // namespace
}  // namespace platform::sdl2
