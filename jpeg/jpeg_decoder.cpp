// Entry points of the decoder: construction up to the frame header, start, row delivery and
// release. Each entry point catches the internal Failure, so no exception leaves the decoder,
// and every failure closes the stream once and frees every buffer before the entry point reports.
#include "jpeg/jpeg_decoder.h"

#include <cstdlib>
#include <limits>
#include <new>

#include "jpeg/decoder_kernels.h"
#include "jpeg/decoder_state.h"
#include "jpeg/decoder_steps.h"
#include "jpeg/idct.h"
#include "jpeg/input.h"
#include "jpeg/markers.h"
#include "jpeg/progressive_scan.h"
#include "jpeg/rgb_components.h"
#include "jpeg/row_output.h"
#include "jpeg/row_pipeline.h"
#include "jpeg/scan_setup.h"

namespace jpeg {

static_assert(std::int32_t{RowDecodeFailed} == std::int32_t{CorruptData},
              "a failed row reports the code of corrupt data");

namespace detail {

void fail(std::int32_t code) {
  throw Failure{code};
}

// The size is 64-bit so that a layout too large for a 32-bit address space (WebAssembly, the
// Windows build) is refused whole instead of wrapping round to a small buffer.
void* allocate(DecoderState& d, std::uint64_t size) {
  for (void*& slot : d.slots) {
    if (slot != nullptr) continue;
    constexpr auto budget = static_cast<std::uint64_t>(kPhotoMemoryBudget);
    if (d.photo_sizes && (size > budget || d.allocated_bytes > budget - size)) fail(ImageTooLarge);
    if (size > std::numeric_limits<std::size_t>::max() - 16) fail(OutOfMemory);
    void* block = std::calloc(1, static_cast<std::size_t>(size) + 16);
    if (block == nullptr) fail(OutOfMemory);
    slot = block;
    d.allocated_bytes += size;
    const auto address = reinterpret_cast<std::uintptr_t>(block);
    return reinterpret_cast<void*>((address + 15) & ~static_cast<std::uintptr_t>(15));
  }
  fail(TooManyAllocations);
}

void release_all(DecoderState& d) {
  stop_pipeline(d);
  if (d.stream != nullptr) {
    JpegInputStream* stream = d.stream;
    d.stream = nullptr;
    stream->close();
  }
  for (void*& slot : d.slots) {
    std::free(slot);
    slot = nullptr;
  }
}

namespace {

// The first scan of a sequential image is decoded row by row only when it is interleaved over
// every component in frame order; otherwise the image goes through the whole-image store.
bool first_scan_is_direct(const DecoderState& d) {
  if (d.ns != d.components) return false;
  for (std::int32_t j = 0; j < d.ns; ++j) {
    if (d.scan_comp[j] != j) return false;
  }
  return true;
}

// Reads up to the start of the first scan's data, or, for progressive and non-interleaved
// files, decodes every scan into the store.
void read_first_scans(DecoderState& d) {
  if (d.progressive) {
    d.store_mode = true;
    decode_into_store(d, false);
    return;
  }
  if (next_marker(d) != 0xDA) fail(UnexpectedMarker);
  read_scan_header(d);
  if (!first_scan_is_direct(d)) {
    d.store_mode = true;
    decode_into_store(d, true);
    return;
  }
  compute_scan_geometry(d);
  prepare_scan(d, d.fast_path);
}

}  // namespace

void construct(DecoderState& d) {
  d.kernels = choose_kernels();
  d.stream->open();
  init_input(d);
  refill_input(d);
  find_start_of_image(d);
  const std::int32_t m = next_marker(d);
  if (m == 0xC2) {
    d.progressive = true;
  } else if (m == 0xC9) {
    fail(ArithmeticCoding);
  } else if (d.photo_sizes && m >= 0xCA) {
    // The other arithmetic-coded frames (T.81 B.1.1.3, table B.1), named as such for a user.
    fail(ArithmeticCoding);
  } else if (m != 0xC0 && m != 0xC1) {
    fail(UnsupportedFrame);
  }
  read_frame_header(d);
}

void start_decoding(DecoderState& d) {
  setup_output(d);
  read_first_scans(d);
  // Every segment before the first scan has been read by now.
  d.rgb_components = components_are_rgb(d);
  start_pipeline(d);
}

}  // namespace detail

JpegDecoder::JpegDecoder(JpegInputStream* stream, bool fast_path, std::int32_t threads)
    : JpegDecoder(stream, DecoderOptions{fast_path, threads, 1}) {}

JpegDecoder::JpegDecoder(JpegInputStream* stream, const DecoderOptions& options) {
  const bool fast_path = options.fast_path;
  state_ = new (std::nothrow) detail::DecoderState();
  if (state_ == nullptr) {
    error_code = OutOfMemory;
    if (stream != nullptr) {
      stream->open();
      stream->close();
    }
    return;
  }
  detail::DecoderState& d = *state_;
  d.stream = stream;
  d.fast_path = fast_path;
  d.threads = options.threads;
  d.photo_sizes = options.photo_sizes;
  d.scale = options.scale_denominator;
  d.fast_transform = fast_path && detail::simd_available();
  try {
    if (stream == nullptr) detail::fail(ReadFailed);
    detail::construct(d);
  } catch (const detail::Failure& f) {
    fail_with(f.code);
  } catch (...) {
    fail_with(ReadFailed);  // only the stream's own code can throw anything else
  }
  if (state_ != nullptr) {
    width = d.width;
    height = d.height;
    components = d.components;
    orientation = d.orientation;
  }
}

JpegDecoder::~JpegDecoder() {
  release();
}

std::int32_t JpegDecoder::start() {
  if (state_ == nullptr || error_code != 0) return NotReady;
  detail::DecoderState& d = *state_;
  if (d.ready) return DecodeOk;
  try {
    detail::start_decoding(d);
  } catch (const detail::Failure& f) {
    fail_with(f.code);
    return NotReady;
  } catch (...) {
    fail_with(ReadFailed);
    return NotReady;
  }
  bytes_per_pixel = d.bytes_per_pixel;
  output_width = d.out_width;
  output_height = d.out_height;
  orientation = d.orientation;
  d.ready = true;
  return DecodeOk;
}

std::int32_t JpegDecoder::read_scanline(const std::uint8_t*& line, std::int32_t& line_bytes) {
  if (state_ == nullptr || error_code != 0 || !state_->ready) return NotReady;
  detail::DecoderState& d = *state_;
  if (d.rows_remaining == 0) return AllRowsDelivered;
  try {
    line = detail::deliver_row(d);
  } catch (const detail::Failure& f) {
    fail_with(f.code);
    return RowDecodeFailed;
  } catch (...) {
    fail_with(ReadFailed);
    return RowDecodeFailed;
  }
  line_bytes = d.row_bytes;
  return DecodeOk;
}

void JpegDecoder::release() {
  if (state_ == nullptr) return;
  detail::release_all(*state_);
  delete state_;
  state_ = nullptr;
}

void JpegDecoder::fail_with(std::int32_t code) {
  error_code = code;
  if (state_ == nullptr) return;
  error_offset = state_->stream_bytes - state_->available;
  width = state_->width;
  height = state_->height;
  components = state_->components;
  release();
}

}  // namespace jpeg
