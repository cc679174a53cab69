#!/usr/bin/env python3
"""Writes a 24-bit bottom-up BMP for the end-to-end tests (standard library only):
  make_bmp.py PATH WIDTH HEIGHT R G B [os2]
A colour field with a faint diagonal ripple, so that a pan or a walk is visible on it. With os2
the file is 8-bit with the 12-byte OS/2 1.x header and a table of 3-byte colours: entry 0 the
colour, entry 1 the ripple."""
import struct
import sys


def os2(path, width, height, r, g, b):
    stride = (width + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytes(1 if (x + y) % 24 < 12 else 0 for x in range(width))
        rows.append(row + b"\0" * (stride - width))
    pixels = b"".join(rows)
    table = bytes((b, g, r)) + bytes((min(255, b + 12), min(255, g + 12), min(255, r + 12)))
    table += b"\0" * (3 * 256 - len(table))
    offset = 14 + 12 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    core = struct.pack("<IHHHH", 12, width, height, 1, 8)
    with open(path, "wb") as f:
        f.write(header + core + table + pixels)


def main(path, width, height, r, g, b):
    stride = (width * 3 + 3) & ~3
    # The ripple repeats every 24 rows: 24 distinct rows, each built from a 24-pixel tile, make a
    # 6000 x 4000 picture in a moment.
    plain = bytes((b, g, r))
    light = bytes((min(255, b + 12), min(255, g + 12), min(255, r + 12)))
    tile = light * 12 + plain * 12
    repeats = width // 24 + 2
    distinct = []
    for k in range(24):
        row = (tile[3 * k:] + tile * repeats)[: width * 3]
        distinct.append(row + b"\0" * (stride - width * 3))
    pixels = b"".join(distinct[y % 24] for y in range(height - 1, -1, -1))  # bottom-up
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    a = sys.argv
    write = os2 if a[7:] == ["os2"] else main
    write(a[1], int(a[2]), int(a[3]), int(a[4]), int(a[5]), int(a[6]))
