// The reduced inverse DCTs of scaled decoding: 4x4, 2x2 and 1x1 samples from one block's 8x8
// coefficients, each sample the mean of the 2x2, 4x4 or 8x8 pixels the full transform gives.
#pragma once

#include <cstdint>

namespace jpeg::detail {

// The 1x1 sample of a block: its mean, DC / 8. coef and quant as for the 4x4 and 2x2 forms
// (idct_kernels.h).
std::uint8_t transform_block_1x1(const std::int16_t* coef, const std::uint16_t* quant);

}  // namespace jpeg::detail
