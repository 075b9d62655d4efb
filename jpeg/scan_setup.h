// Scan geometry, scan preparation and the restart-marker step (T.81 A.2, B.2.4.4, F.1.2.3).
#pragma once

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Sizes in blocks of every frame component, and MCUs and block positions of the current scan.
void compute_scan_geometry(DecoderState& d);

// Checks and builds the tables of the current scan, resets predictors and restart counters, and
// switches the bit reader to entropy-coded data (the fast reader when fast is set).
void prepare_scan(DecoderState& d, bool fast);

// Before an MCU whose restart interval has run out: skips to the next marker, which must be the
// expected RSTn (-228 otherwise), resets predictors and the EOB run, and re-primes the bit reader
// after it.
void process_restart(DecoderState& d, bool fast);

// Skips the entropy-coded data of the current scan without decoding it, up to the marker that
// ends it, which is left to be read next. With check_restarts its restart markers are checked as
// decoding would check them: a missing or misnumbered one fails with -228, one too many with -216.
void skip_scan(DecoderState& d, bool check_restarts = true);

}  // namespace jpeg::detail
