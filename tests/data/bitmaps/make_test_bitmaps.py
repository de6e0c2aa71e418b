#!/usr/bin/env python3
"""Writes the small BMP files that the imaging tests embed as resources:

    python3 tests/data/bitmaps/make_test_bitmaps.py

core_header.bmp  a 2 x 2 24-bit bitmap with the old 12-byte core header
truncated.bmp    a 4 x 4 24-bit bitmap whose rows stop after 20 of 48 bytes
strip4.bmp       a 4-bit strip of two 3 x 2 images; entry 5 is the mask purple
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def bmp_file(packed):
    header_size = struct.unpack_from("<I", packed, 0)[0]
    bits = struct.unpack_from("<H", packed, 14 if header_size == 40 else 10)[0]
    table = 4 * (1 << bits) if bits <= 8 else 0
    off_bits = 14 + header_size + table
    return b"BM" + struct.pack("<IHHI", 14 + len(packed), 0, 0, off_bits) + packed


def info_header(width, height, bits):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 2834, 2834, 0, 0)


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    core = struct.pack("<IHHHH", 12, 2, 2, 1, 24) + bytes(range(1, 17))
    write("core_header.bmp", bmp_file(core))

    write("truncated.bmp", bmp_file(info_header(4, 4, 24) + bytes(20)))

    table = b"".join(bytes([128, 0, 128, 0]) if i == 5 else bytes([i * 10, 50, i, 0]) for i in range(16))
    # Bottom row first: indices 1 2 5 | 3 4 5, then the top row 5 6 7 | 8 5 9.
    rows = bytes([0x12, 0x53, 0x45, 0x00, 0x56, 0x78, 0x59, 0x00])
    write("strip4.bmp", bmp_file(info_header(6, 2, 4) + table + rows))


if __name__ == "__main__":
    main()
