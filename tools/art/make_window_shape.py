#!/usr/bin/env python3
"""Draws the window's shape picture and writes it packed: make_window_shape.py OUT [BMP]

The picture is an 842 x 571 Windows bitmap (24 bits per pixel, rows bottom-up): a
rectangle with rounded corners, whose corner pixels have the transparent colour
RGB(255, 0, 255). In rows 0 to 5 from the top the first 6, 4, 3, 2, 1, 1 and the last
5, 3, 2, 1, 0, 0 pixels are transparent; rows 570 to 565 repeat the same counts. Every
other pixel is opaque: the window's blue, RGB(77, 166, 222).

OUT receives it in the packed attachment form the program unpacks at start (the store's
pack_attachment layout): magic 0x033E0F0D, the unpacked length (both 32-bit signed,
little-endian) and a zlib stream of the bitmap file at the default level. BMP, when given,
receives the bitmap file itself (for looking at).
"""

import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 842, 571
TRANSPARENT = (255, 0, 255)
OPAQUE = (77, 166, 222)
# Transparent pixels at the start and at the end of rows 0 to 5 (and 570 down to 565).
LEFT_CORNER = [6, 4, 3, 2, 1, 1]
RIGHT_CORNER = [5, 3, 2, 1, 0, 0]
PACKED_MAGIC = 0x033E0F0D


def transparent_counts(row):
    """(left, right) transparent pixels of a row counted from the top."""
    from_edge = min(row, HEIGHT - 1 - row)
    if from_edge < len(LEFT_CORNER):
        return LEFT_CORNER[from_edge], RIGHT_CORNER[from_edge]
    return 0, 0


def bitmap_file():
    stride = (WIDTH * 3 + 3) // 4 * 4
    pixel = lambda rgb: bytes((rgb[2], rgb[1], rgb[0]))
    rows = []
    for row in range(HEIGHT):
        left, right = transparent_counts(row)
        line = (pixel(TRANSPARENT) * left + pixel(OPAQUE) * (WIDTH - left - right) +
                pixel(TRANSPARENT) * right)
        rows.append(line + b"\0" * (stride - len(line)))
    pixels = b"".join(reversed(rows))  # bottom-up
    offset = 14 + 40
    file_header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels),
                              2835, 2835, 0, 0)
    return file_header + info_header + pixels


def packed(data):
    return struct.pack("<ii", PACKED_MAGIC, len(data)) + zlib.compress(data, -1)


def write(path, data):
    temporary = path + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, path)


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    picture = bitmap_file()
    write(argv[1], packed(picture))
    if len(argv) == 3:
        write(argv[2], picture)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
