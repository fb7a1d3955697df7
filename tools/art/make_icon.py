#!/usr/bin/env python3
"""Draws the program icon (an ink stone with a brush on a blue tile) and writes it as a
multi-size .ico: 16 to 128 pixels as 32-bit BMP entries with alpha, 256 as PNG.

Usage: make_icon.py OUTPUT.ico [PREVIEW.png]
Python standard library only; the drawing is anti-aliased by signed distances."""

import math
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 72, 96, 128, 256)


def clamp01(v):
    return 0.0 if v < 0 else 1.0 if v > 1 else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# Signed distances in icon units (0..1 across the icon); negative inside.
def sd_round_rect(x, y, l, t, r, b, rad):
    hx, hy = (r - l) / 2, (b - t) / 2
    rad = min(rad, hx, hy)
    qx = abs(x - (l + r) / 2) - (hx - rad)
    qy = abs(y - (t + b) / 2) - (hy - rad)
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - rad


def sd_ellipse(x, y, cx, cy, rx, ry):
    px, py = (x - cx) / rx, (y - cy) / ry
    k0 = math.hypot(px, py)
    k1 = math.hypot(px / rx, py / ry)
    return -min(rx, ry) if k1 < 1e-9 else k0 * (k0 - 1) / k1


def sd_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def sd_segment(x, y, ax, ay, bx, by, hw):
    pax, pay, bax, bay = x - ax, y - ay, bx - ax, by - ay
    h = clamp01((pax * bax + pay * bay) / (bax * bax + bay * bay))
    return math.hypot(pax - bax * h, pay - bay * h) - hw


def sd_polygon(x, y, pts):
    d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
    s = 1.0
    j = len(pts) - 1
    for i in range(len(pts)):
        vix, viy = pts[i]
        vjx, vjy = pts[j]
        ex, ey, wx, wy = vjx - vix, vjy - viy, x - vix, y - viy
        h = clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey))
        bx, by = wx - ex * h, wy - ey * h
        d = min(d, bx * bx + by * by)
        c1, c2, c3 = y >= viy, y < vjy, ex * wy > ey * wx
        if (c1 and c2 and c3) or not (c1 or c2 or c3):
            s = -s
        j = i
    return s * math.sqrt(d)


BLUE = (77, 166, 222)
INK = (24, 27, 36)
WHITE = (255, 255, 255)

TILE = (0.03, 0.03, 0.97, 0.97, 0.22)
STONE = (0.13, 0.50, 0.87, 0.88, 0.15)
POOL = (0.5, 0.625, 0.265, 0.085)
# The brush: handle from its lower end A up to B, then a metal ferrule and an ink-soaked
# tip shaped as a drop (a round belly narrowing to the point that touches the ink).
BRUSH = ((0.60, 0.40), (0.84, 0.08))
FERRULE = ((0.60, 0.40), (0.573, 0.436))
BELLY = (0.546, 0.472, 0.05)
TIP = ((0.586, 0.502), (0.453, 0.596), (0.506, 0.442))


