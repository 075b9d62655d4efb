// The scripted queue and the fixture of the shell's tests.
#include "tests/app/shell_test_support.h"

#include <optional>

#include "app/shell.h"
#include "app/window_handlers.h"

namespace app::test {

namespace {

// A loop that never ends is a failed test, not a hung one.
constexpr int kMaxIdleTurns = 20000;

}  // namespace

void ScriptedPump::post(std::uint32_t id, std::uintptr_t wparam, std::intptr_t lparam) {
  queue_.post(platform::Message{fake_.window(), id, wparam, lparam});
}

void ScriptedPump::collect_posted() {
  const auto& quits = fake_.shell.quit_calls();
  while (quits_seen_ < quits.size()) {
    queue_.post_quit(quits[quits_seen_]);
    ++quits_seen_;
  }
  while (closes_seen_ < fake_.windows.close_requests()) {
    post(platform::kWM_CLOSE);
    ++closes_seen_;
  }
}

bool ScriptedPump::peek() {
  collect_posted();
  if (!queue_.waiting()) {
    ++idle_turns_;
    if (on_idle) on_idle(idle_turns_);
    if (idle_turns_ >= kMaxIdleTurns) {
      ADD_FAILURE() << "the loop ran " << kMaxIdleTurns << " idle turns";
      post(platform::kWM_CLOSE);
    }
    collect_posted();
  }
  return queue_.waiting();
}

bool ScriptedPump::get(platform::Message* out) {
  collect_posted();
  const std::optional<platform::Message> next = queue_.take();
  if (!next) ADD_FAILURE() << "get() on an empty queue would block";
  *out = next.value_or(platform::Message{nullptr, platform::kWM_QUIT, 0, 0});
  return out->id != platform::kWM_QUIT;
}

bool ScriptedPump::translate_accelerator(const platform::Message&) {
  return false;
}

void ScriptedPump::dispatch(const platform::Message& message) {
  dispatched_.push_back(message.id);
  const platform::HandlerResult result = handle_window_message(player_, message);
  // The default procedure's part that matters here: closing destroys the window.
  if (result.use_default && message.id == platform::kWM_CLOSE) {
    handle_window_message(player_, platform::Message{message.window, platform::kWM_DESTROY, 0, 0});
  }
}

void ScriptedPump::wait() {
  ++waits_;
  if (on_wait) {
    on_wait(waits_);
  } else {
    post(platform::kWM_CLOSE);
  }
}

ShellTest::ShellTest() : resources(platform::embedded_resources()) {}

void ShellTest::start_player() {
  ASSERT_EQ(start_window_and_display(player, 1), platform::kS_OK);
  ASSERT_TRUE(player.show_first_picture());
}

platform::HandlerResult ShellTest::send(std::uint32_t id, std::uintptr_t wparam,
                                        std::intptr_t lparam) {
  return handle_window_message(player, platform::Message{fake.window(), id, wparam, lparam});
}

}  // namespace app::test
