// Two-thread decoding of a sequential scan split in two. A worker starts decoding in the middle
// of the entropy-coded data, where an MCU begins only by chance, as if one began there: Huffman
// codes fall back into step within a few blocks, and once an MCU of the worker's begins where one
// of the caller's does, every MCU after it is the caller's too. The caller decodes the first rows
// itself and at the start of each row looks for its reader's position among the MCU starts the
// worker noted; from a match on it takes the worker's coefficients instead of decoding. The
// worker keeps only the coefficients the reduced transforms read, with DC differences (which
// need no predictor); without a match by a few rows in, the caller decodes the rest alone. The
// rows, errors and offsets are those of one thread, byte for byte.
#pragma once

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Starts the worker and returns true when the picture is decoded row by row from one sequential
// scan at a reduced size on the fast path, two threads were asked for, it has at least
// d.pipeline_min_pixels pixels and the stream holds its bytes in memory. Returns false, changing
// nothing the decoder relies on, otherwise.
bool start_split(DecoderState& d);

// The next MCU row's coefficients into d.coef, decoded here or taken from the worker. After the
// last row the input stands where decoding it ended, and the worker has ended.
void next_split_row(DecoderState& d);

// The rows whose coefficients came from the worker so far, wholly or in part (0 without one).
std::int32_t rows_from_worker(const DecoderState& d);

// Stops the worker and waits for it; does nothing when none runs.
void stop_split(DecoderState& d);

}  // namespace jpeg::detail
