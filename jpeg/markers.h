// Markers and header segments (T.81 B.2): SOI search, the marker reader with its table and
// restart segments, the frame and scan headers.
#pragma once

#include <cstdint>

#include "jpeg/decoder_state.h"

namespace jpeg::detail {

// Finds FF D8 starting at an offset of 0..511 (-217 otherwise).
void find_start_of_image(DecoderState& d);

// Reads up to the next marker that ends header processing (SOFn, SOI, EOI, SOS) and returns its
// code, handling DHT, DQT, DRI and skipped segments on the way.
std::int32_t next_marker(DecoderState& d);

void read_dht(DecoderState& d);
// An APP0 segment: notes a JFIF segment, skips anything else.
void read_app0(DecoderState& d);
// An APP1 segment: reads the orientation of the first Exif segment, skips anything else.
void read_app1(DecoderState& d);
// An APP14 segment: keeps the colour transform of an Adobe segment, skips anything else.
void read_app14(DecoderState& d);
void read_dqt(DecoderState& d);
void read_frame_header(DecoderState& d);
void read_scan_header(DecoderState& d);

}  // namespace jpeg::detail
