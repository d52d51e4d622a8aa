#!/usr/bin/env python3
"""Draws the program icon, a gold cup on a wooden plinth, and writes it as a Windows .ico
with two images: 64 x 64 in 256 colours and 16 x 16 in the 16 standard colours.

The drawing is a pure function of the pixel grid, so the file comes out byte for byte the
same on every run:  scripts/make-icon.py [hiscores/resources/hiscores.ico]
"""

import math
import struct
import sys

DEFAULT_OUTPUT = "hiscores/resources/hiscores.ico"

# Kinds of pixel the drawing produces.
EMPTY, GOLD, PLINTH, STAR = range(4)

GOLD_LEVELS = 32
PLINTH_LEVELS = 8
GOLD_BASE = 1
PLINTH_BASE = GOLD_BASE + GOLD_LEVELS
OUTLINE_INDEX = PLINTH_BASE + PLINTH_LEVELS
STAR_INDEX = OUTLINE_INDEX + 1

# The 16 colours every display shows, in their usual order.
VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
VGA_MAROON, VGA_OLIVE, VGA_YELLOW, VGA_WHITE = 1, 3, 11, 15


def blend(dark, light, t):
    return tuple(round(d + (l - d) * t) for d, l in zip(dark, light))


def palette_256():
    colours = [(0, 0, 0)]
    colours += [blend((125, 80, 0), (255, 238, 150), i / (GOLD_LEVELS - 1))
                for i in range(GOLD_LEVELS)]
    colours += [blend((80, 42, 16), (170, 105, 52), i / (PLINTH_LEVELS - 1))
                for i in range(PLINTH_LEVELS)]
    colours += [(70, 38, 0), (255, 255, 235)]
    return colours + [(0, 0, 0)] * (256 - len(colours))


def inside_star(u, v, cx, cy, radius):
    """A five-pointed star, point up: inside when the polar radius is under the outline."""
    dx, dy = u - cx, v - cy
    distance = math.hypot(dx, dy)
    if distance > radius:
        return False
    angle = (math.atan2(dx, -dy) % (2 * math.pi / 5)) - math.pi / 5
    inner = radius * 0.42
    # Edge from an outer point (angle +-36 degrees away) to the inner corner (angle 0).
    t = abs(angle) / (math.pi / 5)
    return distance <= inner + (radius - inner) * t


def kind_at(u, v):
    """What the drawing shows at the point (u, v) of the unit square, v pointing down."""
    dx = abs(u - 0.5)
    if 0.86 <= v <= 0.96 and dx <= 0.26:
        return PLINTH
    if 0.79 <= v < 0.86 and dx <= 0.17:
        return GOLD
    if 0.56 <= v < 0.79 and dx <= 0.05 + max(0.0, v - 0.70) * 0.6:
        return GOLD
    if 0.08 <= v <= 0.58:
        half_width = 0.31 * math.sqrt(max(0.0, 1 - ((v - 0.08) / 0.52) ** 2))
        if dx <= half_width:
            return STAR if inside_star(u, v, 0.5, 0.29, 0.12) else GOLD
    ring = math.hypot(dx - 0.30, v - 0.27)
    if dx > 0.28 and 0.07 <= ring <= 0.115:
        return GOLD
    return EMPTY


def draw(size):
    return [[kind_at((x + 0.5) / size, (y + 0.5) / size) for x in range(size)]
            for y in range(size)]


def shade(u):
    """Light falls from the upper left: brightest a little left of the middle."""
    return max(0.0, min(1.0, 1.0 - abs(u - 0.40) * 2.4))


def indices_256(kinds):
    size = len(kinds)

    def is_edge(x, y):
        for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
            if not (0 <= nx < size and 0 <= ny < size) or kinds[ny][nx] == EMPTY:
                return True
        return False

    rows = []
    for y, row in enumerate(kinds):
        out = []
        for x, kind in enumerate(row):
            light = shade((x + 0.5) / size)
            if kind == EMPTY:
                out.append(0)
            elif is_edge(x, y):
                out.append(OUTLINE_INDEX)
            elif kind == STAR:
                out.append(STAR_INDEX)
            elif kind == PLINTH:
                out.append(PLINTH_BASE + round(light * (PLINTH_LEVELS - 1)))
            else:
                out.append(GOLD_BASE + round(light * (GOLD_LEVELS - 1)))
        rows.append(out)
    return rows


def indices_16(kinds):
    size = len(kinds)
    rows = []
    for row in kinds:
        out = []
        for x, kind in enumerate(row):
            if kind == EMPTY:
                out.append(0)
            elif kind == STAR:
                out.append(VGA_WHITE)
            elif kind == PLINTH:
                out.append(VGA_MAROON)
            else:
                out.append(VGA_YELLOW if shade((x + 0.5) / size) > 0.45 else VGA_OLIVE)
        rows.append(out)
    return rows


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def pack_pixels(row, bits):
    if bits == 8:
        return padded(bytes(row))
    return padded(bytes((row[i] << 4) | row[i + 1] for i in range(0, len(row), 2)))


def pack_mask(kinds_row):
    bits = "".join("1" if kind == EMPTY else "0" for kind in kinds_row)
    bits += "0" * (-len(bits) % 8)
    return padded(bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8)))


def icon_image(kinds, indices, palette, bits):
    """A device-independent bitmap as an icon stores it: double height, colour rows then
    the transparency mask, both bottom-up."""
    size = len(kinds)
    pixels = b"".join(pack_pixels(row, bits) for row in reversed(indices))
    mask = b"".join(pack_mask(row) for row in reversed(kinds))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(pixels) + len(mask), 0, 0, len(palette), 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + pixels + mask


def icon_file(images):
    """images: (size, colour count, bits per pixel, image bytes)."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, colours, bits, data in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours % 256, 0, 1, bits,
                               len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, _, _, data in images)


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUTPUT
    large = draw(64)
    small = draw(16)
    images = [
        (64, 256, 8, icon_image(large, indices_256(large), palette_256(), 8)),
        (16, 16, 4, icon_image(small, indices_16(small), VGA_PALETTE, 4)),
    ]
    with open(output, "wb") as file:
        file.write(icon_file(images))


if __name__ == "__main__":
    main()
