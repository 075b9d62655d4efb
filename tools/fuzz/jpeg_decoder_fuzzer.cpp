// libFuzzer entry point: every input is decoded through both paths; a broken promise aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/fuzz/fuzz_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string broken = tools::fuzz_decode(data, size);
  if (!broken.empty()) {
    std::fprintf(stderr, "jpeg_decoder_fuzzer: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
