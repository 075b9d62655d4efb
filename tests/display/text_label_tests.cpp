// Text labels: measured size, text drawn through the surface's context, the colour-key
// probe, and the two shell routines, checked on the surfaces' pixels.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "display/display_device.h"
#include "display/text_label.h"
#include "display_test_support.h"
#include "tests/support/fake_platform.h"

namespace {

using display::DisplayDevice;
using display::OffscreenSurface;
using display_test::ink_of;
using test_support::FakePlatform;
using test_support::Op;

class TextLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p.display.set_desktop(1024, 768, platform::emulated::format_565());
    p.display.set_row_padding_bytes(6);
    ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
    ASSERT_EQ(device.create_offscreen(&surface, 20, 4), platform::kS_OK);
  }
  void TearDown() override {
    surface.reset();
    device.release_all();
    EXPECT_EQ(p.display.live_objects(), 0);
    EXPECT_TRUE(p.display.misuses().empty());
  }
  FakePlatform p;
  DisplayDevice device{&p.display, &p.windows};
  std::unique_ptr<OffscreenSurface> surface;
};

TEST_F(TextLabelTest, ColorToPixelGivesTheRawValueAndPutsTheProbedPixelBack) {
  platform::emulated::surface_fill(surface->surface, 0x1234);
  // Green 255 in 5-6-5 is all six green bits.
  EXPECT_EQ(surface->color_to_pixel(0x00FF00), 0x07E0u);
  // GDI order: 0x0000FF is red.
  EXPECT_EQ(surface->color_to_pixel(0x0000FF), 0xF800u);
  EXPECT_EQ(platform::emulated::surface_raw(surface->surface, 0, 0), 0x1234u);
}

TEST_F(TextLabelTest, ColorToPixelOfTheInvalidColourReadsWithoutProbing) {
  platform::emulated::surface_fill(surface->surface, 0xBEEF);
  const int contexts = p.display.calls(Op::kGetDc);
  EXPECT_EQ(surface->color_to_pixel(platform::kInvalidColor), 0xBEEFu);
  EXPECT_EQ(p.display.calls(Op::kGetDc), contexts);
  EXPECT_EQ(platform::emulated::surface_raw(surface->surface, 0, 0), 0xBEEFu);
}

TEST_F(TextLabelTest, ColorToPixelReadsOnlyOnePixelOfA24BitSurface) {
  p.display.set_desktop(1024, 768, platform::emulated::format_24());
  // No padding: the surface's memory is exactly three bytes, so reading a fourth overflows.
  p.display.set_row_padding_bytes(0);
  device.release_all();
  surface.reset();
  ASSERT_EQ(device.create_windowed(p.window(), 640, 480), platform::kS_OK);
  ASSERT_EQ(device.create_offscreen(&surface, 1, 1), platform::kS_OK);
  platform::emulated::surface_fill(surface->surface, 0xABCDEF);
  // 0x00BBGGRR 0x123456 is red 0x56, green 0x34, blue 0x12.
  EXPECT_EQ(surface->color_to_pixel(0x123456), 0x563412u);
  EXPECT_EQ(platform::emulated::surface_raw(surface->surface, 0, 0), 0xABCDEFu);
}

TEST_F(TextLabelTest, ColorToPixelWithoutSurfaceOrLockIsZeroOrAllOnes) {
  OffscreenSurface empty;
  EXPECT_EQ(empty.color_to_pixel(0), 0u);
  p.display.fail(Op::kLock, platform::kE_FAIL);
  EXPECT_EQ(surface->color_to_pixel(0), 0xFFFFFFFFu);
}

TEST_F(TextLabelTest, SetColorKeyMakesTheProbedPixelTheKey) {
  platform::emulated::surface_fill(surface->surface, 0x5555);
  ASSERT_EQ(surface->set_color_key(0x0000FF), platform::kS_OK);
  EXPECT_EQ(surface->color_keyed, 1);
  std::uint32_t low = 0, high = 0;
  ASSERT_TRUE(platform::emulated::surface_color_key(surface->surface, &low, &high));
  EXPECT_EQ(low, 0xF800u);
  EXPECT_EQ(high, 0xF800u);
  EXPECT_EQ(platform::emulated::surface_raw(surface->surface, 0, 0), 0x5555u);
  // Two probes, each a lock that waits (DDLOCK_WAIT alone); the key is for source copies.
  EXPECT_EQ(p.display.flags_of(Op::kLock), (std::vector<std::uint32_t>{0x1, 0x1}));
  EXPECT_EQ(p.display.flags_of(Op::kSetColorKey), std::vector<std::uint32_t>{0x8});
}

