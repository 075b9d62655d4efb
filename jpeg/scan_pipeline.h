// Two-thread decoding of the scans of a progressive file: the rest of the file is read into
// memory, its scans are read ahead into a window, and the caller's thread and a worker each take
// the scan with the most data among those whose earlier scans have all started, on a copy of the
// decoder's state. A scan follows, row by row, the earlier running scans that write what it
// writes. The store, and so the output, is the same, byte for byte.
#pragma once

#include <cstdint>

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Decodes every scan up to EOI into the store on two threads when two were asked for and the
// file is progressive and has at least d.pipeline_min_pixels pixels, and returns true; fails as
// one thread would, with the code of the first scan (in file order) that fails. Returns false,
// having read nothing, when the scans are to be decoded on the caller's thread.
bool decode_scans_on_two_threads(DecoderState& d);

// Called by a scan's decoder on a job's state before each of its MCU rows: counts the rows
// before it done, and waits until the scan it follows has done the rows this one needs.
void scan_row_reached(DecoderState& d, std::int32_t row);

}  // namespace jpeg::detail
