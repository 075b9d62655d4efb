// The picture switch on the two embedded pictures over the in-memory platform: the
// SourceImage against TurboJPEG's decode of resources/*.jpg, the scene and the cursor that
// follow info_mode, the first frame of each scene, the frame surface's pixel layout, the
// scene timer's switch, and refused pictures that change nothing. The pictures and first
// frames are written as PNG to the test output folder.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/picture_preparation.h"
#include "app/pictures.h"
#include "app/player.h"
#include "display/display_setup.h"
#include "display/pixel_format.h"
#include "engine/scene.h"
#include "platform/embedded/embedded_resource_store.h"
#include "tests/app/picture_test_support.h"
#include "tests/support/fake_platform.h"
#include "tests/support/virtual_clock.h"

namespace {

using picture_test::Picture;
constexpr std::int32_t kW = engine::kFrameWidth;
constexpr std::int32_t kH = engine::kFrameHeight;
constexpr std::int32_t kPixels = engine::kFramePixels;

// 0x00RRGGBB of a 16-bit pixel, channels moved up with zero low bits (written out here,
// apart from the code under test).
std::uint32_t expand_565(std::uint16_t p) {
  return ((p >> 11) & 31u) << 19 | ((p >> 5) & 63u) << 10 | (p & 31u) << 3;
}

std::vector<std::uint32_t> working_frame_rgb(const engine::Scene& scene) {
  std::vector<std::uint32_t> rgb(kPixels);
  for (std::int32_t i = 0; i < kPixels; ++i)
    rgb[static_cast<std::size_t>(i)] = expand_565(scene.working_frame.get()[i]);
  return rgb;
}

int channel(std::uint32_t rgb, int c) {
  return static_cast<int>(rgb >> (16 - 8 * c) & 0xFF);
}

// Mean absolute difference per channel over a rectangle (inclusive) between two 640-wide
// pictures, the second one read through an offset and a scale (1 or 1/2).
std::array<double, 3> mean_difference(const std::uint32_t* a, const std::uint32_t* b,
                                      std::int32_t left, std::int32_t top, std::int32_t right,
                                      std::int32_t bottom, bool halve_b = false) {
  std::array<double, 3> sum{};
  for (std::int32_t y = top; y <= bottom; ++y) {
    for (std::int32_t x = left; x <= right; ++x) {
      for (int c = 0; c < 3; ++c) {
        const int vb = channel(b[y * kW + x], c);
        sum[static_cast<std::size_t>(c)] +=
            std::abs(channel(a[y * kW + x], c) - (halve_b ? vb / 2 : vb));
      }
    }
  }
  const double count = static_cast<double>((right - left + 1) * (bottom - top + 1));
  for (double& s : sum) s /= count;
  return sum;
}

// The reference decode of a file in resources/, centred as the player centres it.
std::vector<std::uint32_t> reference_source_image(const char* file) {
  const Picture picture =
      picture_test::reference_decode(picture_test::read_file(std::string(MQ_RESOURCES_DIR) + file));
  std::vector<std::uint32_t> image(kPixels, app::kSourceImageFill);
  const std::int32_t left = (kW - picture.width) / 2;
  const std::int32_t top = (kH - picture.height) / 2;
  for (std::int32_t y = 0; y < picture.height; ++y) {
    for (std::int32_t x = 0; x < picture.width; ++x) {
      image[static_cast<std::size_t>((top + y) * kW + left + x)] =
          std::uint32_t{picture.at(x, y, 0)} << 16 | std::uint32_t{picture.at(x, y, 1)} << 8 |
          picture.at(x, y, 2);
    }
  }
  return image;
}

void write_png(const std::string& name, const std::uint32_t* pixels) {
  EXPECT_TRUE(picture_test::write_png(picture_test::output_dir() + "/" + name, pixels, kW, kH))
      << name;
}

class PictureSwitch : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app::load_pictures(&store_, player_.pictures())); }

  void open_display(bool windowed) {
    screen_.windowed = windowed;
    display::set_label_texts(screen_, "Moviquel Co", "MQLP 1-1");
    ASSERT_EQ(display::init_display(screen_, fake_.window()).result, 0);
  }

  test_support::FakePlatform fake_;
  platform::EmbeddedResourceStore store_{platform::embedded_resources()};
  test_support::VirtualClock clock_{10000};
  app::Player player_{fake_.services(&store_, &clock_)};
  engine::Scene& scene_ = player_.scene();
  display::Display& screen_ = player_.display();
};

