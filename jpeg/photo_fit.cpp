// The streaming fit. Both modes map a region of the upright photo onto a box of the frame:
// cover maps the middle of the photo that has the frame's shape onto the whole frame, contain
// maps the whole photo onto the largest box of its shape centred in the frame. Along each axis
// a photo pixel u of the region covers frame pixels from (u * box) / region up to
// ((u + 1) * box) / region, at least one, so a reduction is a box filter and an enlargement
// replicates.
#include "jpeg/photo_fit.h"

#include <algorithm>
#include <new>
#include <optional>

#include "jpeg/error_codes.h"
#include "jpeg/exif_orientation.h"
#include "jpeg/memory_input_stream.h"

namespace jpeg {

namespace {

struct Axis {
  std::int64_t region_start;
  std::int64_t region_size;
  std::int64_t box_start;
  std::int64_t box_size;
};

// The frame axes of both modes for an upright photo of upright_w x upright_h.
void map_axes(const FitFrame& frame, std::int64_t upright_w, std::int64_t upright_h, Axis& x,
              Axis& y) {
  const std::int64_t fw = frame.width;
  const std::int64_t fh = frame.height;
  x = {0, upright_w, 0, fw};
  y = {0, upright_h, 0, fh};
  const bool wider = upright_w * fh >= upright_h * fw;  // than the frame
  if (frame.mode == FitMode::cover) {
    if (wider) {
      x.region_size = (upright_h * fw + fh / 2) / fh;
      if (x.region_size < 1) x.region_size = 1;
      x.region_start = (upright_w - x.region_size) / 2;
    } else {
      y.region_size = (upright_w * fh + fw / 2) / fw;
      if (y.region_size < 1) y.region_size = 1;
      y.region_start = (upright_h - y.region_size) / 2;
    }
  } else if (wider) {
    y.box_size = (upright_h * fw + upright_w / 2) / upright_w;
    if (y.box_size < 1) y.box_size = 1;
    y.box_start = (fh - y.box_size) / 2;
  } else {
    x.box_size = (upright_w * fh + upright_h / 2) / upright_h;
    if (x.box_size < 1) x.box_size = 1;
    x.box_start = (fw - x.box_size) / 2;
  }
}

// start and span of every upright coordinate 0..count-1 along one axis.
void fill_axis(const Axis& a, std::int64_t count, std::vector<std::int32_t>& start,
               std::vector<std::int32_t>& span) {
  start.assign(static_cast<std::size_t>(count), 0);
  span.assign(static_cast<std::size_t>(count), 0);
  for (std::int64_t u = 0; u < count; ++u) {
    const std::int64_t r = u - a.region_start;
    if (r < 0 || r >= a.region_size) continue;
    const std::int64_t first = r * a.box_size / a.region_size;
    std::int64_t end = (r + 1) * a.box_size / a.region_size;
    if (end <= first) end = first + 1;
    start[static_cast<std::size_t>(u)] = static_cast<std::int32_t>(a.box_start + first);
    span[static_cast<std::size_t>(u)] = static_cast<std::int32_t>(end - first);
  }
}

}  // namespace

std::int32_t fit_scale(std::int32_t width, std::int32_t height, std::int32_t orientation,
                       const FitFrame& frame) {
  const bool swaps = orientation_swaps_axes(orientation);
  const std::int64_t uw = swaps ? height : width;
  const std::int64_t uh = swaps ? width : height;
  Axis x{};
  Axis y{};
  map_axes(frame, uw, uh, x, y);
  // Scale N keeps region / N photo pixels (rounded up) for box frame pixels on each axis.
  for (std::int32_t n : {8, 4, 2}) {
    if ((x.region_size + n - 1) / n >= x.box_size && (y.region_size + n - 1) / n >= y.box_size) {
      return n;
    }
  }
  return 1;
}

PhotoFit::PhotoFit(const FitFrame& frame, std::int32_t orientation, std::int32_t width,
                   std::int32_t height, std::int32_t bytes_per_pixel)
    : frame_(frame),
      swaps_(orientation_swaps_axes(orientation)),
      width_(width),
      height_(height),
      bytes_per_pixel_(bytes_per_pixel) {
  if (frame.width < 1 || frame.height < 1 || width < 1 || height < 1) return;
  try {
    const std::int64_t uw = swaps_ ? height : width;
    const std::int64_t uh = swaps_ ? width : height;
    Axis x{};
    Axis y{};
    map_axes(frame, uw, uh, x, y);
    std::vector<std::int32_t> ux_start, ux_span, uy_start, uy_span;
    fill_axis(x, uw, ux_start, ux_span);
    fill_axis(y, uh, uy_start, uy_span);
    // A stored column and row become upright ones through the orientation's mapping.
    column_start_.resize(static_cast<std::size_t>(width));
    column_span_.resize(static_cast<std::size_t>(width));
    row_start_.resize(static_cast<std::size_t>(height));
    row_span_.resize(static_cast<std::size_t>(height));
    for (std::int32_t sx = 0; sx < width; ++sx) {
      // The upright coordinate a stored column maps to: x for the plain and mirrored, y for
      // the quarter turns. Found through the mapping of upright to stored points.
      std::int32_t u = 0;
      for (std::int32_t probe : {sx, width - 1 - sx}) {
        const StoredPoint p = swaps_ ? stored_point(orientation, 0, probe, width, height)
                                     : stored_point(orientation, probe, 0, width, height);
        if (p.x == sx) u = probe;
      }
      const auto& starts = swaps_ ? uy_start : ux_start;
      const auto& spans = swaps_ ? uy_span : ux_span;
      column_start_[static_cast<std::size_t>(sx)] = starts[static_cast<std::size_t>(u)];
      column_span_[static_cast<std::size_t>(sx)] = spans[static_cast<std::size_t>(u)];
    }
    for (std::int32_t sy = 0; sy < height; ++sy) {
      std::int32_t u = 0;
      for (std::int32_t probe : {sy, height - 1 - sy}) {
        const StoredPoint p = swaps_ ? stored_point(orientation, probe, 0, width, height)
                                     : stored_point(orientation, 0, probe, width, height);
        if (p.y == sy) u = probe;
      }
      const auto& starts = swaps_ ? ux_start : uy_start;
      const auto& spans = swaps_ ? ux_span : uy_span;
      row_start_[static_cast<std::size_t>(sy)] = starts[static_cast<std::size_t>(u)];
      row_span_[static_cast<std::size_t>(sy)] = spans[static_cast<std::size_t>(u)];
    }
    gathers_ = !swaps_;
    frame_column_first_.assign(static_cast<std::size_t>(frame.width), 0);
    frame_column_count_.assign(static_cast<std::size_t>(frame.width), 0);
    for (std::int32_t sx = 0; sx < width && gathers_; ++sx) {
      const std::int32_t span = column_span_[static_cast<std::size_t>(sx)];
      if (span == 0) continue;
      const auto fx = static_cast<std::size_t>(column_start_[static_cast<std::size_t>(sx)]);
      std::int32_t& first = frame_column_first_[fx];
      std::int32_t& count = frame_column_count_[fx];
      if (span > 1 || (count > 0 && sx != first + count)) {
        gathers_ = false;
      } else if (count++ == 0) {
        first = sx;
      }
    }
    streams_ = !swaps_;
    frame_row_last_.assign(static_cast<std::size_t>(frame.height), -1);
    std::int32_t previous = -1;
    for (std::int32_t sy = 0; sy < height && streams_; ++sy) {
      const std::int32_t span = row_span_[static_cast<std::size_t>(sy)];
      if (span == 0) continue;
      const std::int32_t fy = row_start_[static_cast<std::size_t>(sy)];
      // A frame row met again after another one was begun cannot be finished early.
      std::int32_t& last = frame_row_last_[static_cast<std::size_t>(fy)];
      if (span > 1 || (fy != previous && last >= 0)) streams_ = false;
      last = sy;
      previous = fy;
    }
    const auto pixels =
        static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
    if (streams_) {
      done_.assign(pixels, frame.fill);
      sums_.assign(static_cast<std::size_t>(frame.width) * 4, 0);
    } else {
      sums_.assign(pixels * 4, 0);
    }
    // m = 2^32 / n + 1 gives floor(x / n) = x m >> 32 exactly for x < 2^32 / n, which holds
    // for every sum of n samples plus n / 2 while n < 4096.
    for (std::uint32_t n = 1; n < kReciprocals; ++n) {
      reciprocal_[n] = (std::uint64_t{1} << 32) / n + 1;
    }
    ok_ = true;
  } catch (const std::bad_alloc&) {
    ok_ = false;
  }
}

void PhotoFit::add_to_line(const std::uint8_t* row, std::uint32_t* line) {
  const std::int32_t fw = frame_.width;
  const std::size_t green = bytes_per_pixel_ == 1 ? 0 : 1;
  const std::size_t blue = bytes_per_pixel_ == 1 ? 0 : 2;
  const auto step = static_cast<std::size_t>(bytes_per_pixel_);
  if (gathers_) {
    // Each frame column's run summed first: one update of the sums per frame pixel instead
    // of one per stored pixel.
    for (std::size_t fx = 0; fx < static_cast<std::size_t>(fw); ++fx, line += 4) {
      const std::int32_t count = frame_column_count_[fx];
      if (count == 0) continue;
      const std::uint8_t* p = row + static_cast<std::size_t>(frame_column_first_[fx]) * step;
      std::uint32_t red = 0;
      std::uint32_t green_sum = 0;
      std::uint32_t blue_sum = 0;
      for (std::int32_t k = 0; k < count; ++k, p += step) {
        red += p[0];
        green_sum += p[green];
        blue_sum += p[blue];
      }
      line[0] += red;
      line[1] += green_sum;
      line[2] += blue_sum;
      line[3] += static_cast<std::uint32_t>(count);
    }
    return;
  }
  for (std::size_t sx = 0; sx < static_cast<std::size_t>(width_); ++sx, row += step) {
    const std::int32_t col_count = column_span_[sx];
    std::uint32_t* s = line + static_cast<std::size_t>(column_start_[sx]) * 4;
    for (std::int32_t j = 0; j < col_count; ++j, s += 4) {
      s[0] += row[0];
      s[1] += row[green];
      s[2] += row[blue];
      s[3] += 1;
    }
  }
}

void PhotoFit::add_row(const std::uint8_t* row) {
  if (!ok_ || next_row_ >= height_) return;
  const auto sy = static_cast<std::size_t>(next_row_++);
  const std::int32_t row_first = row_start_[sy];
  const std::int32_t row_count = row_span_[sy];
  if (row_count == 0) return;
  const std::int32_t fw = frame_.width;
  if (!swaps_ && row_count == 1) {
    // The usual reduction: the row adds to one frame row, each pixel to a run of its columns.
    std::uint32_t* line =
        streams_ ? sums_.data()
                 : &sums_[static_cast<std::size_t>(row_first) * static_cast<std::size_t>(fw) * 4];
    add_to_line(row, line);
    if (!streams_) return;
    pending_row_ = row_first;
    if (frame_row_last_[static_cast<std::size_t>(row_first)] != static_cast<std::int32_t>(sy)) {
      return;
    }
    std::uint32_t* out = &done_[static_cast<std::size_t>(row_first) * static_cast<std::size_t>(fw)];
    for (std::size_t fx = 0; fx < static_cast<std::size_t>(fw); ++fx) {
      out[fx] = pixel_of(&sums_[4 * fx]);
    }
    std::fill(sums_.begin(), sums_.end(), 0);
    pending_row_ = -1;
    return;
  }
  for (std::int32_t sx = 0; sx < width_; ++sx, row += bytes_per_pixel_) {
    const std::int32_t col_count = column_span_[static_cast<std::size_t>(sx)];
    if (col_count == 0) continue;
    const std::int32_t col_first = column_start_[static_cast<std::size_t>(sx)];
    const std::uint32_t red = row[0];
    const std::uint32_t green = bytes_per_pixel_ == 1 ? row[0] : row[1];
    const std::uint32_t blue = bytes_per_pixel_ == 1 ? row[0] : row[2];
    // A stored row lies along the frame's x axis, or for the quarter turns along its y axis.
    for (std::int32_t i = 0; i < row_count; ++i) {
      for (std::int32_t j = 0; j < col_count; ++j) {
        const std::int32_t fx = swaps_ ? row_first + i : col_first + j;
        const std::int32_t fy = swaps_ ? col_first + j : row_first + i;
        std::uint32_t* s = &sums_[(static_cast<std::size_t>(fy) * static_cast<std::size_t>(fw) +
                                   static_cast<std::size_t>(fx)) *
                                  4];
        s[0] += red;
        s[1] += green;
        s[2] += blue;
        s[3] += 1;
      }
    }
  }
}

std::uint32_t PhotoFit::pixel_of(const std::uint32_t* s) const {
  const std::uint32_t n = s[3];
  if (n == 0) return frame_.fill;
  const auto divide = [this, n](std::uint32_t x) {
    if (n >= kReciprocals) return x / n;
    return static_cast<std::uint32_t>((std::uint64_t{x} * reciprocal_[n]) >> 32);
  };
  return divide(s[0] + n / 2) << 16 | divide(s[1] + n / 2) << 8 | divide(s[2] + n / 2);
}

void PhotoFit::finish(std::uint32_t* pixels) const {
  const auto fw = static_cast<std::size_t>(frame_.width);
  const std::size_t count = fw * static_cast<std::size_t>(frame_.height);
  if (!ok_) {
    std::fill(pixels, pixels + count, frame_.fill);
    return;
  }
  if (streams_) {
    std::copy(done_.begin(), done_.end(), pixels);
    // A frame row whose last stored row has not come: what it has so far.
    if (pending_row_ >= 0) {
      std::uint32_t* out = pixels + static_cast<std::size_t>(pending_row_) * fw;
      for (std::size_t fx = 0; fx < fw; ++fx) out[fx] = pixel_of(&sums_[4 * fx]);
    }
    return;
  }
  for (std::size_t i = 0; i < count; ++i) pixels[i] = pixel_of(&sums_[4 * i]);
}

namespace {

// The fit of the photo that stream_for gives, once for the headers and once for the photo.
template <typename StreamFor>
std::int32_t fit_through(StreamFor&& stream_for, DecoderOptions options, const FitFrame& frame,
                         std::uint32_t* pixels, std::int64_t* error_offset) {
  // The scale depends on the photo's size and orientation, and a decoder takes its options when
  // it is made: a first decoder reads the headers only.
  options.photo_sizes = true;
  options.scale_denominator = 1;
  std::int32_t orientation = 1;
  const auto failed = [error_offset](const JpegDecoder& decoder, std::int32_t fallback) {
    if (error_offset != nullptr) *error_offset = decoder.error_offset;
    return decoder.error_code != 0 ? decoder.error_code : fallback;
  };
  {
    JpegDecoder header(&stream_for(), options);
    if (header.error_code != 0) return failed(header, 0);
    orientation = header.orientation;
    options.scale_denominator = fit_scale(header.width, header.height, orientation, frame);
  }
  JpegDecoder decoder(&stream_for(), options);
  if (decoder.error_code != 0 || decoder.start() != DecodeOk) {
    return failed(decoder, UnexpectedMarker);
  }
  PhotoFit fit(frame, orientation, decoder.output_width, decoder.output_height,
               decoder.bytes_per_pixel);
  if (!fit.ok()) return OutOfMemory;
  for (std::int32_t y = 0; y < decoder.output_height; ++y) {
    const std::uint8_t* line = nullptr;
    std::int32_t line_bytes = 0;
    if (decoder.read_scanline(line, line_bytes) != DecodeOk) return failed(decoder, CorruptData);
    fit.add_row(line);
  }
  fit.finish(pixels);
  return 0;
}

}  // namespace

std::int32_t decode_fitted(const std::uint8_t* data, std::int32_t size, DecoderOptions options,
                           const FitFrame& frame, std::uint32_t* pixels,
                           std::int64_t* error_offset) {
  std::optional<MemoryInputStream> stream;
  const auto stream_for = [&]() -> JpegInputStream& { return stream.emplace(data, size); };
  return fit_through(stream_for, options, frame, pixels, error_offset);
}

std::int32_t decode_fitted(JpegInputStream& stream, DecoderOptions options, const FitFrame& frame,
                           std::uint32_t* pixels, std::int64_t* error_offset) {
  const auto stream_for = [&]() -> JpegInputStream& { return stream; };
  return fit_through(stream_for, options, frame, pixels, error_offset);
}

}  // namespace jpeg
