// Two-thread row delivery: for sequential scans a worker thread decodes the entropy-coded MCU
// rows into a small ring of coefficient rows, while the caller's thread transforms and converts
// the rows before them inside read_scanline; from the whole-image store at a reduced size the
// worker assembles and transforms the rows into a ring of reduced planes, and the caller converts
// them. The output is the same, byte for byte.
#pragma once

#include <cstdint>

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Rows of coefficients the worker may run ahead of the caller.
inline constexpr std::int32_t kPipelineSlots = 8;

// Starts the worker when two threads were asked for, the picture is decoded row by row from a
// sequential scan or from the store at a reduced size, and it has at least d.pipeline_min_pixels
// pixels. Leaves the decoder single-threaded (and reports nothing) when any of that is not so or
// the thread cannot be created.
void start_pipeline(DecoderState& d);

// The next MCU row's coefficients, once the worker has decoded them (from the store: points
// d.plane at the row's planes, hands back the row taken before, and returns null). Fails with
// the worker's error code when decoding that row failed. After the last row the worker has
// ended, and the input belongs to the caller's thread again.
const std::int16_t* take_mcu_row(DecoderState& d);

// Hands the ring slot of the row last taken back to the worker.
void give_back_mcu_row(DecoderState& d);

// Stops the worker and waits for it; does nothing when none runs. Must precede freeing buffers.
void stop_pipeline(DecoderState& d);

}  // namespace jpeg::detail
