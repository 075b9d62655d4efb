// Scan geometry, scan preparation and the restart-marker step (T.81 A.2, B.2.4.4, F.1.2.3).
#include "jpeg/scan_setup.h"

#include <cstring>

#include "jpeg/huffman.h"
#include "jpeg/input.h"

namespace jpeg::detail {

namespace {

std::int32_t ceil_div(std::int32_t a, std::int32_t b) {
  return (a + b - 1) / b;
}

}  // namespace

void compute_scan_geometry(DecoderState& d) {
  for (std::int32_t i = 0; i < d.components; ++i) {
    FrameComponent& c = d.comp[i];
    c.width_blocks = ceil_div(ceil_div(c.h * d.width, d.hmax), 8);
    c.height_blocks = ceil_div(ceil_div(c.v * d.height, d.vmax), 8);
  }
  if (d.ns == 1) {
    const FrameComponent& c = d.comp[d.scan_comp[0]];
    d.scan_mcus_per_row = c.width_blocks;
    d.scan_mcu_rows = c.height_blocks;
    d.scan_blocks_per_mcu = 1;
    d.block_comp[0] = d.scan_comp[0];
    return;
  }
  d.scan_mcus_per_row = ceil_div(ceil_div(d.width, 8), d.hmax);
  d.scan_mcu_rows = ceil_div(ceil_div(d.height, 8), d.vmax);
  std::int32_t n = 0;
  for (std::int32_t j = 0; j < d.ns; ++j) {
    const std::int32_t i = d.scan_comp[j];
    const std::int32_t positions = d.comp[i].h * d.comp[i].v;
    if (n + positions > kMaxBlocksPerMcu) fail(ScanComponentsInvalid);
    for (std::int32_t k = 0; k < positions; ++k) d.block_comp[n++] = i;
  }
  d.scan_blocks_per_mcu = n;
}

void prepare_scan(DecoderState& d, bool fast) {
  for (std::int32_t j = 0; j < d.ns; ++j) {
    const FrameComponent& c = d.comp[d.scan_comp[j]];
    if (d.ss == 0 && d.huff_counts[c.dc_slot] == nullptr) fail(HuffmanTableMissing);
    if (d.se > 0 && d.huff_counts[c.ac_slot] == nullptr) fail(HuffmanTableMissing);
  }
  for (int slot = 0; slot < 8; ++slot) {
    if (d.huff_counts[slot] == nullptr) continue;
    if (d.huff_lookup[slot] == nullptr) {
      d.huff_lookup[slot] = static_cast<HuffmanLookup*>(allocate(d, sizeof(HuffmanLookup)));
    } else if (!d.huff_redefined[slot]) {
      continue;  // built from the same counts and symbols for an earlier scan
    }
    build_lookup(*d.huff_lookup[slot], d.huff_counts[slot], d.huff_symbols[slot], slot < 4);
    d.huff_redefined[slot] = false;
  }
  for (std::int32_t k = 0; k < d.scan_blocks_per_mcu; ++k) {
    const FrameComponent& c = d.comp[d.block_comp[k]];
    d.block_dc[k] = d.huff_lookup[c.dc_slot];
    d.block_ac[k] = d.huff_lookup[c.ac_slot];
  }
  for (std::int32_t j = 0; j < d.ns; ++j) {
    if (d.quant[d.comp[d.scan_comp[j]].tq] == nullptr) fail(QuantTableMissing);
  }
  for (std::int32_t i = 0; i < d.components; ++i) d.comp[i].predictor = 0;
  d.eob_run = 0;
  if (d.restart_interval != 0) {
    d.mcus_left = d.restart_interval;
    d.next_rst = 0;
  }
  enter_entropy_mode(d, fast);
}

void process_restart(DecoderState& d, bool fast) {
  if (d.available >= 2 && d.cursor[0] == 0xFF && d.cursor[1] == 0xD0 + d.next_rst) {
    // The usual case: the entropy reader stopped right in front of the expected marker.
    d.cursor += 2;
    d.available -= 2;
  } else {
    // Bytes that do not belong in front of the marker are skipped up to the next marker: data
    // bytes, stuffed FF 00 pairs and fill bytes alike. The bit readers stop in front of the
    // first marker whatever they had taken of such junk, so both meet the same marker. The
    // search consumes what it reads, and past the end the filler's FF D9 ends it.
    std::uint8_t b = 0;
    do {
      while (next_byte(d) != 0xFF) {
      }
      do {
        b = next_byte(d);
      } while (b == 0xFF);
    } while (b == 0x00);
    if (b != 0xD0 + d.next_rst) fail(RestartMarkerMissing);
  }
  for (std::int32_t i = 0; i < d.components; ++i) d.comp[i].predictor = 0;
  d.eob_run = 0;
  d.mcus_left = d.restart_interval;
  d.next_rst = (d.next_rst + 1) & 7;
  enter_entropy_mode(d, fast);
}

void skip_scan(DecoderState& d, bool check_restarts) {
  // Decoding meets a restart marker before every interval but the first, and the readers stop
  // in front of every marker, so the markers inside the data are exactly those.
  const std::int64_t mcus = std::int64_t{d.scan_mcu_rows} * d.scan_mcus_per_row;
  const std::int64_t restarts = d.restart_interval == 0 ? 0 : (mcus - 1) / d.restart_interval;
  std::int64_t seen = 0;
  while (true) {
    // Data bytes go a buffer at a time, up to the next FF; past the end the filler's FF D9 ends
    // the data.
    if (d.available > 0) {
      const void* ff = std::memchr(d.cursor, 0xFF, static_cast<std::size_t>(d.available));
      const auto n =
          ff == nullptr
              ? d.available
              : static_cast<std::int32_t>(static_cast<const std::uint8_t*>(ff) - d.cursor);
      d.cursor += n;
      d.available -= n;
    }
    if (next_byte(d) != 0xFF) continue;
    std::uint8_t b = 0;
    do {
      b = next_byte(d);
    } while (b == 0xFF);
    if (b == 0x00) continue;  // a stuffed FF 00
    if (!check_restarts && b >= 0xD0 && b <= 0xD7) continue;
    if (b >= 0xD0 && b <= 0xD7) {
      // After the last interval decoding ends the scan, and the marker reader refuses an RSTn.
      if (seen == restarts) fail(UnexpectedMarker);
      if (b != 0xD0 + (seen & 7)) fail(RestartMarkerMissing);
      ++seen;
      continue;
    }
    if (check_restarts && seen != restarts) fail(RestartMarkerMissing);
    unread_byte(d, b);
    unread_byte(d, 0xFF);
    return;
  }
}

}  // namespace jpeg::detail
