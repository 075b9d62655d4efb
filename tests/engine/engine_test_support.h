// Shared pieces of the engine tests: a fixture with a scene in a known state over a virtual
// clock, an independent generator and a frame checksum.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/pixel_format.h"
#include "engine/scene.h"
#include "tests/support/virtual_clock.h"

namespace engine_test {

// The generator written out from its definition, for checking the engine's.
inline std::uint32_t ref_lcg(std::uint32_t& state) {
  state =
      static_cast<std::uint32_t>((std::uint64_t{state} * 1686629717u + 907633385u) & 0xFFFFFFFFu);
  return state >> 16;
}

// The 5-6-5 and 5-5-5 layouts.
inline display::PixelLayout layout565() {
  display::PixelLayout pf;
  pf.set_default_masks();
  return pf;
}
inline display::PixelLayout layout555() {
  display::PixelLayout pf;
  pf.set_masks(0x7C00, 0x03E0, 0x001F);
  return pf;
}

// FNV-1a over 16-bit pixels, low byte first.
std::uint64_t checksum(const std::uint16_t* pixels, std::size_t count);

// A plain 5-6-5 pixel from 8-bit channels, written out independently of PixelFormat.
inline std::uint16_t pack565(std::int32_t r, std::int32_t g, std::int32_t b) {
  return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// Fills the scene's frame buffers with fixed patterns: a picture in source_image, and
// something else in the working frame standing for whatever was shown before.
void fill_test_picture(engine::Scene& scene);

// A scene on a virtual clock at kStartMs, reset (layers off, buffers, generator, mode and
// frame time zero) by SetUp, in the 5-6-5 layout.
class EngineTest : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kStartMs = 1'000'000;

  void SetUp() override;

  // build_scene in the fixture's layout.
  void build();
  // One pass as the shell makes it: scene_tick; on a due switch the picture switch, which
  // is counted and builds the new scene unless fail_switch_ is set; then step_scene.
  void tick();
  void fill_test_picture() { engine_test::fill_test_picture(scene_); }

  test_support::VirtualClock clock_{kStartMs};
  engine::Scene scene_{clock_};
  display::PixelFormat format_;
  int switch_calls_ = 0;
  bool fail_switch_ = false;
};

}  // namespace engine_test
