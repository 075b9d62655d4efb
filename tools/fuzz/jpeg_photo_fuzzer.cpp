// libFuzzer entry point of the photo paths: the last byte picks the scale, orientation, mode
// and path (so mutations reach them all); the rest is the file. A broken promise aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/fuzz/fuzz_decode.h"
#include "tools/fuzz/fuzz_photo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string broken =
      tools::fuzz_photo(data, size - 1, tools::kFuzzMaxPixels, data[size - 1]);
  if (!broken.empty()) {
    std::fprintf(stderr, "jpeg_photo_fuzzer: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
