// The browser backend's parts that need no browser, run under Node.js: the clock that
// defers waits, the frame conversion for the canvas, the key table, and the player's
// start-up, frames, full screen and exit over the memory display and the page's shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "app/player.h"
#include "app/shell.h"
#include "display/display_setup.h"
#include "engine/scene.h"
#include "platform/clock.h"
#include "platform/embedded/embedded_resource_store.h"
#include "platform/embedded/embedded_resources.h"
#include "platform/emulated/accelerator_table.h"
#include "platform/web/canvas_pixels.h"
#include "platform/web/deferred_wait_clock.h"
#include "platform/web/web_backend.h"
#include "platform/web/web_display.h"
#include "platform/web/web_keys.h"
#include "platform/web/web_shell.h"
#include "platform/window_system.h"
#include "tests/support/virtual_clock.h"

namespace platform::web {
namespace {

TEST(DeferredWaitClock, AWaitMovesTheReadingAheadAtOnceAndIsDueWhenRealTimeCatchesUp) {
  test_support::VirtualClock real(1000);
  DeferredWaitClock clock(&real);
  EXPECT_TRUE(clock.due());
  EXPECT_EQ(clock.now_ms(), 1000u);
  clock.sleep_ms(100);
  EXPECT_EQ(clock.now_ms(), 1100u);  // as if slept
  clock.sleep_ms(50);                // a second wait in the same frame adds up
  EXPECT_EQ(clock.now_ms(), 1150u);
  EXPECT_FALSE(clock.due());
  EXPECT_EQ(clock.wait_left_ms(), 150u);
  real.advance(149);
  EXPECT_FALSE(clock.due());
  EXPECT_EQ(clock.now_ms(), 1150u);  // never back
  real.advance(1);
  EXPECT_TRUE(clock.due());
  real.advance(30);
  EXPECT_EQ(clock.now_ms(), 1180u);
  // Across the wrap of the 32-bit clock.
  real.set(0xFFFFFFF0u);
  EXPECT_EQ(clock.now_ms(), 0xFFFFFFF0u);
  clock.sleep_ms(0x20);
  EXPECT_EQ(clock.now_ms(), 0x10u);
  EXPECT_EQ(clock.wait_left_ms(), 0x20u);
  EXPECT_EQ(real.sleep_count(), 0u);  // nothing ever blocks
}

TEST(CanvasPixels, EachChannelIsWidenedByItsTopBitsAndEveryPixelIsOpaque) {
  const std::uint16_t frame[2 * 3] = {0x0000, 0xFFFF, 0xF800, 0x07E0, 0x001F, 0x8410};
  std::vector<std::uint8_t> rgba(2 * 2 * 4);
  // Two columns of three rows, rows three pixels apart: the third column is skipped.
  rgb565_to_rgba(frame, 3, 2, 2, rgba.data());
  const std::vector<std::uint8_t> expected = {0, 0,   0, 255, 255, 255, 255, 255,
                                              0, 255, 0, 255, 0,   0,   255, 255};
  EXPECT_EQ(rgba, expected);
  std::uint8_t grey[4];
  rgb565_to_rgba(&frame[5], 1, 1, 1, grey);
  EXPECT_EQ(grey[0], 0x84);
  EXPECT_EQ(grey[1], 0x82);
  EXPECT_EQ(grey[2], 0x84);
}

TEST(WebKeys, KeyCodesBecomeTheVirtualKeysAndAcceleratorsOfTheLinuxPlayer) {
  EXPECT_EQ(virtual_key("KeyP"), 0x50u);
  EXPECT_EQ(virtual_key("KeyT"), 0x54u);
  EXPECT_EQ(virtual_key("Digit7"), 0x37u);
  EXPECT_EQ(virtual_key("F10"), 0x79u);
  EXPECT_EQ(virtual_key("F24"), 0x87u);
  EXPECT_EQ(virtual_key("Numpad0"), 0x60u);
  EXPECT_EQ(virtual_key("Escape"), kVK_ESCAPE);
  EXPECT_EQ(virtual_key("AltRight"), kVK_MENU);
  EXPECT_EQ(virtual_key("Quote"), 0xDEu);
  for (const char* other : {"", "Key", "KeyAB", "F0", "F25", "AudioVolumeUp", "Fn"}) {
    EXPECT_EQ(virtual_key(other), kVK_NoMapping) << other;
  }

  KeyEvent p{"KeyP", false, false, false, false, false};
  EXPECT_EQ(key_message(nullptr, p).id, kWM_KEYUP);
  KeyEvent alt_enter{"Enter", true, false, true, false, false};
  const Message alt_enter_down = key_message(nullptr, alt_enter);
  EXPECT_EQ(alt_enter_down.id, kWM_SYSKEYDOWN);
  EXPECT_EQ(emulated::accelerator_command(alt_enter_down), 1002);
  KeyEvent alt_x{"KeyX", true, false, true, false, false};
  EXPECT_EQ(emulated::accelerator_command(key_message(nullptr, alt_x)), 1001);
  KeyEvent escape{"Escape", true, false, false, false, false};
  EXPECT_EQ(emulated::accelerator_command(key_message(nullptr, escape)), 1001);
  KeyEvent shift_escape{"Escape", true, false, false, true, false};
  EXPECT_EQ(emulated::accelerator_command(key_message(nullptr, shift_escape)), 0);
  KeyEvent f10{"F10", true, false, false, false, false};
  EXPECT_EQ(key_message(nullptr, f10).id, kWM_SYSKEYDOWN);
}

// The page as the shell and the display see it, recording what they ask of it.
class RecordingPage : public Page, public emulated::MemoryScreen {
 public:
  void show(const std::uint8_t* bytes, std::int32_t pitch_bytes, std::int32_t width,
            std::int32_t height, const PixelFormatDesc&) override {
    ++frames;
    const auto* pixels = reinterpret_cast<const std::uint16_t*>(bytes);
    shown.assign(pixels, pixels + static_cast<std::ptrdiff_t>(pitch_bytes / 2) * height);
    EXPECT_EQ(width, 640);
  }
  bool set_full_screen(bool on) override {
    full_screen = on;
    return true;
  }
  void set_title(const char* text) override { title = text; }
  void show_menu_bar(bool shown_now) override { menu_bar = shown_now; }
  void open_file_menu() override { ++menus_opened; }
  void set_cursor(Cursor shape) override { cursor = shape; }
  void open_tab(const char* address) override { opened = address; }
  void show_message(const char*, const char* text) override { message = text; }
  void show_about() override { about = true; }
  void close_about() override { about = false; }
  std::int32_t width() override { return 1280; }
  std::int32_t height() override { return 720; }

