// The shell's test bench: a player over the in-memory platform with the real embedded
// pictures and a virtual clock, and a pump that the test fills over the emulated message
// queue, with a stand-in for the default window procedure.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "app/player.h"
#include "platform/embedded/embedded_resource_store.h"
#include "platform/emulated/message_queue.h"
#include "platform/message_pump.h"
#include "tests/support/fake_platform.h"
#include "tests/support/virtual_clock.h"

namespace app::test {

// A queue the test fills. Close requests and quits posted through the fake window system
// and shell come back out of it as from the real queue (a quit after the messages), and
// WM_CLOSE left to the default procedure destroys the window (WM_DESTROY).
class ScriptedPump : public platform::MessagePump {
 public:
  ScriptedPump(test_support::FakePlatform& fake, Player& player) : fake_(fake), player_(player) {}

  void post(std::uint32_t id, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);

  bool peek() override;
  bool get(platform::Message* out) override;
  bool translate_accelerator(const platform::Message& message) override;
  void dispatch(const platform::Message& message) override;
  void wait() override;

  // Called when the loop finds the queue empty (before a frame or a wait), with the
  // number of such idle turns so far; it may post messages.
  std::function<void(int idle_turn)> on_idle;
  // Called by wait(); it may post messages. Without one, wait() posts WM_CLOSE so that a
  // test cannot block.
  std::function<void(int wait_count)> on_wait;

  int idle_turns() const { return idle_turns_; }
  int waits() const { return waits_; }
  // Messages dispatched, in order of their ids.
  const std::vector<std::uint32_t>& dispatched() const { return dispatched_; }

 private:
  void collect_posted();

  test_support::FakePlatform& fake_;
  Player& player_;
  platform::emulated::MessageQueue queue_;
  std::size_t quits_seen_ = 0;
  int closes_seen_ = 0;
  int idle_turns_ = 0;
  int waits_ = 0;
  std::vector<std::uint32_t> dispatched_;
};

// The fixture: a fresh player over the fake platform, the pictures and the virtual clock.
class ShellTest : public ::testing::Test {
 protected:
  ShellTest();

  // Start-up up to the first picture, as win_main does before its loop: texts, window,
  // display (full screen first), pictures, first picture. Asserts that each step works.
  void start_player();
  // Sends one message to the window procedure (use_default is ignored).
  platform::HandlerResult send(std::uint32_t id, std::uintptr_t wparam = 0,
                               std::intptr_t lparam = 0);
  // Key release of a virtual-key code.
  void release_key(std::uint32_t key) { send(platform::kWM_KEYUP, key); }

  test_support::FakePlatform fake;
  platform::EmbeddedResourceStore resources;
  test_support::VirtualClock clock{100000};
  Player player{fake.services(&resources, &clock)};
  engine::Scene& scene = player.scene();
  display::Display& screen = player.display();
  ScriptedPump pump{fake, player};
};

}  // namespace app::test