TEST_F(PictureSwitch, MainPictureFillsTheSourceImageAndItsSceneDrawsItFirstFrame) {
  open_display(1);
  ASSERT_TRUE(player_.show_picture());

  const std::vector<std::uint32_t> reference = reference_source_image("/main_picture.jpg");
  const auto decoded = mean_difference(scene_.source_image.get(), reference.data(), 0, 0, 639, 479);
  for (double d : decoded) EXPECT_LE(d, picture_test::kFastPathMeanBound);

  EXPECT_TRUE(scene_.main_layer.active);
  EXPECT_TRUE(scene_.strip_layer.active);
  EXPECT_FALSE(scene_.info_layer.active);
  EXPECT_EQ(scene_.scene_start_ms, 10000u);
  // A window shows the arrow.
  EXPECT_EQ(fake_.shell.cursor(), platform::Cursor::kArrow);

  player_.render_frame();
  const std::vector<std::uint32_t> frame = working_frame_rgb(scene_);
  write_png("main_source_image.png", scene_.source_image.get());
  write_png("main_first_frame.png", frame.data());
  // The first frame is the picture in 5-6-5 (up to 8 lower per channel) under the effects:
  // about 30% of its pixels brightened by 16 and a quarter of the 3x2 blocks moved by one
  // pixel. The same comparison against the info picture differs by tens of steps.
  const auto shown = mean_difference(frame.data(), scene_.source_image.get(), 0, 0, 639, 479);
  for (double d : shown) EXPECT_LE(d, 10.0);
  const std::vector<std::uint32_t> other = reference_source_image("/info_picture.jpg");
  const auto wrong = mean_difference(frame.data(), other.data(), 0, 0, 639, 479);
  EXPECT_GT(wrong[0] + wrong[1] + wrong[2], 60.0);
}

TEST_F(PictureSwitch, InfoPictureFillsTheWindowAndFadesInOverThePreviousFrame) {
  open_display(1);
  scene_.info_mode = true;
  const int shows_before = fake_.shell.cursor_show_count();
  ASSERT_TRUE(player_.show_picture());

  // 560 x 400 sits at (40, 40) inside the fill.
  const std::vector<std::uint32_t> reference = reference_source_image("/info_picture.jpg");
  const auto decoded =
      mean_difference(scene_.source_image.get(), reference.data(), 40, 40, 599, 439);
  for (double d : decoded) EXPECT_LE(d, picture_test::kFastPathMeanBound);
  std::int32_t border_wrong = 0;
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      if (x >= 40 && x <= 599 && y >= 40 && y <= 439) continue;
      border_wrong += scene_.source_image.get()[y * kW + x] != 0x404020u ? 1 : 0;
    }
  }
  EXPECT_EQ(border_wrong, 0);

  EXPECT_TRUE(scene_.info_layer.active);
  EXPECT_FALSE(scene_.main_layer.active);
  EXPECT_FALSE(scene_.strip_layer.active);
  EXPECT_EQ(fake_.shell.cursor(), platform::Cursor::kHelp);
  EXPECT_EQ(fake_.shell.cursor_show_count(), shows_before + 1);

  player_.render_frame();
  const std::vector<std::uint32_t> frame = working_frame_rgb(scene_);
  write_png("info_source_image.png", scene_.source_image.get());
  write_png("info_first_frame.png", frame.data());
  // Over a black frame the first step is half the picture inside the window and nothing
  // outside it.
  const auto half =
      mean_difference(frame.data(), scene_.source_image.get(), 40, 40, 599, 439, true);
  for (double d : half) EXPECT_LE(d, 6.0);
  std::int32_t touched = 0;
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      if (x >= 40 && x <= 599 && y >= 40 && y <= 439) continue;
      touched += scene_.working_frame.get()[y * kW + x] != 0 ? 1 : 0;
    }
  }
  EXPECT_EQ(touched, 0);
}

TEST_F(PictureSwitch, FullScreenMainPictureHasNoCursor) {
  open_display(0);
  const int shows_before = fake_.shell.cursor_show_count();
  ASSERT_TRUE(player_.show_picture());
  EXPECT_EQ(fake_.shell.cursor(), platform::Cursor::kNone);
  EXPECT_EQ(fake_.shell.cursor_show_count(), shows_before);
}

