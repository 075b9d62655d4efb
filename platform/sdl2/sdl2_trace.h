// The backend's diagnostics on standard error, switched on by MQ_SDL2_TRACE in the
// environment; the end-to-end tests and the start-up benchmark read them.
#pragma once

namespace platform::sdl2 {

// Whether MQ_SDL2_TRACE is set, to any value.
bool tracing();
// Whether MQ_SDL2_TRACE is "messages": every message dispatched to the window is listed too.
bool tracing_messages();
// Whether MQ_SDL2_TRACE is "frames": the time of every frame on screen is listed too, for
// measuring what a photo switch costs the animation.
bool tracing_frames();
// While tracing, writes "moviquel: ", the formatted text and a line end to standard error.
void trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace platform::sdl2
