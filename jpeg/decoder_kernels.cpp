// One kernel table per instruction set built in, and the choice among them.
#include "jpeg/decoder_kernels.h"

#include "jpeg/color_convert_kernels.h"
#include "jpeg/idct_kernels.h"
#include "jpeg/instruction_sets.h"

namespace jpeg::detail {

namespace {

[[maybe_unused]] constexpr DecoderKernels kScalar = {
    .transform_block_fast = transform_block_fast_scalar,
    .transform_two_blocks_fast = nullptr,
    .transform_blocks_reduced4 = transform_blocks_reduced4_scalar,
    .transform_blocks_reduced2 = transform_blocks_reduced2_scalar,
    .convert_row = convert_row_scalar,
    .convert_h1v1 = convert_h1v1_scalar,
    .convert_h2v1 = convert_h2v1_scalar,
    .convert_h1v2 = convert_h1v2_scalar,
    .convert_h2v2 = convert_h2v2_scalar};

#if defined(MQ_JPEG_SSE2)
constexpr DecoderKernels kSse2 = {.transform_block_fast = transform_block_fast_sse2,
                                  .transform_two_blocks_fast = nullptr,
                                  .transform_blocks_reduced4 = transform_blocks_reduced4_sse2,
                                  .transform_blocks_reduced2 = transform_blocks_reduced2_sse2,
                                  .convert_row = convert_row_sse2,
                                  .convert_h1v1 = convert_h1v1_sse2,
                                  .convert_h2v1 = convert_h2v1_sse2,
                                  .convert_h1v2 = convert_h1v2_sse2,
                                  .convert_h2v2 = convert_h2v2_sse2};
#endif

#if defined(MQ_JPEG_AVX2)
// Single blocks and reduced rows take the SSE2 form; the AVX2 converters hand a row's odd last
// MCU to SSE2.
constexpr DecoderKernels kAvx2 = {.transform_block_fast = transform_block_fast_sse2,
                                  .transform_two_blocks_fast = transform_two_blocks_avx2,
                                  .transform_blocks_reduced4 = transform_blocks_reduced4_avx2,
                                  .transform_blocks_reduced2 = transform_blocks_reduced2_avx2,
                                  .convert_row = convert_row_sse2,
                                  .convert_h1v1 = convert_h1v1_avx2,
                                  .convert_h2v1 = convert_h2v1_avx2,
                                  .convert_h1v2 = convert_h1v2_avx2,
                                  .convert_h2v2 = convert_h2v2_avx2};
#endif

}  // namespace

DecoderKernels choose_kernels() {
#if defined(MQ_JPEG_AVX2)
  if (__builtin_cpu_supports("avx2") != 0) return kAvx2;
#endif
#if defined(MQ_JPEG_SSE2)
  return kSse2;
#else
  return kScalar;
#endif
}

}  // namespace jpeg::detail
