// The emulated queue's order of posted messages and quit, and the accelerators' commands
// as they reach the window.
#include <gtest/gtest.h>

#include <vector>

#include "platform/emulated/accelerator_table.h"
#include "platform/emulated/message_queue.h"
#include "platform/key_messages.h"

namespace platform::emulated {
namespace {

TEST(MessageQueue, QuitComesOnceAfterThePostedMessagesWithTheLastExitCode) {
  MessageQueue queue;
  EXPECT_FALSE(queue.waiting());
  EXPECT_FALSE(queue.take().has_value());
  queue.post(Message{nullptr, kWM_CLOSE, 0, 0});
  queue.post_quit(3);
  queue.post(Message{nullptr, kWM_KEYUP, 'P', 0});
  queue.post_quit(7);
  std::vector<std::uint32_t> ids;
  while (const auto next = queue.take()) {
    ids.push_back(next->id);
    if (next->id == kWM_QUIT) {
      EXPECT_EQ(next->wparam, 7u);
    }
  }
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{kWM_CLOSE, kWM_KEYUP, kWM_QUIT}));
  queue.post(Message{nullptr, kWM_CLOSE, 0, 0});
  queue.post_quit(0);
  queue.clear();
  EXPECT_FALSE(queue.waiting());
}

// Records what reaches the window.
class RecordingPump : public MessagePump {
 public:
  bool peek() override { return false; }
  bool get(Message*) override { return false; }
  bool translate_accelerator(const Message& message) override {
    return emulated::translate_accelerator(*this, message);
  }
  void dispatch(const Message& message) override { dispatched.push_back(message); }
  void wait() override {}

  std::vector<Message> dispatched;
};

TEST(AcceleratorTable, AnAcceleratorKeySendsItsCommandMarkedAsFromAnAccelerator) {
  RecordingPump pump;
  int window_tag = 0;
  EXPECT_TRUE(pump.translate_accelerator(key_message(&window_tag, {'X', 0, true, false, true})));
  EXPECT_FALSE(pump.translate_accelerator(key_message(&window_tag, {'X', 0, true})));
  ASSERT_EQ(pump.dispatched.size(), 1u);
  EXPECT_EQ(pump.dispatched[0].window, &window_tag);
  EXPECT_EQ(pump.dispatched[0].id, kWM_COMMAND);
  EXPECT_EQ(pump.dispatched[0].wparam, (1u << 16) | 1001u);
}

}  // namespace
}  // namespace platform::emulated
