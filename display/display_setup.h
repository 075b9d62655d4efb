// The shell's side of the display: the display globals, creating and releasing the whole
// display, restoring after a loss, reading the frame surface's 16-bit layout, uploading the
// working frame and composing the back buffer. Failures are returned as codes; telling the
// user is the shell's part.
#pragma once

#include <cstdint>

#include "display/display_device.h"
#include "display/frame_size.h"
#include "display/text_label.h"

namespace display {

// The display objects, each null while absent; created by init_display and destroyed by
// release_display.
extern DisplayDevice* display;
extern OffscreenSurface* frame_surface;  // 640×480, receives the working frame
extern TextLabel* publisher_label;
extern TextLabel* version_label;

// Where labels sit: their bottom edge on row 468, 12 pixels in from the left and right.
inline constexpr std::int32_t kLabelMargin = 12;

// The texts of the two labels, kept by pointer (they must live as long as the display).
void set_label_texts(const char* publisher_label_text, const char* version_tag_text);
// The 640×480 16-bit frame that init_display and restore_display upload (null: none).
void set_working_frame(const std::uint16_t* frame);

// Re-reads the frame surface's pixel layout into the global PixelFormat: the surface's masks
// at 16 bits per pixel, 5-6-5 at any other depth; nothing changes if the query fails.
void detect_frame_format();

// Copies frame (640×480, row stride 640; null copies nothing) into the frame surface,
// through the colour table when the surface has 24 or 32 bits per pixel.
// 0, E_POINTER without a frame surface, or the display's error.
HResult upload_frame(const std::uint16_t* frame);

// Creates device, frame surface and labels for *windowed_flag (1 windowed, 0 full screen),
// uploads the working frame and draws the label texts. Clears *windowed_flag when the
// desktop has 8 bits per pixel or fewer. 0 or the first negative result. When given,
// *full_screen_refused tells whether the failure was the full-screen device's creation (the
// 640×480×16 mode is not available), which the user is to be told of.
HResult init_display(platform::WindowHandle window, std::int32_t* windowed_flag,
                     bool* full_screen_refused = nullptr);

// Destroys both labels, the frame surface and the device, and nulls the globals.
void release_display();

// Destroys only the device (a failed frame or mode switch ends the program).
void release_device();

// After a loss: restores all surfaces, uploads the working frame and redraws the label
// texts. 0 or the first negative result.
HResult restore_display();

// The device's cooperative-level test; E_POINTER without a device.
HResult test_cooperative_level();

// Clears the back buffer, copies the frame surface onto it and the labels colour-keyed to
// the bottom corners. E_POINTER without a device; the copies' results are not reported.
HResult compose_back_buffer();

}  // namespace display
