// Dequantisation and inverse DCT: the fast 16-bit AAN transform (SSE2 with a scalar twin giving
// the same bytes) and the 32-bit integer LLM transform (T.81 A.3.3).
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

// One block on the fast path: coef unquantised (natural order), quant pre-scaled; 64 samples
// out, row r at out + 8 r. The vector and scalar versions give identical bytes.
void transform_block_fast(const std::int16_t* coef, const std::uint16_t* quant, std::uint8_t* out);
void transform_block_fast_scalar(const std::int16_t* coef, const std::uint16_t* quant,
                                 std::uint8_t* out);

// Whether the processor runs the AVX2 builds (false where there are none).
bool avx2_available();

#if defined(MQ_JPEG_AVX2)
// Two blocks on the fast path at once, one per half of the AVX2 registers: the same bytes as
// transform_block_fast on each. Only when avx2_available().
void transform_two_blocks_avx2(const std::int16_t* coef_a, const std::uint16_t* quant_a,
                               std::uint8_t* out_a, const std::int16_t* coef_b,
                               const std::uint16_t* quant_b, std::uint8_t* out_b);
#endif

// One block on the integer path: work holds dequantised coefficients and is overwritten.
void transform_block_integer(std::int16_t* work, std::uint8_t* out);

// Transforms every coefficient block of an MCU row (coef, in block order) into the sample blocks.
void transform_mcu_row(DecoderState& d, const std::int16_t* coef);

}  // namespace jpeg::detail
