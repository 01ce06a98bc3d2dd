#!/usr/bin/env python3
"""Writes the About window's 12 x 12 bullet picture, BULLET.bmp.

A red square with a raised bevel: white top and left edges, maroon bottom and right edges.
Stored as a sixteen-colour BMP with the standard sixteen-colour palette, and at twice the
size ("@2x") for screens of two device pixels per pixel. Run once from the repository root;
the images are committed and the program loads them as resources.
"""
import struct
from pathlib import Path

from scale2x import scale2x

SIZE = 12
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
MAROON, RED, WHITE = 1, 9, 15


def bullet():
    """Palette indexes, rows top to bottom."""
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            if y == SIZE - 1 or x == SIZE - 1:
                row.append(MAROON)
            elif y == 0 or x == 0:
                row.append(WHITE)
            else:
                row.append(RED)
        rows.append(row)
    return rows


def write_bmp(path, rows):
    """An uncompressed 4-bit BMP, stored bottom-up with rows padded to 4 bytes."""
    size = len(rows)
    stride = ((size * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, size, 2):
            line.append((row[x] << 4) | row[x + 1])
        line += bytes(stride - len(line))
        pixels += line
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    offset = 14 + 40 + len(colours)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 4, 0, len(pixels),
                              3780, 3780, 16, 0)
    path.write_bytes(file_header + info_header + colours + bytes(pixels))


def main():
    out = Path(__file__).resolve().parent.parent / "bitmaps"
    write_bmp(out / "BULLET.bmp", bullet())
    write_bmp(out / "BULLET@2x.bmp", scale2x(bullet()))


if __name__ == "__main__":
    main()
