// Files whose three components are red, green and blue as they are (T.81 leaves the colour
// space to the file): how such a file says so, and its rows, built without colour conversion.
#pragma once

#include <cstdint>

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// True for three components that an Adobe segment marks as untransformed (transform 0) or,
// without that segment and without a JFIF segment, whose ids are 'R', 'G' and 'B'.
bool components_are_rgb(const DecoderState& d);

// Like the converters of color_convert.h, for any three-component layout: row y of the MCU
// row into line1 (the two-row layouts take an even y and also write row y + 1 into line2),
// the second and third components replicated over the pixels they cover. Pixels of 4 bytes
// are R, G, B and a zero byte.
void copy_rgb_rows(DecoderState& d, std::int32_t y);

}  // namespace jpeg::detail
