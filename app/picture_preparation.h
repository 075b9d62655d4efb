// Picture preparation: decoding the current picture's JPEG bytes into 32-bit pixels and
// centring them in the 640x480 SourceImage.
#pragma once

#include <cstdint>
#include <memory>

namespace app {

// The fill colour around a picture smaller than 640x480: red 64, green 64, blue 32.
inline constexpr std::uint32_t kSourceImageFill = 0x404020u;

// A decoded picture: width x height pixels 0x00RRGGBB (bytes blue, green, red, zero), rows
// top to bottom and contiguous; no pixels when empty.
struct DecodedPicture {
  std::unique_ptr<std::uint32_t[]> pixels;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool fast_path = true;  // handed to the decoder as its fast_path option

  // Frees the pixels and empties the record; the option stays.
  void release();
};

// Decodes JPEG bytes (borrowed) into picture, replacing what it held. Returns false, with
// the record empty, for any decoder failure, a size of 0, a component count other than 1
// or 3, fewer rows than the height, or a failed allocation.
bool decode_picture(DecodedPicture* picture, const std::uint8_t* data, std::int32_t length);

// Fills the target_width x target_height target with fill, then copies the picture into
// it centred; an axis that does not fit keeps the picture's middle part. With an odd
// difference the extra border (or cut) falls on the right and bottom. Does nothing when
// a pointer is null or a size negative.
void centre_picture(std::uint32_t* target, std::int32_t target_width, std::int32_t target_height,
                    const std::uint32_t* picture, std::int32_t picture_width,
                    std::int32_t picture_height, std::uint32_t fill);

// Decodes JPEG bytes and centres them in source_image (640x480, the scene's). On failure
// returns false and leaves source_image as it was.
bool prepare_source_image(std::uint32_t* source_image, const std::uint8_t* data,
                          std::int32_t length);

}  // namespace app
