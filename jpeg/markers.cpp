// Markers and header segments (T.81 B.2): SOI search, the marker reader, DHT, DQT, DRI, the
// frame and scan headers. Headers are byte-aligned, so they are read a byte at a time.
#include "jpeg/markers.h"

#include "jpeg/exif_orientation.h"
#include "jpeg/huffman.h"
#include "jpeg/idct.h"
#include "jpeg/input.h"

namespace jpeg::detail {

void find_start_of_image(DecoderState& d) {
  std::uint8_t first = next_byte(d);
  std::uint8_t second = next_byte(d);
  if (first == 0xFF && second == 0xD8) return;
  for (int slide = 0; slide < 511; ++slide) {
    first = second;
    second = next_byte(d);
    if (first == 0xFF && second == 0xD8) {
      // Found after junk: demand the FF of the next marker so that a stray FF D8 inside junk
      // is not taken for the start. The FF is left for the marker reader.
      const std::uint8_t after = next_byte(d);
      if (after != 0xFF) fail(NoStartOfImage);
      unread_byte(d, after);
      return;
    }
  }
  fail(NoStartOfImage);
}

void read_dqt(DecoderState& d) {
  const std::int32_t length = read_u16(d);
  if (length < 2) fail(QuantSegmentLength);
  std::int32_t remaining = length - 2;
  while (remaining != 0) {
    const std::int32_t pq_tq = read_u8(d);
    const std::int32_t pq = pq_tq >> 4;
    const std::int32_t tq = pq_tq & 15;
    if (tq >= 4) fail(QuantSlotInvalid);
    if (d.quant[tq] == nullptr) {
      d.quant[tq] = static_cast<std::uint16_t*>(allocate(d, 64 * sizeof(std::uint16_t)));
    }
    std::uint16_t values[64];
    for (int k = 0; k < 64; ++k) {
      values[k] = static_cast<std::uint16_t>(pq == 0 ? read_u8(d) : read_u16(d));
    }
    store_quant_table(d.quant[tq], values, d.fast_transform);
    for (int k = 0; k < 64; ++k) d.quant_natural[tq][kZigzag[k]] = values[k];
    const std::int32_t size = pq == 0 ? 65 : 129;
    if (remaining < size) fail(QuantTableLength);
    remaining -= size;
  }
}

void read_dht(DecoderState& d) {
  const std::int32_t length = read_u16(d);
  if (length < 2) fail(HuffmanSegmentLength);
  std::int32_t remaining = length - 2;
  while (remaining != 0) {
    const std::int32_t b = read_u8(d);
    const std::int32_t table_class = (b >> 4) & 1;
    const std::int32_t th = b & 15;
    std::uint8_t counts[17] = {};
    std::int32_t total = 0;
    for (int l = 1; l <= 16; ++l) {
      counts[l] = static_cast<std::uint8_t>(read_u8(d));
      total += counts[l];
    }
    if (total > 255) fail(HuffmanCountsTooLarge);
    std::uint8_t symbols[256] = {};
    for (int i = 0; i < total; ++i) symbols[i] = static_cast<std::uint8_t>(read_u8(d));
    if (remaining < total + 17) fail(HuffmanSegmentLength);
    remaining -= total + 17;
    const std::int32_t slot = th + 4 * table_class;
    if (slot >= 8) fail(HuffmanSlotInvalid);
    // Refuse codes that do not fit in their lengths now rather than when a scan needs them.
    if (!huffman_counts_valid(counts)) fail(HuffmanTableInvalid);
    if (d.huff_counts[slot] == nullptr) {
      d.huff_counts[slot] = static_cast<std::uint8_t*>(allocate(d, 17));
      d.huff_symbols[slot] = static_cast<std::uint8_t*>(allocate(d, 256));
    }
    for (int l = 0; l <= 16; ++l) d.huff_counts[slot][l] = counts[l];
    for (int i = 0; i < 256; ++i) d.huff_symbols[slot][i] = symbols[i];
    d.huff_redefined[slot] = true;
  }
}

void read_app0(DecoderState& d) {
  const std::int32_t length = read_u16(d);
  if (length < 2) fail(SegmentLength);
  // JFIF's segment (ITU-T T.871): "JFIF", a zero byte, then version, units, densities and the
  // thumbnail size, 14 bytes before any thumbnail. Shorter ones are not taken for JFIF.
  constexpr std::uint8_t kJfif[] = {'J', 'F', 'I', 'F', 0};
  constexpr std::int32_t kJfifHeaderBytes = 14;
  std::int32_t left = length - 2;
  bool jfif = left >= kJfifHeaderBytes;
  for (const std::uint8_t expected : kJfif) {
    if (left == 0) break;
    if (next_byte(d) != expected) jfif = false;
    --left;
  }
  skip_bytes(d, left);
  if (jfif) d.jfif = true;
}

void read_app1(DecoderState& d) {
  const std::int32_t length = read_u16(d);
  if (length < 2) fail(SegmentLength);
  constexpr std::uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
  constexpr std::int32_t kExifBytes = sizeof kExif;
  const std::int32_t size = length - 2;
  // Only the first Exif segment counts; others (XMP among them) are skipped unread.
  std::uint8_t header[kExifBytes] = {};
  std::int32_t read = 0;
  bool exif = !d.exif_read && size >= kExifBytes;
  while (exif && read < kExifBytes) {
    header[read] = next_byte(d);
    exif = header[read] == kExif[read];
    ++read;
  }
  if (!exif) {
    skip_bytes(d, size - read);
    return;
  }
  if (d.exif_payload == nullptr) {
    d.exif_payload = static_cast<std::uint8_t*>(allocate(d, kMaxSegmentPayload));
  }
  for (std::int32_t i = 0; i < kExifBytes; ++i) d.exif_payload[i] = header[i];
  for (std::int32_t i = kExifBytes; i < size; ++i) d.exif_payload[i] = next_byte(d);
  d.exif_read = true;
  d.orientation = exif_orientation(d.exif_payload, size);
}

void read_app14(DecoderState& d) {
  const std::int32_t length = read_u16(d);
  if (length < 2) fail(SegmentLength);
  // Adobe's segment: "Adobe", version, two flag words, then the colour transform byte
  // (0: the components are stored as they are, 1: YCbCr, 2: YCCK).
  constexpr std::uint8_t kAdobe[] = {'A', 'd', 'o', 'b', 'e'};
  constexpr std::int32_t kTransformAt = 11;
  bool adobe = length - 2 > kTransformAt;
  for (std::int32_t i = 0; i < length - 2; ++i) {
    const std::uint8_t b = next_byte(d);
    if (i < 5 && b != kAdobe[i]) adobe = false;
    if (i == kTransformAt && adobe) d.adobe_transform = b;
  }
}

std::int32_t next_marker(DecoderState& d) {
  while (true) {
    std::uint8_t b = next_byte(d);
    if (b != 0xFF) continue;
    do {
      b = next_byte(d);
    } while (b == 0xFF);
    if (b == 0x00) continue;  // a stuffed FF 00 is not a marker
    switch (b) {
      case 0xC0:
      case 0xC1:
      case 0xC2:
      case 0xC3:
      case 0xC5:
      case 0xC6:
      case 0xC7:
      case 0xC9:
      case 0xCA:
      case 0xCB:
      case 0xCD:
      case 0xCE:
      case 0xCF:
      case 0xD8:
      case 0xD9:
      case 0xDA:
        return b;
      case 0xC4:
        read_dht(d);
        break;
      case 0xDB:
        read_dqt(d);
        break;
      case 0xE0:
        read_app0(d);
        break;
      case 0xE1:
        read_app1(d);
        break;
      case 0xEE:
        read_app14(d);
        break;
      case 0xDD:
        if (read_u16(d) != 4) fail(RestartSegmentLength);
        d.restart_interval = read_u16(d);
        break;
      case 0xCC:
        fail(ArithmeticCoding);
      case 0x01:
      case 0xC8:
      case 0xD0:
      case 0xD1:
      case 0xD2:
      case 0xD3:
      case 0xD4:
      case 0xD5:
      case 0xD6:
      case 0xD7:
        fail(UnexpectedMarker);
      default: {
        const std::int32_t length = read_u16(d);
        if (length < 2) fail(SegmentLength);
        skip_bytes(d, length - 2);
        break;
      }
    }
  }
}

void read_frame_header(DecoderState& d) {
  const std::int32_t lf = read_u16(d);
  if (read_u8(d) != 8) fail(SamplePrecision);
  const std::int32_t limit = d.photo_sizes ? 65535 : 8192;
  const std::int32_t y = read_u16(d);
  if (y < 1 || y > limit) fail(ImageHeight);
  d.height = y;
  const std::int32_t x = read_u16(d);
  if (x < 1 || x > limit) fail(ImageWidth);
  d.width = x;
  const std::int32_t nf = read_u8(d);
  if (nf > 4) fail(TooManyComponents);
  d.components = nf;
  if (lf != 8 + 3 * nf) fail(FrameHeaderLength);
  d.hmax = 1;
  d.vmax = 1;
  for (std::int32_t i = 0; i < nf; ++i) {
    FrameComponent& c = d.comp[i];
    c.id = read_u8(d);
    const std::int32_t hv = read_u8(d);
    c.h = hv >> 4;
    c.v = hv & 15;
    c.tq = read_u8(d);
    // Factors of 0 divide by zero in the scan geometry and large ones overflow the MCU; a
    // selector of 4 or more would index past the four quantisation slots.
    if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) fail(SamplingFactorInvalid);
    if (c.tq >= 4) fail(TableSelectorInvalid);
    if (c.h > d.hmax) d.hmax = c.h;
    if (c.v > d.vmax) d.vmax = c.v;
  }
}

