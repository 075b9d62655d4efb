// TurboJPEG encoding and decoding, and PNG writing through stb_image_write.
#include "tests/app/picture_test_support.h"

#include <turbojpeg.h>

#include <filesystem>
#include <fstream>
#include <iterator>

extern "C" int stbi_write_png(char const* filename, int w, int h, int comp, const void* data,
                              int stride_in_bytes);

namespace picture_test {

namespace {

std::vector<std::uint8_t> compress(const std::uint8_t* pixels, int width, int height,
                                   int pixel_format, int subsampling, int flags) {
  tjhandle handle = tjInitCompress();
  if (handle == nullptr) return {};
  unsigned char* out = nullptr;
  unsigned long size = 0;
  std::vector<std::uint8_t> jpeg;
  if (tjCompress2(handle, pixels, width, 0, height, pixel_format, &out, &size, subsampling, 95,
                  flags) == 0) {
    jpeg.assign(out, out + size);
  }
  tjFree(out);
  tjDestroy(handle);
  return jpeg;
}

}  // namespace

Picture squares(std::int32_t width, std::int32_t height, std::int32_t channels) {
  Picture picture{width, height, channels, {}};
  picture.pixels.reserve(static_cast<std::size_t>(width * height * channels));
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const std::int32_t square = (x / 8) * 7 + (y / 8) * 3;
      const auto r = static_cast<std::uint8_t>(square % 2 == 0 ? 230 : 20);
      const auto g = static_cast<std::uint8_t>(square % 3 == 0 ? 220 : 40);
      const auto b = static_cast<std::uint8_t>(square % 5 < 2 ? 210 : 30);
      if (channels == 1) {
        picture.pixels.push_back(static_cast<std::uint8_t>((r + g + b) / 3));
      } else {
        picture.pixels.insert(picture.pixels.end(), {r, g, b});
      }
    }
  }
  return picture;
}

std::vector<std::uint8_t> encode(const Picture& picture, Sampling sampling, bool progressive) {
  const int format = picture.channels == 1 ? TJPF_GRAY : TJPF_RGB;
  const int subsampling = sampling == Sampling::kGrey
                              ? TJSAMP_GRAY
                              : (sampling == Sampling::k420 ? TJSAMP_420 : TJSAMP_444);
  return compress(picture.pixels.data(), picture.width, picture.height, format, subsampling,
                  progressive ? TJFLAG_PROGRESSIVE : 0);
}

std::vector<std::uint8_t> encode_cmyk(std::int32_t width, std::int32_t height) {
  std::vector<std::uint8_t> cmyk(static_cast<std::size_t>(width * height * 4));
  for (std::size_t i = 0; i < cmyk.size(); ++i) cmyk[i] = static_cast<std::uint8_t>(i * 37);
  return compress(cmyk.data(), width, height, TJPF_CMYK, TJSAMP_444, 0);
}

std::vector<std::uint8_t> with_two_components(std::vector<std::uint8_t> jpeg) {
  // Baseline frame header (T.81 B.2.2): FF C0, length, precision, height, width, Nf, then
  // three bytes per component. Dropping the last component shortens it by three bytes.
  for (std::size_t i = 2; i + 10 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      const std::size_t length = static_cast<std::size_t>(jpeg[i + 2] << 8 | jpeg[i + 3]);
      jpeg[i + 3] = static_cast<std::uint8_t>(length - 3);
      jpeg[i + 9] = 2;
      const auto end = static_cast<std::ptrdiff_t>(i + 2 + length);
      jpeg.erase(jpeg.begin() + end - 3, jpeg.begin() + end);
      return jpeg;
    }
  }
  return {};
}

Picture reference_decode(const std::vector<std::uint8_t>& jpeg) {
  tjhandle handle = tjInitDecompress();
  if (handle == nullptr) return {};
  int width = 0, height = 0, subsampling = 0, colorspace = 0;
  Picture picture;
  if (tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &width, &height, &subsampling,
                          &colorspace) == 0) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height * 3));
    if (tjDecompress2(handle, jpeg.data(), jpeg.size(), pixels.data(), width, 0, height, TJPF_RGB,
                      TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE) == 0) {
      picture = Picture{width, height, 3, std::move(pixels)};
    }
  }
  tjDestroy(handle);
  return picture;
}

std::vector<std::uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string output_dir() {
  const std::string dir = MQ_TEST_OUTPUT_DIR;
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  return dir;
}

bool write_png(const std::string& path, const std::uint32_t* pixels, std::int32_t width,
               std::int32_t height) {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(width * height * 3));
  for (std::int32_t i = 0; i < width * height; ++i) {
    const std::uint32_t p = pixels[i];
    rgb.insert(rgb.end(), {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                           static_cast<std::uint8_t>(p)});
  }
  return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}

}  // namespace picture_test
