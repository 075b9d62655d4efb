// The table of transform and colour conversion functions a decoder uses, chosen once when the
// decoder is made from the instruction sets the build has and the processor runs.
#pragma once

#include <cstdint>

namespace jpeg::detail {

struct DecoderState;

struct DecoderKernels {
  // One block on the fast path: coef unquantised (natural order), quant pre-scaled; 64 samples
  // out, row r at out + 8 r.
  void (*transform_block_fast)(const std::int16_t* coef, const std::uint16_t* quant,
                               std::uint8_t* out);
  // Two blocks at once, the same bytes as transform_block_fast on each; null where the
  // instruction set has no such form.
  void (*transform_two_blocks_fast)(const std::int16_t* coef_a, const std::uint16_t* quant_a,
                                    std::uint8_t* out_a, const std::int16_t* coef_b,
                                    const std::uint16_t* quant_b, std::uint8_t* out_b);
  // The reduced transforms of scaled decoding, 4x4 and 2x2, over a run of blocks
  // (idct_kernels.h).
  void (*transform_blocks_reduced4)(const std::int16_t* coef, std::int32_t coef_step,
                                    const std::uint16_t* quant, std::uint8_t* out,
                                    std::int32_t out_step, std::int32_t stride, std::int32_t count);
  void (*transform_blocks_reduced2)(const std::int16_t* coef, std::int32_t coef_step,
                                    const std::uint16_t* quant, std::uint8_t* out,
                                    std::int32_t out_step, std::int32_t stride, std::int32_t count);
  // Colour conversion of a row of a reduced picture (color_convert_kernels.h).
  void (*convert_row)(const DecoderState& d, const std::uint8_t* luma, const std::uint8_t* cb,
                      const std::uint8_t* cr, std::uint8_t* out, std::int32_t width);
  // Colour conversion of mcus MCUs of one row (color_convert_kernels.h); d gives the tables.
  void (*convert_h1v1)(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                       std::int32_t mcus);
  void (*convert_h2v1)(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                       std::int32_t mcus);
  void (*convert_h1v2)(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                       std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                       std::int32_t mcus);
  void (*convert_h2v2)(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                       std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                       std::int32_t mcus);
};

// The widest instruction set the processor runs among those built in; every set gives the
// same bytes.
DecoderKernels choose_kernels();

}  // namespace jpeg::detail
