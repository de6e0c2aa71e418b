#!/usr/bin/env python3
"""pcf2cpp.py - turns an X11 PCF bitmap font into the C++ glyph table that
the software text drawing uses (imaging/font_6x13.cpp).

    python3 tools/font/pcf2cpp.py [FONT.pcf.gz] > imaging/font_6x13.cpp

FONT defaults to the "fixed" 6x13 font of Debian's xfonts-base package. Every
byte 0x00-0xFF gets a glyph: bytes are taken as Windows-1252 (the saver's 8-bit
strings), looked up by their Unicode code point; a byte with no character or
no glyph in the font gets a stippled box.
"""
import gzip
import struct
import sys

DEFAULT_FONT = "/usr/share/fonts/X11/misc/6x13.pcf.gz"

PCF_PROPERTIES = 1 << 0
PCF_ACCELERATORS = 1 << 1
PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8

PCF_COMPRESSED_METRICS = 0x100
PCF_BYTE_MASK = 1 << 2  # set: most significant byte first
PCF_BIT_MASK = 1 << 3   # set: most significant bit first


class Table:
    """One table of the file, read in the byte order its format word names."""

    def __init__(self, data, offset):
        self.data = data
        self.fmt = struct.unpack_from("<I", data, offset)[0]
        self.pos = offset + 4
        self.order = ">" if self.fmt & PCF_BYTE_MASK else "<"

    def read(self, code):
        value = struct.unpack_from(self.order + code, self.data, self.pos)
        self.pos += struct.calcsize(self.order + code)
        return value if len(value) > 1 else value[0]


def read_tables(data):
    if data[:4] != b"\x01fcp":
        sys.exit("not a PCF font")
    count = struct.unpack_from("<I", data, 4)[0]
    tables = {}
    for i in range(count):
        kind, _fmt, _size, offset = struct.unpack_from("<IIII", data, 8 + 16 * i)
        tables[kind] = offset
    return tables


def read_properties(data, offset):
    t = Table(data, offset)
    count = t.read("i")
    props = [t.read("iBi") for _ in range(count)]
    t.pos += (4 - count % 4) % 4  # the 9-byte records are padded to 4
    strings_size = t.read("i")
    strings = data[t.pos:t.pos + strings_size]

    def text(at):
        return strings[at:strings.index(b"\0", at)].decode("latin-1")

    return {text(name): (text(value) if is_string else value) for name, is_string, value in props}


def read_metrics(data, offset):
    t = Table(data, offset)
    metrics = []
    if t.fmt & PCF_COMPRESSED_METRICS:
        for _ in range(t.read("h")):
            lsb, rsb, width, ascent, descent = (b - 0x80 for b in t.read("BBBBB"))
            metrics.append((lsb, rsb, width, ascent, descent))
    else:
        for _ in range(t.read("i")):
            lsb, rsb, width, ascent, descent, _attrs = t.read("hhhhhH")
            metrics.append((lsb, rsb, width, ascent, descent))
    return metrics


def read_bitmaps(data, offset):
    t = Table(data, offset)
    count = t.read("i")
    offsets = [t.read("i") for _ in range(count)]
    sizes = [t.read("i") for _ in range(4)]
    base = t.pos
    pad = 1 << (t.fmt & 3)
    unit = 1 << ((t.fmt >> 4) & 3)
    msb_bits = bool(t.fmt & PCF_BIT_MASK)
    msb_bytes = bool(t.fmt & PCF_BYTE_MASK)
    blob = data[base:base + sizes[t.fmt & 3]]
    return offsets, blob, pad, unit, msb_bits, msb_bytes


def read_encodings(data, offset):
    t = Table(data, offset)
    min2, max2, min1, max1, default = t.read("hhhhh")
    count = (max2 - min2 + 1) * (max1 - min1 + 1)
    indices = [t.read("H") for _ in range(count)]

    def glyph_of(code):
        b1, b2 = code >> 8, code & 0xFF
        if not (min1 <= b1 <= max1 and min2 <= b2 <= max2):
            return None
        index = indices[(b1 - min1) * (max2 - min2 + 1) + (b2 - min2)]
        return None if index == 0xFFFF else index

    return glyph_of


def read_font_ascent(data, tables):
    kind = PCF_BDF_ACCELERATORS if PCF_BDF_ACCELERATORS in tables else PCF_ACCELERATORS
    t = Table(data, tables[kind])
    t.pos += 8  # the eight flag bytes
    return t.read("ii")  # font ascent, font descent


