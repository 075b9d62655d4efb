// Start-up with its display policy and failure paths, the main loop's order, the frame
// step's recovery rules and the shutdown, over the in-memory platform and a virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "app/player.h"
#include "app/shell.h"
#include "display/display_setup.h"
#include "engine/scene.h"
#include "platform/embedded/embedded_resources.h"
#include "tests/app/shell_test_support.h"

namespace app::test {
namespace {

using test_support::Kind;
using test_support::Op;

constexpr const char kNoFullScreen[] = "This display card does not support 640x480x16 ";
constexpr const char kNoDisplay[] =
    "DirectDraw init failed.\nPlease Install DirectX version 7.0 or later.\nThe program will "
    "now exit.\n";
constexpr const char kFrameFailed[] =
    "Displaying the next frame failed. The program will now exit. ";

std::vector<std::string> texts_of(const std::vector<test_support::MessageBoxCall>& boxes) {
  std::vector<std::string> texts;
  for (const auto& box : boxes) texts.push_back(box.text);
  return texts;
}

using StartUp = ShellTest;

TEST_F(StartUp, TheFirstDisplayIsFullScreenWhenTheModeExists) {
  start_player();
  EXPECT_EQ(player.windowed(), 0);
  ASSERT_NE(screen.device, nullptr);
  EXPECT_EQ(screen.device->windowed, 0);
  EXPECT_TRUE(fake.display.full_screen_mode_set());
  EXPECT_TRUE(fake.windows.message_boxes().empty());
  EXPECT_EQ(fake.shell.main_window_title(), "Moviquel Co 1-1 Moviquel Player");
  EXPECT_EQ(fake.shell.main_window_class(), "Moviquel Player");
}

TEST_F(StartUp, WithoutTheFullScreenModeTheUserIsToldOnceAndThePlayerRunsWindowed) {
  fake.display.set_mode_640x480x16(false);
  start_player();
  ASSERT_EQ(fake.windows.message_boxes().size(), 1u);
  const auto& box = fake.windows.message_boxes()[0];
  EXPECT_EQ(box.text, kNoFullScreen);
  EXPECT_EQ(box.caption, "Moviquel Player");
  EXPECT_EQ(box.icon, platform::kMessageBoxIconError);
  EXPECT_EQ(box.owner, fake.window());
  EXPECT_EQ(player.windowed(), 1);
  ASSERT_NE(screen.device, nullptr);
  EXPECT_EQ(screen.device->windowed, 1);
}

TEST_F(StartUp, AnEightBitDesktopShowsTheFullScreenMessageTwiceThenTheFallbackMessage) {
  fake.display.set_desktop(1024, 768, platform::emulated::format_8());
  fake.display.set_mode_640x480x16(false);
  EXPECT_EQ(win_main(player, pump, 1), 0);
  EXPECT_EQ(texts_of(fake.windows.message_boxes()),
            (std::vector<std::string>{kNoFullScreen, kNoFullScreen, kNoDisplay}));
  EXPECT_EQ(pump.idle_turns(), 0);  // the loop never ran
}

TEST_F(StartUp, WithoutAWindowItEndsSilentlyWithCodeZero) {
  fake.shell.set_main_window(nullptr);
  EXPECT_EQ(win_main(player, pump, 1), 0);
  EXPECT_TRUE(fake.windows.message_boxes().empty());
  EXPECT_EQ(fake.display.calls(Op::kCreateDirectDraw), 0);
}

TEST_F(StartUp, AMissingOrCutShortPictureIsToldOverTheDesktopThenEndsWithCodeZero) {
  const std::span<const platform::EmbeddedResource> real = platform::embedded_resources();
  std::vector<platform::EmbeddedResource> cut(real.begin(), real.end());
  for (auto& picture : cut) picture.size /= 2;
  platform::EmbeddedResourceStore empty({});
  platform::EmbeddedResourceStore cut_short(cut);
  for (platform::ResourceStore* store : {static_cast<platform::ResourceStore*>(&empty),
                                         static_cast<platform::ResourceStore*>(&cut_short)}) {
    Player damaged(fake.services(store, &clock));
    ScriptedPump damaged_pump(fake, damaged);
    EXPECT_EQ(win_main(damaged, damaged_pump, 1), 0);
    ASSERT_FALSE(fake.windows.message_boxes().empty());
    const auto& box = fake.windows.message_boxes().back();
    EXPECT_EQ(box.text, "The pictures inside the program are damaged. The program will now exit.");
    EXPECT_EQ(box.caption, "Moviquel Player");
    EXPECT_EQ(box.icon, platform::kMessageBoxIconError);
    EXPECT_EQ(damaged.display().device, nullptr);  // released first, so the box is not hidden
    EXPECT_EQ(fake.display.live_objects(), 0);
    EXPECT_FALSE(fake.display.full_screen_mode_set());
    EXPECT_EQ(damaged_pump.idle_turns(), 0);
  }
  EXPECT_EQ(fake.windows.message_boxes().size(), 2u);
}

TEST_F(StartUp, BothDisplayAttemptsFailingOnATrueColourDesktopAreToldThenItEndsWithCodeZero) {
  fake.display.set_mode_640x480x16(false);
  fake.display.fail(Op::kCreateClipper, platform::kE_OUTOFMEMORY, 0, -1);
  EXPECT_EQ(win_main(player, pump, 1), 0);
  // Only the windowed attempt is made after the refusal: the desktop is not a palette one.
  EXPECT_EQ(texts_of(fake.windows.message_boxes()),
            (std::vector<std::string>{kNoFullScreen, kNoDisplay}));
  EXPECT_EQ(fake.display.calls(Op::kCreateDirectDraw), 2);
  EXPECT_EQ(pump.idle_turns(), 0);
}

using MainLoop = ShellTest;

TEST_F(MainLoop, ClosingTheWindowEndsWithCodeZeroAndNoDisplayObjectAlive) {
  pump.post(platform::kWM_SIZE, platform::kSIZE_RESTORED);
  pump.on_idle = [this](int turn) {
    if (turn == 5) pump.post(platform::kWM_CLOSE);
  };
  EXPECT_EQ(win_main(player, pump, 1), 0);
  EXPECT_GE(fake.display.presents(), 4);
  EXPECT_EQ(screen.device, nullptr);
  EXPECT_EQ(fake.display.live_objects(), 0);
  EXPECT_TRUE(fake.display.misuses().empty());
  EXPECT_TRUE(fake.windows.message_boxes().empty());
}

TEST_F(MainLoop, ReturnsTheQuitMessagesCode) {
  start_player();
  pump.post(platform::kWM_QUIT, 7);
  EXPECT_EQ(run_main_loop(player, pump), 7);
}

TEST_F(MainLoop, HandlesEveryWaitingMessageBeforeTheNextFrame) {
  start_player();
  pump.post(platform::kWM_SIZE, platform::kSIZE_RESTORED);
  for (int i = 0; i < 4; ++i) pump.post(platform::kWM_KEYUP, 'P');
  const int presents = fake.display.presents();
  std::vector<std::size_t> handled_before_frame;
  pump.on_idle = [&](int turn) {
    handled_before_frame.push_back(pump.dispatched().size());
    if (turn == 1) {
      EXPECT_EQ(fake.display.presents(), presents);  // no frame among the five messages
      pump.post(platform::kWM_KEYUP, 'P');
      pump.post(platform::kWM_KEYUP, 'P');
    }
    if (turn == 3) pump.post(platform::kWM_CLOSE);
  };
  EXPECT_EQ(run_main_loop(player, pump), 0);
  // Turn 1 found five handled and posted two; turn 2 drew after all seven; turn 3 closed.
  EXPECT_EQ(handled_before_frame, (std::vector<std::size_t>{5, 7, 7}));
  EXPECT_EQ(fake.display.presents(), presents + 1);
}

TEST_F(MainLoop, MinimisedItWaitsForMessagesAndDrawsNothingUntilRestored) {
  start_player();
  pump.post(platform::kWM_SIZE, platform::kSIZE_RESTORED);
  int presents_when_minimised = -1;
  int presents_when_restored = -1;
  pump.on_idle = [&](int turn) {
    if (turn == 3) pump.post(platform::kWM_SIZE, platform::kSIZE_MINIMIZED);
    if (presents_when_restored >= 0 && fake.display.presents() >= presents_when_restored + 3) {
      pump.post(platform::kWM_CLOSE);
    }
  };
  pump.on_wait = [&](int wait) {
    if (wait == 1) presents_when_minimised = fake.display.presents();
    EXPECT_EQ(fake.display.presents(), presents_when_minimised);
    if (wait == 5) {
      presents_when_restored = fake.display.presents();
      pump.post(platform::kWM_SIZE, platform::kSIZE_RESTORED);
    }
  };
  EXPECT_EQ(run_main_loop(player, pump), 0);
  EXPECT_EQ(pump.waits(), 5);
  EXPECT_EQ(fake.display.presents(), presents_when_restored + 3);
}

TEST_F(MainLoop, AFailedFrameReleasesTheDeviceTellsTheUserAndEndsWithCodeZero) {
  start_player();
  pump.post(platform::kWM_SIZE, platform::kSIZE_RESTORED);
  fake.display.fail(Op::kFlip, platform::kE_FAIL, 2, -1);
  EXPECT_EQ(run_main_loop(player, pump), 0);
  EXPECT_EQ(fake.display.presents(), 2);
  ASSERT_EQ(fake.windows.message_boxes().size(), 1u);
  EXPECT_EQ(fake.windows.message_boxes()[0].text, kFrameFailed);
  EXPECT_EQ(fake.windows.message_boxes()[0].caption, "Moviquel Player");
  EXPECT_EQ(fake.windows.message_boxes()[0].icon, platform::kMessageBoxIconError);
  EXPECT_EQ(screen.device, nullptr);
  EXPECT_EQ(fake.display.live(Kind::kDirectDraw), 0);
  EXPECT_FALSE(fake.display.exclusive_held());
}

using FrameStep = ShellTest;

TEST_F(FrameStep, DrawsAndPresentsOneFrame) {
  start_player();
  const int presents = fake.display.presents();
  EXPECT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_EQ(fake.display.presents(), presents + 1);
}

TEST_F(FrameStep, WhileAnotherProgramHoldsTheScreenEachTurnWaitsTenMillisecondsAndDrawsNothing) {
  start_player();
  fake.display.take_exclusive_mode();
  const int presents = fake.display.presents();
  clock.clear_sleeps();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_EQ(clock.sleeps(), (std::vector<std::uint32_t>{10, 10, 10}));
  EXPECT_EQ(fake.display.presents(), presents);
  EXPECT_TRUE(fake.windows.message_boxes().empty());

  // Back in exclusive mode: the first frame finds its surfaces lost and is dropped, the
  // next one is shown.
  fake.display.return_exclusive_mode();
  EXPECT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_EQ(fake.display.presents(), presents + 1);
}

TEST_F(FrameStep, AChangedDesktopModeRebuildsTheDisplayAndKeepsTheScene) {
  fake.display.set_mode_640x480x16(false);
  start_player();
  ASSERT_EQ(player.windowed(), 1);
  scene.info_mode = true;
  const int devices = fake.display.calls(Op::kCreateDirectDraw);
  fake.display.change_desktop_mode(platform::emulated::format_565());
  EXPECT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_EQ(fake.display.calls(Op::kCreateDirectDraw), devices + 1);
  ASSERT_NE(screen.device, nullptr);
  EXPECT_EQ(screen.device->windowed, 1);
  EXPECT_EQ(scene.info_mode, 1);
  const int presents = fake.display.presents();
  EXPECT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_EQ(fake.display.presents(), presents + 1);
  EXPECT_EQ(fake.display.live(Kind::kDirectDraw), 1);
}

TEST_F(FrameStep, AFailedRebuildEndsTheLoop) {
  fake.display.set_mode_640x480x16(false);
  start_player();
  fake.display.change_desktop_mode(platform::emulated::format_565());
  fake.display.fail(Op::kCreateDirectDraw, platform::kE_FAIL);
  EXPECT_TRUE(platform::failed(player.frame_step()));
}

TEST_F(FrameStep, ALostSurfaceDropsOneFrameAndTheNextIsShown) {
  start_player();
  const int presents = fake.display.presents();
  const int restores = fake.display.calls(Op::kRestoreAllSurfaces);
  fake.display.lose_surfaces();
  EXPECT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_EQ(fake.display.calls(Op::kRestoreAllSurfaces), restores + 1);
  EXPECT_EQ(fake.display.presents(), presents);
  EXPECT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_EQ(fake.display.presents(), presents + 1);
  EXPECT_TRUE(fake.windows.message_boxes().empty());
}

TEST_F(FrameStep, AnUnexpectedCooperativeLevelErrorIsPassedUp) {
  start_player();
  fake.display.fail(Op::kTestCooperativeLevel, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(player.frame_step(), platform::kE_OUTOFMEMORY);
}

TEST_F(FrameStep, AnyOtherPresentFailureIsPassedUp) {
  start_player();
  fake.display.fail(Op::kFlip, platform::kE_INVALIDARG);
  EXPECT_EQ(player.frame_step(), platform::kE_INVALIDARG);
}

TEST_F(FrameStep, WithoutADeviceItWaitsForTheCloseInsteadOfFailing) {
  start_player();
  display::release_display(screen);
  clock.clear_sleeps();
  EXPECT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_EQ(clock.sleeps(), (std::vector<std::uint32_t>{10}));
}

// Dark grey pixels of the statistics box in the top-left corner of the screen.
int statistics_pixels(test_support::FakePlatform& fake_platform) {
  int count = 0;
  for (int y = 4; y < 20; ++y) {
    for (int x = 4; x < 60; ++x) {
      if (fake_platform.client_rgb(x, y) == 0x404040) ++count;
    }
  }
  return count;
}

TEST_F(FrameStep, StatisticsAreDrawnTopLeftOnlyWhileSwitchedOn) {
  fake.display.set_mode_640x480x16(false);  // windowed on the 32-bit desktop: exact colours
  start_player();
  ASSERT_EQ(player.frame_step(), platform::kS_OK);
  const int before = statistics_pixels(fake);
  player.toggle_statistics();
  ASSERT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_GT(statistics_pixels(fake), before + 100);
  player.toggle_statistics();
  ASSERT_EQ(player.frame_step(), platform::kS_OK);
  EXPECT_EQ(statistics_pixels(fake), before);
}

using PresentAgain = ShellTest;

TEST_F(PresentAgain, DoesNothingWithoutADisplay) {
  ASSERT_EQ(screen.device, nullptr);
  player.present_again();  // must not touch a missing device
  SUCCEED();
}

}  // namespace
}  // namespace app::test
