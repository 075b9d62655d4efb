// The SDL2 backend's display: the memory DirectDraw shown in an SDL window on SDL's dummy
// video driver, windowed below the menu bar at the window's scale and in full screen fitted
// between black bars; its full-screen mode refused on request; its objects counted.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/sdl2/sdl2_display.h"

namespace platform::sdl2 {
namespace {

constexpr std::uint32_t kMenuFaceRgb = 0xD4D0C8;  // the menu bar's GDI 0x00C8D0D4

class Sdl2DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window_.sdl = SDL_CreateWindow("test", 0, 0, 1280, 960 + kMenuBarHeight, 0);
    ASSERT_NE(window_.sdl, nullptr) << SDL_GetError();
    window_.menu_attached = true;
    window_.scale = 2;
  }
  void TearDown() override {
    if (window_.sdl != nullptr) SDL_DestroyWindow(window_.sdl);
    SDL_Quit();
  }

  // 0x00RRGGBB of a pixel of the window as last shown.
  std::uint32_t window_rgb(int x, int y) {
    SDL_Surface* s = SDL_GetWindowSurface(window_.sdl);
    if (s == nullptr || x < 0 || y < 0 || x >= s->w || y >= s->h) return 0xFFFFFFFFu;
    Uint32 pixel = 0;
    std::memcpy(&pixel, static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4, 4);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(pixel, s->format, &r, &g, &b);
    return (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
  }

  MainWindow window_;
};

// Fills a locked surface with one raw value and marks its first and last pixels.
void paint(Surface* surface, std::uint32_t fill, std::uint32_t first, std::uint32_t last) {
  SurfaceDesc desc;
  ASSERT_EQ(surface->lock(nullptr, &desc, kLockWait), kS_OK);
  const std::uint32_t bytes = desc.format.rgb_bit_count / 8;
  auto* pixels = static_cast<std::uint8_t*>(desc.pixels);
  for (std::uint32_t y = 0; y < desc.height; ++y) {
    for (std::uint32_t x = 0; x < desc.width; ++x) {
      const bool is_first = x == 0 && y == 0;
      const bool is_last = x + 1 == desc.width && y + 1 == desc.height;
      const std::uint32_t v = is_first ? first : is_last ? last : fill;
      std::memcpy(pixels + y * static_cast<std::uint32_t>(desc.pitch_bytes) + x * bytes, &v, bytes);
    }
  }
  ASSERT_EQ(surface->unlock(nullptr), kS_OK);
}

TEST_F(Sdl2DisplayTest, AWindowedFrameIsEnlargedBelowTheMenuBarAndAFullScreenOneFitsBetweenBars) {
  Sdl2DisplaySystem display(window_);
  DirectDraw* ddraw = nullptr;
  ASSERT_EQ(display.create_direct_draw(&ddraw), kS_OK);
  ASSERT_EQ(ddraw->set_cooperative_level(window_.sdl, kCoopNormal), kS_OK);
  SurfaceDesc request;
  request.flags = kDescCaps;
  request.caps = kCapsPrimarySurface;
  Surface* primary = nullptr;
  ASSERT_EQ(ddraw->create_surface(request, &primary), kS_OK);
  // The desktop is the 640x480 picture area in the dummy screen's 32-bit format.
  PixelFormatDesc format;
  ASSERT_EQ(primary->get_pixel_format(&format), kS_OK);
  EXPECT_EQ(format.rgb_bit_count, 32u);
  request.flags = kDescCaps | kDescWidth | kDescHeight;
  request.caps = kCapsOffscreenPlain;
  request.width = 640;
  request.height = 480;
  Surface* back = nullptr;
  ASSERT_EQ(ddraw->create_surface(request, &back), kS_OK);
  paint(back, 0x00204060, 0x00FF0000, 0x000000FF);
  const Rect area{0, 0, 640, 480};
  ASSERT_EQ(primary->blt(&area, back, nullptr, kBltWait, 0), kS_OK);

  EXPECT_EQ(window_rgb(0, 0), kMenuFaceRgb);
  EXPECT_EQ(window_rgb(0, kMenuBarHeight), 0xFF0000u);
  EXPECT_EQ(window_rgb(1, kMenuBarHeight + 1), 0xFF0000u);
  EXPECT_EQ(window_rgb(2, kMenuBarHeight), 0x204060u);
  EXPECT_EQ(window_rgb(1279, kMenuBarHeight + 959), 0x0000FFu);
  EXPECT_EQ(window_rgb(1277, kMenuBarHeight + 959), 0x204060u);
  EXPECT_EQ(window_.picture.x, 0);
  EXPECT_EQ(window_.picture.y, kMenuBarHeight);
  EXPECT_EQ(window_.picture.width, 1280);
  EXPECT_EQ(window_.picture.height, 960);
  back->release();
  primary->release();

  // Full screen on the dummy 1024x768 desktop: the whole desktop, the picture centred.
  ASSERT_EQ(ddraw->set_cooperative_level(window_.sdl, kCoopExclusive | kCoopFullscreen), kS_OK);
  ASSERT_EQ(ddraw->set_display_mode(640, 480, 16), kS_OK);
  window_.menu_attached = false;
  request = SurfaceDesc{};
  request.flags = kDescCaps | kDescBackBufferCount;
  request.caps = kCapsPrimarySurface | kCapsFlip | kCapsComplex;
  request.back_buffer_count = 1;
  ASSERT_EQ(ddraw->create_surface(request, &primary), kS_OK);
  ASSERT_EQ(primary->get_attached_surface(kCapsBackBuffer, &back), kS_OK);
  // 5-6-5 blue, red and magenta: five-bit channels, which every conversion widens to 255.
  paint(back, 0x001F, 0xF800, 0xF81F);
  ASSERT_EQ(primary->flip(nullptr, kFlipDoNotWait), kS_OK);
  int width = 0, height = 0;
  SDL_GetWindowSize(window_.sdl, &width, &height);
  ASSERT_EQ(width, 1024);
  ASSERT_EQ(height, 768);
  EXPECT_EQ(window_rgb(0, 0), 0x000000u);
  EXPECT_EQ(window_rgb(191, 144), 0x000000u);
  EXPECT_EQ(window_rgb(192, 144), 0xFF0000u);
  EXPECT_EQ(window_rgb(193, 144), 0x0000FFu);
  EXPECT_EQ(window_rgb(192 + 639, 144 + 479), 0xFF00FFu);
  EXPECT_EQ(window_rgb(192 + 640, 144 + 479), 0x000000u);
  EXPECT_EQ(window_.picture.x, 192);
  EXPECT_EQ(window_.picture.y, 144);
  EXPECT_EQ(display.live_objects(), 3);  // the DirectDraw object and the chain's two
  back->release();
  primary->release();
  ASSERT_EQ(ddraw->set_cooperative_level(window_.sdl, kCoopNormal), kS_OK);
  EXPECT_EQ(SDL_GetWindowFlags(window_.sdl) & SDL_WINDOW_FULLSCREEN, 0u);
  ddraw->release();
  EXPECT_EQ(display.live_objects(), 0);
}

TEST_F(Sdl2DisplayTest, FullScreenIsRefusedWhenTheEnvironmentAsksButAScreensaversWindowTakesIt) {
  SDL_setenv("MQ_SDL2_NO_640X480X16", "1", 1);
  Sdl2DisplaySystem display(window_);
  DirectDraw* ddraw = nullptr;
  ASSERT_EQ(display.create_direct_draw(&ddraw), kS_OK);
  ASSERT_EQ(ddraw->set_cooperative_level(window_.sdl, kCoopExclusive | kCoopFullscreen), kS_OK);
  EXPECT_TRUE(failed(ddraw->set_display_mode(640, 480, 16)));
  EXPECT_EQ(SDL_GetWindowFlags(window_.sdl) & SDL_WINDOW_FULLSCREEN, 0u);
  ddraw->release();
  unsetenv("MQ_SDL2_NO_640X480X16");
  // A screensaver's window takes the mode whatever the environment says.
  SDL_setenv("MQ_SDL2_NO_640X480X16", "1", 1);
  window_.foreign = true;
  ASSERT_EQ(display.create_direct_draw(&ddraw), kS_OK);
  ASSERT_EQ(ddraw->set_cooperative_level(window_.sdl, kCoopExclusive | kCoopFullscreen), kS_OK);
  EXPECT_EQ(ddraw->set_display_mode(640, 480, 16), kS_OK);
  EXPECT_EQ(SDL_GetWindowFlags(window_.sdl) & SDL_WINDOW_FULLSCREEN, 0u);  // left as it is
  ddraw->release();
  unsetenv("MQ_SDL2_NO_640X480X16");
  EXPECT_EQ(display.live_objects(), 0);
}

}  // namespace
}  // namespace platform::sdl2
