// The instruction sets the decoder is built with: each has its own transform and colour
// conversion files (idct_*.cpp, color_convert_*.cpp), and decoder_kernels.cpp picks among them.
#pragma once

// The vector paths need SSE2; MQ_JPEG_SCALAR forces the scalar twins (they give the same bytes).
#if defined(__SSE2__) && !defined(MQ_JPEG_SCALAR)
#define MQ_JPEG_SSE2 1
#endif

// AVX2 builds of the transform and colour conversion sit beside the SSE2 ones on x86-64 Linux
// with GCC, chosen at run time by what the processor has; the 32-bit build keeps SSE2 alone.
#if defined(MQ_JPEG_SSE2) && defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && \
    defined(__linux__)
#define MQ_JPEG_AVX2 1
// Likewise a BMI2 build of the sequential entropy decoder.
#define MQ_JPEG_BMI2 1
#endif
