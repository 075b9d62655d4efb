// Showing the memory display's frames in the SDL window, and its full-screen switches.
#include "platform/sdl2/sdl2_screen.h"

#include <algorithm>
#include <cstdlib>

#include "platform/picture_fit/picture_fit.h"
#include "platform/sdl2/sdl2_menu_bar.h"
#include "platform/sdl2/sdl2_trace.h"

namespace platform::sdl2 {

namespace {

Uint32 sdl_format(const PixelFormatDesc& format) {
  return SDL_MasksToPixelFormatEnum(static_cast<int>(format.rgb_bit_count), format.r_mask,
                                    format.g_mask, format.b_mask, 0);
}

bool same(const PixelFormatDesc& a, const PixelFormatDesc& b) {
  return a.rgb_bit_count == b.rgb_bit_count && a.r_mask == b.r_mask && a.g_mask == b.g_mask &&
         a.b_mask == b.b_mask;
}

// The format DirectDraw gives a windowed program on a desktop whose pixels are these.
PixelFormatDesc windowed_format(const SDL_PixelFormat* desktop) {
  switch (desktop->BytesPerPixel) {
    case 4:
      return emulated::format_32();
    case 3:
      return emulated::format_24();
    case 1:
      return emulated::format_8();
    default:
      return PixelFormatDesc{16, desktop->Rmask, desktop->Gmask, desktop->Bmask};
  }
}

int display_of(SDL_Window* window) {
  return std::max(0, SDL_GetWindowDisplayIndex(window));
}

// The display's own 640x480 mode with 16 bits per pixel, if it lists one.
bool listed_mode(SDL_Window* window, SDL_DisplayMode* out) {
  const int display = display_of(window);
  const int count = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(display, i, &mode) != 0) continue;
    if (mode.w != kPictureWidth || mode.h != kPictureHeight) continue;
    if (SDL_BYTESPERPIXEL(mode.format) != 2) continue;
    *out = mode;
    return true;
  }
  return false;
}

}  // namespace

Sdl2Screen::~Sdl2Screen() {
  if (picture_ != nullptr) SDL_FreeSurface(picture_);
}

bool Sdl2Screen::full_screen_mode(PixelFormatDesc* format) const {
  *format = emulated::format_565();
  // A screensaver's window is drawn into as it is: the picture is fitted to it.
  if (main_window_.foreign) return true;
  if (std::getenv("MQ_SDL2_NO_640X480X16") != nullptr) return false;
  SDL_Window* window = main_window_.sdl;
  if (window == nullptr) return false;
  SDL_Rect screen{0, 0, 0, 0};
  if (SDL_GetDisplayBounds(display_of(window), &screen) != 0) return false;
  SDL_DisplayMode mode;
  if (listed_mode(window, &mode)) {
    int bits = 0;
    Uint32 r = 0, g = 0, b = 0, a = 0;
    if (SDL_PixelFormatEnumToMasks(mode.format, &bits, &r, &g, &b, &a) == SDL_TRUE) {
      *format = PixelFormatDesc{16, r, g, b};
    }
    return true;
  }
  return screen.w >= kPictureWidth && screen.h >= kPictureHeight;
}

void Sdl2Screen::follow_desktop() {
  SDL_Window* window = main_window_.sdl;
  SDL_Surface* screen = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
  if (screen != nullptr) follow_desktop(screen);
}

void Sdl2Screen::follow_desktop(const SDL_Surface* screen) {
  const PixelFormatDesc now = windowed_format(screen->format);
  if (!desktop_known_) {
    display_.set_desktop(kPictureWidth, kPictureHeight, now);
  } else if (!same(now, desktop_)) {
    display_.change_desktop_mode(now);
  }
  desktop_known_ = true;
  desktop_ = now;
}

