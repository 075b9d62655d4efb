// libFuzzer entry point of the photo paths: the last byte picks the orientation, mode and path
// (so mutations reach them all), and every input is decoded and fitted at all four scales; the
// rest is the file. A broken promise aborts. Pictures of more than MQ_FUZZ_MAX_PIXELS pixels
// (default kFuzzMaxPixels, which keeps any 64 KB input under a few seconds) are only constructed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/fuzz/fuzz_decode.h"
#include "tools/fuzz/fuzz_photo.h"

namespace {

std::int64_t max_pixels() {
  const char* text = std::getenv("MQ_FUZZ_MAX_PIXELS");
  const long long value = text != nullptr ? std::strtoll(text, nullptr, 10) : 0;
  return value > 0 ? value : tools::kFuzzMaxPixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::int64_t limit = max_pixels();
  if (size == 0) return 0;
  const std::string broken = tools::fuzz_photo_every_scale(data, size - 1, limit, data[size - 1]);
  if (!broken.empty()) {
    std::fprintf(stderr, "jpeg_photo_fuzzer: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
