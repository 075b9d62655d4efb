// The engine tests' fixture, patterns and checksum.
#include "tests/engine/engine_test_support.h"

#include <algorithm>

#include "display/pixel_format.h"

namespace engine_test {

std::uint64_t checksum(const std::uint16_t* pixels, std::size_t count) {
  std::uint64_t h = 1469598103934665603ull;
  for (std::size_t i = 0; i < count; ++i) {
    h = (h ^ (pixels[i] & 0xFFu)) * 1099511628211ull;
    h = (h ^ (pixels[i] >> 8)) * 1099511628211ull;
  }
  return h;
}

void fill_test_picture(engine::Scene& scene) {
  using engine::kFrameHeight;
  using engine::kFrameWidth;
  std::uint32_t rng = 77;
  for (std::int32_t y = 0; y < kFrameHeight; ++y) {
    for (std::int32_t x = 0; x < kFrameWidth; ++x) {
      const auto i = static_cast<std::size_t>(y * kFrameWidth + x);
      // Gradients with a little texture, including pure black and white areas for clamping.
      std::uint32_t r = static_cast<std::uint32_t>(x * 255 / (kFrameWidth - 1));
      std::uint32_t g = static_cast<std::uint32_t>(y * 255 / (kFrameHeight - 1));
      std::uint32_t b = (ref_lcg(rng) & 0x3Fu) + static_cast<std::uint32_t>((x + y) & 0x7F);
      if (x < 32) r = g = b = 0;
      if (x >= kFrameWidth - 32) r = g = b = 255;
      scene.source_image.get()[i] = r << 16 | g << 8 | b;
      scene.working_frame.get()[i] = static_cast<std::uint16_t>((x * 7) ^ (y * 131));
    }
  }
}

void EngineTest::SetUp() {
  clock_.set(kStartMs);
  clock_.clear_sleeps();
  scene_.dither_rng = 0;
  scene_.info_mode = false;
  scene_.frame_time_ms = 0;
  for (engine::Layer* layer : {&scene_.main_layer, &scene_.strip_layer, &scene_.info_layer}) {
    layer->activate(false);
  }
  format_.init_default();
  const auto n = static_cast<std::size_t>(engine::kFramePixels);
  std::fill_n(scene_.working_frame.get(), n, std::uint16_t{0});
  std::fill_n(scene_.source_picture.get(), n, std::uint16_t{0});
  std::fill_n(scene_.scratch_frame.get(), n, std::uint16_t{0});
  std::fill_n(scene_.source_image.get(), n, 0u);
  switch_calls_ = 0;
  fail_switch_ = false;
}

void EngineTest::build() {
  engine::build_scene(scene_, format_);
}

void EngineTest::tick() {
  if (engine::scene_tick(scene_) == engine::SceneDue::kPictureSwitch) {
    ++switch_calls_;
    if (!fail_switch_) build();
  }
  engine::step_scene(scene_);
}

}  // namespace engine_test
