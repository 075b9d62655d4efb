// The page's photo decoder: the decoder and the fit alone, compiled to a WebAssembly of its
// own that runs in a Web Worker (platform/web/photo_worker.js), so that fitting a large photo
// never holds up the player's frames on the page's thread. One photo at a time: its bytes
// in, the frame's pixels or the reason it cannot be shown out.
#include <emscripten.h>

#include <cstdint>
#include <vector>

#include "app/photo_frame.h"
#include "photos/photo_file.h"

namespace {

std::vector<std::uint8_t> file_bytes;
photos::FittedPhoto fitted;

}  // namespace

extern "C" {

// Room for a file's bytes.
EMSCRIPTEN_KEEPALIVE std::uint8_t* mq_photo_buffer(int size) {
  fitted = {};
  file_bytes.resize(static_cast<std::size_t>(size < 0 ? 0 : size));
  return file_bytes.data();
}

// Fits the bytes given into the player's frame: its pixels (words 0x00RRGGBB), or null with
// the reason in mq_photo_problem().
EMSCRIPTEN_KEEPALIVE const std::uint32_t* mq_photo_fit(int contain) {
  fitted = photos::fit_photo(file_bytes, app::photo_frame(contain != 0));
  file_bytes = {};
  return fitted.problem.empty() ? fitted.pixels.data() : nullptr;
}

EMSCRIPTEN_KEEPALIVE const char* mq_photo_problem() {
  return fitted.problem.c_str();
}

}  // extern "C"
