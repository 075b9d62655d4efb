// The decoder's private state, shared by the pipeline stages, with the error mechanism and the
// allocation table through which every buffer of the decoder is obtained and freed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jpeg/decoder_kernels.h"
#include "jpeg/error_codes.h"
#include "jpeg/instruction_sets.h"
#include "jpeg/jpeg_decoder.h"

namespace jpeg::detail {

inline constexpr int kInputBufferBytes = 4096;
inline constexpr int kPushBackBytes = 128;
inline constexpr int kFillerBytes = 128;
inline constexpr int kAllocationSlots = 100;
inline constexpr int kMaxBlocksPerMcu = 10;
inline constexpr int kMaxBlocksPerRow = 6144;
inline constexpr int kPeekBits = 10;
// The most bytes a marker segment holds after its length field.
inline constexpr std::int32_t kMaxSegmentPayload = 65533;

// Below this many pixels a second thread costs more than it saves (row_pipeline.h). A
// measurement build may set MQ_JPEG_PIPELINE_MIN_PIXELS to time it on smaller pictures.
#if !defined(MQ_JPEG_PIPELINE_MIN_PIXELS)
#define MQ_JPEG_PIPELINE_MIN_PIXELS (1 << 20)
#endif
inline constexpr std::int64_t kPipelineMinPixels = MQ_JPEG_PIPELINE_MIN_PIXELS;
// The scans of a picture decoded through the whole-image store may visit at most this many
// times the store's blocks in total. Real progressive pictures visit each block a handful of
// times (about 5 for a common ten-scan script); without a bound, a small file naming thousands
// of scans over a large frame would walk every block thousands of times.
inline constexpr std::int64_t kMaxScanPasses = 100;

// Thrown by fail() and caught by the entry point that is running; never leaves the decoder.
struct Failure {
  std::int32_t code;
};

[[noreturn]] void fail(std::int32_t code);

// The worker thread and ring of coefficient rows of two-thread decoding (row_pipeline.h).
struct RowPipeline;
// A scan decoded on either thread of two-thread progressive decoding (scan_pipeline.h).
struct ScanJob;
// The worker of a sequential scan split in two (scan_split.h).
struct ScanSplit;

enum class SamplingLayout : std::int32_t { gray = 0, h1v1 = 1, h2v1 = 2, h1v2 = 3, h2v2 = 4 };

// Huffman lookup of one table slot (T.81 Annex C codes). fast: by the next 8 bits, a symbol
// (>= 0) or a tree node (< 0); length: code length per symbol; tree: node n keeps its 1-branch
// in slot -n - 1 and its 0-branch in slot -n. peek serves the 64-bit reader: by the next
// kPeekBits bits, (bits consumed << 8) | symbol, or kPeekSlow when the tree must be walked.
// with_value goes one step further when the code and its extra bits both fit in the window:
// (coefficient value << 16) | flags | (run << 8) | bits consumed, or 0 when they do not.
// Up to two AC coefficients of one window (HuffmanLookup::pairs) when their codes and extra bits
// all fit in it, each field a byte or a half of its own so that the decoder reads it with one
// load: the bits consumed, the zigzag steps from the current position to the first coefficient
// and to the second (the same when there is only one), whether the block ends after them, and
// the two values. An end of block counts as a zero stored one step on, or, on its own, at the
// current position. When even the first does not fit, second is kPairNone, which puts it past
// the block's end.
struct PairEntry {
  std::uint8_t bits;
  std::uint8_t first;
  std::uint8_t second;
  std::uint8_t end_of_block;
  std::int16_t first_value;
  std::int16_t second_value;
};
inline constexpr std::uint8_t kPairNone = 0xFF;

struct HuffmanLookup {
  std::int32_t fast[256];
  std::uint8_t length[256];
  std::int32_t tree[512];
  std::uint16_t peek[1 << kPeekBits];
  std::uint32_t with_value[1 << kPeekBits];
  PairEntry pairs[1 << kPeekBits];
};
inline constexpr std::uint16_t kPeekSlow = 0x8000;
// Flags of with_value entries of AC tables: end of block (no coefficient) and a run of 16 zeros
// (run 15 with a value of 0).
inline constexpr std::uint32_t kWithValueEob = 0x8000;
inline constexpr std::uint32_t kWithValueZrl = 0x4000;

// One plane of the whole-image coefficient store: elements of element_size bytes, row-major.
struct Plane {
  std::uint8_t* data = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t element_size = 0;
};

struct FrameComponent {
  std::int32_t id = 0;
  std::int32_t h = 0;
  std::int32_t v = 0;
  std::int32_t tq = 0;
  std::int32_t width_blocks = 0;
  std::int32_t height_blocks = 0;
  std::int32_t dc_slot = 0;
  std::int32_t ac_slot = 4;
  std::uint32_t predictor = 0;  // the DC predictor; wraps modulo 2^32
  Plane dc_plane;
  Plane ac_plane;
  std::int32_t out_row = 0;  // next block row that assemble_mcu_row takes from the store
};

struct DecoderState {
  // Setup.
  JpegInputStream* stream = nullptr;
  bool fast_path = false;
  bool fast_transform = false;
  std::int32_t threads = 1;  // threads asked for: 2 lets entropy decoding run apart
  // Photo limits: frames up to 65535 x 65535 whose buffers fit kPhotoMemoryBudget, instead of
  // 8192 x 8192 with at most kMaxBlocksPerRow blocks in a row.
  bool photo_sizes = false;
  std::int64_t pipeline_min_pixels = kPipelineMinPixels;  // the smallest picture it is used for
  // A split scan's caller waits for the worker's first rows before it looks for their meeting
  // point, which on a small picture it would otherwise often pass first (scan_split.h).
  bool split_waits = false;
  RowPipeline* pipeline = nullptr;  // the running worker, or null on one thread
  ScanSplit* split = nullptr;       // or the worker of the scan's later part
  // Set on the copy of the state that decodes one scan of a two-thread progressive decode.
  ScanJob* scan_job = nullptr;
  bool progressive = false;
  bool store_mode = false;  // output comes from the whole-image store (progressive or multi-scan)
  bool ready = false;
  std::int32_t error_code = 0;

