// Test helpers around the decoder.
#include "decode_harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "jpeg/decoder_steps.h"
#include "jpeg/row_output.h"

namespace jpeg_test {

std::int32_t TestStream::read(std::uint8_t* buffer, std::int32_t max_bytes, bool& at_end) {
  if (reads++ == fail_at_) return kReadError;
  std::int32_t n = max_bytes < chunk_ ? max_bytes : chunk_;
  const auto left = static_cast<std::int32_t>(data_.size() - position_);
  if (n > left) n = left;
  if (n < 0) n = 0;
  if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
  position_ += static_cast<std::size_t>(n);
  if (n < max_bytes && position_ == data_.size()) at_end = true;
  return n;
}

Decoded decode(const Bytes& jpeg, bool fast_path, std::int32_t threads, std::int32_t scale) {
  Decoded r;
  TestStream stream(jpeg);
  {
    jpeg::JpegDecoder d(&stream, jpeg::DecoderOptions{fast_path, threads, scale});
    r.constructor_error = d.error_code;
    r.width = d.width;
    r.height = d.height;
    if (d.error_code == 0) {
      r.start_result = d.start();
      r.bytes_per_pixel = d.bytes_per_pixel;
      if (r.start_result == 0) {
        r.width = d.output_width;
        r.height = d.output_height;
        for (std::int32_t y = 0; y < d.output_height; ++y) {
          const std::uint8_t* line = nullptr;
          std::int32_t n = 0;
          const std::int32_t result = d.read_scanline(line, n);
          if (result != 0) {
            r.row_result = result;
            break;
          }
          r.pixels.insert(r.pixels.end(), line, line + n);
        }
      }
    }
    r.error_code = d.error_code;
    d.release();
  }
  r.closes = stream.closes;
  return r;
}

Stages::Stages(const Bytes& jpeg, bool fast_path)
    : bytes(jpeg), stream(jpeg), d(std::make_unique<jpeg::detail::DecoderState>()) {
  d->stream = &stream;
  d->fast_path = fast_path;
  d->fast_transform = fast_path;
}

Stages::~Stages() {
  jpeg::detail::release_all(*d);
}

std::int32_t Stages::run(const std::function<void()>& f) {
  try {
    f();
  } catch (const jpeg::detail::Failure& failure) {
    return failure.code;
  }
  return 0;
}

std::int32_t Stages::open_and_start() {
  return run([this] {
    jpeg::detail::construct(*d);
    jpeg::detail::start_decoding(*d);
  });
}

std::int32_t Stages::next_row() {
  return run([this] { jpeg::detail::next_mcu_row(*d); });
}

Decoded decode_stages(const Bytes& jpeg, bool fast_path, std::int32_t threads,
                      std::int64_t min_pixels, std::int32_t scale) {
  Decoded r;
  Stages s(jpeg, fast_path);
  s.d->threads = threads;
  s.d->scale = scale;
  s.d->pipeline_min_pixels = min_pixels;
  s.d->split_waits = min_pixels == 0;
  r.start_result = s.open_and_start();
  jpeg::detail::DecoderState& d = *s.d;
  while (r.start_result == 0 && d.rows_remaining > 0) {
    const std::uint8_t* line = nullptr;
    if ((r.row_result = s.run([&] { line = jpeg::detail::deliver_row(d); })) != 0) break;
    r.pixels.insert(r.pixels.end(), line, line + d.row_bytes);
  }
  r.error_code = r.start_result != 0 ? r.start_result : r.row_result;
  return r;
}

Bytes read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

namespace {

struct WorkDirectory {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("jpeg_tests_" + std::to_string(::getpid()));
  WorkDirectory() { std::filesystem::create_directories(path); }
  ~WorkDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

std::string work_file(const std::string& name) {
  static const WorkDirectory directory;
  return (directory.path / name).string();
}

Bytes make_with_cjpeg(int width, int height, const std::string& options) {
  if (std::system("cjpeg -version >/dev/null 2>&1") != 0) return {};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string base = work_file(std::string(info->name()) + "_" + std::to_string(width) + "x" +
                                     std::to_string(height));
  // A smooth, textured picture: gradients, rings and a little deterministic noise.
  {
    std::ofstream ppm(base + ".ppm", std::ios::binary);
    ppm << "P6\n" << width << " " << height << "\n255\n";
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int noise = static_cast<int>(seed >> 28) - 8;
        const double r = std::sqrt((x - width / 3.0) * (x - width / 3.0) +
                                   (y - height / 2.0) * (y - height / 2.0));
        const int ring = static_cast<int>(127 + 100 * std::sin(r / 6.0));
        const int values[3] = {ring + noise, (x * 255) / (width > 1 ? width - 1 : 1) + noise,
                               (y * 255) / (height > 1 ? height - 1 : 1) - noise};
        for (int v : values) ppm.put(static_cast<char>(v < 0 ? 0 : (v > 255 ? 255 : v)));
      }
    }
  }
  const std::string out = base + ".jpg";
  const std::string command = "cjpeg " + options + " -outfile " + out + " " + base + ".ppm";
  if (std::system(command.c_str()) != 0) return {};
  Bytes jpeg = read_file(out);
  std::filesystem::remove(base + ".ppm");
  std::filesystem::remove(out);
  return jpeg;
}

}  // namespace jpeg_test
