// jpeg_bench --fit: photos into the 640x480 frame, this decoder's decode_fitted against
// TurboJPEG decoding the same bytes at the same scale.
#pragma once

namespace bench {

// Times and measures the heap of every file; runs rounds (about a second's worth when 0).
// Returns 0, or 1 when a file could not be read or decoded.
int fit_bench(int count, char** files, long runs);

}  // namespace bench
