// The shell's side of the display: the display's objects, creating and releasing the whole
// display, restoring after a loss, reading the frame surface's 16-bit layout, uploading the
// working frame and composing the back buffer. Failures are returned as codes; telling the
// user is the shell's part.
#pragma once

#include <cstdint>
#include <memory>

#include "display/display_device.h"
#include "display/frame_size.h"
#include "display/pixel_format.h"
#include "display/text_label.h"

namespace display {

// The display: its objects, each null while absent (created by init_display and destroyed
// by release_display), the mode they are made in, the frame surface's pixel layout, and
// what set-up and restore draw.
struct Display {
  // No objects yet, full screen first. The device is created through system and sizes the
  // window through windows; either may be null (creation then fails, or the window is left
  // alone). working_frame (640×480, 16 bits, null: none) is what the frame surface shows; it
  // is not owned and must outlive the display.
  Display(platform::DisplaySystem* system, platform::WindowSystem* windows,
          const std::uint16_t* working_frame = nullptr);
  // release_display.
  ~Display();
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  std::unique_ptr<DisplayDevice> device;
  std::unique_ptr<OffscreenSurface> frame_surface;  // 640×480, receives the working frame
  std::unique_ptr<TextLabel> publisher_label;
  std::unique_ptr<TextLabel> version_label;
  // The mode init_display makes: a window, or exclusive full screen.
  bool windowed = false;
  // The frame surface's 16-bit layout (detect_frame_format) and its colour table, which
  // upload_frame converts through; the layers draw in this layout.
  PixelFormat pixel_format;

  platform::DisplaySystem* system;
  platform::WindowSystem* windows;
  const std::uint16_t* const working_frame;
  // Kept by pointer: the label texts that init_display and restore_display draw.
  const char* publisher_text = "";
  const char* version_text = "";
};

// What init_display did: 0 or the first negative result, and whether that failure was the
// full-screen device's creation (the 640×480×16 mode is not available), which the user is
// to be told of.
struct DisplayInit {
  HResult result = platform::kS_OK;
  bool full_screen_refused = false;
};

// Where labels sit: their bottom edge on row 468, 12 pixels in from the left and right.
inline constexpr std::int32_t kLabelMargin = 12;

// The texts of the two labels, kept by pointer (they must live as long as the display).
void set_label_texts(Display& display, const char* publisher_label_text,
                     const char* version_tag_text);

// Re-reads the frame surface's pixel layout into display.pixel_format: the surface's masks
// at 16 bits per pixel, 5-6-5 at any other depth; nothing changes if the query fails.
void detect_frame_format(Display& display);

// Copies the working frame (row stride 640; null copies nothing) into the frame surface,
// through the colour table when the surface has 24 or 32 bits per pixel.
// 0, E_POINTER without a frame surface, or the display's error.
HResult upload_frame(Display& display);

// Creates device, frame surface and labels in display.windowed's mode, uploads the working
// frame and draws the label texts. Clears display.windowed when the desktop has 8 bits per
// pixel or fewer, since such a desktop cannot show the frame in a window.
DisplayInit init_display(Display& display, platform::WindowHandle window);

// Destroys both labels, the frame surface and the device, and nulls their pointers.
void release_display(Display& display);

// Destroys only the device (a failed frame or mode switch ends the program).
void release_device(Display& display);

// After a loss: restores all surfaces, uploads the working frame and redraws the label
// texts. 0 or the first negative result.
HResult restore_display(Display& display);

// The device's cooperative-level test; E_POINTER without a device.
HResult test_cooperative_level(Display& display);

// Clears the back buffer, copies the frame surface onto it and the labels colour-keyed to
// the bottom corners. E_POINTER without a device; the copies' results are not reported.
HResult compose_back_buffer(Display& display);

}  // namespace display
