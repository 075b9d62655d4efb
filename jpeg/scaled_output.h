// Scaled decoding (1/2, 1/4, 1/8): each MCU row is transformed by the reduced inverse DCTs into
// one plane per component at the reduced size, and output rows are built from those planes.
#pragma once

#include <cstdint>

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// After the layout is chosen, with d.scale 2, 4 or 8: the output size (the frame's divided by
// the scale, rounded up), each component's transform size and the planes of one MCU row.
void setup_scaled_output(DecoderState& d);

// The bytes of component c's plane of one MCU row (d.plane[c], or a copy of it).
std::uint64_t scaled_plane_bytes(const DecoderState& d, std::int32_t c);

// Transforms every coefficient block of an MCU row (coef, in block order) into planes (one per
// component, laid out as d.plane).
void transform_mcu_row_scaled(const DecoderState& d, const std::int16_t* coef,
                              std::uint8_t* const planes[3]);

// Builds the next output row of the current MCU row into line1 and returns it.
const std::uint8_t* build_scaled_row(DecoderState& d);

// With d.smooth_down, before the next MCU row is transformed in place of the current one, whose
// last output row is still to come: keeps the rows that output row is made of.
void keep_last_rows(DecoderState& d);
// That output row, once the next MCU row has been transformed, into line1.
const std::uint8_t* build_kept_row(DecoderState& d);

}  // namespace jpeg::detail
