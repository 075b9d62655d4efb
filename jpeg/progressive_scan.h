// The whole-image coefficient store: progressive scans (T.81 G.1.2) and sequential files whose
// scans do not each cover every component are decoded into it, then output one MCU row at a time.
#pragma once

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Allocates the store and decodes every scan up to EOI. When first_scan_read is set the scan
// header of the first scan has already been read (the multi-scan sequential case).
void decode_into_store(DecoderState& d, bool first_scan_read);

// Checks the current scan (its band, and the work budget, which counts it) and says whether it
// must be decoded: not when the output never reads what it holds.
bool scan_needed(DecoderState& d);

// Decodes the current scan into the store, once prepare_scan has run.
void decode_scan_into_store(DecoderState& d);

// After the last scan: sets up the output's walk over the store.
void finish_store(DecoderState& d);

// Fills the row's coefficient blocks from the store, dequantised for the integer transform.
void assemble_mcu_row(DecoderState& d);

}  // namespace jpeg::detail
