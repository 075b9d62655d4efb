// jpeg_bench --fit: bytes to the fitted 640x480 frame (cover) by decode_fitted, on one thread and
// with the second, against TurboJPEG's tjDecompress2 of the same bytes at the scale decode_fitted
// chooses, in its fast mode (fast DCT and upsampling); TurboJPEG's output would still have to be
// fitted into the frame, which is not counted. The decoders alternate in rounds of one run.
#include "tools/jpeg_bench/fit_bench.h"

#include <turbojpeg.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "jpeg/jpeg_decoder.h"
#include "jpeg/memory_input_stream.h"
#include "jpeg/photo_fit.h"
#include "tools/jpeg_bench/bench_input.h"
#include "tools/jpeg_bench/bench_timing.h"
#include "tools/jpeg_bench/heap_peak.h"
#include "tools/jpeg_decode/decode_picture.h"

namespace bench {

namespace {

struct Photo {
  std::vector<std::uint8_t> bytes;
  int width = 0;
  int height = 0;
  int subsampling = 0;
  bool progressive = false;
  int scale = 1;
};

bool fit_ours(const Photo& photo, std::int32_t threads, std::vector<std::uint32_t>& frame_pixels) {
  jpeg::DecoderOptions options;
  options.threads = threads;
  return jpeg::decode_fitted(photo.bytes.data(), static_cast<std::int32_t>(photo.bytes.size()),
                             options, jpeg::FitFrame{}, frame_pixels.data()) == 0;
}

bool decode_turbo(tjhandle handle, const Photo& photo, std::vector<std::uint8_t>& out) {
  const tjscalingfactor factor{1, photo.scale};
  const int width = TJSCALED(photo.width, factor);
  const int height = TJSCALED(photo.height, factor);
  const int format = photo.subsampling == TJSAMP_GRAY ? TJPF_GRAY : TJPF_RGBX;
  return tjDecompress2(handle, photo.bytes.data(), static_cast<unsigned long>(photo.bytes.size()),
                       out.data(), width, 0, height, format,
                       TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE) == 0;
}

// Peak heap of one decode in MB, the output pixels (the caller's) not included.
double peak_mb(const std::function<bool()>& decode) {
  heap_peak_reset();
  decode();
  return static_cast<double>(heap_peak_bytes()) / 1e6;
}

std::string cell(const Timing& timing) {
  if (timing.failed) return "failed";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f/%.1f", timing.min(), timing.median());
  return text;
}

std::string ratio(const Timing& ours, const Timing& peer) {
  if (ours.failed || peer.failed || peer.min() <= 0.0) return "-";
  char text[16];
  std::snprintf(text, sizeof text, "%.2f", ours.min() / peer.min());
  return text;
}

}  // namespace

int fit_bench(int count, char** files, long runs) {
  tjhandle handle = tjInitDecompress();
  if (handle == nullptr) return 1;
  std::printf(
      "bytes to the 640x480 cover frame; times in ms (fastest round / median round); ratio = "
      "fastest over TurboJPEG's fastest at the same scale (fast DCT and upsampling, no fit)\n");
  std::printf("%-26s %-10s %-6s %-4s %-5s %13s %13s %13s %7s %7s\n", "file", "size", "layout",
              "mode", "scale", "ours", "ours(2t)", "tj-fast", "/tj", "2t/tj");
  std::vector<std::string> heap_lines;
  int status = 0;
  for (int f = 0; f < count; ++f) {
    Photo photo;
    int colorspace = 0;
    if (!tools::read_file(files[f], photo.bytes) ||
        tjDecompressHeader3(handle, photo.bytes.data(),
                            static_cast<unsigned long>(photo.bytes.size()), &photo.width,
                            &photo.height, &photo.subsampling, &colorspace) != 0) {
      std::fprintf(stderr, "jpeg_bench: cannot read %s\n", files[f]);
      status = 1;
      continue;
    }
    // The scale decode_fitted takes: from the size and the EXIF orientation.
    jpeg::MemoryInputStream stream(photo.bytes.data(),
                                   static_cast<std::int32_t>(photo.bytes.size()));
    jpeg::DecoderOptions header_options;
    header_options.photo_sizes = true;
    const jpeg::JpegDecoder header(&stream, header_options);
    photo.scale = jpeg::fit_scale(photo.width, photo.height, header.orientation, jpeg::FitFrame{});
    photo.progressive = photo.bytes.size() > 3 && is_progressive(photo.bytes);

    const tjscalingfactor factor{1, photo.scale};
    std::vector<std::uint8_t> turbo_out(static_cast<std::size_t>(TJSCALED(photo.width, factor)) *
                                        static_cast<std::size_t>(TJSCALED(photo.height, factor)) *
                                        (photo.subsampling == TJSAMP_GRAY ? 1U : 4U));
    std::vector<std::uint32_t> frame_pixels(640 * 480);
    const std::vector<std::function<bool()>> decoders = {
        [&] { return fit_ours(photo, 1, frame_pixels); },
        [&] { return fit_ours(photo, 2, frame_pixels); },
        [&] { return decode_turbo(handle, photo, turbo_out); },
    };
    std::vector<Timing> timings(decoders.size());
    time_in_rounds(decoders, timings, runs);

    const std::string path = files[f];
    const std::string name = path.substr(path.find_last_of('/') + 1);
    const std::string size = std::to_string(photo.width) + "x" + std::to_string(photo.height);
    const std::string scale = "1/" + std::to_string(photo.scale);
    std::printf("%-26s %-10s %-6s %-4s %-5s %13s %13s %13s %7s %7s\n", name.c_str(), size.c_str(),
                layout_name(photo.subsampling), photo.progressive ? "prog" : "seq", scale.c_str(),
                cell(timings[0]).c_str(), cell(timings[1]).c_str(), cell(timings[2]).c_str(),
                ratio(timings[0], timings[2]).c_str(), ratio(timings[1], timings[2]).c_str());
    if (timings[0].failed || timings[1].failed) status = 1;

    if (heap_counted()) {
      const double one = peak_mb(decoders[0]);
      const double two = peak_mb(decoders[1]);
      const double turbo = peak_mb([&] {
        tjhandle fresh = tjInitDecompress();
        const bool ok = fresh != nullptr && decode_turbo(fresh, photo, turbo_out);
        if (fresh != nullptr) tjDestroy(fresh);
        return ok;
      });
      char line[160];
      std::snprintf(line, sizeof line, "%-26s ours %7.2f MB, ours(2t) %7.2f MB, tj-fast %7.2f MB",
                    name.c_str(), one, two, turbo);
      heap_lines.emplace_back(line);
    }
  }
  if (heap_counted()) {
    std::printf(
        "\npeak heap of one decode (a fresh TurboJPEG handle; the frame and TurboJPEG's "
        "scaled picture are the caller's and not counted):\n");
    for (const std::string& line : heap_lines) std::printf("  %s\n", line.c_str());
  }
  tjDestroy(handle);
  return status;
}

}  // namespace bench