  int frames = 0;
  int menus_opened = 0;
  std::vector<std::uint16_t> shown;
  bool full_screen = false;
  bool menu_bar = false;
  bool about = false;
  Cursor cursor = Cursor::kArrow;
  std::string title;
  std::string opened;
  std::string message;
};

// One animation frame of the page, as app/web_main.cpp runs it; false once the player ended.
bool turn(app::Player& player, WebShell& shell, DeferredWaitClock& clock) {
  return !turn_due(shell, clock) || app::main_loop_step(player, shell).running;
}

TEST(WebPlayer, StartsWindowedDrawsWhenDueSwitchesToFullScreenAndEndsOnEsc) {
  test_support::VirtualClock real(5000);
  DeferredWaitClock clock(&real);
  RecordingPage page;
  WebShell shell(&page);
  WebDisplaySystem display_system(&page);
  EmbeddedResourceStore resources(embedded_resources());
  const Services services{&display_system, &shell, &resources, &shell, &clock};
  app::Player player(services, app::StartMode::kWindowed);
  const engine::Scene& scene = player.scene();

  ASSERT_TRUE(app::start_player(player, 1));
  EXPECT_EQ(page.title, "Moviquel Co 1-1 Moviquel Player");
  EXPECT_TRUE(page.menu_bar);
  EXPECT_FALSE(page.full_screen);
  // F10 opens the File menu, as Alt+F does.
  const Message f10 = key_message(shell.window(), KeyEvent{"F10", true});
  shell.post(f10.id, f10.wparam, f10.lparam);
  real.advance(1000);
  ASSERT_TRUE(turn(player, shell, clock));
  EXPECT_EQ(page.menus_opened, 1);

  // Frames come only when due: a turn that is not due draws nothing.
  int turns_without_frame = 0;
  for (int i = 0; i < 40; ++i) {
    const int before = page.frames;
    ASSERT_TRUE(turn(player, shell, clock));
    if (page.frames == before) ++turns_without_frame;
    real.advance(16);  // one animation frame at 60 Hz
  }
  EXPECT_GT(page.frames, 2);
  EXPECT_GT(turns_without_frame, 10);
  EXPECT_EQ(real.sleep_count(), 0u);  // nothing ever blocks
  // The picture area shows the working frame (labels aside, at the bottom).
  ASSERT_EQ(page.shown.size(), 640u * 480u);
  EXPECT_TRUE(
      std::equal(page.shown.begin(), page.shown.begin() + 640 * 400, scene.working_frame.get()));

  // T: full screen, through a flip, without the menu bar.
  shell.post(kWM_KEYUP, 'T', 0);
  const int windowed_frames = page.frames;
  for (int i = 0; i < 20; ++i, real.advance(16)) ASSERT_TRUE(turn(player, shell, clock));
  EXPECT_TRUE(page.full_screen);
  EXPECT_FALSE(page.menu_bar);
  EXPECT_GT(page.frames, windowed_frames);

  // The About dialog holds the frames; its web-page button opens the page and closes it.
  // Messages wait for the next due turn, as on the desktop they wait for the frame's sleep.
  shell.post(kWM_COMMAND, 1000, 0);
  for (int i = 0; i < 50 && !page.about; ++i, real.advance(16)) {
    ASSERT_TRUE(turn(player, shell, clock));
  }
  EXPECT_TRUE(page.about);
  const int frames_before_about = page.frames;
  for (int i = 0; i < 20; ++i, real.advance(16)) ASSERT_TRUE(turn(player, shell, clock));
  EXPECT_EQ(page.frames, frames_before_about);
  shell.dialog_command(kAboutWebButtonId);
  EXPECT_FALSE(page.about);
  EXPECT_EQ(page.opened, "www.mql.example/mql/index.html?mqlp1-1");

  // Esc: the window closes, the display goes, the loop ends.
  const Message escape = key_message(shell.window(), KeyEvent{"Escape", true});
  shell.post(escape.id, escape.wparam, escape.lparam);
  bool running = true;
  for (int i = 0; i < 50 && running; ++i, real.advance(16)) running = turn(player, shell, clock);
  EXPECT_FALSE(running);
  EXPECT_EQ(shell.window(), nullptr);
  EXPECT_EQ(player.display().device, nullptr);
  EXPECT_FALSE(page.full_screen);
}

}  // namespace
}  // namespace platform::web
