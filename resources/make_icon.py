#!/usr/bin/env python3
"""Draws the program's icon and writes it as an icon file of twelve uncompressed images:
16, 32 and 48 pixels at 4, 24 and 32 bits per pixel, and 256 pixels at the same three depths.

The picture: a blue rounded square with a white check-like "V" and a red minus badge in the
lower right corner (the product, being taken off). Pure standard library; the output is the
same byte for byte on every run, so the committed file can be checked against it.

    python3 resources/make_icon.py resources/unins000.ico
"""
import math
import struct
import sys

SIZES = (16, 32, 48, 256)
DEPTHS = (4, 24, 32)
SUPERSAMPLE = 4

# The 16 colours of the standard palette (the 4-bit images pick the nearest of these).
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def rounded_square(x, y, half, radius):
    """Signed distance from (x, y) to a square of half-size `half` with round corners."""
    qx = abs(x) - (half - radius)
    qy = abs(y) - (half - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def segment(x, y, ax, ay, bx, by):
    """Distance from (x, y) to the segment a-b."""
    px, py = x - ax, y - ay
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, (px * dx + py * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - t * dx, py - t * dy)


def shade(u, v):
    """Colour (r, g, b, a) of the point (u, v), both in 0..1 from the top left."""
    x, y = u - 0.5, v - 0.5
    if rounded_square(x, y, 0.46, 0.12) > 0:
        return (0, 0, 0, 0)
    # Badge: a red disc with a white bar, lower right.
    bx, by = x - 0.27, y - 0.27
    badge = math.hypot(bx, by)
    if badge < 0.2:
        if badge > 0.17:
            return (255, 255, 255, 255)
        if abs(bx) < 0.11 and abs(by) < 0.035:
            return (255, 255, 255, 255)
        return (200, 30, 30, 255)
    # The "V".
    stroke = min(segment(x, y, -0.26, -0.22, -0.04, 0.2), segment(x, y, -0.04, 0.2, 0.24, -0.3))
    if stroke < 0.075:
        return (255, 255, 255, 255)
    # Background: a vertical blue gradient.
    t = v
    return (int(30 + 40 * t), int(90 + 60 * t), int(168 + 62 * t), 255)


def render(size):
    """Rows of (r, g, b, a), top row first, averaged over SUPERSAMPLE^2 samples per pixel."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    r, g, b, a = shade((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / (n * n)
            if acc[3]:
                colour = tuple(round(c / acc[3]) for c in acc[:3])
            else:
                colour = (0, 0, 0)
            row.append(colour + (round(alpha),))
        rows.append(row)
    return rows


def nearest16(r, g, b):
    return min(range(16), key=lambda i: (PALETTE16[i][0] - r) ** 2 + (PALETTE16[i][1] - g) ** 2
               + (PALETTE16[i][2] - b) ** 2)


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def bitmap(rows, depth):
    """The image as an icon stores it: header, palette, colour rows and mask rows, bottom up."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, 0, 0, 0,
                         16 if depth == 4 else 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE16) if depth == 4 else b""
    colour = b""
    mask = b""
    for row in reversed(rows):
        transparent = [a < 128 for (_, _, _, a) in row]
        if depth == 32:
            line = b"".join(struct.pack("<BBBB", b, g, r, a) for (r, g, b, a) in row)
        elif depth == 24:
            line = b"".join(b"\0\0\0" if t else struct.pack("<BBB", b, g, r)
                            for (r, g, b, _), t in zip(row, transparent))
        else:
            indices = [0 if t else nearest16(r, g, b) for (r, g, b, _), t in zip(row, transparent)]
            line = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        colour += pad4(line)
        bits = bytearray((size + 7) // 8)
        for i, t in enumerate(transparent):
            if t:
                bits[i // 8] |= 0x80 >> (i % 8)
        mask += pad4(bytes(bits))
    return header + palette + colour + mask


def icon_file():
    images = []
    for size in SIZES:
        rows = render(size)
        for depth in DEPTHS:
            images.append((size, depth, bitmap(rows, depth)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, depth, data in images:
        side = 0 if size == 256 else size
        entries += struct.pack("<BBBBHHII", side, side, 16 if depth == 4 else 0, 0, 1, depth,
                               len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, _, data in images)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    with open(sys.argv[1], "wb") as out:
        out.write(icon_file())
