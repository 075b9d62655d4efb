// The decoder's error codes: one table that produces both the numbers and their names.
#pragma once

#include <cstdint>

namespace jpeg {

// X(name, code): every fatal error of the decoder. Codes -200..-233 are the decoder's public
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
// A DC difference size above 16 is refused with CorruptData (-227), and a progressive
// successive-approximation shift Al of 14 or more with ProgressiveScanRange (-230).
#define MQ_JPEG_ERROR_TABLE(X)     \
  X(HuffmanCountsTooLarge, -200)   \
  X(HuffmanSlotInvalid, -201)      \
  X(HuffmanSegmentLength, -202)    \
  X(QuantSegmentLength, -203)      \
  X(QuantSlotInvalid, -204)        \
  X(SamplePrecision, -205)         \
  X(ImageHeight, -206)             \
  X(ImageWidth, -207)              \
  X(TooManyComponents, -208)       \
  X(FrameHeaderLength, -209)       \
  X(SegmentLength, -210)           \
  X(RestartSegmentLength, -211)    \
  X(ScanHeaderLength, -212)        \
  X(ScanComponentUnknown, -213)    \
  X(HuffmanTableInvalid, -214)     \
  X(ArithmeticCoding, -215)        \
  X(UnexpectedMarker, -216)        \
  X(NoStartOfImage, -217)          \
  X(UnsupportedFrame, -218)        \
  X(QuantTableLength, -219)        \
  X(TableSelectorInvalid, -220)    \
  X(TooManyAllocations, -221)      \
  X(QuantTableMissing, -222)       \
  X(HuffmanTableMissing, -223)     \
  X(SamplingFactorInvalid, -224)   \
  X(ComponentCount, -225)          \
  X(SamplingUnsupported, -226)     \
  X(CorruptData, -227)             \
  X(RestartMarkerMissing, -228)    \
  X(BlockOutOfRange, -229)         \
  X(ProgressiveScanRange, -230)    \
  X(SuccessiveApproximation, -231) \
  X(ReadFailed, -232)              \
  X(OutOfMemory, -233)             \
  X(ScanComponentsInvalid, -234)   \
  X(TooManyScans, -235)            \
  X(ScaleInvalid, -236)

enum ErrorCode : std::int32_t {
#define MQ_JPEG_ERROR_ENUM(name, code) name = code,
  MQ_JPEG_ERROR_TABLE(MQ_JPEG_ERROR_ENUM)
#undef MQ_JPEG_ERROR_ENUM
};

// The name of a code ("CorruptData"), "None" for 0 and "Unknown" for anything else.
const char* error_name(std::int32_t code);

}  // namespace jpeg
