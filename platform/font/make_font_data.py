#!/usr/bin/env python3
"""Converts an X11 PCF bitmap font into the C++ glyph table of the player's text font.

Usage: make_font_data.py FONT.pcf[.gz] OUTPUT.cpp

Each of the 256 Windows-1252 codes gets a 16-row cell: the font's baseline sits where a
16-pixel system font has it (13 rows above, 3 below), glyphs are trimmed to their ink and
advanced by ink width plus one blank column, so the text is proportional like the Windows
system font. Codes the font lacks use its default character.
"""
import gzip
import struct
import sys

CELL_HEIGHT = 16
CELL_ASCENT = 13
SPACE_ADVANCE = 5
GAP = 1

PCF_ACCELERATORS = 1 << 1
PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8
PCF_COMPRESSED_METRICS = 0x100


class Reader:
    def __init__(self, data, offset):
        self.data = data
        self.pos = offset
        self.fmt = struct.unpack_from('<I', data, offset)[0]
        self.pos += 4
        self.big = bool(self.fmt & 4)

    def i32(self):
        v = struct.unpack_from('>i' if self.big else '<i', self.data, self.pos)[0]
        self.pos += 4
        return v

    def i16(self):
        v = struct.unpack_from('>h' if self.big else '<h', self.data, self.pos)[0]
        self.pos += 2
        return v

    def u8(self):
        v = self.data[self.pos]
        self.pos += 1
        return v


def read_metric(r, compressed):
    if compressed:
        return tuple(r.u8() - 0x80 for _ in range(5))
    m = tuple(r.i16() for _ in range(5))
    r.i16()  # attributes
    return m


def load_pcf(path):
    raw = open(path, 'rb').read()
    if path.endswith('.gz'):
        raw = gzip.decompress(raw)
    if raw[:4] != b'\x01fcp':
        sys.exit('not a PCF font: ' + path)
    count = struct.unpack_from('<i', raw, 4)[0]
    tables = {}
    for i in range(count):
        kind, fmt, size, offset = struct.unpack_from('<iiii', raw, 8 + 16 * i)
        tables[kind] = offset

    accel = tables.get(PCF_BDF_ACCELERATORS, tables.get(PCF_ACCELERATORS))
    r = Reader(raw, accel)
    r.pos += 8
    ascent, descent = r.i32(), r.i32()

    r = Reader(raw, tables[PCF_METRICS])
    compressed = bool(r.fmt & PCF_COMPRESSED_METRICS)
    n = r.i16() if compressed else r.i32()
    metrics = [read_metric(r, compressed) for _ in range(n)]

    r = Reader(raw, tables[PCF_BITMAPS])
    n = r.i32()
    offsets = [r.i32() for _ in range(n)]
    sizes = [r.i32() for _ in range(4)]
    pad = 1 << (r.fmt & 3)
    unit = 1 << ((r.fmt >> 4) & 3)
    msb_bit = bool(r.fmt & 8)
    msb_byte = bool(r.fmt & 4)
    base = r.pos
    bitmaps = []
    for index, (lsb, rsb, width, asc, desc) in enumerate(metrics):
        cols = rsb - lsb
        row_bytes = ((cols + 7) // 8 + pad - 1) // pad * pad
        rows = []
        for y in range(asc + desc):
            start = base + offsets[index] + y * row_bytes
            line = bytearray(raw[start:start + row_bytes])
            if unit > 1 and msb_byte != msb_bit:
                for u in range(0, row_bytes, unit):
                    line[u:u + unit] = line[u:u + unit][::-1]
            bits = []
            for x in range(cols):
                byte = line[x // 8]
                bit = (byte >> (7 - x % 8)) & 1 if msb_bit else (byte >> (x % 8)) & 1
                bits.append(bit)
            rows.append(bits)
        bitmaps.append(rows)

    r = Reader(raw, tables[PCF_BDF_ENCODINGS])
    min2, max2, min1, max1, default = r.i16(), r.i16(), r.i16(), r.i16(), r.i16()
    span = max2 - min2 + 1
    indices = [r.i16() & 0xFFFF for _ in range(span * (max1 - min1 + 1))]

    def glyph_index(code):
        b1, b2 = code >> 8, code & 0xFF
        if not (min1 <= b1 <= max1 and min2 <= b2 <= max2):
            return None
        i = indices[(b1 - min1) * span + (b2 - min2)]
        return None if i == 0xFFFF else i

    return ascent, descent, metrics, bitmaps, glyph_index, glyph_index(default & 0xFFFF)


def cell_of(index, ascent, metrics, bitmaps):
    """The glyph as a set of (x, y) ink pixels in cell coordinates."""
    lsb, _, _, asc, _ = metrics[index]
    top = CELL_ASCENT - asc
    ink = set()
    for y, bits in enumerate(bitmaps[index]):
        for x, bit in enumerate(bits):
            if bit and 0 <= top + y < CELL_HEIGHT:
                ink.add((lsb + x, top + y))
    return ink


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source, output = sys.argv[1], sys.argv[2]
    ascent, descent, metrics, bitmaps, glyph_index, default = load_pcf(source)
    if ascent > CELL_ASCENT or descent > CELL_HEIGHT - CELL_ASCENT:
        sys.exit('font does not fit a %d-row cell' % CELL_HEIGHT)

    advances, rows_out = [], []
    for code in range(256):
        try:
            unicode = ord(bytes([code]).decode('cp1252'))
        except UnicodeDecodeError:
            unicode = None
        index = glyph_index(unicode) if unicode is not None and unicode >= 0x20 else None
        if index is None:
            index = default
        ink = cell_of(index, ascent, metrics, bitmaps) if index is not None else set()
        if unicode == 0x20 or not ink:
            advances.append(SPACE_ADVANCE)
            rows_out.append([0] * CELL_HEIGHT)
            continue
        left = min(x for x, _ in ink)
        right = max(x for x, _ in ink)
        if right - left + 1 > 15:
            sys.exit('glyph %d wider than 15 pixels' % code)
        advances.append(right - left + 1 + GAP)
        rows = [0] * CELL_HEIGHT
        for x, y in ink:
            rows[y] |= 0x8000 >> (x - left)
        rows_out.append(rows)

    name = source.rsplit('/', 1)[-1]
    with open(output, 'w') as f:
        f.write('// Generated by platform/font/make_font_data.py from %s (X11 misc-fixed,\n' % name)
        f.write('// public domain; see LICENSE beside this file). Do not edit by hand.\n')
        f.write('#include "platform/font/bitmap_font_data.h"\n\n')
        f.write('namespace platform::font {\n\n')
        f.write('const std::uint8_t kGlyphAdvance[256] = {\n')
        for i in range(0, 256, 16):
            f.write('    ' + ', '.join('%d' % a for a in advances[i:i + 16]) + ',\n')
        f.write('};\n\n')
        f.write('// One row per entry, bit 15 is the leftmost pixel.\n')
        f.write('const std::uint16_t kGlyphRows[256][kCellHeight] = {\n')
        for code, rows in enumerate(rows_out):
            f.write('    {' + ', '.join('0x%04X' % v for v in rows) + '},  // %d\n' % code)
        f.write('};\n\n')
        f.write('}  // namespace platform::font\n')


if __name__ == '__main__':
    main()
