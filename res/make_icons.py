#!/usr/bin/env python3
"""Draws the program's icons at build time, so no binary image is kept in
the repository: a round badge with a white "W" whose strokes rise like a
lark's wings. wordlark.ico is the normal one; wordlark_alt.ico, in other
colours, marks the hotkey as off. Each file holds 16x16 and 32x32 images with
32-bit colour and alpha. The phrase menu's item icons are 16x16 pictures:
a formatted page (rtf.ico), a program window (program.ico), and the marks of
the two search engines (google.ico, yandex.ico).

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


def badge(fill, rim):
    """The colour of the badge at a point of the unit square, or None."""
    colours = {"fill": fill, "rim": rim, "mark": WHITE}

    def colour(px, py, size):
        kind = sample(px, py, size)
        return None if kind is None else colours[kind]
    return colour


def in_box(px, py, left, top, right, bottom):
    return left <= px <= right and top <= py <= bottom


def rtf_page(px, py, size):
    """A white page with a folded corner and lines of coloured text."""
    if not in_box(px, py, 0.16, 0.06, 0.84, 0.94) or px - 0.62 > py - 0.06 + 0.0:
        return None
    if px > 0.80 or px < 0.20 or py < 0.10 or py > 0.90 or abs(px - py - 0.56) < 0.04:
        return (0x60, 0x60, 0x60)
    for i, colour in enumerate(((0xD0, 0x20, 0x20), (0x20, 0x40, 0xC0), (0x20, 0x90, 0x30))):
        top = 0.34 + i * 0.18
        if in_box(px, py, 0.28, top, 0.72 - 0.08 * (i == 2), top + 0.08):
            return colour
    return WHITE


def program_window(px, py, size):
    """A window with a blue title bar."""
    if not in_box(px, py, 0.06, 0.12, 0.94, 0.88):
        return None
    if px < 0.12 or px > 0.88 or py > 0.82:
        return (0x50, 0x50, 0x50)
    if py < 0.34:
        return (0x1F, 0x5F, 0xC8) if px < 0.70 or py < 0.16 else (0xE0, 0x40, 0x30)
    return (0xF4, 0xF4, 0xF4)


def google_mark(px, py, size):
    """A blue "G" on a white disc."""
    dx, dy = px - 0.5, py - 0.5
    r = (dx * dx + dy * dy) ** 0.5
    if r > 0.48:
        return None
    ring = 0.22 <= r <= 0.36 and not (dx > 0.0 and -0.30 < dy < 0.02)
    bar = in_box(px, py, 0.50, 0.46, 0.86, 0.58) and r <= 0.36
    return (0x42, 0x85, 0xF4) if ring or bar else WHITE


def yandex_mark(px, py, size):
    """A white "Y" on a red rounded square."""
    if not in_box(px, py, 0.04, 0.04, 0.96, 0.96):
        return None
    corner_x = min(px - 0.04, 0.96 - px)
    corner_y = min(py - 0.04, 0.96 - py)
    if corner_x < 0.16 and corner_y < 0.16 and (0.16 - corner_x) ** 2 + (0.16 - corner_y) ** 2 > 0.0256:
        return None
    stroke = 0.075
    arms = (((0.28, 0.20), (0.50, 0.52)), ((0.72, 0.20), (0.50, 0.52)), ((0.50, 0.52), (0.50, 0.82)))
    if any(distance_to_segment(px, py, a, b) <= stroke for a, b in arms):
        return WHITE
    return (0xE0, 0x21, 0x1B)


def pixel(x, y, size, colour_at):
    """Premultiplication is not used in icons: average the colour of covered
    samples and take the coverage as alpha."""
    total = [0, 0, 0]
    covered = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px = (x + (sx + 0.5) / SAMPLES) / size
            py = (y + (sy + 0.5) / SAMPLES) / size
            colour = colour_at(px, py, size)
            if colour is None:
                continue
            covered += 1
            for i, c in enumerate(colour):
                total[i] += c
    if covered == 0:
        return (0, 0, 0, 0)
    r, g, b = (t // covered for t in total)
    return (r, g, b, covered * 255 // (SAMPLES * SAMPLES))


def image(size, colour_at):
    """One icon image: BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    rows = [[pixel(x, y, size, colour_at) for x in range(size)] for y in range(size)]
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


def icon_file(colour_at, sizes):
    images = [image(size, colour_at) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
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
    pictures = {name: (badge(fill, rim), SIZES) for name, (fill, rim) in ICONS.items()}
    pictures.update({name: (colour_at, (16,)) for name, colour_at in ITEM_ICONS.items()})
    for name, (colour_at, sizes) in pictures.items():
        # Written whole and then renamed, so a stopped build leaves no half icon.
        path = os.path.join(folder, name)
        with open(path + ".tmp", "wb") as f:
            f.write(icon_file(colour_at, sizes))
        os.replace(path + ".tmp", path)
    return 0


ITEM_ICONS = {
    "rtf.ico": rtf_page,
    "program.ico": program_window,
    "google.ico": google_mark,
    "yandex.ico": yandex_mark,
}


if __name__ == "__main__":
    sys.exit(main(sys.argv))