bool Sdl2Screen::set_full_screen(bool on) {
  full_screen_ = on;
  painted_ = nullptr;
  SDL_Window* window = main_window_.sdl;
  if (window == nullptr || main_window_.foreign) return true;
  if (!on) {
    SDL_SetWindowFullscreen(window, 0);
    return true;
  }
  SDL_Rect screen{0, 0, 0, 0};
  SDL_GetDisplayBounds(display_of(window), &screen);
  SDL_DisplayMode mode;
  int failed = 0;
  if (listed_mode(window, &mode)) {
    failed |= SDL_SetWindowDisplayMode(window, &mode);
    // The whole window becomes the screen: no room is left for the menu bar.
    SDL_SetWindowSize(window, mode.w, mode.h);
    SDL_SetWindowPosition(window, screen.x, screen.y);
    failed |= SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
  } else {
    // The window covers the desktop and the picture is enlarged into it. It is placed and
    // sized first, because without a window manager nothing else would.
    SDL_SetWindowPosition(window, screen.x, screen.y);
    SDL_SetWindowSize(window, screen.w, screen.h);
    failed |= SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  if (failed == 0) return true;
  // Refused: the player says so and stays in its window.
  trace("full screen: %s", SDL_GetError());
  SDL_SetWindowFullscreen(window, 0);
  full_screen_ = false;
  return false;
}

SDL_Surface* Sdl2Screen::wrap(const std::uint8_t* pixels, std::int32_t pitch_bytes,
                              std::int32_t width, std::int32_t height,
                              const PixelFormatDesc& format) {
  const Uint32 wanted = sdl_format(format);
  if (picture_ == nullptr || picture_->w != width || picture_->h != height ||
      picture_->pitch != pitch_bytes || picture_->format->format != wanted) {
    if (picture_ != nullptr) SDL_FreeSurface(picture_);
    picture_ = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(pixels), width, height,
                                                  static_cast<int>(format.rgb_bit_count),
                                                  pitch_bytes, wanted);
    if (picture_ == nullptr) return nullptr;
    SDL_SetSurfaceBlendMode(picture_, SDL_BLENDMODE_NONE);
  }
  // A flip swaps the chain's memory: the surface follows the memory now in front. SDL
  // only reads it.
  picture_->pixels = const_cast<std::uint8_t*>(pixels);
  return picture_;
}

bool Sdl2Screen::fresh_screen(const SDL_Surface* screen) {
  MainWindow& w = main_window_;
  const bool fresh = w.repaint || screen != painted_ || screen->w != painted_width_ ||
                     screen->h != painted_height_;
  w.repaint = false;
  painted_ = screen;
  painted_width_ = screen->w;
  painted_height_ = screen->h;
  return fresh;
}

void Sdl2Screen::show(const std::uint8_t* pixels, std::int32_t pitch_bytes, std::int32_t width,
                      std::int32_t height, const PixelFormatDesc& format) {
  SDL_Window* window = main_window_.sdl;
  SDL_Surface* screen = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
  if (screen == nullptr) return;
  SDL_Surface* picture = wrap(pixels, pitch_bytes, width, height, format);
  if (picture == nullptr) return;
  if (full_screen_) {
    // The whole window is painted (bars black) when it is new to us or was exposed; after
    // that only the picture changes.
    const bool fresh = fresh_screen(screen);
    if (fresh) SDL_FillRect(screen, nullptr, 0);
    const PictureArea area = fit_picture(screen->w, screen->h);
    if (scaler_.draw(picture, screen, area) != 0) return;
    main_window_.picture = area;
    const SDL_Rect part{area.x, area.y, area.width, area.height};
    const int shown =
        fresh ? SDL_UpdateWindowSurface(window) : SDL_UpdateWindowSurfaceRects(window, &part, 1);
    if (shown == 0) note_frame_shown();
    return;
  }
  follow_desktop(screen);
  // The frame goes below the menu bar, enlarged by the largest whole number the window
  // holds and centred on black, as in full screen: the user may have resized the window.
  const int top = picture_top(main_window_);
  if (fresh_screen(screen)) {
    SDL_Rect below{0, top, screen->w, screen->h - top};
    SDL_FillRect(screen, &below, SDL_MapRGB(screen->format, 0, 0, 0));
  }
  PictureArea placed = fit_picture(screen->w, screen->h - top);
  placed.y += top;
  if (placed.width > 0 && scaler_.draw(picture, screen, placed) != 0) return;
  main_window_.picture = placed;
  if (main_window_.menu_attached) draw_menu_bar(screen);
  if (SDL_UpdateWindowSurface(window) == 0) note_frame_shown();
}

void Sdl2Screen::note_frame_shown() {
  // The time of the first frame on screen, for the end-to-end tests and the start-up
  // benchmark.
  if (tracing_frames()) trace("frame shown at %u ms", SDL_GetTicks());
  if (first_frame_shown_) return;
  first_frame_shown_ = true;
  trace("first frame shown at %u ms", SDL_GetTicks());
}

}  // namespace platform::sdl2
