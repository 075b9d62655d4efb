// The browser's entry point: makes the page's backends, then a run of the player windowed,
// since a browser enters full screen only on the user's gesture.
// A timer set to the player's next due time drives the main loop one turn at a time: the
// page does nothing between frames. A hidden page (a minimised window) or an open dialog
// sets no timer; the next input, a visibility change among them, sets one again. After an
// exit the page offers "Play again", which makes a fresh run, with the photos the page was
// given if any.
#include <emscripten.h>
#include <emscripten/eventloop.h>

#include <memory>

#include "app/main_loop.h"
#include "app/player.h"
#include "app/shell.h"
#include "app/web_photos.h"
#include "platform/web/web_backend.h"

namespace {

std::unique_ptr<platform::web::WebBackend> backend;
// One run of the player, from start-up to exit.
std::unique_ptr<app::Player> run;
// A turn is scheduled (a timer is set).
bool turn_scheduled = false;

// The photos the page was given, for the runs to come.
struct PagePhotos {
  std::int32_t count = 0;
  bool shuffle = false;
  bool contain = false;
};
PagePhotos page_photos;

void schedule_turn(double delay_ms);

// The window goes (with what is left of the display) before the run it works on.
void end_run() {
  backend->close();
  run.reset();
}

void on_turn(void*) {
  turn_scheduled = false;
  if (run == nullptr) return;
  if (backend->turn_due()) {
    if (!app::main_loop_step(*run, backend->shell).running) {
      end_run();
      return;
    }
  }
  // Hidden, or a dialog open: nothing until input comes. Otherwise the next frame's time.
  if (!run->active() || backend->shell.modal()) return;
  schedule_turn(backend->clock.wait_left_ms());
}

void schedule_turn(double delay_ms) {
  if (turn_scheduled || run == nullptr) return;
  turn_scheduled = true;
  emscripten_set_timeout(&on_turn, delay_ms, nullptr);
}

void start_run() {
  backend->started();
  run = std::make_unique<app::Player>(backend->services(), app::StartMode::kWindowed);
  if (!app::start_player(*run, 1 /* SW_SHOWNORMAL */)) {
    end_run();
    return;
  }
  if (page_photos.count > 0) {
    run->play_photos(
        app::begin_page_photos(page_photos.count, page_photos.shuffle, page_photos.contain));
  }
  schedule_turn(0);
}

}  // namespace

extern "C" {

// The page's "Play again" button.
EMSCRIPTEN_KEEPALIVE void mq_web_play_again() {
  if (run == nullptr) start_run();
}

// The page was given count photos (picked or dropped), which it keeps in the order of their
// paths: the player plays them from now on.
EMSCRIPTEN_KEEPALIVE void mq_web_open_photos(int count, int shuffle, int contain) {
  page_photos = {count, shuffle != 0, contain != 0};
  if (run != nullptr && count > 0) {
    run->play_photos(app::begin_page_photos(count, shuffle != 0, contain != 0));
    schedule_turn(0);
  }
}

}  // extern "C"

int main() {
  backend = platform::web::make_web_backend();
  // Input may wake a player that set no timer.
  backend->shell.on_input = [] { schedule_turn(0); };
  start_run();
  // The runtime stays alive for the page's timers and events.
  return 0;
}