def layers(x, y, px):
    """Yields (colour, alpha) from the bottom layer up for the point (x, y); px is one
    pixel in icon units."""
    tile = sd_round_rect(x, y, *TILE)
    yield mix((128, 204, 246), (34, 112, 180), clamp01((y - 0.05) / 0.9)), clamp01(0.5 - tile / px)
    # Gloss over the top of the tile.
    yield WHITE, 0.16 * clamp01(0.5 - max(tile, y - 0.46) / px)
    yield (18, 74, 130), 0.7 * clamp01(0.5 - (abs(tile) - max(0.5 * px, 0.006)) / px)
    # The stone, its soft shadow and its rim light.
    stone = sd_round_rect(x, y, *STONE)
    yield INK, 0.3 * clamp01(0.5 - (sd_round_rect(x, y - 0.025, *STONE) - 0.01) / (2 * px))
    yield mix((92, 100, 118), INK, clamp01((y - 0.5) / 0.38)), clamp01(0.5 - stone / px)
    if px < 1 / 20:
        yield WHITE, 0.28 * clamp01(0.5 - (abs(stone + 1.2 * px) - 0.5 * px) / px)
    pool = sd_ellipse(x, y, *POOL)
    yield (5, 7, 12), clamp01(0.5 - pool / px)
    yield BLUE, 0.85 * clamp01(0.5 - sd_ellipse(x, y, 0.41, 0.605, 0.075, 0.02) / px)
    # The brush: a white handle with an ink end cap, the ferrule and the tip in the pool.
    (ax, ay), (bx, by) = BRUSH
    hw = max(0.038, 0.8 * px)  # at least a pixel and a half wide, so it reads at 16
    if px < 1 / 30:
        yield (20, 60, 100), 0.35 * clamp01(0.5 - (sd_segment(x - 0.012, y - 0.012, ax, ay, bx, by, hw)) / px)
    yield (246, 246, 242), clamp01(0.5 - sd_segment(x, y, ax, ay, bx, by, hw) / px)
    if px < 1 / 20:  # shading along the handle's lower side
        handle = sd_segment(x, y, ax, ay, bx, by, hw)
        stripe = sd_segment(x - 0.7 * hw, y - 0.5 * hw, ax, ay, bx, by, hw * 0.45)
        yield (184, 194, 208), 0.5 * clamp01(0.5 - max(handle, -stripe) / px)
    yield INK, clamp01(0.5 - sd_segment(x, y, bx - 0.024, by + 0.032, bx, by, hw) / px)
    yield (70, 76, 92), clamp01(0.5 - sd_segment(x, y, *FERRULE[0], *FERRULE[1], hw * 1.3) / px)
    tip = min(sd_circle(x, y, *BELLY), sd_polygon(x, y, TIP))
    yield INK, clamp01(0.5 - tip / px)


def render(size):
    """RGBA rows, top row first, not premultiplied."""
    px = 1.0 / size
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            x, y = (i + 0.5) * px, (j + 0.5) * px
            r = g = b = a = 0.0  # premultiplied
            for colour, alpha in layers(x, y, px):
                if alpha <= 0:
                    continue
                r = colour[0] * alpha + r * (1 - alpha)
                g = colour[1] * alpha + g * (1 - alpha)
                b = colour[2] * alpha + b * (1 - alpha)
                a = alpha + a * (1 - alpha)
            if a > 0:
                row.append((round(r / a), round(g / a), round(b / a), round(a * 255)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bmp_entry(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    # AND mask: 1 where fully transparent; each row padded to four bytes.
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for i, p in enumerate(row):
            if p[3] == 0:
                bits[i // 8] |= 0x80 >> (i % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def png_bytes(rows):
    """RGBA rows as a PNG file, unfiltered."""
    width, height = len(rows[0]), len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for p in row:
            raw += bytes(p)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    images = {size: render(size) for size in SIZES}
    entries = [(size, png_bytes(images[size]) if size >= 256 else bmp_entry(images[size]))
               for size in SIZES]
    offset = 6 + 16 * len(entries)
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    for size, data in entries:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in entries:
        out += data
    with open(argv[1], "wb") as f:
        f.write(out)
    if len(argv) == 3:  # every size side by side, for looking at
        width = sum(SIZES) + 4 * len(SIZES)
        sheet = [[(255, 255, 255, 255)] * width for _ in range(256)]
        left = 0
        for size in SIZES:
            for j, row in enumerate(images[size]):
                for i, (r, g, b, a) in enumerate(row):
                    t = a / 255
                    sheet[j][left + i] = (round(r * t + 255 * (1 - t)), round(g * t + 255 * (1 - t)),
                                          round(b * t + 255 * (1 - t)), 255)
            left += size + 4
        with open(argv[2], "wb") as f:
            f.write(png_bytes(sheet))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
