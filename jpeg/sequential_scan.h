// Entropy decoding of one MCU row of a sequential Huffman scan (T.81 F.2.2) into the row's
// coefficient blocks, with high-water counts so that reused blocks are cleared only where needed.
#pragma once

#include <cstdint>

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Both write the row's blocks to coef (64 values each) with one high-water count per block in
// high_water; a row of blocks and its counts always travel together.

// Plain variant: 32-bit reader, coefficients dequantised as they are stored.
void decode_mcu_row(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water);

// Fast variant: 64-bit reader, coefficients stored unquantised for the fast transform.
void decode_mcu_row_fast(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water);

// The same into blocks that hold only zeros: the two-thread decoder's caller clears each row it
// has finished with, which takes that work off the thread that limits the pace.
void decode_mcu_row_fast_into_zeros(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water);

// The fast variant over the next mcus MCUs, from any MCU of a row on: coef and high_water point
// at the first MCU's first block.
void decode_mcus_fast(DecoderState& d, std::int16_t* coef, std::uint8_t* high_water,
                      std::int32_t mcus);

}  // namespace jpeg::detail