  // Allocation table, and the bytes asked of it so far (for the memory figures).
  void* slots[kAllocationSlots] = {};
  std::uint64_t allocated_bytes = 0;

  // Input buffer with push-back room in front and the end filler behind.
  std::uint8_t input[kPushBackBytes + kInputBufferBytes + kFillerBytes] = {};
  std::uint8_t* cursor = nullptr;
  std::int32_t available = 0;
  bool at_end = false;
  std::int32_t end_toggle = 0;
  std::int64_t stream_bytes = 0;  // read from the stream so far

  // Entropy bit readers: the plain one keeps bits left-aligned in 32 bits, the fast one in 64.
  std::uint32_t bits = 0;
  std::int32_t bit_count = 0;
  std::uint64_t bits64 = 0;
  std::int32_t bit_count64 = 0;
  // Bytes the readers have taken since they last entered the entropy-coded data that are not in
  // it: the FF bytes made up in front of a marker and past the end.
  std::int32_t padding_bytes = 0;

  // Tables.
  std::uint8_t* huff_counts[8] = {};
  std::uint8_t* huff_symbols[8] = {};
  HuffmanLookup* huff_lookup[8] = {};
  bool huff_redefined[8] = {};  // a DHT replaced the slot after its lookup was last built
  std::uint16_t* quant[4] = {};

  // Frame.
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t components = 0;
  FrameComponent comp[4];
  std::int32_t hmax = 1;
  std::int32_t vmax = 1;
  // The colour transform of an Adobe APP14 segment, -1 without one; whether a JFIF APP0
  // segment was met; and whether the three components are red, green and blue (decided when
  // decoding starts).
  std::int32_t adobe_transform = -1;
  bool jfif = false;
  bool rgb_components = false;
  // The EXIF orientation (1..8, 1 without one), whether an Exif segment was read, and the
  // buffer it was read into (taken at the first Exif segment).
  std::int32_t orientation = 1;
  bool exif_read = false;
  std::uint8_t* exif_payload = nullptr;

