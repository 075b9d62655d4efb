// libFuzzer entry point, built for throughput: one decoding path per input (the size's parity
// picks it, so mutations reach both) and pictures of at most kFuzzMaxPixels pixels decoded.
// A broken promise aborts. jpeg_decoder_full_fuzzer runs the slow whole-picture checks.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/fuzz/fuzz_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tools::FuzzPaths path = size % 2 == 0 ? tools::FuzzPaths::fast : tools::FuzzPaths::integer;
  const std::string broken = tools::fuzz_decode(data, size, tools::kFuzzMaxPixels, path);
  if (!broken.empty()) {
    std::fprintf(stderr, "jpeg_decoder_fuzzer: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
