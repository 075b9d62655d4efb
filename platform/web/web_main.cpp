// The browser's entry point: installs the page's backends, the compiled-in resources and
// the clock that defers waits as the platform services, starts the player windowed (a
// browser enters full screen only on the user's gesture) and drives the main loop from the
// browser's animation frames: every waiting message, then one frame when the player's own
// timing says it is due. A hidden page gets no animation frames and so uses nothing. After
// an exit the page offers "Play again", which starts the player afresh.
#include <emscripten.h>
#include <emscripten/html5.h>

#include "app/picture_switch.h"
#include "app/pictures.h"
#include "app/shell.h"
#include "app/shell_state.h"
#include "app/texts.h"
#include "display/display_setup.h"
#include "engine/scene.h"
#include "platform/clock.h"
#include "platform/embedded/embedded_resource_store.h"
#include "platform/web/browser_page.h"
#include "platform/web/deferred_wait_clock.h"
#include "platform/web/web_display.h"
#include "platform/web/web_shell.h"
#include "platform/window_system.h"

namespace {

namespace web = platform::web;

web::BrowserPage page;
web::WebShell shell(&page);
web::WebDisplaySystem display_system(&page);
platform::EmbeddedResourceStore resources(platform::embedded_resources());
web::DeferredWaitClock player_clock;

// Ends a run: the window goes if start-up failed with it open, and the page offers
// "Play again".
void end() {
  shell.destroy_main_window();
  page.ended();
}

// The start-up of app::win_main without its loop.
bool start() {
  // A fresh run: the flags as a new program has them, windowed.
  app::windowed = 1;
  app::show_statistics = 0;
  engine::info_mode = 0;
  if (platform::failed(app::start_window_and_display(1 /* SW_SHOWNORMAL */))) return false;
  bool shown = app::load_pictures();
  if (shown) {
    app::install_picture_switch();
    shown = app::show_picture();
  }
  if (!shown) {
    display::release_display();
    shell.message_box(app::main_window, app::damaged_pictures_text, app::product_caption,
                      platform::kMessageBoxIconError);
    return false;
  }
  return true;
}

// One turn of app::run_main_loop per animation frame.
EM_BOOL on_animation_frame(double, void*) {
  while (!shell.modal() && shell.peek()) {
    platform::Message message;
    if (!shell.get(&message)) {
      end();
      return EM_FALSE;
    }
    if (!shell.translate_accelerator(message)) shell.dispatch(message);
  }
  if (shell.modal() || app::app_active == 0 || !player_clock.due()) return EM_TRUE;
  if (platform::succeeded(app::frame_step(app::main_window))) return EM_TRUE;
  display::release_device();
  shell.message_box(app::main_window, app::frame_failed_text, app::product_caption,
                    platform::kMessageBoxIconError);
  end();
  return EM_FALSE;
}

void run() {
  page.started();
  if (!start()) {
    end();
    return;
  }
  emscripten_request_animation_frame_loop(&on_animation_frame, nullptr);
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void mq_web_play_again() {
  if (shell.window() != nullptr) return;  // still running
  run();
}

int main() {
  platform::Services& services = platform::services();
  services.display = &display_system;
  services.windows = &shell;
  services.resources = &resources;
  services.shell = &shell;
  platform::set_clock(&player_clock);
  page.listen(&shell);
  run();
  // The runtime stays alive for the page's animation frames and events.
  return 0;
}
