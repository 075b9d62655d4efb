// Dequantisation and inverse DCT: the fast 16-bit AAN transform (one version per instruction
// set, idct_kernels.h, all giving the same bytes) and the 32-bit integer LLM transform
// (T.81 A.3.3).
#pragma once

#include <cstdint>

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// AAN scale factors, 16384 * s(row) * s(col) with s(0) = 1 and s(k) = sqrt(2) cos(k pi / 16).
extern const std::int16_t kQuantPrescale[64];

// Stores a table read in zigzag order: pre-scaled in natural order for the fast transform, as
// read in zigzag order for the integer transform.
void store_quant_table(std::uint16_t* stored, const std::uint16_t zigzag_values[64], bool fast);

// Whether the vector unit serves the fast transform; always true (the scalar twin is exact).
bool simd_available();

// One block on the integer path: work holds dequantised coefficients and is overwritten.
void transform_block_integer(std::int16_t* work, std::uint8_t* out);

// Transforms every coefficient block of an MCU row (coef, in block order) into the sample blocks,
// the fast path through d.kernels.
void transform_mcu_row(DecoderState& d, const std::int16_t* coef);

}  // namespace jpeg::detail
