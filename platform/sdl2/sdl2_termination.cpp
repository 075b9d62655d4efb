// The handler writes a byte to a pipe (async-signal-safe); a thread reading the pipe turns
// it into SDL_QUIT, which SDL_PushEvent may be given from any thread and which wakes
// SDL_WaitEvent. A signal that comes before SDL's events run leaves the flag alone, and
// every loop reads the flag before it waits.
#include "platform/sdl2/sdl2_termination.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

namespace platform::sdl2 {

namespace {

volatile std::sig_atomic_t requested = 0;
int wake_pipe[2] = {-1, -1};
// Made once and never destroyed: a program ended by exit() (Xlib's on a lost connection)
// must not meet a running std::thread's destructor.
std::thread* waker = nullptr;

constexpr char kSignalled = 1;
constexpr char kStop = 0;

void on_termination(int) {
  const int saved = errno;
  requested = 1;
  const char byte = kSignalled;
  // A full pipe already holds a wake-up.
  [[maybe_unused]] const ssize_t written = write(wake_pipe[1], &byte, 1);
  errno = saved;
}

void wake_event_loops() {
  for (;;) {
    char byte = kStop;
    const ssize_t got = read(wake_pipe[0], &byte, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || byte == kStop) return;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
}

}  // namespace

bool catch_termination() {
  if (waker != nullptr) return true;
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (pipe2(wake_pipe, O_CLOEXEC) != 0) return false;
  fcntl(wake_pipe[1], F_SETFL, O_NONBLOCK);
  // The thread takes no signals: they come to the main thread, or any other.
  sigset_t both, before;
  sigemptyset(&both);
  sigaddset(&both, SIGINT);
  sigaddset(&both, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &both, &before);
  waker = new std::thread(wake_event_loops);
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  struct sigaction action {};
  action.sa_handler = on_termination;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  return true;
}

bool termination_requested() {
  return requested != 0;
}

void release_termination() {
  if (waker == nullptr) return;
  // Blocking, so that the stop byte is not lost on a pipe full of wake-ups.
  fcntl(wake_pipe[1], F_SETFL, 0);
  const char byte = kStop;
  while (write(wake_pipe[1], &byte, 1) < 0 && errno == EINTR) {
  }
  waker->join();
  delete waker;
  waker = nullptr;
}

}  // namespace platform::sdl2