def glyph_rows(index, metrics, bitmaps, cell_width, ascent, cell_height):
    """The glyph as cell_height rows of cell_width pixels (1 = ink)."""
    offsets, blob, pad, unit, msb_bits, msb_bytes = bitmaps
    lsb, rsb, _width, g_ascent, g_descent = metrics[index]
    ink_width = rsb - lsb
    row_bytes = (ink_width + 8 * pad - 1) // (8 * pad) * pad
    rows = [[0] * cell_width for _ in range(cell_height)]
    for gy in range(g_ascent + g_descent):
        row = bytearray(blob[offsets[index] + gy * row_bytes:offsets[index] + (gy + 1) * row_bytes])
        if unit > 1 and msb_bits != msb_bytes:
            for u in range(0, len(row), unit):
                row[u:u + unit] = row[u:u + unit][::-1]
        for gx in range(ink_width):
            byte = row[gx // 8]
            bit = (byte >> (7 - gx % 8)) & 1 if msb_bits else (byte >> (gx % 8)) & 1
            x, y = lsb + gx, ascent - g_ascent + gy
            if bit and 0 <= x < cell_width and 0 <= y < cell_height:
                rows[y][x] = 1
    return rows


def box_rows(cell_width, cell_height, ascent):
    """A stippled box from the cap height to the baseline, for missing
    glyphs: a hollow one would read as the digit zero."""
    rows = [[0] * cell_width for _ in range(cell_height)]
    top, bottom, left, right = 2, ascent - 1, 0, cell_width - 2
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            edge = y in (top, bottom) or x in (left, right)
            if edge or (x + y) % 2 == 0:
                rows[y][x] = 1
    return rows


def code_point(byte):
    """The Unicode character of a Windows-1252 byte; None for its holes and the controls."""
    if byte < 0x20 or byte == 0x7F:
        return None
    try:
        return ord(bytes([byte]).decode("cp1252"))
    except UnicodeDecodeError:
        return None


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_FONT
    with gzip.open(path, "rb") if path.endswith(".gz") else open(path, "rb") as f:
        data = f.read()
    tables = read_tables(data)
    props = read_properties(data, tables[PCF_PROPERTIES])
    metrics = read_metrics(data, tables[PCF_METRICS])
    bitmaps = read_bitmaps(data, tables[PCF_BITMAPS])
    glyph_of = read_encodings(data, tables[PCF_BDF_ENCODINGS])
    ascent, descent = read_font_ascent(data, tables)
    cell_height = ascent + descent
    cell_width = metrics[glyph_of(ord("M"))][2]
    if any(m[2] != cell_width for m in metrics):
        sys.exit("not a fixed-width font")
    if cell_width > 8:
        sys.exit("glyph rows must fit in one byte")

    out = sys.stdout
    out.write("// Generated by tools/font/pcf2cpp.py from %s - do not edit.\n" % path.split("/")[-1])
    out.write("//\n// Font: %s\n" % props.get("FONT", "?"))
    out.write("// Origin: the X11 \"fixed\" fonts of the misc-fixed family, Debian package xfonts-base.\n")
    out.write("// Licence: public domain; the font's own COPYRIGHT property reads \"%s\"\n" % props.get("COPYRIGHT", "?"))
    out.write("//\n// Bytes are Windows-1252; missing characters and control bytes are a stippled box.\n")
    out.write("#include \"imaging/font_6x13.h\"\n\nnamespace lumetra {\n\n")
    out.write("static_assert(kFontCellWidth == %d && kFontCellHeight == %d && kFontAscent == %d);\n\n"
              % (cell_width, cell_height, ascent))
    out.write("// Row bits of each glyph, top row first; bit %d is the leftmost pixel.\n" % (cell_width - 1))
    out.write("const std::array<FontGlyph, 256> kFontGlyphs = {{\n")
    for byte in range(256):
        cp = code_point(byte)
        index = glyph_of(cp) if cp is not None else None
        if index is None:
            rows, what = box_rows(cell_width, cell_height, ascent), "box"
        else:
            rows, what = glyph_rows(index, metrics, bitmaps, cell_width, ascent, cell_height), "U+%04X" % cp
        values = ["0x%02X" % sum(bit << (cell_width - 1 - x) for x, bit in enumerate(r)) for r in rows]
        out.write("    {{%s}},  // 0x%02X %s\n" % (", ".join(values), byte, what))
    out.write("}};\n\n}  // namespace lumetra\n")


if __name__ == "__main__":
    main()
