// Decoding a picture and centring it in the SourceImage.
#include "app/picture_preparation.h"

#include <cstddef>
#include <new>

#include "engine/block_ops.h"
#include "engine/frame_buffers.h"
#include "jpeg/jpeg_decoder.h"
#include "jpeg/memory_input_stream.h"

namespace app {

void DecodedPicture::release() {
  pixels.reset();
  width = 0;
  height = 0;
}

namespace {

// Fills the record row by row from a decoder that has read the frame header.
bool fill_from_decoder(DecodedPicture* picture, jpeg::JpegDecoder& decoder) {
  if (decoder.error_code != 0) return false;
  const std::int32_t width = decoder.width;
  const std::int32_t height = decoder.height;
  if (width <= 0 || height <= 0) return false;
  const std::int32_t components = decoder.components;
  if (components != 1 && components != 3) return false;
  if (decoder.start() != 0) return false;
  // A colour pixel needs three bytes of the row; refuse a layout that cannot hold them
  // rather than read past the row.
  const std::int32_t step = decoder.bytes_per_pixel;
  if (step < components) return false;

  const std::size_t pixel_count =
      static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  picture->pixels.reset(new (std::nothrow) std::uint32_t[pixel_count]);
  if (picture->pixels == nullptr) return false;
  picture->width = width;
  picture->height = height;

  const auto row_bytes = static_cast<std::int64_t>(width) * step;
  std::uint32_t* out = picture->pixels.get();
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* line = nullptr;
    std::int32_t line_bytes = 0;
    // The rows must all arrive: an early end is as much a failure as a decoder error.
    if (decoder.read_scanline(line, line_bytes) != jpeg::DecodeOk) return false;
    if (line == nullptr || line_bytes < row_bytes) return false;
    if (components == 1) {
      for (std::int32_t x = 0; x < width; ++x) {
        const std::uint32_t grey =
            line[static_cast<std::size_t>(x) * static_cast<std::size_t>(step)];
        out[x] = grey << 16 | grey << 8 | grey;
      }
    } else {
      for (std::int32_t x = 0; x < width; ++x) {
        const std::uint8_t* rgb =
            line + static_cast<std::size_t>(x) * static_cast<std::size_t>(step);
        out[x] = std::uint32_t{rgb[0]} << 16 | std::uint32_t{rgb[1]} << 8 | std::uint32_t{rgb[2]};
      }
    }
    out += width;
  }
  return decoder.error_code == 0;
}

}  // namespace

bool decode_picture(DecodedPicture* picture, const std::uint8_t* data, std::int32_t length) {
  picture->release();
  jpeg::MemoryInputStream* stream = new (std::nothrow) jpeg::MemoryInputStream(data, length);
  if (stream == nullptr) return false;
  jpeg::JpegDecoder* decoder = new (std::nothrow) jpeg::JpegDecoder(stream, picture->fast_path);
  const bool ok = decoder != nullptr && fill_from_decoder(picture, *decoder);
  if (!ok) picture->release();
  if (decoder != nullptr) {
    decoder->release();
    delete decoder;
  }
  delete stream;
  return ok;
}

void centre_picture(std::uint32_t* target, std::int32_t target_width, std::int32_t target_height,
                    const std::uint32_t* picture, std::int32_t picture_width,
                    std::int32_t picture_height, std::uint32_t fill) {
  if (target == nullptr || picture == nullptr) return;
  if (target_width < 0 || target_height < 0 || picture_width < 0 || picture_height < 0) return;
  engine::fill32(target, fill, target_width * target_height);

  // Per axis: where the copy starts in the target and in the picture, and how much is copied.
  std::int32_t target_x = 0, picture_x = 0, columns = target_width;
  if (target_width >= picture_width) {
    target_x = (target_width - picture_width) / 2;
    columns = picture_width;
  } else {
    picture_x = (picture_width - target_width) / 2;
  }
  std::int32_t target_y = 0, picture_y = 0, rows = target_height;
  if (target_height >= picture_height) {
    target_y = (target_height - picture_height) / 2;
    rows = picture_height;
  } else {
    picture_y = (picture_height - target_height) / 2;
  }

  for (std::int32_t row = 0; row < rows; ++row) {
    const std::uint32_t* from =
        picture + static_cast<std::ptrdiff_t>(picture_y + row) * picture_width + picture_x;
    std::uint32_t* to =
        target + static_cast<std::ptrdiff_t>(target_y + row) * target_width + target_x;
    for (std::int32_t i = 0; i < columns; ++i) to[i] = from[i];
  }
}

bool prepare_source_image(std::uint32_t* source_image, const std::uint8_t* data,
                          std::int32_t length) {
  DecodedPicture picture;
  picture.fast_path = true;
  const bool ok = decode_picture(&picture, data, length);
  if (ok) {
    centre_picture(source_image, engine::kFrameWidth, engine::kFrameHeight, picture.pixels.get(),
                   picture.width, picture.height, kSourceImageFill);
  }
  picture.release();
  return ok;
}

}  // namespace app
