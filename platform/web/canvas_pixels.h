// 16-bit frames (5-6-5) as the canvas takes them: RGBA bytes, opaque, each channel widened
// by repeating its top bits, in one pass over the frame.
#pragma once

#include <cstdint>

namespace platform::web {

// Converts width × height pixels (source row stride source_pitch pixels) into out (row
// stride width pixels; 4 bytes R, G, B, A per pixel).
void rgb565_to_rgba(const std::uint16_t* source, std::int32_t source_pitch, std::int32_t width,
                    std::int32_t height, std::uint8_t* out);

}  // namespace platform::web
