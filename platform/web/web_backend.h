// The browser's backends of one page, made together over the page: the display (DirectDraw
// over memory with the canvas as its screen), the window system and shell services with the
// message queue, the compiled-in resources, and the clock that defers waits. Nothing here
// blocks: the clock's waits and the pump's wait return at once, and the page's animation
// frames drive the player's loop turn by turn.
#pragma once

#include <memory>

#include "platform/embedded/embedded_resource_store.h"
#include "platform/web/browser_page.h"
#include "platform/web/deferred_wait_clock.h"
#include "platform/web/web_display.h"
#include "platform/web/web_shell.h"
#include "platform/window_system.h"

namespace platform::web {

// Whether an animation frame may run the player's next loop turn: no dialog of the page is
// open (a modal loop would hold the player there), and the wait of the last frame is over.
inline bool turn_due(const WebShell& shell, DeferredWaitClock& clock) {
  return !shell.modal() && clock.due();
}

struct WebBackend {
  // Listens to the page's input, which the shell queues.
  WebBackend();
  WebBackend(const WebBackend&) = delete;
  WebBackend& operator=(const WebBackend&) = delete;

  // The backends as the portable code takes them (none owned by the result).
  Services services();
  // A run begins: the page hides its "Play again".
  void started();
  // A run has ended: the main window goes if it is still there (its procedure sees
  // WM_DESTROY, which releases what is left of the display), and the page offers
  // "Play again".
  void close();
  bool turn_due() { return web::turn_due(shell, clock); }

  BrowserPage page;
  WebShell shell{&page};
  WebDisplaySystem display{&page};
  EmbeddedResourceStore resources;
  DeferredWaitClock clock;
};

// The backends over the page.
std::unique_ptr<WebBackend> make_web_backend();

}  // namespace platform::web
