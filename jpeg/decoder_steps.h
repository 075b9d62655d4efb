// The work of the constructor and of start, without the error catching of the entry points, so
// that tests can drive the stages on a DecoderState of their own.
#pragma once

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Chooses the kernel table, opens the stream, finds SOI and reads up to and including the frame
// header.
void construct(DecoderState& d);

// Sets up the output and positions a sequential image at its first scan, or decodes every scan
// into the whole-image store.
void start_decoding(DecoderState& d);

}  // namespace jpeg::detail