TEST_F(PictureSwitch, SceneIsBuiltForThePixelLayoutOfTheFrameSurface) {
  fake_.display.set_desktop(1024, 768, platform::emulated::format_555());
  open_display(1);
  ASSERT_TRUE(player_.show_picture());
  EXPECT_EQ(screen_.pixel_format.green_bits, 5);
  EXPECT_EQ(scene_.main_layer.format.green_bits, 5);
  EXPECT_EQ(scene_.main_layer.format.red_shift, 10);
}

TEST_F(PictureSwitch, SceneTimerSwitchesToTheInfoPictureThroughShowPicture) {
  open_display(1);
  ASSERT_TRUE(player_.show_picture());
  clock_.advance(29999);
  player_.render_frame();
  EXPECT_EQ(scene_.info_mode, 0);
  clock_.set(10000 + 30000);
  player_.render_frame();
  EXPECT_EQ(scene_.info_mode, 1);
  EXPECT_EQ(scene_.source_image.get()[0], app::kSourceImageFill);
  EXPECT_TRUE(scene_.info_layer.active);
  EXPECT_EQ(fake_.shell.cursor(), platform::Cursor::kHelp);
}

// Everything a refused picture must leave as it was.
struct Observed {
  std::vector<std::uint32_t> source_image;
  display::PixelLayout layout;
  bool main_active, strip_active, info_active;
  std::uint32_t scene_start_ms;
  std::size_t cursor_calls;
  int cursor_shows;
  int format_queries;
};

Observed observe(test_support::FakePlatform& fake, app::Player& player) {
  const engine::Scene& scene = player.scene();
  const std::uint32_t* source_image = scene.source_image.get();
  return {std::vector<std::uint32_t>(source_image, source_image + kPixels),
          player.display().pixel_format,
          scene.main_layer.active,
          scene.strip_layer.active,
          scene.info_layer.active,
          scene.scene_start_ms,
          fake.shell.cursor_calls().size(),
          fake.shell.cursor_show_count(),
          fake.display.calls(test_support::Op::kGetPixelFormat)};
}

void set_picture(app::PictureBytes* picture, const std::vector<std::uint8_t>& bytes,
                 std::int32_t length) {
  picture->data.reset(new std::uint8_t[bytes.size()]);
  std::memcpy(picture->data.get(), bytes.data(), bytes.size());
  picture->length = length;
}

TEST_F(PictureSwitch, RefusedPicturesLeaveImageFormatSceneAndCursorUnchanged) {
  open_display(1);
  ASSERT_TRUE(player_.show_picture());
  clock_.advance(1234);

  const std::vector<std::uint8_t> colour =
      picture_test::encode(picture_test::squares(640, 480, 3), picture_test::Sampling::k420);
  const std::vector<std::pair<std::vector<std::uint8_t>, std::int32_t>> refused = {
      {picture_test::encode_cmyk(64, 64), 0},
      {picture_test::with_two_components(
           picture_test::encode(picture_test::squares(64, 64, 3), picture_test::Sampling::k444)),
       0},
      {colour, static_cast<std::int32_t>(colour.size() / 3)},
      {colour, 0},
  };
  scene_.info_mode = true;
  for (std::size_t i = 0; i < refused.size(); ++i) {
    const auto& [bytes, cut] = refused[i];
    const auto length = cut > 0 ? cut : static_cast<std::int32_t>(bytes.size());
    set_picture(&player_.pictures().info_picture, bytes, i == 3 ? 0 : length);
    const Observed before = observe(fake_, player_);
    EXPECT_FALSE(player_.show_picture()) << "picture " << i;
    const Observed after = observe(fake_, player_);
    EXPECT_TRUE(after.source_image == before.source_image) << "picture " << i;
    EXPECT_EQ(std::memcmp(&after.layout, &before.layout, sizeof before.layout), 0) << i;
    EXPECT_EQ(after.main_active, before.main_active) << "picture " << i;
    EXPECT_EQ(after.strip_active, before.strip_active) << "picture " << i;
    EXPECT_EQ(after.info_active, before.info_active) << "picture " << i;
    EXPECT_EQ(after.scene_start_ms, before.scene_start_ms) << "picture " << i;
    EXPECT_EQ(after.cursor_calls, before.cursor_calls) << "picture " << i;
    EXPECT_EQ(after.cursor_shows, before.cursor_shows) << "picture " << i;
    EXPECT_EQ(after.format_queries, before.format_queries) << "picture " << i;
  }
  // info_mode already names the other picture; the main scene runs on.
  EXPECT_EQ(scene_.info_mode, 1);
  EXPECT_TRUE(scene_.main_layer.active);
}

}  // namespace
