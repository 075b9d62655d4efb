// Helpers of the picture tests: JPEGs made and decoded by TurboJPEG (the independent
// encoder and reference decoder), comparisons with a tolerance, and PNG output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace picture_test {

// A picture of packed 8-bit channels (3: R, G, B; 1: grey), rows top to bottom.
struct Picture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t channels = 0;
  std::vector<std::uint8_t> pixels;

  std::uint8_t at(std::int32_t x, std::int32_t y, std::int32_t channel) const {
    return pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)) *
                      static_cast<std::size_t>(channels) +
                  static_cast<std::size_t>(channel)];
  }
};

// Saturated 8x8 squares whose colour depends on the square's position, so that a shift of
// a single pixel shows plainly; channels 3 (RGB) or 1 (grey).
Picture squares(std::int32_t width, std::int32_t height, std::int32_t channels);

enum class Sampling { k444, k420, kGrey };

// Encodes with TurboJPEG (quality 95, baseline unless progressive).
std::vector<std::uint8_t> encode(const Picture& picture, Sampling sampling,
                                 bool progressive = false);
// Encodes a CMYK picture (4 components in the file) of the given size.
std::vector<std::uint8_t> encode_cmyk(std::int32_t width, std::int32_t height);
// The same JPEG with the frame header claiming only its first two components.
std::vector<std::uint8_t> with_two_components(std::vector<std::uint8_t> jpeg);

// TurboJPEG's decode with its fast transform and plain upsampling (as `djpeg -dct fast
// -nosmooth`), in RGB; empty on failure.
Picture reference_decode(const std::vector<std::uint8_t>& jpeg);

// The decoder's own tolerance against that reference: the mean absolute difference of each
// channel at most 1.5 (the fast path truncates where the reference rounds).
inline constexpr double kFastPathMeanBound = 1.5;

std::vector<std::uint8_t> read_file(const std::string& path);

// The folder the tests write their pictures to (created on demand).
std::string output_dir();
// Writes 0x00RRGGBB pixels (row stride = width) as a PNG; false on failure.
bool write_png(const std::string& path, const std::uint32_t* pixels, std::int32_t width,
               std::int32_t height);

}  // namespace picture_test
