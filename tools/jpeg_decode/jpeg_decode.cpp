// jpeg_decode: decodes one JPEG file to PPM (colour) or PGM (grey) with the player's decoder,
// or times repeated decodes from memory.
//   jpeg_decode [--integer] [--threads N] [--scale N] IN.jpg OUT.ppm|OUT.pgm
//   jpeg_decode [--integer] [--threads N] [--scale N] --bench N IN.jpg
//   jpeg_decode [--integer] [--threads N] --fit cover|contain [--bench N] IN.jpg [OUT.ppm]
// --threads 2 lets a second thread decode the entropy-coded data of large sequential pictures;
// --scale 2, 4 or 8 decodes the picture at that fraction of its size; --fit gives the 640x480
// picture the player shows, upright, filled (cover) or whole between black bars (contain).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "jpeg/error_codes.h"
#include "jpeg/photo_fit.h"
#include "tools/jpeg_decode/decode_picture.h"

namespace {

int usage() {
  std::fprintf(
      stderr,
      "usage: jpeg_decode [--integer] [--threads N] [--scale N] IN.jpg OUT.ppm|OUT.pgm\n"
      "       jpeg_decode [--integer] [--threads N] [--scale N] --bench N IN.jpg\n"
      "       jpeg_decode [--integer] [--threads N] --fit cover|contain [--bench N] IN.jpg "
      "[OUT.ppm]\n");
  return 2;
}

int report_failure(std::int32_t code, std::int64_t offset) {
  std::fprintf(stderr, "jpeg_decode: %s (%s %d, at byte %lld)\n", jpeg::error_text(code),
               jpeg::error_name(code), static_cast<int>(code), static_cast<long long>(offset));
  return 1;
}

// Binary PPM (P6) for colour, PGM (P5) for grey, whatever the output name says.
bool write_pnm(const char* path, const tools::DecodedPicture& picture) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "P%c\n%d %d\n255\n", picture.channels == 1 ? '5' : '6',
               static_cast<int>(picture.width), static_cast<int>(picture.height));
  const bool written =
      std::fwrite(picture.pixels.data(), 1, picture.pixels.size(), file) == picture.pixels.size();
  return std::fclose(file) == 0 && written;
}

int bench(const std::vector<std::uint8_t>& bytes, long runs, const jpeg::DecoderOptions& options) {
  const bool fast_path = options.fast_path;
  const std::int32_t threads = options.threads;
  const auto size = static_cast<std::int32_t>(bytes.size());
  // One decode for the size and the verdict; the timed runs decode into the same buffer.
  const tools::DecodedPicture picture = tools::decode_picture(bytes.data(), size, options);
  if (picture.error_code != 0) return report_failure(picture.error_code, picture.error_offset);
  std::vector<std::uint8_t> rows;
  std::vector<double> times_ms;
  for (long run = 0; run < runs; ++run) {
    const auto begin = std::chrono::steady_clock::now();
    const std::int32_t code = tools::decode_rows(bytes.data(), size, options, rows);
    const auto end = std::chrono::steady_clock::now();
    if (code != 0) return report_failure(code, 0);
    times_ms.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
  }
  std::sort(times_ms.begin(), times_ms.end());
  const double min_ms = times_ms.front();
  const double median_ms = times_ms[times_ms.size() / 2];
  const double megapixels = static_cast<double>(picture.width) * picture.height / 1e6;
  std::printf(
      "%dx%d, %s path, %d thread(s), %ld runs: min %.3f ms, median %.3f ms, %.1f megapixels/s\n",
      static_cast<int>(picture.width), static_cast<int>(picture.height),
      fast_path ? "fast" : "integer", static_cast<int>(threads), runs, min_ms, median_ms,
      megapixels / (min_ms / 1000.0));
  return 0;
}