void read_scan_header(DecoderState& d) {
  const std::int32_t ls = read_u16(d);
  const std::int32_t ns = read_u8(d);
  if (ls != 6 + 2 * ns || ns < 1 || ns > 4) fail(ScanHeaderLength);
  d.ns = ns;
  for (std::int32_t j = 0; j < ns; ++j) {
    const std::int32_t cs = read_u8(d);
    const std::int32_t tables = read_u8(d);
    std::int32_t found = -1;
    for (std::int32_t i = 0; i < d.components; ++i) {
      if (d.comp[i].id == cs) {
        found = i;
        break;
      }
    }
    if (found < 0) fail(ScanComponentUnknown);
    for (std::int32_t k = 0; k < j; ++k) {
      if (d.scan_comp[k] == found) fail(ScanComponentsInvalid);
    }
    const std::int32_t td = tables >> 4;
    const std::int32_t ta = tables & 15;
    if (td >= 4 || ta >= 4) fail(TableSelectorInvalid);
    d.scan_comp[j] = found;
    d.comp[found].dc_slot = td;
    d.comp[found].ac_slot = ta + 4;
  }
  d.ss = read_u8(d);
  d.se = read_u8(d);
  const std::int32_t ah_al = read_u8(d);
  d.ah = ah_al >> 4;
  d.al = ah_al & 15;
  if (!d.progressive) {
    d.ss = 0;
    d.se = 63;
    d.ah = 0;
    d.al = 0;
  }
}

}  // namespace jpeg::detail
