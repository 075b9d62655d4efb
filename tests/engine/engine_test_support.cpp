// The engine tests' fixture, patterns and checksum.
#include "tests/engine/engine_test_support.h"

#include <algorithm>

#include "display/pixel_format.h"
#include "engine/dither.h"
#include "engine/frame_buffers.h"
#include "engine/scene.h"

namespace engine_test {

std::uint64_t checksum(const std::uint16_t* pixels, std::size_t count) {
  std::uint64_t h = 1469598103934665603ull;
  for (std::size_t i = 0; i < count; ++i) {
    h = (h ^ (pixels[i] & 0xFFu)) * 1099511628211ull;
    h = (h ^ (pixels[i] >> 8)) * 1099511628211ull;
  }
  return h;
}

void fill_test_picture() {
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
      engine::source_image[i] = r << 16 | g << 8 | b;
      engine::working_frame[i] = static_cast<std::uint16_t>((x * 7) ^ (y * 131));
    }
  }
}

void EngineTest::SetUp() {
  clock_.set(kStartMs);
  clock_.clear_sleeps();
  platform::set_clock(&clock_);
  engine::set_picture_switch(nullptr);
  engine::dither_rng = 0;
  engine::info_mode = 0;
  engine::frame_time_ms = 0;
  for (engine::Layer* layer : {&engine::main_layer, &engine::strip_layer, &engine::info_layer}) {
    layer->activate(false);
  }
  display::global_pixel_format().init_default();
  std::fill(std::begin(engine::working_frame), std::end(engine::working_frame), 0);
  std::fill(std::begin(engine::source_picture), std::end(engine::source_picture), 0);
  std::fill(std::begin(engine::scratch_frame), std::end(engine::scratch_frame), 0);
  std::fill(std::begin(engine::source_image), std::end(engine::source_image), 0u);
}

void EngineTest::TearDown() {
  platform::set_clock(nullptr);
  engine::set_picture_switch(nullptr);
}

}  // namespace engine_test
