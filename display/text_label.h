// Text labels: off-screen surfaces exactly as large as their text, drawn once with GDI and
// copied colour-keyed over each frame; and the shell's two routines that make and redraw
// the publisher and version labels.
#pragma once

#include <cstdint>
#include <memory>

#include "display/display_device.h"

namespace display {

// A text label is an off-screen surface sized to its text.
using TextLabel = OffscreenSurface;

// Colours of the labels (GDI 0x00BBGGRR): black, transparent through the colour key, and
// the glyphs' dark blue-red.
inline constexpr platform::ColorRef kLabelBackground = 0x000000;
inline constexpr platform::ColorRef kLabelText = 0x601010;
inline constexpr platform::ColorRef kLabelColorKey = 0x000000;

// Creates the publisher label, then the version label (no font, black on black), stopping
// at the first non-zero result, then keys both to black. The result of keying the second.
HResult create_labels(DisplayDevice& device, std::unique_ptr<TextLabel>* publisher,
                      const char* publisher_text, std::unique_ptr<TextLabel>* version,
                      const char* version_text);

// Draws the label texts at (0, 0) in kLabelText on black, the publisher label first and the
// version label only if that returned 0. The result of the last call; E_POINTER when a
// label is missing.
HResult draw_label_texts(TextLabel* publisher, const char* publisher_text, TextLabel* version,
                         const char* version_text);

}  // namespace display
