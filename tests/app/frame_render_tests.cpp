// One frame as the player composes it (render_frame after the scene's step), read back from
// the screen in every frame-surface format with the labels and the statistics text; and the
// frames shown across a mode switch both ways and after the switches that fail.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "app/frame_statistics.h"
#include "app/player.h"
#include "app/shell.h"
#include "display/display_setup.h"
#include "display/pixel_format.h"
#include "tests/app/shell_test_support.h"
#include "tests/display/display_test_support.h"

namespace app::test {
namespace {

using display_test::expand_555;
using display_test::expand_565;
using display_test::ink_of;
using display_test::InkMap;
using test_support::Op;

// Checks every pixel of the client area: the working frame through expand, with the label
// glyphs over it 12 pixels in from the bottom corners and the labels' black left out.
::testing::AssertionResult screen_shows_working_frame(test_support::FakePlatform& fake,
                                                      const engine::Scene& scene,
                                                      std::uint32_t (*expand)(std::uint16_t)) {
  struct Place {
    InkMap ink;
    std::int32_t left;
  };
  const InkMap publisher = ink_of(display_test::kPublisherText);
  const InkMap version = ink_of(display_test::kVersionText);
  const Place places[] = {{publisher, 12}, {version, 628 - version.width}};
  int glyph_pixels = 0;
  for (std::int32_t y = 0; y < 480; ++y) {
    for (std::int32_t x = 0; x < 640; ++x) {
      std::uint32_t expected = expand(scene.working_frame.get()[y * 640 + x]);
      for (const Place& place : places) {
        const std::int32_t lx = x - place.left, ly = y - (468 - place.ink.height);
        if (lx >= 0 && ly >= 0 && lx < place.ink.width && ly < place.ink.height &&
            place.ink.at(lx, ly)) {
          expected = display_test::kGlyphRgb;
          ++glyph_pixels;
        }
      }
      if (fake.client_rgb(x, y) != expected) {
        return ::testing::AssertionFailure() << "at " << x << "," << y << ": " << std::hex
                                             << fake.client_rgb(x, y) << " not " << expected;
      }
    }
  }
  if (glyph_pixels < 150) return ::testing::AssertionFailure() << "labels missing";
  return ::testing::AssertionSuccess();
}

struct Setting {
  const char* name;
  bool full_screen_mode;
  platform::PixelFormatDesc mode_format;
  platform::PixelFormatDesc desktop;
  std::int32_t row_padding;
  std::int32_t frame_pitch;
  std::uint32_t (*expand)(std::uint16_t);
};

// Names the case in test names and failure messages instead of dumping its bytes.
void PrintTo(const Setting& setting, std::ostream* out) {
  *out << setting.name;
}

class RenderedFrame : public ShellTest, public ::testing::WithParamInterface<Setting> {};

TEST_P(RenderedFrame, ShowsTheSteppedWorkingFrameWithBothLabels) {
  const Setting& setting = GetParam();
  fake.display.set_desktop(1024, 768, setting.desktop);
  fake.display.set_mode_640x480x16(setting.full_screen_mode, setting.mode_format);
  fake.display.set_row_padding_bytes(setting.row_padding);
  start_player();
  EXPECT_EQ(player.windowed(), setting.full_screen_mode ? 0 : 1);
  EXPECT_EQ(platform::emulated::surface_pitch(screen.frame_surface->surface), setting.frame_pitch);
  for (int frame = 0; frame < 2; ++frame) {
    clock.advance(250);  // the layers are due: the working frame changes
    ASSERT_EQ(player.render_frame(), platform::kS_OK);
    EXPECT_TRUE(screen_shows_working_frame(fake, scene, setting.expand)) << "frame " << frame;
  }
}

INSTANTIATE_TEST_SUITE_P(
    FrameSurfaceFormats, RenderedFrame,
    ::testing::Values(Setting{"FullScreen565WidePitch", true, platform::emulated::format_565(),
                              platform::emulated::format_32(), 40, 1280 + 40, expand_565},
                      Setting{"FullScreen555", true, platform::emulated::format_555(),
                              platform::emulated::format_32(), 2, 1280 + 2, expand_555},
                      Setting{"Windowed32ThroughTheTable", false, platform::emulated::format_565(),
                              platform::emulated::format_32(), 16, 2560 + 16, expand_565},
                      Setting{"Windowed24ThroughTheTable", false, platform::emulated::format_565(),
                              platform::emulated::format_24(), 3, 1920 + 3, expand_565},
                      Setting{"Windowed555Desktop", false, platform::emulated::format_565(),
                              platform::emulated::format_555(), 0, 1280, expand_555}),
    [](const ::testing::TestParamInfo<Setting>& setting) {
      return std::string(setting.param.name);
    });

using FramePath = ShellTest;

TEST_F(FramePath, StatisticsTextIsDrawnOpaqueAtFourFourAndGoneWithTheNextFrameWithout) {
  fake.display.set_mode_640x480x16(false);  // windowed on the 32-bit desktop: exact white
  start_player();
  player.toggle_statistics();
  ASSERT_EQ(player.render_frame(), platform::kS_OK);
  const std::string text = player.statistics().text;
  ASSERT_FALSE(text.empty());
  const InkMap ink = ink_of(text.c_str());
  for (std::int32_t y = 0; y < ink.height; ++y) {
    for (std::int32_t x = 0; x < ink.width; ++x) {
      ASSERT_EQ(fake.client_rgb(4 + x, 4 + y), ink.at(x, y) ? 0xFFFFFFu : 0x404040u)
          << x << "," << y;
    }
  }
  EXPECT_EQ(fake.client_rgb(3, 4), expand_565(scene.working_frame.get()[4 * 640 + 3]));
  player.toggle_statistics();
  ASSERT_EQ(player.render_frame(), platform::kS_OK);
  EXPECT_TRUE(screen_shows_working_frame(fake, scene, expand_565));
}

TEST_F(FramePath, ToggleBothWaysKeepsShowingTheWorkingFrame) {
  start_player();
  ASSERT_EQ(player.windowed(), 0);
  player.toggle_full_screen();
  EXPECT_EQ(player.windowed(), 1);
  ASSERT_NE(screen.device, nullptr);
  EXPECT_EQ(screen.device->windowed, 1);
  EXPECT_FALSE(fake.display.full_screen_mode_set());
  EXPECT_EQ(fake.windows.menu_id(), platform::kMainMenuId);
  // The menu bar came back after the window was sized; the client area is still 640×480.
  const platform::Rect client = fake.windows.client_rect_on_screen(fake.window());
  EXPECT_EQ(client.right - client.left, 640);
  EXPECT_EQ(client.bottom - client.top, 480);
  ASSERT_EQ(player.render_frame(), platform::kS_OK);
  EXPECT_TRUE(screen_shows_working_frame(fake, scene, expand_565));

  player.toggle_full_screen();
  EXPECT_EQ(player.windowed(), 0);
  EXPECT_TRUE(fake.display.full_screen_mode_set());
  EXPECT_EQ(fake.windows.menu_id(), 0);
  ASSERT_EQ(player.render_frame(), platform::kS_OK);
  EXPECT_TRUE(screen_shows_working_frame(fake, scene, expand_565));
  EXPECT_TRUE(fake.windows.message_boxes().empty());
  EXPECT_EQ(fake.windows.close_requests(), 0);
  EXPECT_EQ(fake.display.live(test_support::Kind::kDirectDraw), 1);
}

TEST_F(FramePath, AFailedToggleToFullScreenTellsBothMessagesAndAsksTheWindowToClose) {
  fake.display.set_mode_640x480x16(false);
  start_player();
  ASSERT_EQ(player.windowed(), 1);
  const std::size_t boxes = fake.windows.message_boxes().size();
  player.toggle_full_screen();
  EXPECT_EQ(screen.device, nullptr);
  ASSERT_EQ(fake.windows.message_boxes().size(), boxes + 2);
  EXPECT_EQ(fake.windows.message_boxes()[boxes].text,
            "This display card does not support 640x480x16 ");
  const test_support::MessageBoxCall& box = fake.windows.message_boxes()[boxes + 1];
  EXPECT_EQ(box.text, "InitDirectDraw() failed. The program will now exit. ");
  EXPECT_EQ(box.caption, "Moviquel Player");
  EXPECT_EQ(box.icon, platform::kMessageBoxIconError);
  EXPECT_EQ(box.owner, fake.window());
  EXPECT_EQ(fake.windows.close_requests(), 1);
}

TEST_F(FramePath, AFailedToggleLateInTheSetUpIsToldOnceAndLeavesNothingAfterRelease) {
  start_player();
  // The second label's surface cannot be made: device, frame surface and first label exist.
  fake.display.fail(Op::kCreateSurface, platform::kE_OUTOFMEMORY, 3);
  player.toggle_full_screen();
  EXPECT_EQ(screen.device, nullptr);
  EXPECT_EQ(fake.windows.close_requests(), 1);
  ASSERT_EQ(fake.windows.message_boxes().size(), 1u);
  EXPECT_EQ(fake.windows.message_boxes()[0].text,
            "InitDirectDraw() failed. The program will now exit. ");
  display::release_display(screen);
  EXPECT_EQ(fake.display.live_objects(), 0);
}

}  // namespace
}  // namespace app::test
