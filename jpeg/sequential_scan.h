// Entropy decoding of one MCU row of a sequential Huffman scan (T.81 F.2.2) into the row's
// coefficient blocks, with high-water counts so that reused blocks are cleared only where needed.
#pragma once

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Plain variant: 32-bit reader, coefficients dequantised as they are stored.
void decode_mcu_row(DecoderState& d);

// Fast variant: 64-bit reader, coefficients stored unquantised for the fast transform.
void decode_mcu_row_fast(DecoderState& d);

}  // namespace jpeg::detail
