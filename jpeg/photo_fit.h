// The streaming fit of a photo into the player's frame: rows as the decoder delivers them,
// turned upright by the EXIF orientation and area-averaged into a 32-bit picture, without ever
// holding the photo itself.
#pragma once

#include <cstdint>
#include <vector>

#include "jpeg/jpeg_decoder.h"

namespace jpeg {

// cover fills the whole frame and crops the photo to its middle; contain shows the whole
// photo, with bars of the fill colour.
enum class FitMode : std::int32_t { cover = 0, contain = 1 };

// The frame a photo is fitted into: its size in pixels, the mode, and the colour of the bars
// (0x00RRGGBB, the frame's pixel format).
struct FitFrame {
  std::int32_t width = 640;
  std::int32_t height = 480;
  FitMode mode = FitMode::cover;
  std::uint32_t fill = 0;
};

// The largest scale denominator (8, 4, 2 or 1) at which a stored photo of width x height,
// turned by orientation, still gives at least one pixel for each frame pixel it is shown on.
std::int32_t fit_scale(std::int32_t width, std::int32_t height, std::int32_t orientation,
                       const FitFrame& frame);

// Folds the rows of a stored picture of width x height pixels (1 or 4 bytes each, as the
// decoder delivers them) into the frame's accumulators: each row's pixels go to the frame
// pixels whose footprint they fall in (for the quarter turns, a stored row is a frame column).
class PhotoFit {
 public:
  // Allocates the accumulators (16 bytes per frame pixel; in a plain reduction 4 per frame
  // pixel and 16 per frame column); ok() is false when that failed.
  PhotoFit(const FitFrame& frame, std::int32_t orientation, std::int32_t width, std::int32_t height,
           std::int32_t bytes_per_pixel);
  bool ok() const { return ok_; }
  // Adds the next stored row, top to bottom; rows past the last are ignored.
  void add_row(const std::uint8_t* row);
  // Writes the frame: the mean of each pixel's footprint, bars in the fill colour.
  // pixels holds frame.width * frame.height words, row after row.
  void finish(std::uint32_t* pixels) const;

 private:
  // Per stored column and row: the first frame coordinate it covers, along the frame axis it
  // maps to, and how many (0 when cropped away).
  std::vector<std::int32_t> column_start_, column_span_, row_start_, row_span_;
  // In a reduction across (every stored column covers at most one frame column) without a
  // quarter turn, per frame column: the first stored column it takes and how many (0 for a
  // bar). A row is then added column by column of the frame, each from a run of stored pixels.
  std::vector<std::int32_t> frame_column_first_, frame_column_count_;
  bool gathers_ = false;
  // In a reduction down (every stored row adds to at most one frame row, and each frame row's
  // stored rows come one after another) without a quarter turn, each frame row is finished
  // into done_ once its last stored row (frame_row_last_) is in, so that the sums hold one frame
  // row instead of the whole frame; pending_row_ is the frame row being summed (-1: none).
  bool streams_ = false;
  std::vector<std::int32_t> frame_row_last_;
  std::vector<std::uint32_t> done_;
  std::int32_t pending_row_ = -1;
  std::vector<std::uint32_t> sums_;  // red, green, blue, count per frame pixel (or of one row)
  // Division by a small count through its reciprocal (pixel_of).
  static constexpr std::uint32_t kReciprocals = 256;
  std::uint64_t reciprocal_[kReciprocals] = {};
  // Adds a stored row to one frame row's sums (line) in a plain reduction down.
  void add_to_line(const std::uint8_t* row, std::uint32_t* line);
  // The frame pixel of one pixel's sums: their rounded mean, or the fill colour without any.
  std::uint32_t pixel_of(const std::uint32_t* s) const;
  FitFrame frame_;
  bool swaps_ = false;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::int32_t bytes_per_pixel_ = 0;
  std::int32_t next_row_ = 0;
  bool ok_ = false;
};

// Decodes the photo in data (size bytes) straight into the frame: the scale from fit_scale,
// the photo limits, the orientation of an Exif segment before the frame header applied. pixels
// holds frame.width * frame.height words. Returns 0 or the decoder's error code
// (error_codes.h); options.scale_denominator and photo_sizes are chosen here. On failure,
// error_offset (when not null) receives the byte of the input where the decoder stopped.
std::int32_t decode_fitted(const std::uint8_t* data, std::int32_t size, DecoderOptions options,
                           const FitFrame& frame, std::uint32_t* pixels,
                           std::int64_t* error_offset = nullptr);

// The same read through stream, which each decoder opens: its open() must put it back at the
// photo's first byte (the headers are read once before the photo).
std::int32_t decode_fitted(JpegInputStream& stream, DecoderOptions options, const FitFrame& frame,
                           std::uint32_t* pixels, std::int64_t* error_offset = nullptr);

}  // namespace jpeg
