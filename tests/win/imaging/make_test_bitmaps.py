#!/usr/bin/env python3
"""Writes the two bitmaps the imaging tests link as resources (run it here to remake them).

test_cells.bmp: 8 x 4, 4 bits, 40-byte header, 16 colours; the pixel at (x, y from the top) has
index (x + 3 * y) % 16, and entry i of the table is red i*16+1, green 255-i, blue i.
bad_header.dib: a packed DIB whose header claims a size of 13 bytes, which no kind of header
has, so the loader refuses it.
"""
import struct

W, H = 8, 4


def table():
    return b"".join(bytes((i, 255 - i, (i * 16 + 1) & 0xFF, 0)) for i in range(16))


def rows():
    out = b""
    for y in reversed(range(H)):  # bottom row first
        line = [(x + 3 * y) % 16 for x in range(W)]
        packed = bytes((line[i] << 4) | line[i + 1] for i in range(0, W, 2))
        out += packed + b"\0" * ((-len(packed)) % 4)
    return out


def main():
    pixels = rows()
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 4, 0, len(pixels), 2835, 2835, 0, 0)
    dib = info + table() + pixels
    header = struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, 14 + 40 + 64)
    with open("test_cells.bmp", "wb") as f:
        f.write(header + dib)
    bad = struct.pack("<IHHHH", 13, 8, 4, 1, 4) + b"\0" * 64
    with open("bad_header.dib", "wb") as f:
        f.write(bad)


if __name__ == "__main__":
    main()
