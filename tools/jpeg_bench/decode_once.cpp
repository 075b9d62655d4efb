// decode_once: one decode of one file by this decoder (fast path, as the player uses it) or by
// TurboJPEG in its fast mode (fast upsampling and fast DCT), for instruction counts:
//   valgrind --tool=callgrind --toggle-collect=decode_once_ours decode_once ours FILE.jpg
//   valgrind --tool=callgrind --toggle-collect=decode_once_turbo decode_once tj-fast FILE.jpg
// fit and tj-fit do the same for a photo: decode_fitted into the 640x480 cover frame, and
// TurboJPEG's fast decode at the scale decode_fitted chooses (decode_once_fit and
// decode_once_turbo).
// Only the decode itself is counted: reading the file and starting up are not. With --time it
// prints that decode's time in milliseconds: a first decode in a fresh process, cold caches and
// all, which `for i in $(seq 15); do decode_once --time ...; done | sort -n | head -1` turns into
// a best of 15.
#include <turbojpeg.h>

#include <chrono>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "jpeg/photo_fit.h"
#include "tools/jpeg_decode/decode_picture.h"

// Outside any namespace and never inlined, so that callgrind finds them by these names.
extern "C" __attribute__((noinline)) int decode_once_ours(const std::vector<std::uint8_t>& bytes,
                                                          std::vector<std::uint8_t>& out) {
  return tools::decode_rows(bytes.data(), static_cast<std::int32_t>(bytes.size()), true, out);
}

extern "C" __attribute__((noinline)) int decode_once_fit(const std::vector<std::uint8_t>& bytes,
                                                         std::vector<std::uint8_t>& out) {
  out.resize(640 * 480 * 4);
  std::vector<std::uint32_t> pixels(640 * 480);
  return jpeg::decode_fitted(bytes.data(), static_cast<std::int32_t>(bytes.size()),
                             jpeg::DecoderOptions{}, jpeg::FitFrame{}, pixels.data());
}

// fitted: at the scale of the fit (orientation 1), else at full size.
extern "C" __attribute__((noinline)) int decode_once_turbo(const std::vector<std::uint8_t>& bytes,
                                                           std::vector<std::uint8_t>& out,
                                                           bool fitted) {
  tjhandle handle = tjInitDecompress();
  if (handle == nullptr) return 1;
  int width = 0;
  int height = 0;
  int subsampling = 0;
  int colorspace = 0;
  const auto size = static_cast<unsigned long>(bytes.size());
  int status =
      tjDecompressHeader3(handle, bytes.data(), size, &width, &height, &subsampling, &colorspace);
  if (status == 0) {
    const bool grey = subsampling == TJSAMP_GRAY;
    if (fitted) {
      const tjscalingfactor factor{1, jpeg::fit_scale(width, height, 1, jpeg::FitFrame{})};
      width = TJSCALED(width, factor);
      height = TJSCALED(height, factor);
    }
    out.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * (grey ? 1 : 4));
    status = tjDecompress2(handle, bytes.data(), size, out.data(), width, 0, height,
                           grey ? TJPF_GRAY : TJPF_RGBX, TJFLAG_FASTUPSAMPLE | TJFLAG_FASTDCT);
  }
  tjDestroy(handle);
  return status;
}

int main(int argc, char** argv) {
  const bool timed = argc == 4 && std::strcmp(argv[1], "--time") == 0;
  if (timed) ++argv;
  const int args = timed ? argc - 1 : argc;
  const bool ours = args == 3 && std::strcmp(argv[1], "ours") == 0;
  const bool turbo = args == 3 && std::strcmp(argv[1], "tj-fast") == 0;
  const bool fit = args == 3 && std::strcmp(argv[1], "fit") == 0;
  const bool turbo_fit = args == 3 && std::strcmp(argv[1], "tj-fit") == 0;
  if (!ours && !turbo && !fit && !turbo_fit) {
    std::fprintf(stderr, "usage: decode_once [--time] ours|tj-fast|fit|tj-fit FILE.jpg\n");
    return 2;
  }
  std::vector<std::uint8_t> bytes;
  if (!tools::read_file(argv[2], bytes)) {
    std::fprintf(stderr, "decode_once: cannot read %s\n", argv[2]);
    return 1;
  }
  std::vector<std::uint8_t> out;
  const auto begin = std::chrono::steady_clock::now();
  const int status = ours  ? decode_once_ours(bytes, out)
                     : fit ? decode_once_fit(bytes, out)
                           : decode_once_turbo(bytes, out, turbo_fit);
  if (timed && status == 0) {
    std::printf("%.3f\n",
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
                    .count());
  }
  if (status != 0) std::fprintf(stderr, "decode_once: %s failed on %s\n", argv[1], argv[2]);
  return status != 0 ? 1 : 0;
}
