// Output set-up and row delivery from MCU rows of samples.
#include "jpeg/row_output.h"

#include "jpeg/color_convert.h"
#include "jpeg/idct.h"
#include "jpeg/markers.h"
#include "jpeg/progressive_scan.h"
#include "jpeg/rgb_components.h"
#include "jpeg/row_pipeline.h"
#include "jpeg/scaled_output.h"
#include "jpeg/scan_split.h"
#include "jpeg/sequential_scan.h"

namespace jpeg::detail {

namespace {

std::int32_t ceil_div(std::int32_t a, std::int32_t b) {
  return (a + b - 1) / b;
}

struct LayoutInfo {
  SamplingLayout layout;
  std::int32_t blocks;
  std::int32_t width;
  std::int32_t height;
};

LayoutInfo choose_layout(const DecoderState& d) {
  if (d.components == 1) return {SamplingLayout::gray, 1, 8, 8};
  if (d.components != 3) fail(ComponentCount);
  const FrameComponent* c = d.comp;
  if (c[1].h != 1 || c[1].v != 1 || c[2].h != 1 || c[2].v != 1) fail(SamplingUnsupported);
  if (c[0].h == 1 && c[0].v == 1) return {SamplingLayout::h1v1, 3, 8, 8};
  if (c[0].h == 2 && c[0].v == 1) return {SamplingLayout::h2v1, 4, 16, 8};
  if (c[0].h == 1 && c[0].v == 2) return {SamplingLayout::h1v2, 4, 8, 16};
  if (c[0].h == 2 && c[0].v == 2) return {SamplingLayout::h2v2, 6, 16, 16};
  fail(SamplingUnsupported);
}

}  // namespace

void setup_output(DecoderState& d) {
  const LayoutInfo info = choose_layout(d);
  d.layout = info.layout;
  d.blocks_per_mcu = info.blocks;
  d.mcu_width = info.width;
  d.mcu_height = info.height;
  d.mcus_per_row = ceil_div(d.width, info.width);
  d.mcu_rows = ceil_div(d.height, info.height);
  d.bytes_per_pixel = info.layout == SamplingLayout::gray ? 1 : 4;
  d.row_bytes = d.width * d.bytes_per_pixel;
  d.line_size = ((d.width + 15) & ~15) * d.bytes_per_pixel;
  d.line1 = static_cast<std::uint8_t*>(allocate(d, static_cast<std::size_t>(d.line_size) + 8));
  d.line2 = static_cast<std::uint8_t*>(allocate(d, static_cast<std::size_t>(d.line_size) + 8));
  d.blocks_per_row = d.blocks_per_mcu * d.mcus_per_row;
  // Photos are bounded by the memory their buffers take instead (allocate).
  if (!d.photo_sizes && d.blocks_per_row > kMaxBlocksPerRow) fail(BlockOutOfRange);
  const auto blocks = static_cast<std::size_t>(d.blocks_per_row);
  d.coef = static_cast<std::int16_t*>(allocate(d, blocks * 128));
  d.high_water = static_cast<std::uint8_t*>(allocate(d, blocks));
  for (std::size_t b = 0; b < blocks; ++b) d.high_water[b] = 64;
  if (d.scale == 1) {
    d.samples = static_cast<std::uint8_t*>(allocate(d, blocks * 64));
    d.out_width = d.width;
    d.out_height = d.height;
    d.out_mcu_height = d.mcu_height;
  } else {
    if (d.scale != 2 && d.scale != 4 && d.scale != 8) fail(ScaleInvalid);
    setup_scaled_output(d);
    d.row_bytes = d.out_width * d.bytes_per_pixel;
  }
  d.rows_remaining = d.out_height;
  d.rows_left = 0;
  build_color_tables(d);
}

namespace {

void transform_row(DecoderState& d, const std::int16_t* coef) {
  if (d.scale == 1) {
    transform_mcu_row(d, coef);
  } else {
    transform_mcu_row_scaled(d, coef, d.plane);
  }
}

}  // namespace

void next_mcu_row(DecoderState& d) {
  if (d.store_mode && d.pipeline != nullptr) {
    take_mcu_row(d);  // points the planes at the row the worker has assembled and transformed
  } else if (d.store_mode) {
    assemble_mcu_row(d);
    transform_row(d, d.coef);
  } else if (d.split != nullptr) {
    next_split_row(d);
    if (d.rows_remaining <= d.out_mcu_height) next_marker(d);
    transform_row(d, d.coef);
  } else if (d.pipeline != nullptr) {
    // The worker has ended by the time the last row is taken, so the marker reading below runs
    // on this thread, in the same order as without the worker.
    const std::int16_t* coef = take_mcu_row(d);
    if (d.rows_remaining <= d.out_mcu_height) next_marker(d);
    transform_row(d, coef);
    give_back_mcu_row(d);
  } else {
    if (d.fast_path) {
      decode_mcu_row_fast(d, d.coef, d.high_water);
    } else {
      decode_mcu_row(d, d.coef, d.high_water);
    }
    // After the last MCU row, read on to the marker that follows the scan (normally EOI).
    if (d.rows_remaining <= d.out_mcu_height) next_marker(d);
    transform_row(d, d.coef);
  }
  d.rows_left = d.out_mcu_height;
}

const std::uint8_t* build_row(DecoderState& d) {
  if (d.scale != 1) return build_scaled_row(d);
  const std::int32_t y = d.mcu_height - d.rows_left;
  if (d.rgb_components) {
    // The two-row layouts deliver their second row from line2, as they do below.
    if (d.mcu_height == 16 && (d.rows_left & 1) != 0) return d.line2;
    copy_rgb_rows(d, y);
    return d.line1;
  }
  switch (d.layout) {
    case SamplingLayout::gray:
      convert_gray(d, y);
      return d.line1;
    case SamplingLayout::h1v1:
      convert_h1v1(d, y);
      return d.line1;
    case SamplingLayout::h2v1:
      convert_h2v1(d, y);
      return d.line1;
    case SamplingLayout::h1v2:
    case SamplingLayout::h2v2:
      if ((d.rows_left & 1) != 0) return d.line2;
      if (d.layout == SamplingLayout::h1v2) {
        convert_h1v2(d, y);
      } else {
        convert_h2v2(d, y);
      }
      return d.line1;
  }
  return d.line1;
}

const std::uint8_t* deliver_row(DecoderState& d) {
  if (d.smooth_down && d.rows_left == 1 && d.rows_remaining > 1) {
    // The row is counted before the next MCU row is read, which reads on to the marker after
    // the scan when it is the last.
    keep_last_rows(d);
    --d.rows_remaining;
    next_mcu_row(d);
    return build_kept_row(d);
  }
  if (d.rows_left == 0) next_mcu_row(d);
  const std::uint8_t* line = build_row(d);
  --d.rows_left;
  --d.rows_remaining;
  return line;
}

}  // namespace jpeg::detail
