// The dithered conversion: the noise range per layout and noise level, clamping, and the
// shared generator state.
#include "engine/dither.h"

#include <gtest/gtest.h>

#include <array>

#include "engine/layer.h"
#include "tests/engine/engine_test_support.h"
#include "tests/support/virtual_clock.h"

namespace {

using engine_test::layout555;
using engine_test::layout565;
using engine_test::ref_lcg;

TEST(WidestChannel, OfEachLayout) {
  EXPECT_EQ(engine::widest_channel(layout565()), 6);
  EXPECT_EQ(engine::widest_channel(layout555()), 5);
  display::PixelLayout wide;
  wide.set_masks(0xFF00, 0x00F0, 0x000F);
  EXPECT_EQ(engine::widest_channel(wide), 8);
}

class DitherTest : public ::testing::Test {
 protected:
  static constexpr std::int32_t kW = 8;
  static constexpr std::int32_t kH = 4;
  engine::Layer make_layer(const display::PixelLayout& pf, std::int32_t noise) {
    engine::Layer layer{{.work = work_.data(),
                         .scratch = scratch_.data(),
                         .source16 = source16_.data(),
                         .source32 = source32_.data(),
                         .width = kW,
                         .height = kH},
                        clock_,
                        dither_rng_};
    layer.set_pixel_format(pf);
    layer.configure({.opacity = 1.0f, .noise = noise});
    layer.set_region(1, 6, 1, 2);
    return layer;
  }

  test_support::VirtualClock clock_;
  std::uint32_t dither_rng_ = 0;
  std::array<std::uint16_t, kW * kH> work_{};
  std::array<std::uint16_t, kW * kH> scratch_{};
  std::array<std::uint16_t, kW * kH> source16_{};
  std::array<std::uint32_t, kW * kH> source32_{};
};

TEST_F(DitherTest, NoiseZeroIn565AddsMinusOneToTwoToAllChannels) {
  for (std::size_t i = 0; i < source32_.size(); ++i) {
    source32_[i] = static_cast<std::uint32_t>(0x00402080u + i * 0x00010101u);
  }
  const engine::Layer layer = make_layer(layout565(), 0);
  engine::dither_convert(layer.view(), layer.noise, dither_rng_);
  std::uint32_t rng = 0;
  for (std::int32_t y = 0; y < kH; ++y) {
    for (std::int32_t x = 0; x < kW; ++x) {
      const auto i = static_cast<std::size_t>(y * kW + x);
      if (x < 1 || x > 6 || y < 1 || y > 2) {
        EXPECT_EQ(source16_[i], 0) << "outside the region";
        continue;
      }
      const std::int32_t d = static_cast<std::int32_t>((ref_lcg(rng) & 0xFF) >> 6) - 1;
      const std::uint32_t v = source32_[i];
      const std::int32_t r = static_cast<std::int32_t>((v >> 16) & 0xFF) + d;
      const std::int32_t g = static_cast<std::int32_t>((v >> 8) & 0xFF) + d;
      const std::int32_t b = static_cast<std::int32_t>(v & 0xFF) + d;
      EXPECT_EQ(source16_[i], engine_test::pack565(r, g, b)) << x << "," << y;
    }
  }
  // One generator step per converted pixel.
  EXPECT_EQ(dither_rng_, rng);
}

TEST_F(DitherTest, NoiseSixSpansMinus127To128AndClamps) {
  // Black and white pixels: whatever the noise, they stay inside 0..255.
  for (std::size_t i = 0; i < source32_.size(); ++i) source32_[i] = (i & 1) ? 0x00FFFFFFu : 0u;
  const engine::Layer layer = make_layer(layout565(), 6);
  dither_rng_ = 12345;
  engine::dither_convert(layer.view(), layer.noise, dither_rng_);
  std::uint32_t rng = 12345;
  for (std::int32_t y = 1; y <= 2; ++y) {
    for (std::int32_t x = 1; x <= 6; ++x) {
      const auto i = static_cast<std::size_t>(y * kW + x);
      const std::int32_t d = static_cast<std::int32_t>(ref_lcg(rng) & 0xFF) - 127;
      const std::int32_t base = (i & 1) ? 255 : 0;
      const std::int32_t c = std::clamp(base + d, 0, 255);
      EXPECT_EQ(source16_[i], engine_test::pack565(c, c, c));
    }
  }
}

TEST_F(DitherTest, EightBitChannelWithNoiseZeroAddsNothing) {
  display::PixelLayout wide;
  wide.set_masks(0xFF00, 0x00F0, 0x000F);
  for (std::size_t i = 0; i < source32_.size(); ++i) source32_[i] = 0x00C37A15u;
  const engine::Layer layer = make_layer(wide, 0);
  engine::dither_convert(layer.view(), layer.noise, dither_rng_);
  EXPECT_EQ(source16_[static_cast<std::size_t>(kW + 1)], wide.pack(0xC3, 0x7A, 0x15));
  EXPECT_EQ(source16_[static_cast<std::size_t>(2 * kW + 6)], wide.pack(0xC3, 0x7A, 0x15));
}

}  // namespace
