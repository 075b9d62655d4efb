// The key messages' ids and bits, and the accelerator table over them, row by row.
#include <gtest/gtest.h>

#include "platform/emulated/accelerator_table.h"
#include "platform/key_messages.h"

namespace platform {
namespace {

TEST(KeyMessages, IdsBitsAndAcceleratorsFollowTheKeyAndItsModifiers) {
  struct Row {
    KeyTransition key;
    std::uint32_t id;
    std::uint32_t bits;  // the whole second parameter
    std::uint16_t command;
  };
  constexpr std::uint32_t kUp = kKeyPrevious | kKeyReleased;
  const Row rows[] = {
      {{'A', 0x1E, true}, kWM_KEYDOWN, 0x1E0001, 0},
      {{'A', 0, true, /*repeat=*/true}, kWM_KEYDOWN, 1 | kKeyPrevious, 0},
      {{'A', 0, false}, kWM_KEYUP, 1 | kUp, 0},
      {{kVK_F10, 0, true}, kWM_SYSKEYDOWN, 1, 0},
      {{kVK_MENU, 0, false, false, /*alt=*/true}, kWM_SYSKEYUP, 1 | kUp | kKeyAlt, 0},
      {{kVK_ESCAPE, 0, true}, kWM_KEYDOWN, 1, 1001},
      {{kVK_ESCAPE, 0, false}, kWM_KEYUP, 1 | kUp, 0},
      {{'X', 0, true, false, true}, kWM_SYSKEYDOWN, 1 | kKeyAlt, 1001},
      {{kVK_RETURN, 0, true, false, true}, kWM_SYSKEYDOWN, 1 | kKeyAlt, 1002},
      {{kVK_RETURN, 0, true}, kWM_KEYDOWN, 1, 0},
      // Each accelerator only with exactly its modifiers.
      {{kVK_ESCAPE, 0, true, false, true}, kWM_SYSKEYDOWN, 1 | kKeyAlt, 0},
      {{kVK_ESCAPE, 0, true, false, false, /*shift=*/true}, kWM_KEYDOWN, 1 | kKeyShift, 0},
      {{'X', 0, true, false, true, false, /*ctrl=*/true},
       kWM_SYSKEYDOWN,
       1 | kKeyAlt | kKeyCtrl,
       0},
  };
  int window_tag = 0;
  for (const Row& row : rows) {
    const Message m = key_message(&window_tag, row.key);
    SCOPED_TRACE(testing::Message() << "key " << row.key.virtual_key << " id " << row.id);
    EXPECT_EQ(m.window, &window_tag);
    EXPECT_EQ(m.id, row.id);
    EXPECT_EQ(m.wparam, row.key.virtual_key);
    EXPECT_EQ(static_cast<std::uint32_t>(m.lparam), row.bits);
    EXPECT_EQ(emulated::accelerator_command(m), row.command);
  }
}

}  // namespace
}  // namespace platform
