// One fuzzing step for the photo paths: the EXIF reader, the scaled decodes and the fit, every
// scale, orientation and mode chosen by a selector. Shared by the libFuzzer target and the
// replay tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tools {

// Decodes data with the photo limits at the scale, and fits its rows in the orientation and
// mode, that selector picks (bits 0-1 scale 1/2/4/8, bits 2-4 orientation 1..8, bit 5 mode,
// bit 6 the integer path); runs the EXIF reader over data. Returns an empty string when every
// promise held (orientation 1..8, rows of the reduced size, a text for every refusal), else
// what broke. Pictures of more than max_pixels pixels are only constructed.
std::string fuzz_photo(const std::uint8_t* data, std::size_t size, std::int64_t max_pixels,
                       std::uint32_t selector);

// The same at all four scales in turn (the selector's bits 0-1 ignored); what broke names the
// scale.
std::string fuzz_photo_every_scale(const std::uint8_t* data, std::size_t size,
                                   std::int64_t max_pixels, std::uint32_t selector);

}  // namespace tools
