// DisplayDevice against the stand-in: creation in both modes (what the window and the
// screen show), presentation with losses and busy flips, copies, fills and refusals.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "display/display_device.h"
#include "tests/support/fake_platform.h"

namespace {

using display::DisplayDevice;
using display::OffscreenSurface;
using test_support::FakePlatform;
using test_support::Op;
using Flags = std::vector<std::uint32_t>;

class DisplayDeviceTest : public ::testing::Test {
 protected:
  void TearDown() override {
    device.release_all();
    EXPECT_EQ(p.display.live_objects(), 0);
    EXPECT_TRUE(p.display.misuses().empty());
  }
  FakePlatform p;
  DisplayDevice device{&p.display, &p.windows};
};

TEST_F(DisplayDeviceTest, FullScreenSetsTheModeAndFlipsOntoTheScreen) {
  ASSERT_EQ(device.create_fullscreen(p.window(), 640, 480, 16), platform::kS_OK);
  EXPECT_EQ(device.windowed, 0);
  EXPECT_TRUE(p.display.full_screen_mode_set());
  EXPECT_TRUE(p.display.exclusive_held());
  EXPECT_EQ(device.screen_rect.right, 640);
  EXPECT_EQ(device.screen_rect.bottom, 480);
  // The back buffer is held twice: once from the chain, once by the device.
  EXPECT_EQ(platform::emulated::ref_count(device.back), 2u);
  // Exclusive full screen; a primary flipping chain (caps and back-buffer count valid;
  // primary, flip, complex, 3D device) with one back buffer, found by its back-buffer caps.
  EXPECT_EQ(p.display.flags_of(Op::kSetCooperativeLevel), Flags{0x11});
  ASSERT_EQ(p.display.surface_requests().size(), 1u);
  const platform::SurfaceDesc& chain = p.display.surface_requests()[0];
  EXPECT_EQ(chain.flags, 0x21u);
  EXPECT_EQ(chain.caps, 0x2218u);
  EXPECT_EQ(chain.back_buffer_count, 1u);
  EXPECT_EQ(p.display.flags_of(Op::kGetAttachedSurface), Flags{0x4});

  ASSERT_EQ(device.clear_back_buffer(0x07E0), platform::kS_OK);
  ASSERT_EQ(device.present(), platform::kS_OK);
  EXPECT_EQ(p.display.screen_rgb(0, 0), 0x00FC00u);
  EXPECT_EQ(p.display.screen_rgb(639, 479), 0x00FC00u);
  // A colour fill, then a flip that does not wait.
  EXPECT_EQ(p.display.flags_of(Op::kBlt), Flags{0x400});
  EXPECT_EQ(p.display.flags_of(Op::kFlip), Flags{0x20});

  device.release_all();
  EXPECT_EQ(p.display.flags_of(Op::kSetCooperativeLevel), (Flags{0x11, 0x8}));
  EXPECT_FALSE(p.display.full_screen_mode_set());
  EXPECT_FALSE(p.display.exclusive_held());
  EXPECT_EQ(device.ddraw, nullptr);
}

TEST_F(DisplayDeviceTest, WindowedSizesTheClientAreaAndKeepsTheWindowOnTheWorkArea) {
  p.windows.set_window_rect({-50, -30, 590, 450});
  p.windows.set_work_area({0, 0, 1024, 738});
  // WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MAXIMIZEBOX.
  p.windows.set_initial_style(0x90090000u);
  ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
  EXPECT_EQ(device.windowed, 1);
  EXPECT_EQ(p.display.flags_of(Op::kSetCooperativeLevel), Flags{0x8});
  // ANDed with 0x7F39FFFF (pop-up off, the other bits kept), ORed with caption, sizing
  // frame and minimise box.
  ASSERT_EQ(p.windows.style_calls().size(), 1u);
  EXPECT_EQ(p.windows.style_calls()[0], 0x10CF0000u);
  // The primary surface by caps alone; a 640×480 back buffer (caps, width, height) that is
  // an off-screen plain 3D-device surface.
  ASSERT_EQ(p.display.surface_requests().size(), 2u);
  EXPECT_EQ(p.display.surface_requests()[0].flags, 0x1u);
  EXPECT_EQ(p.display.surface_requests()[0].caps, 0x200u);
  const platform::SurfaceDesc& back = p.display.surface_requests()[1];
  EXPECT_EQ(back.flags, 0x7u);
  EXPECT_EQ(back.caps, 0x2040u);
  EXPECT_EQ(back.width, 640u);
  EXPECT_EQ(back.height, 480u);
  const platform::Rect outer = p.windows.window_rect(p.window());
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  const platform::Rect client = p.windows.client_rect_on_screen(p.window());
  EXPECT_EQ(client.right - client.left, 640);
  EXPECT_EQ(client.bottom - client.top, 480);
  EXPECT_EQ(device.screen_rect.left, client.left);
  EXPECT_EQ(device.screen_rect.bottom, client.bottom);
  EXPECT_EQ(p.windows.not_topmost_calls(), 1);
  EXPECT_FALSE(p.display.full_screen_mode_set());

  // The blit lands in the client area and nowhere else.
  ASSERT_EQ(device.clear_back_buffer(0x00FF0000), platform::kS_OK);
  ASSERT_EQ(device.present(), platform::kS_OK);
  EXPECT_EQ(p.client_rgb(0, 0), 0xFF0000u);
  EXPECT_EQ(p.client_rgb(639, 479), 0xFF0000u);
  EXPECT_EQ(p.display.screen_rgb(client.left - 1, client.top), 0u);
  EXPECT_EQ(p.display.screen_rgb(client.right, client.top), 0u);
  // The fill, then the windowed present's copy, which waits.
  EXPECT_EQ(p.display.flags_of(Op::kBlt), (Flags{0x400, 0x01000000}));
  EXPECT_TRUE(p.display.flags_of(Op::kFlip).empty());
}

TEST_F(DisplayDeviceTest, WindowedLeavesAWindowInsideTheWorkAreaWhereItIs) {
  p.windows.set_window_rect({100, 60, 200, 160});
  ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
  EXPECT_EQ(p.windows.window_rect(p.window()).left, 100);
  EXPECT_EQ(p.windows.window_rect(p.window()).top, 60);
}

TEST_F(DisplayDeviceTest, PresentWithoutSurfacesIsRefused) {
  EXPECT_EQ(device.present(), platform::kE_POINTER);
  EXPECT_EQ(device.clear_back_buffer(0), platform::kE_POINTER);
}

TEST_F(DisplayDeviceTest, PresentOfALostSurfaceRestoresBothAndReportsTheLoss) {
  ASSERT_EQ(device.create_fullscreen(p.window(), 640, 480, 16), platform::kS_OK);
  p.display.lose_surfaces();
  EXPECT_EQ(device.present(), platform::kDDERR_SURFACELOST);
  EXPECT_FALSE(platform::emulated::surface_lost(device.front));
  EXPECT_FALSE(platform::emulated::surface_lost(device.back));
  EXPECT_EQ(device.present(), platform::kS_OK);
}

TEST_F(DisplayDeviceTest, WindowedPresentOfALostSurfaceRestoresBoth) {
  ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
  p.display.lose_surfaces();
  EXPECT_EQ(device.present(), platform::kDDERR_SURFACELOST);
  EXPECT_FALSE(platform::emulated::surface_lost(device.front));
  EXPECT_FALSE(platform::emulated::surface_lost(device.back));
}

TEST_F(DisplayDeviceTest, PresentRetriesABusyFlipUntilItIsShown) {
  ASSERT_EQ(device.create_fullscreen(p.window(), 640, 480, 16), platform::kS_OK);
  p.display.fail(Op::kFlip, platform::kDDERR_WASSTILLDRAWING, 0, 5);
  EXPECT_EQ(device.present(), platform::kS_OK);
  EXPECT_EQ(p.display.calls(Op::kFlip), 6);
  EXPECT_EQ(p.display.presents(), 1);
}

TEST_F(DisplayDeviceTest, PresentGivesUpOnAFlipThatNeverFinishes) {
  ASSERT_EQ(device.create_fullscreen(p.window(), 640, 480, 16), platform::kS_OK);
  p.display.fail(Op::kFlip, platform::kDDERR_WASSTILLDRAWING, 0, -1);
  EXPECT_EQ(device.present(), platform::kDDERR_WASSTILLDRAWING);
  EXPECT_EQ(p.display.calls(Op::kFlip), display::kMaxPresentAttempts);
}

TEST_F(DisplayDeviceTest, OtherPresentFailuresArePassedUp) {
  ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
  p.display.fail(Op::kBlt, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(device.present(), platform::kE_OUTOFMEMORY);
}

TEST_F(DisplayDeviceTest, OffscreenCreationRefusesMissingObjects) {
  auto surface = std::make_unique<OffscreenSurface>();
  const OffscreenSurface* const held = surface.get();
  EXPECT_EQ(device.create_offscreen(&surface, 8, 8), platform::kE_POINTER);
  EXPECT_EQ(surface.get(), held);
  ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
  const int before = p.display.live_objects();
  EXPECT_EQ(device.create_offscreen(nullptr, 8, 8), platform::kE_INVALIDARG);
  EXPECT_EQ(p.display.live_objects(), before);
  EXPECT_EQ(p.display.calls(Op::kCreateSurface), 2);
}

TEST_F(DisplayDeviceTest, OffscreenCreationFailureNullsTheOutputAndLeavesNothing) {
  ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
  const int before = p.display.live_objects();
  auto surface = std::make_unique<OffscreenSurface>();
  p.display.fail(Op::kCreateSurface, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(device.create_offscreen(&surface, 8, 8), platform::kE_OUTOFMEMORY);
  EXPECT_EQ(surface, nullptr);
  // A surface whose description cannot be read back is not handed out either.
  p.display.fail(Op::kGetSurfaceDesc, platform::kE_FAIL);
  surface = std::make_unique<OffscreenSurface>();
  EXPECT_EQ(device.create_offscreen(&surface, 8, 8), platform::kE_FAIL);
  EXPECT_EQ(surface, nullptr);
  EXPECT_EQ(p.display.live_objects(), before);
}

TEST_F(DisplayDeviceTest, OffscreenSurfacesTakeTheDisplayFormatAndTheirSize) {
  p.display.set_desktop(1024, 768, platform::emulated::format_24());
  ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
  std::unique_ptr<OffscreenSurface> surface;
  ASSERT_EQ(device.create_offscreen(&surface, 33, 7), platform::kS_OK);
  EXPECT_EQ(display::label_width(*surface), 33);
  EXPECT_EQ(display::label_height(*surface), 7);
  EXPECT_EQ(surface->desc.format.rgb_bit_count, 24u);
  // Caps, width and height given; off-screen plain; no pixel format, so the display's.
  const platform::SurfaceDesc& request = p.display.surface_requests().back();
  EXPECT_EQ(request.flags, 0x7u);
  EXPECT_EQ(request.caps, 0x40u);
}

TEST_F(DisplayDeviceTest, DrawSurfaceCopiesEveryPixelUnlessKeyed) {
  p.display.set_desktop(1024, 768, platform::emulated::format_565());
  ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
  std::unique_ptr<OffscreenSurface> surface;
  ASSERT_EQ(device.create_offscreen(&surface, 2, 1), platform::kS_OK);
  platform::emulated::surface_fill(surface->surface, 0);
  platform::SurfaceDesc locked;
  ASSERT_EQ(surface->surface->lock(nullptr, &locked, 0), 0);
  static_cast<std::uint16_t*>(locked.pixels)[1] = 0x001F;
  surface->surface->unlock(nullptr);
  ASSERT_EQ(surface->surface->set_color_key(platform::kColorKeySrcBlt, 0, 0), 0);

  device.clear_back_buffer(0xF800);
  ASSERT_EQ(device.draw_surface(10, 20, surface.get(), nullptr), platform::kS_OK);
  EXPECT_EQ(platform::emulated::surface_raw(device.back, 10, 20), 0u);
  EXPECT_EQ(platform::emulated::surface_raw(device.back, 11, 20), 0x001Fu);

  device.clear_back_buffer(0xF800);
  surface->color_keyed = 1;
  ASSERT_EQ(device.draw_surface(10, 20, surface.get(), nullptr), platform::kS_OK);
  EXPECT_EQ(platform::emulated::surface_raw(device.back, 10, 20), 0xF800u);
  EXPECT_EQ(platform::emulated::surface_raw(device.back, 11, 20), 0x001Fu);
  // Neither fast copy waits (no DDBLTFAST_WAIT); only the keyed one names the source key.
  EXPECT_EQ(p.display.flags_of(Op::kBltFast), (Flags{0x0, 0x1}));
}

TEST_F(DisplayDeviceTest, DrawSurfaceRefusesANullSurfaceBeforeAMissingBackBuffer) {
  EXPECT_EQ(device.draw_surface(0, 0, nullptr, nullptr), platform::kE_INVALIDARG);
  OffscreenSurface empty;
  EXPECT_EQ(device.draw_surface(0, 0, &empty, nullptr), platform::kE_INVALIDARG);
  ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
  std::unique_ptr<OffscreenSurface> surface;
  ASSERT_EQ(device.create_offscreen(&surface, 2, 2), platform::kS_OK);
  DisplayDevice bare{&p.display, &p.windows};
  EXPECT_EQ(bare.draw_surface(0, 0, surface.get(), nullptr), platform::kE_POINTER);
}

// Every step of both creations can fail; each failure is E_FAIL and whatever was made
// before it is freed by release_all.
TEST_F(DisplayDeviceTest, EveryFailingCreationStepReturnsEFailAndLeaksNothing) {
  struct Step {
    Op op;
    int skip;
  };
  const Step full_screen_steps[] = {{Op::kCreateDirectDraw, 0},
                                    {Op::kSetCooperativeLevel, 0},
                                    {Op::kSetDisplayMode, 0},
                                    {Op::kCreateSurface, 0},
                                    {Op::kGetAttachedSurface, 0}};
  for (const Step& step : full_screen_steps) {
    p.display.clear_faults();
    p.display.fail(step.op, platform::kE_OUTOFMEMORY, step.skip);
    EXPECT_EQ(device.create_fullscreen(p.window(), 640, 480, 16), platform::kE_FAIL)
        << static_cast<int>(step.op);
    device.release_all();
    EXPECT_EQ(p.display.live_objects(), 0) << static_cast<int>(step.op);
    EXPECT_FALSE(p.display.full_screen_mode_set());
  }
  const Step windowed_steps[] = {{Op::kCreateDirectDraw, 0}, {Op::kSetCooperativeLevel, 0},
                                 {Op::kCreateSurface, 0},    {Op::kCreateSurface, 1},
                                 {Op::kCreateClipper, 0},    {Op::kClipperSetHwnd, 0},
                                 {Op::kSetClipper, 0}};
  for (const Step& step : windowed_steps) {
    p.display.clear_faults();
    p.display.fail(step.op, platform::kE_OUTOFMEMORY, step.skip);
    EXPECT_EQ(device.create_windowed(p.window(), 640, 480), platform::kE_FAIL)
        << static_cast<int>(step.op) << " skip " << step.skip;
    device.release_all();
    EXPECT_EQ(p.display.live_objects(), 0) << static_cast<int>(step.op);
  }
  p.display.clear_faults();
}

TEST_F(DisplayDeviceTest, NoFullScreenModeFailsTheCreation) {
  p.display.set_mode_640x480x16(false);
  EXPECT_EQ(device.create_fullscreen(p.window(), 640, 480, 16), platform::kE_FAIL);
}

}  // namespace