// The fitted frame of bytes as PPM, or timed; a refused file prints its text.
int fit(const std::vector<std::uint8_t>& bytes, const jpeg::DecoderOptions& options,
        jpeg::FitMode mode, long runs, const char* out_path) {
  const jpeg::FitFrame frame{640, 480, mode, 0};
  std::vector<std::uint32_t> pixels(640 * 480);
  const auto size = static_cast<std::int32_t>(bytes.size());
  std::vector<double> times_ms;
  for (long run = 0; run < (runs > 0 ? runs : 1); ++run) {
    const auto begin = std::chrono::steady_clock::now();
    const std::int32_t code =
        jpeg::decode_fitted(bytes.data(), size, options, frame, pixels.data());
    const auto end = std::chrono::steady_clock::now();
    if (code != 0) return report_failure(code, 0);
    times_ms.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
  }
  if (runs > 0) {
    std::sort(times_ms.begin(), times_ms.end());
    std::printf("fit %s 640x480, %d thread(s), %ld runs: min %.3f ms, median %.3f ms\n",
                mode == jpeg::FitMode::cover ? "cover" : "contain",
                static_cast<int>(options.threads), runs, times_ms.front(),
                times_ms[times_ms.size() / 2]);
    return 0;
  }
  tools::DecodedPicture picture;
  picture.width = 640;
  picture.height = 480;
  picture.channels = 3;
  for (const std::uint32_t p : pixels) {
    picture.pixels.push_back(static_cast<std::uint8_t>(p >> 16));
    picture.pixels.push_back(static_cast<std::uint8_t>(p >> 8));
    picture.pixels.push_back(static_cast<std::uint8_t>(p));
  }
  if (!write_pnm(out_path, picture)) {
    std::fprintf(stderr, "jpeg_decode: cannot write %s\n", out_path);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool fast_path = true;
  long runs = 0;
  long threads = 1;
  long scale = 1;
  int fit_mode = -1;
  int arg = 1;
  for (; arg < argc && argv[arg][0] == '-' && argv[arg][1] == '-'; ++arg) {
    if (std::strcmp(argv[arg], "--integer") == 0) {
      fast_path = false;
    } else if (std::strcmp(argv[arg], "--bench") == 0 && arg + 1 < argc) {
      runs = std::strtol(argv[++arg], nullptr, 10);
      if (runs < 1) return usage();
    } else if (std::strcmp(argv[arg], "--threads") == 0 && arg + 1 < argc) {
      threads = std::strtol(argv[++arg], nullptr, 10);
      if (threads < 1 || threads > 2) return usage();
    } else if (std::strcmp(argv[arg], "--fit") == 0 && arg + 1 < argc) {
      ++arg;
      if (std::strcmp(argv[arg], "cover") == 0) {
        fit_mode = 0;
      } else if (std::strcmp(argv[arg], "contain") == 0) {
        fit_mode = 1;
      } else {
        return usage();
      }
    } else if (std::strcmp(argv[arg], "--scale") == 0 && arg + 1 < argc) {
      scale = std::strtol(argv[++arg], nullptr, 10);
      if (scale != 1 && scale != 2 && scale != 4 && scale != 8) return usage();
    } else {
      return usage();
    }
  }
  const int wanted = runs > 0 ? 1 : 2;
  if (argc - arg != wanted) return usage();

  std::vector<std::uint8_t> bytes;
  if (!tools::read_file(argv[arg], bytes)) {
    std::fprintf(stderr, "jpeg_decode: cannot read %s\n", argv[arg]);
    return 1;
  }
  // Any photo, within the decoder's memory budget for photos.
  const jpeg::DecoderOptions options{fast_path, static_cast<std::int32_t>(threads),
                                     static_cast<std::int32_t>(scale), true};
  if (fit_mode >= 0) {
    return fit(bytes, options, static_cast<jpeg::FitMode>(fit_mode), runs,
               runs > 0 ? nullptr : argv[arg + 1]);
  }
  if (runs > 0) return bench(bytes, runs, options);

  const tools::DecodedPicture picture =
      tools::decode_picture(bytes.data(), static_cast<std::int32_t>(bytes.size()), options);
  if (picture.error_code != 0) return report_failure(picture.error_code, picture.error_offset);
  if (!write_pnm(argv[arg + 1], picture)) {
    std::fprintf(stderr, "jpeg_decode: cannot write %s\n", argv[arg + 1]);
    return 1;
  }
  return 0;
}
