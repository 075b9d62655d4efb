// Creating, tearing down and restoring the whole display; the frame upload through the
// colour table; and the back buffer's composition.
#include "display/display_setup.h"

#include <cstring>

#include "display/pixel_format.h"
#include "platform/window_system.h"

namespace display {

using platform::kE_POINTER;
using platform::kS_OK;

namespace {

constexpr std::uint32_t kSystemMenuBit = platform::kStyleSysMenu;

}  // namespace

Display::Display(platform::DisplaySystem* display_system, platform::WindowSystem* window_system,
                 const std::uint16_t* frame)
    : system(display_system), windows(window_system), working_frame(frame) {}

Display::~Display() {
  release_display(*this);
}

void set_label_texts(Display& display, const char* publisher_label_text,
                     const char* version_tag_text) {
  display.publisher_text = publisher_label_text != nullptr ? publisher_label_text : "";
  display.version_text = version_tag_text != nullptr ? version_tag_text : "";
}

void detect_frame_format(Display& display) {
  const OffscreenSurface* frame_surface = display.frame_surface.get();
  if (frame_surface == nullptr || frame_surface->surface == nullptr) return;
  platform::PixelFormatDesc format;
  if (platform::failed(frame_surface->surface->get_pixel_format(&format))) return;
  if (format.rgb_bit_count == 16) {
    display.pixel_format.init_from_masks(format.r_mask, format.g_mask, format.b_mask);
  } else {
    // The frame stays 5-6-5 and is converted on upload.
    display.pixel_format.init_default();
  }
}

HResult upload_frame(Display& display) {
  const std::uint16_t* frame = display.working_frame;
  const OffscreenSurface* frame_surface = display.frame_surface.get();
  if (frame_surface == nullptr || frame_surface->surface == nullptr) return kE_POINTER;
  platform::Surface* surface = frame_surface->surface;
  platform::PixelFormatDesc format;
  const HResult queried = surface->get_pixel_format(&format);
  if (platform::failed(queried)) return queried;

  platform::SurfaceDesc locked;
  const HResult lock =
      surface->lock(nullptr, &locked, platform::kLockWait | platform::kLockNoSysLock);
  if (lock != kS_OK) return lock;

  if (frame != nullptr && locked.pixels != nullptr) {
    // Never write past the locked surface, whatever size it turned out to have.
    const std::int32_t rows = locked.height < static_cast<std::uint32_t>(kFrameHeight)
                                  ? static_cast<std::int32_t>(locked.height)
                                  : kFrameHeight;
    const std::int32_t columns = locked.width < static_cast<std::uint32_t>(kFrameWidth)
                                     ? static_cast<std::int32_t>(locked.width)
                                     : kFrameWidth;
    const std::int32_t byte_count = columns * 2;
    const std::uint32_t* table = display.pixel_format.rgb_table;
    auto* destination = static_cast<std::uint8_t*>(locked.pixels);
    const std::uint16_t* source = frame;
    for (std::int32_t row = 0; row < rows; ++row) {
      switch (format.rgb_bit_count) {
        case 16:
          std::memcpy(destination, source, static_cast<std::size_t>(byte_count));
          break;
        case 32:
          convert_row_to_32(destination, source, byte_count, table);
          break;
        case 24:
          convert_row_to_24(destination, source, byte_count, table);
          break;
        default:
          break;
      }
      destination += locked.pitch_bytes;
      source += kFrameWidth;
    }
  }
  surface->unlock(nullptr);
  return kS_OK;
}

DisplayInit init_display(Display& screen, platform::WindowHandle window) {
  platform::WindowSystem* windows = screen.windows;

  if (screen.windowed) {
    release_display(screen);
    screen.device = std::make_unique<DisplayDevice>(screen.system, screen.windows);
    DisplayDevice& device = *screen.device;
    const HResult created = device.create_windowed(window, kFrameWidth, kFrameHeight);
    if (platform::failed(created)) return {created};
    if (windows != nullptr) {
      windows->set_style(window, windows->get_style(window) | kSystemMenuBit);
      windows->attach_menu(window, platform::kMainMenuId);
      // The window was sized before the menu bar came back; size it again so that the
      // client area stays exactly 640×480.
      device.fit_window_to_client(kFrameWidth, kFrameHeight);
    }
    // A palette desktop cannot show the frame: go full screen instead.
    platform::PixelFormatDesc desktop;
    if (platform::succeeded(device.front->get_pixel_format(&desktop)) &&
        desktop.rgb_bit_count <= 8) {
      screen.windowed = false;
    }
  }

  if (!screen.windowed) {
    release_display(screen);
    screen.device = std::make_unique<DisplayDevice>(screen.system, screen.windows);
    const HResult created = screen.device->create_fullscreen(window, kFrameWidth, kFrameHeight, 16);
    if (platform::failed(created)) return {created, true};
    if (windows != nullptr) {
      windows->detach_menu(window);
      windows->set_style(window, windows->get_style(window) & ~kSystemMenuBit);
    }
  }

  HResult hr = screen.device->create_offscreen(&screen.frame_surface, kFrameWidth, kFrameHeight);
  if (platform::failed(hr)) return {hr};
  hr = upload_frame(screen);
  if (platform::failed(hr)) return {hr};
  hr = create_labels(*screen.device, &screen.publisher_label, screen.publisher_text,
                     &screen.version_label, screen.version_text);
  if (platform::failed(hr)) return {hr};
  return {draw_label_texts(screen.publisher_label.get(), screen.publisher_text,
                           screen.version_label.get(), screen.version_text)};
}

void release_display(Display& screen) {
  screen.publisher_label.reset();
  screen.version_label.reset();
  screen.frame_surface.reset();
  release_device(screen);
}

void release_device(Display& screen) {
  if (screen.device != nullptr) {
    screen.device->release_all();
    screen.device.reset();
  }
}

HResult restore_display(Display& screen) {
  if (screen.device == nullptr || screen.device->ddraw == nullptr) return kE_POINTER;
  const HResult restored = screen.device->ddraw->restore_all_surfaces();
  if (platform::failed(restored)) return restored;
  const HResult uploaded = upload_frame(screen);
  const HResult drawn = draw_label_texts(screen.publisher_label.get(), screen.publisher_text,
                                         screen.version_label.get(), screen.version_text);
  if (platform::failed(uploaded)) return uploaded;
  if (platform::failed(drawn)) return drawn;
  return kS_OK;
}

HResult test_cooperative_level(Display& screen) {
  if (screen.device == nullptr || screen.device->ddraw == nullptr) return kE_POINTER;
  return screen.device->ddraw->test_cooperative_level();
}

HResult compose_back_buffer(Display& screen) {
  DisplayDevice* device = screen.device.get();
  if (device == nullptr) return kE_POINTER;
  const std::int32_t bottom = kFrameHeight - kLabelMargin;
  device->clear_back_buffer(0);
  device->draw_surface(0, 0, screen.frame_surface.get(), nullptr);
  if (TextLabel* publisher = screen.publisher_label.get(); publisher != nullptr) {
    device->draw_surface(kLabelMargin, bottom - label_height(*publisher), publisher, nullptr);
  }
  if (TextLabel* version = screen.version_label.get(); version != nullptr) {
    device->draw_surface(kFrameWidth - kLabelMargin - label_width(*version),
                         bottom - label_height(*version), version, nullptr);
  }
  return kS_OK;
}

}  // namespace display
