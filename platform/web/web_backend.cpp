// Making the browser's backends of one page.
#include "platform/web/web_backend.h"

#include "platform/embedded/embedded_resources.h"

namespace platform::web {

WebBackend::WebBackend() : resources(embedded_resources()) {
  page.listen(&shell);
}

Services WebBackend::services() {
  return Services{&display, &shell, &resources, &shell, &clock};
}

void WebBackend::started() {
  page.started();
}

void WebBackend::close() {
  shell.destroy_main_window();
  page.ended();
}

std::unique_ptr<WebBackend> make_web_backend() {
  return std::make_unique<WebBackend>();
}

}  // namespace platform::web
