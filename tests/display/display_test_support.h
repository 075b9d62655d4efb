// Shared set-up of the display tests: a display over the stand-in platform, a patterned working
// frame, the label texts, and the checks every test ends with (nothing leaked or misused).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "display/display_setup.h"
#include "platform/font/bitmap_font.h"
#include "tests/support/fake_platform.h"

namespace display_test {

inline constexpr char kPublisherText[] = "Moviquel Co";
inline constexpr char kVersionText[] = "MQLP 1-1";
// The label glyph colour 0x601010 (GDI order) as 0x00RRGGBB; every format here keeps it.
inline constexpr std::uint32_t kGlyphRgb = 0x101060;

// 0x00RRGGBB of a 16-bit pixel with zero low bits, written out independently of the code
// under test.
inline std::uint32_t expand_565(std::uint16_t p) {
  return ((p >> 11) & 31u) << 19 | ((p >> 5) & 63u) << 10 | (p & 31u) << 3;
}
inline std::uint32_t expand_555(std::uint16_t p) {
  return ((p >> 10) & 31u) << 19 | ((p >> 5) & 31u) << 11 | (p & 31u) << 3;
}

// A frame whose pixels use every bit and differ from their neighbours.
inline std::vector<std::uint16_t> patterned_frame(std::uint32_t seed = 1) {
  std::vector<std::uint16_t> frame(640 * 480);
  std::uint32_t state = seed;
  for (auto& pixel : frame) {
    state = state * 1103515245u + 12345u;
    pixel = static_cast<std::uint16_t>(state >> 16);
  }
  return frame;
}

// Which pixels of text's cells are ink, as the font draws them: rows of width bits.
struct InkMap {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<bool> ink;
  bool at(std::int32_t x, std::int32_t y) const {
    return ink[static_cast<std::size_t>(y * width + x)];
  }
};

inline InkMap ink_of(const char* text) {
  InkMap map;
  const int length = static_cast<int>(std::string(text).size());
  map.width = platform::font::text_width(text, length);
  map.height = platform::font::line_height();
  map.ink.assign(static_cast<std::size_t>(map.width * map.height), false);
  platform::font::draw_text(
      text, length, 0, 0,
      [](void* context, int x, int y, bool ink) {
        auto* m = static_cast<InkMap*>(context);
        if (ink) m->ink[static_cast<std::size_t>(y * m->width + x)] = true;
      },
      &map);
  return map;
}

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override { display::set_label_texts(screen, kPublisherText, kVersionText); }
  void TearDown() override {
    display::release_display(screen);
    EXPECT_EQ(screen.device, nullptr);
    EXPECT_EQ(screen.frame_surface, nullptr);
    EXPECT_EQ(screen.publisher_label, nullptr);
    EXPECT_EQ(screen.version_label, nullptr);
    EXPECT_EQ(platform.display.live_objects(), 0) << "display objects leaked";
    EXPECT_TRUE(platform.display.misuses().empty())
        << (platform.display.misuses().empty() ? "" : platform.display.misuses().front());
  }

  test_support::FakePlatform platform;
  const std::vector<std::uint16_t> frame = patterned_frame();
  display::Display screen{&platform.display, &platform.windows, frame.data()};
};

}  // namespace display_test
