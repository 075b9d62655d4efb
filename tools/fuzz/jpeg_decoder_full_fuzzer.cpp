// libFuzzer entry point for the whole-picture checks: every input is decoded on both paths, and
// pictures up to the tests' size limit are decoded row by row, with a second thread for the rows
// of large sequential pictures. Slower than jpeg_decoder_fuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/fuzz/fuzz_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string broken =
      tools::fuzz_decode(data, size, tools::kTestMaxPixels, tools::FuzzPaths::both, 2);
  if (!broken.empty()) {
    std::fprintf(stderr, "jpeg_decoder_full_fuzzer: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
