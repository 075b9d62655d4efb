// The decoder's error codes: one table that produces both the numbers and their names.
#pragma once

#include <cstdint>

namespace jpeg {

// X(name, code, text): every fatal error of the decoder, with a short text a program can show
// its user. Codes -200..-233 are the decoder's public
// codes, fixed by its interface. The gaps -214, -220 and -224 and the codes -234 and -235 are
// its own refusals of inputs that would otherwise overflow a table, divide by zero or take
// unbounded work:
//   -214 HuffmanTableInvalid    DHT counts that oversubscribe a code length (the codes of some
//                               length do not fit in it), or a table that would need more than
//                               256 tree nodes.
//   -220 TableSelectorInvalid   a frame component's quantisation selector Tq >= 4, or a scan's
//                               Huffman selector Td or Ta >= 4.
//   -224 SamplingFactorInvalid  a component sampling factor H or V of 0 or above 4.
//   -234 ScanComponentsInvalid  a scan that names one frame component twice, whose MCU would
//                               hold more than 10 blocks, or an interleaved sequential scan
//                               whose components are not in frame order.
//   -235 TooManyScans           the scans of a progressive or multi-scan picture would visit
//                               more than 100 times the picture's blocks in total.
//   -236 ScaleInvalid           a scale denominator other than 1, 2, 4 or 8.
//   -237 ImageTooLarge          a photo whose buffers would take more than the memory budget
//                               of photos (kPhotoMemoryBudget).
// A DC difference size above 16 is refused with CorruptData (-227), and a progressive
// successive-approximation shift Al of 14 or more with ProgressiveScanRange (-230).
#define MQ_JPEG_ERROR_TABLE(X)                                                             \
  X(HuffmanCountsTooLarge, -200, "the JPEG data is damaged (a Huffman table)")             \
  X(HuffmanSlotInvalid, -201, "the JPEG data is damaged (a Huffman table)")                \
  X(HuffmanSegmentLength, -202, "the JPEG data is damaged (a Huffman table)")              \
  X(QuantSegmentLength, -203, "the JPEG data is damaged (a quantisation table)")           \
  X(QuantSlotInvalid, -204, "the JPEG data is damaged (a quantisation table)")             \
  X(SamplePrecision, -205, "12-bit JPEG is not supported (only 8-bit samples)")            \
  X(ImageHeight, -206, "the picture height is 0 or too large")                             \
  X(ImageWidth, -207, "the picture width is 0 or too large")                               \
  X(TooManyComponents, -208, "the JPEG data is damaged (more than 4 components)")          \
  X(FrameHeaderLength, -209, "the JPEG data is damaged (the frame header)")                \
  X(SegmentLength, -210, "the JPEG data is damaged (a segment length)")                    \
  X(RestartSegmentLength, -211, "the JPEG data is damaged (the restart interval)")         \
  X(ScanHeaderLength, -212, "the JPEG data is damaged (a scan header)")                    \
  X(ScanComponentUnknown, -213, "the JPEG data is damaged (a scan header)")                \
  X(HuffmanTableInvalid, -214, "the JPEG data is damaged (a Huffman table)")               \
  X(ArithmeticCoding, -215, "arithmetic-coded JPEG is not supported")                      \
  X(UnexpectedMarker, -216, "the JPEG data is damaged (a marker out of place)")            \
  X(NoStartOfImage, -217, "not a JPEG file")                                               \
  X(UnsupportedFrame, -218, "lossless or hierarchical JPEG is not supported")              \
  X(QuantTableLength, -219, "the JPEG data is damaged (a quantisation table)")             \
  X(TableSelectorInvalid, -220, "the JPEG data is damaged (a table selector)")             \
  X(TooManyAllocations, -221, "the JPEG file has too many tables")                         \
  X(QuantTableMissing, -222, "the JPEG data is damaged (a quantisation table is missing)") \
  X(HuffmanTableMissing, -223, "the JPEG data is damaged (a Huffman table is missing)")    \
  X(SamplingFactorInvalid, -224, "the JPEG data is damaged (a sampling factor)")           \
  X(ComponentCount, -225, "JPEG with 2 or 4 components (CMYK, YCCK) is not supported")     \
  X(SamplingUnsupported, -226, "this chroma subsampling is not supported")                 \
  X(CorruptData, -227, "the JPEG data is damaged")                                         \
  X(RestartMarkerMissing, -228, "the JPEG data is damaged (a restart marker is missing)")  \
  X(BlockOutOfRange, -229, "the picture is too wide to decode")                            \
  X(ProgressiveScanRange, -230, "the JPEG data is damaged (a progressive scan)")           \
  X(SuccessiveApproximation, -231, "the JPEG data is damaged (a progressive scan)")        \
  X(ReadFailed, -232, "the file could not be read")                                        \
  X(OutOfMemory, -233, "not enough memory to decode the picture")                          \
  X(ScanComponentsInvalid, -234, "the JPEG data is damaged (a scan header)")               \
  X(TooManyScans, -235, "the JPEG file has too many scans")                                \
  X(ScaleInvalid, -236, "the scale must be 1, 2, 4 or 8")                                  \
  X(ImageTooLarge, -237, "the photo is too large to decode (it needs more than 256 MB)")

enum ErrorCode : std::int32_t {
#define MQ_JPEG_ERROR_ENUM(name, code, text) name = code,
  MQ_JPEG_ERROR_TABLE(MQ_JPEG_ERROR_ENUM)
#undef MQ_JPEG_ERROR_ENUM
};

// The name of a code ("CorruptData"), "None" for 0 and "Unknown" for anything else.
const char* error_name(std::int32_t code);

// The text of a code for a person ("arithmetic-coded JPEG is not supported"), "no error" for 0
// and "unknown error" for anything else.
const char* error_text(std::int32_t code);

// The most bytes of buffers a decoder made with DecoderOptions::photo_sizes may take; beyond
// it, start fails with ImageTooLarge.
inline constexpr std::int64_t kPhotoMemoryBudget = std::int64_t{256} << 20;

}  // namespace jpeg