TEST_F(TextLabelTest, AFailedLockMakesAllOnesTheKey) {
  p.display.fail(Op::kLock, platform::kE_FAIL, 0, 2);
  EXPECT_EQ(surface->set_color_key(0), platform::kS_OK);
  std::uint32_t low = 0, high = 0;
  ASSERT_TRUE(platform::emulated::surface_color_key(surface->surface, &low, &high));
  EXPECT_EQ(low, 0xFFFFFFFFu);
  EXPECT_EQ(high, 0xFFFFFFFFu);
}

TEST_F(TextLabelTest, SetColorKeyWithoutSurfaceIsEPointer) {
  OffscreenSurface empty;
  EXPECT_EQ(empty.set_color_key(0), platform::kE_POINTER);
  EXPECT_EQ(empty.color_keyed, 0);
}

TEST_F(TextLabelTest, DrawTextRefusesMissingSurfaceOrText) {
  OffscreenSurface empty;
  EXPECT_EQ(empty.draw_text(nullptr, "x", 0, 0, 0, 0), platform::kE_INVALIDARG);
  EXPECT_EQ(surface->draw_text(nullptr, nullptr, 0, 0, 0, 0), platform::kE_INVALIDARG);
}

TEST_F(TextLabelTest, DrawTextRestoresALostSurfaceAndPassesContextErrorsUp) {
  p.display.lose_surfaces();
  EXPECT_EQ(surface->draw_text(nullptr, "A", 0, 0, 0, 0xFFFFFF), platform::kS_OK);
  EXPECT_FALSE(platform::emulated::surface_lost(surface->surface));
  p.display.fail(Op::kGetDc, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(surface->draw_text(nullptr, "A", 0, 0, 0, 0xFFFFFF), platform::kE_OUTOFMEMORY);
  p.display.fail(Op::kReleaseDc, platform::kE_FAIL);
  EXPECT_EQ(surface->draw_text(nullptr, "A", 0, 0, 0, 0xFFFFFF), platform::kE_FAIL);
  p.display.fail(Op::kRestore, platform::kDDERR_WRONGMODE);
  EXPECT_EQ(surface->draw_text(nullptr, "A", 0, 0, 0, 0xFFFFFF), platform::kDDERR_WRONGMODE);
}

TEST_F(TextLabelTest, ALabelIsExactlyItsMeasuredTextWithOpaqueBackground) {
  std::unique_ptr<OffscreenSurface> label;
  ASSERT_EQ(device.create_text_label(&label, nullptr, "Moviquel Co", 0x000000, 0xFFFFFF),
            platform::kS_OK);
  const display_test::InkMap ink = ink_of("Moviquel Co");
  ASSERT_EQ(display::label_width(*label), ink.width);
  ASSERT_EQ(display::label_height(*label), 16);
  int ink_pixels = 0;
  for (std::int32_t y = 0; y < ink.height; ++y) {
    for (std::int32_t x = 0; x < ink.width; ++x) {
      const std::uint32_t rgb = platform::emulated::surface_rgb(label->surface, x, y);
      ASSERT_EQ(rgb, ink.at(x, y) ? 0xF8FCF8u : 0u) << x << "," << y;
      ink_pixels += ink.at(x, y) ? 1 : 0;
    }
  }
  EXPECT_GT(ink_pixels, 100);
}

TEST_F(TextLabelTest, LabelCreationRefusesMissingArguments) {
  auto label = std::make_unique<OffscreenSurface>();
  const OffscreenSurface* const held = label.get();
  EXPECT_EQ(device.create_text_label(nullptr, nullptr, "x", 0, 0), platform::kE_INVALIDARG);
  EXPECT_EQ(device.create_text_label(&label, nullptr, nullptr, 0, 0), platform::kE_INVALIDARG);
  DisplayDevice bare{&p.display, &p.windows};
  EXPECT_EQ(bare.create_text_label(&label, nullptr, "x", 0, 0), platform::kE_INVALIDARG);
  EXPECT_EQ(label.get(), held);
}

TEST_F(TextLabelTest, LabelCreationFailuresNullTheOutputAndLeakNothing) {
  const int before = p.display.live_objects();
  auto label = std::make_unique<OffscreenSurface>();
  p.display.fail(Op::kCreateSurface, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(device.create_text_label(&label, nullptr, "abc", 0, 0), platform::kE_OUTOFMEMORY);
  EXPECT_EQ(label, nullptr);
  p.display.fail(Op::kTextExtent, platform::kE_FAIL);
  EXPECT_EQ(device.create_text_label(&label, nullptr, "abc", 0, 0), platform::kE_FAIL);
  EXPECT_EQ(label, nullptr);
  EXPECT_EQ(p.display.live_objects(), before);
  // A failed drawing keeps the label: the caller releases it with the others.
  p.display.fail(Op::kGetDc, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(device.create_text_label(&label, nullptr, "abc", 0, 0), platform::kE_OUTOFMEMORY);
  ASSERT_NE(label, nullptr);
  label.reset();
  EXPECT_EQ(p.display.live_objects(), before);
}

TEST_F(TextLabelTest, BothLabelsAreCreatedKeyedToBlackAndDrawnInTheLabelColour) {
  std::unique_ptr<OffscreenSurface> publisher;
  std::unique_ptr<OffscreenSurface> version;
  ASSERT_EQ(display::create_labels(device, &publisher, "Moviquel Co", &version, "MQLP 1-1"),
            platform::kS_OK);
  for (const OffscreenSurface* label : {publisher.get(), version.get()}) {
    std::uint32_t low = 1, high = 1;
    ASSERT_TRUE(platform::emulated::surface_color_key(label->surface, &low, &high));
    EXPECT_EQ(low, 0u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(label->color_keyed, 1);
  }
  ASSERT_EQ(display::draw_label_texts(publisher.get(), "Moviquel Co", version.get(), "MQLP 1-1"),
            platform::kS_OK);
  const display_test::InkMap ink = ink_of("MQLP 1-1");
  ASSERT_EQ(display::label_width(*version), ink.width);
  for (std::int32_t y = 0; y < ink.height; ++y) {
    for (std::int32_t x = 0; x < ink.width; ++x) {
      ASSERT_EQ(platform::emulated::surface_rgb(version->surface, x, y),
                ink.at(x, y) ? display_test::kGlyphRgb : 0u);
    }
  }
}

TEST_F(TextLabelTest, LabelCreationStopsAtTheFirstFailure) {
  std::unique_ptr<OffscreenSurface> publisher;
  std::unique_ptr<OffscreenSurface> version;
  p.display.fail(Op::kCreateSurface, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(display::create_labels(device, &publisher, "Moviquel Co", &version, "MQLP 1-1"),
            platform::kE_OUTOFMEMORY);
  EXPECT_EQ(publisher, nullptr);
  EXPECT_EQ(version, nullptr);
  EXPECT_EQ(p.display.calls(Op::kSetColorKey), 0);
}

TEST_F(TextLabelTest, DrawingLabelTextsWithoutLabelsIsEPointer) {
  EXPECT_EQ(display::draw_label_texts(nullptr, "a", surface.get(), "b"), platform::kE_POINTER);
  EXPECT_EQ(display::draw_label_texts(surface.get(), "a", nullptr, "b"), platform::kE_POINTER);
}

TEST_F(TextLabelTest, AFailedPublisherTextSkipsTheVersionText) {
  std::unique_ptr<OffscreenSurface> publisher;
  std::unique_ptr<OffscreenSurface> version;
  ASSERT_EQ(display::create_labels(device, &publisher, "Moviquel Co", &version, "MQLP 1-1"), 0);
  const int contexts = p.display.calls(Op::kGetDc);
  p.display.fail(Op::kGetDc, platform::kE_OUTOFMEMORY);
  EXPECT_EQ(display::draw_label_texts(publisher.get(), "Moviquel Co", version.get(), "MQLP 1-1"),
            platform::kE_OUTOFMEMORY);
  EXPECT_EQ(p.display.calls(Op::kGetDc), contexts + 1);
}

}  // namespace
