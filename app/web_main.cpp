// The browser's entry point: makes the page's backends, then a run of the player windowed,
// since a browser enters full screen only on the user's gesture.
// The browser's animation frames drive the main loop one turn at a time, a turn only when
// the player's own timing says it is due; a hidden page gets no animation frames and so uses
// nothing. After an exit the page offers "Play again", which makes a fresh run.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <memory>

#include "app/main_loop.h"
#include "app/player.h"
#include "app/shell.h"
#include "platform/web/web_backend.h"

namespace {

std::unique_ptr<platform::web::WebBackend> backend;
// One run of the player, from start-up to exit.
std::unique_ptr<app::Player> run;

// The window goes (with what is left of the display) before the run it works on.
void end_run() {
  backend->close();
  run.reset();
}

EM_BOOL on_animation_frame(double, void*) {
  if (!backend->turn_due()) return EM_TRUE;
  if (app::main_loop_step(*run, backend->shell).running) return EM_TRUE;
  end_run();
  return EM_FALSE;
}

void start_run() {
  backend->started();
  run = std::make_unique<app::Player>(backend->services(), app::StartMode::kWindowed);
  if (!app::start_player(*run, 1 /* SW_SHOWNORMAL */)) {
    end_run();
    return;
  }
  emscripten_request_animation_frame_loop(&on_animation_frame, nullptr);
}

}  // namespace

// The page's "Play again" button.
extern "C" EMSCRIPTEN_KEEPALIVE void mq_web_play_again() {
  if (run == nullptr) start_run();
}

int main() {
  backend = platform::web::make_web_backend();
  start_run();
  // The runtime stays alive for the page's animation frames and events.
  return 0;
}
