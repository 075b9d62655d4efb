// Output set-up and row delivery: the sampling layout, the row buffers, and the building of each
// output row from the sample blocks of the current MCU row.
#pragma once

#include <cstdint>

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Chooses the layout (-225, -226), allocates line buffers and row blocks (-229 beyond 6144
// blocks per row) and builds the colour tables.
void setup_output(DecoderState& d);

// Decodes (or assembles) and transforms the next MCU row; on the last row of a sequential image
// it also reads on to the next marker.
void next_mcu_row(DecoderState& d);

// Builds the next output row of the current MCU row and returns the buffer that holds it.
const std::uint8_t* build_row(DecoderState& d);

// The next output row, with d.rows_remaining > 0: the next MCU row first when the current one is
// used up (or, for chroma smoothed down, when its last row needs the next one), then the row;
// counts it delivered. Throws Failure when decoding the next MCU row fails.
const std::uint8_t* deliver_row(DecoderState& d);

}  // namespace jpeg::detail
