// YCbCr to RGB conversion with chroma replicated over the pixels it covers (T.81 leaves colour
// to JFIF), and the row converters of the five sampling layouts.
#pragma once

#include <cstdint>

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Fills the four conversion tables of the decoder.
void build_color_tables(DecoderState& d);

// Converts row y (0-based within the MCU row) into line1; the two-row layouts take an even y
// and also write row y + 1 into line2. Pixels of 4 bytes are R, G, B and a zero byte. The
// colour layouts go through d.kernels.
void convert_gray(DecoderState& d, std::int32_t y);
void convert_h1v1(DecoderState& d, std::int32_t y);
void convert_h2v1(DecoderState& d, std::int32_t y);
void convert_h1v2(DecoderState& d, std::int32_t y);
void convert_h2v2(DecoderState& d, std::int32_t y);

}  // namespace jpeg::detail
