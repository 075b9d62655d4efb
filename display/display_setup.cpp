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

void destroy(OffscreenSurface*& surface) {
  if (surface != nullptr) {
    surface->release();
    delete surface;
    surface = nullptr;
  }
}

}  // namespace

Display::Display(platform::DisplaySystem* display_system, platform::WindowSystem* window_system)
    : system(display_system), windows(window_system) {}

Display::~Display() {
  release_display(*this);
}

void set_label_texts(Display& display, const char* publisher_label_text,
                     const char* version_tag_text) {
  display.publisher_text = publisher_label_text != nullptr ? publisher_label_text : "";
  display.version_text = version_tag_text != nullptr ? version_tag_text : "";
}

void detect_frame_format(Display& display) {
  OffscreenSurface* frame_surface = display.frame_surface;
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

HResult upload_frame(Display& display, const std::uint16_t* frame) {
  OffscreenSurface* frame_surface = display.frame_surface;
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

HResult init_display(Display& screen, platform::WindowHandle window, bool* windowed_flag,
                     bool* full_screen_refused) {
  if (full_screen_refused != nullptr) *full_screen_refused = false;
  if (windowed_flag == nullptr) return kE_POINTER;
  platform::WindowSystem* windows = screen.windows;

  if (*windowed_flag) {
    release_display(screen);
    screen.display = new DisplayDevice(screen.system, screen.windows);
    DisplayDevice* display = screen.display;
    const HResult created = display->create_windowed(window, kFrameWidth, kFrameHeight);
    if (platform::failed(created)) return created;
    if (windows != nullptr) {
      windows->set_style(window, windows->get_style(window) | kSystemMenuBit);
      windows->attach_menu(window, platform::kMainMenuId);
      // The window was sized before the menu bar came back; size it again so that the
      // client area stays exactly 640×480.
      display->fit_window_to_client(kFrameWidth, kFrameHeight);
    }
    // A palette desktop cannot show the frame: go full screen instead.
    platform::PixelFormatDesc desktop;
    if (platform::succeeded(display->front->get_pixel_format(&desktop)) &&
        desktop.rgb_bit_count <= 8) {
      *windowed_flag = false;
    }
  }

  if (!*windowed_flag) {
    release_display(screen);
    screen.display = new DisplayDevice(screen.system, screen.windows);
    const HResult created =
        screen.display->create_fullscreen(window, kFrameWidth, kFrameHeight, 16);
    if (platform::failed(created)) {
      if (full_screen_refused != nullptr) *full_screen_refused = true;
      return created;
    }
    if (windows != nullptr) {
      windows->detach_menu(window);
      windows->set_style(window, windows->get_style(window) & ~kSystemMenuBit);
    }
  }

  HResult hr = screen.display->create_offscreen(&screen.frame_surface, kFrameWidth, kFrameHeight);
  if (platform::failed(hr)) return hr;
  hr = upload_frame(screen, screen.working_frame);
  if (platform::failed(hr)) return hr;
  hr = create_labels(*screen.display, &screen.publisher_label, screen.publisher_text,
                     &screen.version_label, screen.version_text);
  if (platform::failed(hr)) return hr;
  return draw_label_texts(screen.publisher_label, screen.publisher_text, screen.version_label,
                          screen.version_text);
}

void release_display(Display& screen) {
  destroy(screen.publisher_label);
  destroy(screen.version_label);
  destroy(screen.frame_surface);
  release_device(screen);
}

void release_device(Display& screen) {
  if (screen.display != nullptr) {
    screen.display->release_all();
    delete screen.display;
    screen.display = nullptr;
  }
}

HResult restore_display(Display& screen) {
  if (screen.display == nullptr || screen.display->ddraw == nullptr) return kE_POINTER;
  const HResult restored = screen.display->ddraw->restore_all_surfaces();
  if (platform::failed(restored)) return restored;
  const HResult uploaded = upload_frame(screen, screen.working_frame);
  const HResult drawn = draw_label_texts(screen.publisher_label, screen.publisher_text,
                                         screen.version_label, screen.version_text);
  if (platform::failed(uploaded)) return uploaded;
  if (platform::failed(drawn)) return drawn;
  return kS_OK;
}

HResult test_cooperative_level(Display& screen) {
  if (screen.display == nullptr || screen.display->ddraw == nullptr) return kE_POINTER;
  return screen.display->ddraw->test_cooperative_level();
}

HResult compose_back_buffer(Display& screen) {
  DisplayDevice* display = screen.display;
  if (display == nullptr) return kE_POINTER;
  const std::int32_t bottom = kFrameHeight - kLabelMargin;
  display->clear_back_buffer(0);
  display->draw_surface(0, 0, screen.frame_surface, nullptr);
  if (screen.publisher_label != nullptr) {
    display->draw_surface(kLabelMargin, bottom - label_height(*screen.publisher_label),
                          screen.publisher_label, nullptr);
  }
  if (screen.version_label != nullptr) {
    display->draw_surface(kFrameWidth - kLabelMargin - label_width(*screen.version_label),
                          bottom - label_height(*screen.version_label), screen.version_label,
                          nullptr);
  }
  return kS_OK;
}

}  // namespace display
