// Label creation at the measured size of its text, text drawing through a surface's GDI
// context, and the colour-key probe that turns a GDI colour into a surface pixel.
#include "display/text_label.h"

#include <cstring>
#include <utility>

#include "platform/window_system.h"

namespace display {

using platform::kE_FAIL;
using platform::kE_INVALIDARG;
using platform::kE_POINTER;
using platform::kS_OK;

namespace {

std::int32_t length_of(const char* text) {
  return static_cast<std::int32_t>(std::strlen(text));
}

}  // namespace

HResult DisplayDevice::create_text_label(std::unique_ptr<OffscreenSurface>* out,
                                         platform::Font* font, const char* text,
                                         platform::ColorRef background,
                                         platform::ColorRef foreground) {
  if (ddraw == nullptr || text == nullptr || out == nullptr) return kE_INVALIDARG;
  out->reset();

  // Measure on the screen's context, as the label surface does not exist yet.
  platform::DisplaySystem* system = display_system;
  platform::DrawContext* screen = system != nullptr ? system->get_screen_dc() : nullptr;
  if (screen == nullptr) return kE_FAIL;
  if (font != nullptr) screen->select_font(font);
  std::int32_t width = 0;
  std::int32_t height = 0;
  const bool measured = screen->text_extent(text, length_of(text), &width, &height);
  system->release_screen_dc(screen);
  if (!measured || width < 0 || height < 0) return kE_FAIL;

  platform::SurfaceDesc request;
  request.flags = platform::kDescCaps | platform::kDescWidth | platform::kDescHeight;
  request.width = static_cast<std::uint32_t>(width);
  request.height = static_cast<std::uint32_t>(height);
  request.caps = platform::kCapsOffscreenPlain;
  auto label = std::make_unique<OffscreenSurface>();
  const HResult created = label->create_surface(ddraw, request);
  if (platform::failed(created)) return created;
  *out = std::move(label);
  const HResult drawn = (*out)->draw_text(font, text, 0, 0, background, foreground);
  return drawn == kS_OK ? kS_OK : drawn;
}

HResult OffscreenSurface::draw_text(platform::Font* font, const char* text, std::int32_t x,
                                    std::int32_t y, platform::ColorRef background,
                                    platform::ColorRef foreground) {
  if (surface == nullptr || text == nullptr) return kE_INVALIDARG;
  // Reallocates the memory if the surface was lost; a no-op otherwise.
  const HResult restored = surface->restore();
  if (platform::failed(restored)) return restored;
  platform::DrawContext* context = nullptr;
  const HResult got = surface->get_dc(&context);
  if (platform::failed(got)) return got;
  if (context == nullptr) return kE_FAIL;
  context->set_bk_color(background);
  context->set_text_color(foreground);
  if (font != nullptr) context->select_font(font);
  context->text_out(x, y, text, length_of(text));
  const HResult released = surface->release_dc(context);
  return platform::failed(released) ? released : kS_OK;
}

HResult OffscreenSurface::set_color_key(platform::ColorRef color) {
  if (surface == nullptr) return kE_POINTER;
  color_keyed = 1;
  const std::uint32_t low = color_to_pixel(color);
  const std::uint32_t high = color_to_pixel(color);
  return surface->set_color_key(platform::kColorKeySrcBlt, low, high);
}

std::uint32_t OffscreenSurface::color_to_pixel(platform::ColorRef color) {
  if (surface == nullptr) return 0;
  const bool probe = color != platform::kInvalidColor;
  std::uint32_t result = 0xFFFFFFFFu;

  // Let GDI write the colour into pixel (0, 0), so that the surface itself says which raw
  // value the colour becomes in its format.
  bool probed = false;
  platform::ColorRef saved = platform::kInvalidColor;
  if (probe) {
    platform::DrawContext* context = nullptr;
    if (platform::succeeded(surface->get_dc(&context)) && context != nullptr) {
      saved = context->get_pixel(0, 0);
      context->set_pixel(0, 0, color);
      surface->release_dc(context);
      probed = true;
    }
  }

  platform::SurfaceDesc locked;
  if (surface->lock(nullptr, &locked, platform::kLockWait) == kS_OK) {
    if (locked.pixels != nullptr) {
      // Only the bytes of one pixel are read: a narrow surface may have fewer than four.
      const std::uint32_t depth = locked.format.rgb_bit_count;
      std::uint32_t bytes = (depth + 7) / 8;
      if (bytes > 4) bytes = 4;
      std::uint32_t value = 0;
      const auto* pixel = static_cast<const std::uint8_t*>(locked.pixels);
      for (std::uint32_t i = 0; i < bytes; ++i) value |= std::uint32_t{pixel[i]} << (8 * i);
      if (depth < 32) value &= (std::uint32_t{1} << depth) - 1;
      result = value;
    }
    surface->unlock(nullptr);
  }

  if (probed && saved != platform::kInvalidColor) {
    platform::DrawContext* context = nullptr;
    if (platform::succeeded(surface->get_dc(&context)) && context != nullptr) {
      context->set_pixel(0, 0, saved);
      surface->release_dc(context);
    }
  }
  return result;
}

HResult create_labels(DisplayDevice& device, std::unique_ptr<TextLabel>* publisher,
                      const char* publisher_text, std::unique_ptr<TextLabel>* version,
                      const char* version_text) {
  HResult hr = device.create_text_label(publisher, nullptr, publisher_text, 0, 0);
  if (hr != kS_OK) return hr;
  hr = device.create_text_label(version, nullptr, version_text, 0, 0);
  if (hr != kS_OK) return hr;
  (*publisher)->set_color_key(kLabelColorKey);
  return (*version)->set_color_key(kLabelColorKey);
}

HResult draw_label_texts(TextLabel* publisher, const char* publisher_text, TextLabel* version,
                         const char* version_text) {
  if (publisher == nullptr || version == nullptr) return kE_POINTER;
  const HResult hr =
      publisher->draw_text(nullptr, publisher_text, 0, 0, kLabelBackground, kLabelText);
  if (hr != kS_OK) return hr;
  return version->draw_text(nullptr, version_text, 0, 0, kLabelBackground, kLabelText);
}

}  // namespace display
