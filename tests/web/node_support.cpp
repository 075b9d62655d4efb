// What the test programs of the web build take from Node.js that emscripten's C library
// answers on its own: the process id, which names the tests' temporary files (emscripten
// gives every process the same one, so two tests running at once would share them).
#include <emscripten.h>
#include <unistd.h>

// clang-format off
EM_JS(int, mq_node_process_id, (), { return process.pid; });
// clang-format on

extern "C" pid_t getpid(void) {
  return static_cast<pid_t>(mq_node_process_id());
}
