// The one reading of MQ_SDL2_TRACE. It is read at every use, so a test may set it late.
#include "platform/sdl2/sdl2_trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform::sdl2 {

namespace {

const char* trace_setting() {
  return std::getenv("MQ_SDL2_TRACE");
}

}  // namespace

bool tracing() {
  return trace_setting() != nullptr;
}

bool tracing_messages() {
  const char* setting = trace_setting();
  return setting != nullptr && std::strcmp(setting, "messages") == 0;
}

bool tracing_frames() {
  const char* setting = trace_setting();
  return setting != nullptr && std::strcmp(setting, "frames") == 0;
}

void trace(const char* format, ...) {
  if (!tracing()) return;
  std::va_list args;
  va_start(args, format);
  std::fputs("moviquel: ", stderr);
  std::vfprintf(stderr, format, args);
  std::fputc('\n', stderr);
  va_end(args);
}

}  // namespace platform::sdl2
