// The row converters of each instruction set (color_convert_scalar.cpp, color_convert_sse2.cpp,
// color_convert_avx2.cpp), for the kernel table; all give identical bytes. A set's functions
// exist only in builds that have the set (instruction_sets.h).
//
// Each converts mcus MCUs of one sampling layout, mcu pointing at the first one's sample blocks
// (in block order), into pixels of 4 bytes: R, G, B and a zero byte. The one-row layouts write
// out; the two-row layouts write the row whose luma starts luma_offset bytes into an MCU to
// out1 and the row below it to out2, with the chroma of row chroma_row / 8 of the chroma
// blocks. d gives the conversion tables (build_color_tables), which the scalar set reads.
#pragma once

#include <cstdint>

namespace jpeg::detail {

struct DecoderState;

void convert_h1v1_scalar(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                         std::int32_t mcus);
void convert_h2v1_scalar(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                         std::int32_t mcus);
void convert_h1v2_scalar(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                         std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                         std::int32_t mcus);
void convert_h2v2_scalar(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                         std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                         std::int32_t mcus);

// One row of pixels of a reduced picture from rows of luma, Cb and Cr samples, one of each
// per pixel (width pixels).
void convert_row_scalar(const DecoderState& d, const std::uint8_t* luma, const std::uint8_t* cb,
                        const std::uint8_t* cr, std::uint8_t* out, std::int32_t width);
void convert_row_sse2(const DecoderState& d, const std::uint8_t* luma, const std::uint8_t* cb,
                      const std::uint8_t* cr, std::uint8_t* out, std::int32_t width);

void convert_h1v1_sse2(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                       std::int32_t mcus);
void convert_h2v1_sse2(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                       std::int32_t mcus);
void convert_h1v2_sse2(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                       std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                       std::int32_t mcus);
void convert_h2v2_sse2(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                       std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                       std::int32_t mcus);

// Two MCUs at a time, and an odd last one through the SSE2 form.
void convert_h1v1_avx2(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                       std::int32_t mcus);
void convert_h2v1_avx2(const DecoderState& d, const std::uint8_t* mcu, std::uint8_t* out,
                       std::int32_t mcus);
void convert_h1v2_avx2(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                       std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                       std::int32_t mcus);
void convert_h2v2_avx2(const DecoderState& d, const std::uint8_t* mcu, std::int32_t luma_offset,
                       std::int32_t chroma_row, std::uint8_t* out1, std::uint8_t* out2,
                       std::int32_t mcus);

}  // namespace jpeg::detail