  // Scan.
  std::int32_t ns = 0;
  std::int32_t scan_comp[4] = {};
  std::int32_t ss = 0;
  std::int32_t se = 63;
  std::int32_t ah = 0;
  std::int32_t al = 0;
  std::int32_t scan_mcus_per_row = 0;
  std::int32_t scan_mcu_rows = 0;
  std::int32_t scan_blocks_per_mcu = 0;
  std::int32_t block_comp[kMaxBlocksPerMcu] = {};
  const HuffmanLookup* block_dc[kMaxBlocksPerMcu] = {};
  const HuffmanLookup* block_ac[kMaxBlocksPerMcu] = {};

  // Restart and progressive entropy state.
  std::int32_t restart_interval = 0;
  std::int32_t mcus_left = 0;
  std::int32_t next_rst = 0;
  std::int32_t eob_run = 0;

  // Work of the scans decoded into the store: blocks visited so far and the most allowed.
  std::int64_t blocks_visited = 0;
  std::int64_t visit_budget = 0;

  // Output layout.
  SamplingLayout layout = SamplingLayout::gray;
  std::int32_t bytes_per_pixel = 0;
  std::int32_t blocks_per_mcu = 0;
  std::int32_t mcu_width = 0;
  std::int32_t mcu_height = 0;
  std::int32_t mcus_per_row = 0;
  std::int32_t mcu_rows = 0;
  std::int32_t blocks_per_row = 0;
  std::int32_t rows_remaining = 0;
  std::int32_t rows_left = 0;
  std::int32_t row_bytes = 0;
  std::int32_t line_size = 0;

  // Scaled output: the scale denominator (1, 2, 4 or 8), the size of the delivered picture and
  // the rows one MCU row gives (the frame's at scale 1). Below full size, one plane per layout
  // component holds an MCU row at its reduced size: the transform size of the component, how
  // many output pixels each of its samples covers across and down, and its row stride.
  std::int32_t scale = 1;
  std::int32_t out_width = 0;
  std::int32_t out_height = 0;
  std::int32_t out_mcu_height = 0;
  std::int32_t plane_count = 0;
  std::uint8_t* plane[3] = {};
  std::int32_t plane_stride[3] = {};
  std::int32_t block_size[3] = {};
  std::int32_t up_h[3] = {};
  std::int32_t up_v[3] = {};
  // Chroma covering two output pixels across (4:2:2) or down (4:4:0) at 1/2 and 1/4, interpolated
  // to one sample per output pixel: a row of each of the two planes.
  std::uint8_t* smooth_chroma[2] = {};
  // Down, the last output row of an MCU row needs the next MCU row's first chroma row: that row
  // is delivered after the next MCU row has been transformed, from copies of its luma row and of
  // the chroma rows it stands on, which then serve the next MCU row's first output row too.
  bool smooth_down = false;
  bool kept_rows = false;
  std::uint8_t* kept_luma = nullptr;
  std::uint8_t* kept_chroma[2] = {};
  // The quantisation tables as read, in natural order, for the reduced transforms.
  std::uint16_t quant_natural[4][64] = {};

  // Row buffers: coefficient blocks (64 values, natural order) with their high-water counts,
  // one 64-byte sample block per coefficient block, and two line buffers.
  std::int16_t* coef = nullptr;
  std::uint8_t* high_water = nullptr;
  std::uint8_t* samples = nullptr;
  std::uint8_t* line1 = nullptr;
  std::uint8_t* line2 = nullptr;
  std::int16_t scratch[64] = {};

  // The transform and colour conversion functions of the processor's instruction set.
  DecoderKernels kernels = {};

  // Colour conversion tables.
  std::int32_t cr_to_red[256] = {};
  std::int32_t cb_to_blue[256] = {};
  std::int32_t cr_to_green[256] = {};
  std::int32_t cb_to_green[256] = {};
};

// Takes a free allocation slot (-221 when none is left) and returns size zeroed bytes aligned
// to 16 (-233 when the heap refuses).
void* allocate(DecoderState& d, std::uint64_t size);

// Closes the stream if still held and frees every allocation slot.
void release_all(DecoderState& d);

}  // namespace jpeg::detail
