#!/usr/bin/env python3
"""Draws the program's two icons at build time, so no binary image is kept in
the repository: a round badge with a white "W" whose strokes rise like a
lark's wings. wordlark.ico is the normal one; wordlark_alt.ico, in other
colours, marks the hotkey as off. Each file holds 16x16 and 32x32 images with
32-bit colour and alpha.

Usage: make_icons.py OUTPUT_FOLDER
"""

import os
import struct
import sys

SIZES = (16, 32)
SAMPLES = 4  # per axis, for smooth edges

# The "W": one polyline in a unit square, y downwards.
W_POINTS = ((0.21, 0.30), (0.36, 0.73), (0.50, 0.40), (0.64, 0.73), (0.79, 0.30))

ICONS = {
    "wordlark.ico": ((0x1F, 0x6F, 0xB4), (0x14, 0x4A, 0x7A)),      # fill, rim (RGB)
    "wordlark_alt.ico": ((0xD9, 0x7A, 0x1E), (0x8C, 0x4A, 0x0C)),
}
WHITE = (0xFF, 0xFF, 0xFF)


def distance_to_segment(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return ((px - cx) ** 2 + (py - cy) ** 2) ** 0.5


def sample(px, py, size):
    """Colour index at a point of the unit square: None, 'rim', 'fill' or 'mark'."""
    r = ((px - 0.5) ** 2 + (py - 0.5) ** 2) ** 0.5
    if r > 0.48:
        return None
    # Small icons need bolder strokes to stay readable.
    half_width = 0.075 if size <= 16 else 0.06
    segments = zip(W_POINTS, W_POINTS[1:])
    if any(distance_to_segment(px, py, a, b) <= half_width for a, b in segments):
        return "mark"
    return "rim" if r > 0.48 - 1.5 / size else "fill"


def pixel(x, y, size, fill, rim):
    """Premultiplication is not used in icons: average the colour of covered
    samples and take the coverage as alpha."""
    colours = {"fill": fill, "rim": rim, "mark": WHITE}
    total = [0, 0, 0]
    covered = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px = (x + (sx + 0.5) / SAMPLES) / size
            py = (y + (sy + 0.5) / SAMPLES) / size
            kind = sample(px, py, size)
            if kind is None:
                continue
            covered += 1
            for i, c in enumerate(colours[kind]):
                total[i] += c
    if covered == 0:
        return (0, 0, 0, 0)
    r, g, b = (t // covered for t in total)
    return (r, g, b, covered * 255 // (SAMPLES * SAMPLES))


def image(size, fill, rim):
    """One icon image: BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    rows = [[pixel(x, y, size, fill, rim) for x in range(size)] for y in range(size)]
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:  # transparent for renderers that ignore alpha
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def icon_file(fill, rim):
    images = [image(size, fill, rim) for size in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_icons.py OUTPUT_FOLDER\n")
        return 2
    folder = argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, (fill, rim) in ICONS.items():
        # Written whole and then renamed, so a stopped build leaves no half icon.
        path = os.path.join(folder, name)
        with open(path + ".tmp", "wb") as f:
            f.write(icon_file(fill, rim))
        os.replace(path + ".tmp", path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
