// The fast transform of each instruction set (idct_scalar.cpp, idct_sse2.cpp, idct_avx2.cpp),
// for the kernel table; all give identical bytes. A set's functions exist only in builds that
// have the set (instruction_sets.h).
#pragma once

#include <cstdint>

namespace jpeg::detail {

// One block: coef unquantised (natural order), quant pre-scaled; 64 samples out, row r at
// out + 8 r.
void transform_block_fast_scalar(const std::int16_t* coef, const std::uint16_t* quant,
                                 std::uint8_t* out);
void transform_block_fast_sse2(const std::int16_t* coef, const std::uint16_t* quant,
                               std::uint8_t* out);

// Two blocks at once, one per half of the AVX2 registers: the same bytes as the above on each.
void transform_two_blocks_avx2(const std::int16_t* coef_a, const std::uint16_t* quant_a,
                               std::uint8_t* out_a, const std::int16_t* coef_b,
                               const std::uint16_t* quant_b, std::uint8_t* out_b);

// The reduced transforms of scaled decoding (idct_reduced.cpp, idct_reduced_sse2.cpp,
// idct_reduced_avx2.cpp): 4x4 or 2x2 samples from each of count blocks, each sample the mean of
// the pixels the full transform gives. coef in natural order, block b at coef + b * coef_step;
// quant the table's values in natural order, or null when coef is already dequantised. Row r of
// block b's samples goes to out + b * out_step + r * stride.
void transform_blocks_reduced4_scalar(const std::int16_t* coef, std::int32_t coef_step,
                                      const std::uint16_t* quant, std::uint8_t* out,
                                      std::int32_t out_step, std::int32_t stride,
                                      std::int32_t count);
void transform_blocks_reduced2_scalar(const std::int16_t* coef, std::int32_t coef_step,
                                      const std::uint16_t* quant, std::uint8_t* out,
                                      std::int32_t out_step, std::int32_t stride,
                                      std::int32_t count);
void transform_blocks_reduced4_sse2(const std::int16_t* coef, std::int32_t coef_step,
                                    const std::uint16_t* quant, std::uint8_t* out,
                                    std::int32_t out_step, std::int32_t stride, std::int32_t count);
void transform_blocks_reduced2_sse2(const std::int16_t* coef, std::int32_t coef_step,
                                    const std::uint16_t* quant, std::uint8_t* out,
                                    std::int32_t out_step, std::int32_t stride, std::int32_t count);
// Two blocks at a time, and an odd last one through the SSE2 form.
void transform_blocks_reduced4_avx2(const std::int16_t* coef, std::int32_t coef_step,
                                    const std::uint16_t* quant, std::uint8_t* out,
                                    std::int32_t out_step, std::int32_t stride, std::int32_t count);
void transform_blocks_reduced2_avx2(const std::int16_t* coef, std::int32_t coef_step,
                                    const std::uint16_t* quant, std::uint8_t* out,
                                    std::int32_t out_step, std::int32_t stride, std::int32_t count);

}  // namespace jpeg::detail
