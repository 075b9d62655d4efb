// The main window's procedure and the About dialog's procedure over the in-memory
// platform: key and mouse rules, commands, system commands, cursors, sizes and moves.
#include <gtest/gtest.h>

#include <string>

#include "app/player.h"
#include "app/shell.h"
#include "app/texts.h"
#include "app/window_handlers.h"
#include "display/display_setup.h"
#include "engine/scene.h"
#include "tests/app/shell_test_support.h"

namespace app::test {
namespace {

using platform::Cursor;
using test_support::Op;

constexpr const char kWebPage[] = "www.mql.example/mql/index.html?mqlp1-1";

class WindowHandlers : public ShellTest {
 protected:
  void SetUp() override { start_player(); }
  // How many pictures have been shown so far: every show_picture sets the cursor once.
  std::size_t pictures_shown() const { return fake.shell.cursor_calls().size(); }
};

TEST_F(WindowHandlers, LettersDigitsSpaceShiftAndCtrlSwitchThePicture) {
  const std::uint32_t keys[] = {'A',
                                'B',
                                'O',
                                'Q',
                                'S',
                                'X',
                                'Z',
                                '0',
                                '5',
                                '9',
                                platform::kVK_SPACE,
                                platform::kVK_SHIFT,
                                platform::kVK_CONTROL,
                                0x70 /* F1 */,
                                0x25 /* left arrow */};
  for (std::uint32_t key : keys) {
    const bool before = scene.info_mode;
    const std::size_t shown = pictures_shown();
    release_key(key);
    EXPECT_NE(scene.info_mode, before) << "key " << key;
    EXPECT_EQ(pictures_shown(), shown + 1) << "key " << key;
  }
}

TEST_F(WindowHandlers, SwitchingTwiceReturnsToTheMainPictureWithItsCursor) {
  release_key('A');
  EXPECT_EQ(scene.info_mode, 1);
  EXPECT_EQ(fake.shell.cursor(), Cursor::kHelp);
  release_key('A');
  EXPECT_EQ(scene.info_mode, 0);
  EXPECT_EQ(fake.shell.cursor(), player.windowed() ? Cursor::kArrow : Cursor::kNone);
}

TEST_F(WindowHandlers, EnterAltAndEscReleasesChangeNothing) {
  const std::size_t shown = pictures_shown();
  const bool mode = player.windowed();
  for (std::uint32_t key : {platform::kVK_RETURN, platform::kVK_MENU, platform::kVK_ESCAPE}) {
    const platform::HandlerResult result = send(platform::kWM_KEYUP, key);
    EXPECT_TRUE(result.use_default);
  }
  EXPECT_EQ(scene.info_mode, 0);
  EXPECT_EQ(pictures_shown(), shown);
  EXPECT_EQ(player.windowed(), mode);
  EXPECT_EQ(player.statistics_shown(), 0);
  EXPECT_EQ(fake.windows.close_requests(), 0);
}

TEST_F(WindowHandlers, PTogglesTheStatisticsAndKeepsThePicture) {
  release_key('P');
  EXPECT_EQ(player.statistics_shown(), 1);
  release_key('P');
  EXPECT_EQ(player.statistics_shown(), 0);
  EXPECT_EQ(scene.info_mode, 0);
}

TEST_F(WindowHandlers, TTogglesBetweenWindowAndFullScreen) {
  const bool start = player.windowed();
  release_key('T');
  EXPECT_EQ(player.windowed(), start ? 0 : 1);
  ASSERT_NE(screen.device, nullptr);
  EXPECT_EQ(screen.device->windowed, player.windowed());
  release_key('T');
  EXPECT_EQ(player.windowed(), start);
  EXPECT_EQ(screen.device->windowed, player.windowed());
  EXPECT_EQ(scene.info_mode, 0);
}

TEST_F(WindowHandlers, KeysReleasedWithAltArriveAsSystemKeysAndAreIgnored) {
  const platform::HandlerResult result = send(platform::kWM_SYSKEYUP, 'A');
  EXPECT_TRUE(result.use_default);
  EXPECT_EQ(scene.info_mode, 0);
}

TEST_F(WindowHandlers, RightButtonShowsTheInfoPictureAndDecodesItAgainWhenShown) {
  send(platform::kWM_RBUTTONDOWN);
  EXPECT_EQ(scene.info_mode, 1);
  const std::size_t shown = pictures_shown();
  const platform::HandlerResult result = send(platform::kWM_RBUTTONDOWN);
  EXPECT_TRUE(result.use_default);
  EXPECT_EQ(scene.info_mode, 1);
  EXPECT_EQ(pictures_shown(), shown + 1);
  EXPECT_EQ(fake.shell.cursor(), Cursor::kHelp);
}

TEST_F(WindowHandlers, LeftButtonOpensTheWebPageOnlyOverTheInfoPicture) {
  send(platform::kWM_LBUTTONDOWN);
  EXPECT_TRUE(fake.shell.shell_open_calls().empty());
  send(platform::kWM_RBUTTONDOWN);
  const platform::HandlerResult result = send(platform::kWM_LBUTTONDOWN);
  EXPECT_TRUE(result.use_default);
  ASSERT_EQ(fake.shell.shell_open_calls().size(), 1u);
  EXPECT_EQ(fake.shell.shell_open_calls()[0], kWebPage);
}

TEST_F(WindowHandlers, OpenWebPageSucceedsOnlyAboveThirtyTwo) {
  fake.shell.set_shell_open_result(33);
  EXPECT_TRUE(player.open_web_page());
  fake.shell.set_shell_open_result(32);
  EXPECT_FALSE(player.open_web_page());
  fake.shell.set_shell_open_result(2);
  EXPECT_FALSE(player.open_web_page());
}

TEST_F(WindowHandlers, SystemCommandsForSizeMoveMaximiseAndMonitorPowerAreSwallowedInFullScreen) {
  screen.windowed = false;
  for (std::uintptr_t command : {platform::kSC_SIZE, platform::kSC_MOVE, platform::kSC_MAXIMIZE,
                                 platform::kSC_MONITORPOWER}) {
    const platform::HandlerResult result = send(platform::kWM_SYSCOMMAND, command);
    EXPECT_FALSE(result.use_default) << command;
    EXPECT_EQ(result.value, 1) << command;
  }
  // Compared as whole values: the mouse-drag variants and other commands go on.
  for (std::uintptr_t command : {platform::kSC_SIZE + 1, platform::kSC_MOVE + 2,
                                 platform::kSC_MINIMIZE, platform::kSC_CLOSE}) {
    EXPECT_TRUE(send(platform::kWM_SYSCOMMAND, command).use_default) << command;
  }
}

TEST_F(WindowHandlers, SystemCommandsActNormallyInAWindow) {
  screen.windowed = true;
  for (std::uintptr_t command : {platform::kSC_SIZE, platform::kSC_MOVE, platform::kSC_MAXIMIZE,
                                 platform::kSC_MONITORPOWER}) {
    EXPECT_TRUE(send(platform::kWM_SYSCOMMAND, command).use_default) << command;
  }
}

TEST_F(WindowHandlers, CursorIsHiddenInFullScreenAndTheArrowInAWindowOverTheMainPicture) {
  screen.windowed = false;
  platform::HandlerResult result = send(platform::kWM_SETCURSOR);
  EXPECT_FALSE(result.use_default);
  EXPECT_EQ(result.value, 1);
  EXPECT_EQ(fake.shell.cursor(), Cursor::kNone);

  screen.windowed = true;
  const std::size_t calls = fake.shell.cursor_calls().size();
  result = send(platform::kWM_SETCURSOR);
  EXPECT_TRUE(result.use_default);  // the class's arrow
  EXPECT_EQ(fake.shell.cursor_calls().size(), calls);
}

TEST_F(WindowHandlers, CursorIsTheHelpCursorOverTheInfoPictureInBothModes) {
  scene.info_mode = true;
  for (std::int32_t mode : {0, 1}) {
    screen.windowed = mode;
    fake.shell.set_cursor(Cursor::kArrow);
    const platform::HandlerResult result = send(platform::kWM_SETCURSOR);
    EXPECT_FALSE(result.use_default);
    EXPECT_EQ(result.value, 1);
    EXPECT_EQ(fake.shell.cursor(), Cursor::kHelp) << "windowed " << mode;
  }
}

TEST_F(WindowHandlers, MinimisingOrHidingDeactivatesAndEverythingElseActivates) {
  send(platform::kWM_SIZE, platform::kSIZE_RESTORED);
  EXPECT_EQ(player.active(), 1);
  send(platform::kWM_SIZE, platform::kSIZE_MINIMIZED);
  EXPECT_EQ(player.active(), 0);
  send(platform::kWM_SIZE, platform::kSIZE_MAXSHOW);
  EXPECT_EQ(player.active(), 1);
  send(platform::kWM_SIZE, platform::kSIZE_MAXHIDE);
  EXPECT_EQ(player.active(), 0);
  EXPECT_TRUE(send(platform::kWM_SIZE, platform::kSIZE_MAXIMIZED).use_default);
  EXPECT_EQ(player.active(), 1);
}

TEST_F(WindowHandlers, MovingTheWindowUpdatesTheBoundsAndPresentsTheLastFrameAgain) {
  screen.windowed = true;
  display::init_display(screen, fake.window());
  fake.windows.set_window_rect({200, 100, 200 + 648, 100 + 527});
  const int presents = fake.display.presents();
  const platform::HandlerResult result = send(platform::kWM_MOVE);
  EXPECT_FALSE(result.use_default);
  EXPECT_EQ(fake.display.presents(), presents + 1);
  const platform::Rect client = fake.windows.client_rect_on_screen(fake.window());
  EXPECT_EQ(screen.device->screen_rect.left, client.left);
  EXPECT_EQ(screen.device->screen_rect.top, client.top);
}

TEST_F(WindowHandlers, MovingWithoutADisplayDoesNothing) {
  display::release_display(screen);
  const int presents = fake.display.presents();
  EXPECT_FALSE(send(platform::kWM_MOVE).use_default);
  EXPECT_EQ(fake.display.presents(), presents);
}

TEST_F(WindowHandlers, TrackingSizesKeepTheClientAreaAt640By480) {
  platform::MinMaxInfo info;
  info.max_size = {1, 2};
  const platform::HandlerResult result =
      send(platform::kWM_GETMINMAXINFO, 0, reinterpret_cast<std::intptr_t>(&info));
  EXPECT_FALSE(result.use_default);
  // Frame 4 on each side, menu 19 and caption 19 in the stand-in's metrics.
  EXPECT_EQ(info.min_track_size.x, 640 + 2 * 4);
  EXPECT_EQ(info.min_track_size.y, 480 + 2 * 4 + 19 + 19);
  EXPECT_EQ(info.max_track_size.x, info.min_track_size.x);
  EXPECT_EQ(info.max_track_size.y, info.min_track_size.y);
  EXPECT_EQ(info.max_size.x, 1);  // untouched
  EXPECT_EQ(info.max_size.y, 2);
}

TEST_F(WindowHandlers, CommandsOpenAboutCloseToggleAndOpenTheWebPage) {
  EXPECT_FALSE(send(platform::kWM_COMMAND, kCmdAbout).use_default);
  ASSERT_EQ(fake.shell.dialog_calls().size(), 1u);
  EXPECT_EQ(fake.shell.dialog_calls()[0], 103);

  // Accelerators send their commands with 1 in the high word.
  EXPECT_FALSE(send(platform::kWM_COMMAND, (1u << 16) | kCmdExit).use_default);
  EXPECT_EQ(fake.windows.close_requests(), 1);

  const bool mode = player.windowed();
  EXPECT_FALSE(send(platform::kWM_COMMAND, (1u << 16) | kCmdToggleFullScreen).use_default);
  EXPECT_EQ(player.windowed(), mode ? 0 : 1);

  EXPECT_FALSE(send(platform::kWM_COMMAND, kCmdWebPage).use_default);
  ASSERT_EQ(fake.shell.shell_open_calls().size(), 1u);
  EXPECT_EQ(fake.shell.shell_open_calls()[0], kWebPage);

  EXPECT_TRUE(send(platform::kWM_COMMAND, 1003).use_default);
  EXPECT_TRUE(send(platform::kWM_COMMAND, 1004).use_default);
}

TEST_F(WindowHandlers, AFailedToggleReportsItDestroysTheDeviceAndAsksToClose) {
  // Full screen to windowed: the windowed device's creation fails.
  screen.windowed = false;
  fake.display.fail(Op::kCreateDirectDraw, platform::kE_FAIL);
  release_key('T');
  EXPECT_EQ(screen.device, nullptr);
  ASSERT_FALSE(fake.windows.message_boxes().empty());
  EXPECT_EQ(fake.windows.message_boxes().back().text,
            "InitDirectDraw() failed. The program will now exit. ");
  EXPECT_EQ(fake.windows.close_requests(), 1);
}

TEST_F(WindowHandlers, DestroyReleasesTheDisplayAndPostsQuitWithCodeZero) {
  const platform::HandlerResult result = send(platform::kWM_DESTROY);
  EXPECT_FALSE(result.use_default);
  EXPECT_EQ(screen.device, nullptr);
  EXPECT_EQ(screen.frame_surface, nullptr);
  EXPECT_EQ(screen.publisher_label, nullptr);
  EXPECT_EQ(screen.version_label, nullptr);
  EXPECT_EQ(fake.display.live_objects(), 0);
  ASSERT_EQ(fake.shell.quit_calls().size(), 1u);
  EXPECT_EQ(fake.shell.quit_calls()[0], 0);
}

class AboutDialog : public WindowHandlers {
 protected:
  std::intptr_t about(std::uint32_t id, std::uintptr_t wparam = 0) {
    return handle_about_message(player, platform::Message{&dialog_tag, id, wparam, 0});
  }
  int dialog_tag = 0;
};

TEST_F(AboutDialog, InitialisationKeepsTheDefaultFocus) {
  EXPECT_EQ(about(platform::kWM_INITDIALOG), 1);
}

TEST_F(AboutDialog, TheHostButtonOpensTheWebPageAndClosesTheDialog) {
  // The button's command ends the dialog inside the dialog's modal run.
  fake.shell.run_dialog(fake.window(), 103,
                        {[](void* context, const platform::Message& m) -> std::intptr_t {
                           if (m.id != platform::kWM_INITDIALOG) return 0;
                           return handle_about_message(
                               *static_cast<Player*>(context),
                               platform::Message{m.window, platform::kWM_COMMAND, 1004, 0});
                         },
                         &player});
  ASSERT_EQ(fake.shell.shell_open_calls().size(), 1u);
  EXPECT_EQ(fake.shell.shell_open_calls()[0], kWebPage);
  EXPECT_EQ(about(platform::kWM_COMMAND, 1004), 1);
}

TEST_F(AboutDialog, EscAndOkCloseItWithoutOpeningAnything) {
  const std::intptr_t ended = fake.shell.run_dialog(
      fake.window(), 103,
      {[](void* context, const platform::Message& m) -> std::intptr_t {
         if (m.id != platform::kWM_INITDIALOG) return 0;
         return handle_about_message(
             *static_cast<Player*>(context),
             platform::Message{m.window, platform::kWM_COMMAND, platform::kIDCANCEL, 0});
       },
       &player});
  EXPECT_EQ(ended, platform::kIDCANCEL);
  EXPECT_EQ(about(platform::kWM_COMMAND, platform::kIDOK), 1);
  EXPECT_TRUE(fake.shell.shell_open_calls().empty());
}

TEST_F(AboutDialog, MovingItPresentsThePlayersLastFrameAgain) {
  const int presents = fake.display.presents();
  EXPECT_EQ(about(platform::kWM_MOVE), 0);
  EXPECT_EQ(fake.display.presents(), presents + 1);
}

TEST_F(AboutDialog, OtherMessagesAreLeftToTheDialogManager) {
  EXPECT_EQ(about(platform::kWM_COMMAND, 1000), 0);
  EXPECT_EQ(about(platform::kWM_KEYUP, 'A'), 0);
  EXPECT_EQ(scene.info_mode, 0);
}

}  // namespace
}  // namespace app::test
