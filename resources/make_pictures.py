#!/usr/bin/env python3
"""Draws the window's two pictures and writes them as baseline JPEG files:

  banner.jpg         500 x 57, the band across the top of the window (title and subtitle are
                     drawn over its light left part in black)
  progress_tile.jpg  12 x 20, the tile the progress bar repeats every 12 pixels

Both are three-component (YCbCr, no subsampling), 8-bit, sequential DCT with Huffman coding.
Pure standard library; the output is the same byte for byte on every run, so the committed
files can be checked against it.

    python3 resources/make_pictures.py resources
"""
import math
import os
import struct
import sys

QUALITY = 92

# The usual luminance quantisation table, scaled to QUALITY; it serves all three components.
BASE_QUANT = [
    16, 11, 10, 16, 24, 40, 51, 61,
    12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56,
    14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77,
    24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101,
    72, 92, 95, 98, 112, 100, 103, 99,
]


def scaled_quant():
    factor = 200 - 2 * QUALITY
    return [min(255, max(1, (q * factor + 50) // 100)) for q in BASE_QUANT]


def zigzag_order():
    """Row-major indexes of the 64 coefficients in zig-zag order."""
    order = []
    for s in range(15):
        cells = [(y, s - y) for y in range(8) if 0 <= s - y < 8]
        if s % 2 == 0:
            cells.reverse()  # even diagonals run upwards
        order.extend(y * 8 + x for y, x in cells)
    return order


ZIGZAG = zigzag_order()
COS = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]
SCALE = [math.sqrt(0.5) if u == 0 else 1.0 for u in range(8)]


def fdct(block):
    """Forward DCT of 64 level-shifted samples (row-major), separable."""
    rows = []
    for y in range(8):
        line = block[y * 8:(y + 1) * 8]
        rows.append([SCALE[u] * sum(line[x] * COS[u][x] for x in range(8)) / 2 for u in range(8)])
    out = [0.0] * 64
    for u in range(8):
        column = [rows[y][u] for y in range(8)]
        for v in range(8):
            out[v * 8 + u] = SCALE[v] * sum(column[y] * COS[v][y] for y in range(8)) / 2
    return out


def nearest(value):
    return int(math.floor(value + 0.5))


# Huffman tables with codes of one length: every DC size category (0-11) gets a 4-bit code,
# every AC run/size symbol an 8-bit one. Valid baseline tables; the pictures are small, so
# optimal codes would save little.
DC_SYMBOLS = list(range(12))
AC_SYMBOLS = [0x00, 0xF0] + [(run << 4) | size for run in range(16) for size in range(1, 11)]
DC_LENGTH = 4
AC_LENGTH = 8


def code_table(symbols, length):
    return {symbol: (index, length) for index, symbol in enumerate(symbols)}


DC_CODES = code_table(DC_SYMBOLS, DC_LENGTH)
AC_CODES = code_table(AC_SYMBOLS, AC_LENGTH)


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, value, length):
        for shift in range(length - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> shift) & 1)
            self.count += 1
            if self.count == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0x00)  # stuffed byte
                self.acc = 0
                self.count = 0

    def flush(self):
        while self.count:
            self.put(1, 1)  # pad with one bits
        return bytes(self.out)


def magnitude(value):
    size = abs(value).bit_length()
    bits = value if value >= 0 else value + (1 << size) - 1
    return size, bits


def encode_block(writer, coefficients, previous_dc):
    dc = coefficients[0]
    size, bits = magnitude(dc - previous_dc)
    code, length = DC_CODES[size]
    writer.put(code, length)
    writer.put(bits, size)
    run = 0
    for index in range(1, 64):
        value = coefficients[index]
        if value == 0:
            run += 1
            continue
        while run > 15:
            writer.put(*AC_CODES[0xF0])
            run -= 16
        size, bits = magnitude(value)
        writer.put(*AC_CODES[(run << 4) | size])
        writer.put(bits, size)
        run = 0
    if run:
        writer.put(*AC_CODES[0x00])
    return dc


