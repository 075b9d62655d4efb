// The reduced inverse DCTs of scaled decoding: 4x4, 2x2 and 1x1 samples from one block's 8x8
// coefficients, each sample the mean of the 2x2, 4x4 or 8x8 pixels the full transform gives.
#pragma once

#include <cstdint>

namespace jpeg::detail {

// coef: 64 coefficients in natural order; quant: the table's values in natural order, or null
// when coef is already dequantised. Writes size x size samples, row r at out + r * stride.
// size is 4, 2 or 1.
void transform_block_reduced(const std::int16_t* coef, const std::uint16_t* quant,
                             std::int32_t size, std::uint8_t* out, std::int32_t stride);

}  // namespace jpeg::detail