def huffman_segment(table_class, table_id, symbols, length):
    counts = [0] * 16
    counts[length - 1] = len(symbols)
    body = bytes([(table_class << 4) | table_id]) + bytes(counts) + bytes(symbols)
    return b"\xff\xc4" + struct.pack(">H", len(body) + 2) + body


def encode_jpeg(width, height, pixel):
    """`pixel(x, y)` gives (r, g, b) in 0..255."""
    quant = scaled_quant()
    planes = [[], [], []]
    for y in range(height):
        for x in range(width):
            r, g, b = pixel(x, y)
            planes[0].append(0.299 * r + 0.587 * g + 0.114 * b - 128)
            planes[1].append(-0.168736 * r - 0.331264 * g + 0.5 * b)
            planes[2].append(0.5 * r - 0.418688 * g - 0.081312 * b)
    writer = BitWriter()
    previous = [0, 0, 0]
    for block_y in range(0, height, 8):
        for block_x in range(0, width, 8):
            for component in range(3):
                samples = []
                for y in range(block_y, block_y + 8):
                    for x in range(block_x, block_x + 8):
                        # Edge blocks repeat the last row and column.
                        sy, sx = min(y, height - 1), min(x, width - 1)
                        samples.append(planes[component][sy * width + sx])
                dct = fdct(samples)
                coefficients = [nearest(dct[ZIGZAG[i]] / quant[ZIGZAG[i]]) for i in range(64)]
                previous[component] = encode_block(writer, coefficients, previous[component])
    scan = writer.flush()

    out = bytearray(b"\xff\xd8")
    # JFIF header: version 1.1, 96 dots per inch.
    jfif = b"JFIF\x00" + bytes([1, 1, 1]) + struct.pack(">HH", 96, 96) + bytes([0, 0])
    out += b"\xff\xe0" + struct.pack(">H", len(jfif) + 2) + jfif
    dqt = bytes([0]) + bytes(quant[ZIGZAG[i]] for i in range(64))
    out += b"\xff\xdb" + struct.pack(">H", len(dqt) + 2) + dqt
    sof = bytes([8]) + struct.pack(">HH", height, width) + bytes([3])
    for component in range(3):
        sof += bytes([component + 1, 0x11, 0])
    out += b"\xff\xc0" + struct.pack(">H", len(sof) + 2) + sof
    out += huffman_segment(0, 0, DC_SYMBOLS, DC_LENGTH)
    out += huffman_segment(1, 0, AC_SYMBOLS, AC_LENGTH)
    sos = bytes([3])
    for component in range(3):
        sos += bytes([component + 1, 0x00])
    sos += bytes([0, 63, 0])
    out += b"\xff\xda" + struct.pack(">H", len(sos) + 2) + sos
    out += scan
    out += b"\xff\xd9"
    return bytes(out)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(nearest(a[i] + (b[i] - a[i]) * t) for i in range(3))


def banner_pixel(x, y):
    """Light on the left, where the black title stands; a blue sweep of arcs on the right."""
    left = (250, 251, 253)
    right = (196, 216, 236)
    colour = mix(left, right, (x - 220) / 280.0)
    # Soft concentric arcs around a centre beyond the right edge.
    distance = math.hypot(x - 560, (y - 28) * 1.6)
    ring = 0.5 + 0.5 * math.cos(distance / 9.0)
    strength = max(0.0, min(1.0, (x - 300) / 200.0)) * 0.35
    colour = mix(colour, (90, 140, 200), ring * strength)
    # A darker band along the bottom edge.
    if y >= 53:
        colour = mix(colour, (70, 110, 170), (y - 52) / 5.0 * 0.6)
    return colour


def tile_pixel(x, y):
    """A glossy blue segment: light top half, deeper lower half. Column 0 is never tiled."""
    if y < 9:
        colour = mix((170, 205, 245), (95, 155, 230), y / 8.0)
    else:
        colour = mix((50, 115, 215), (30, 80, 170), (y - 9) / 10.0)
    if x == 11:
        colour = mix(colour, (20, 50, 120), 0.5)  # the segment's right edge
    return colour


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    pictures = {
        "banner.jpg": encode_jpeg(500, 57, banner_pixel),
        "progress_tile.jpg": encode_jpeg(12, 20, tile_pixel),
    }
    for name, data in pictures.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
