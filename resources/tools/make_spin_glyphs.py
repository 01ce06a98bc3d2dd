#!/usr/bin/env python3
"""Writes the spin buttons' two 9 x 6 glyphs, SPINUP.bmp and SPINDOWN.bmp.

Each is a solid black triangle, 7 pixels wide at its base and 4 rows high, on an olive
background that the buttons treat as transparent (they key on the bottom-left pixel).
Run once from the repository root; the images are committed and the program loads them
as resources.
"""
import struct
from pathlib import Path

WIDTH, HEIGHT = 9, 6
BLACK = (0, 0, 0)
BACKGROUND = (128, 128, 0)  # olive: never part of a glyph


def triangle(pointing_up):
    """Rows top to bottom; the tip row is 1 pixel wide, the base row 7."""
    rows = []
    for y in range(HEIGHT):
        level = y - 1 if pointing_up else 4 - y  # 0 at the tip .. 3 at the base
        row = []
        for x in range(WIDTH):
            inside = 0 <= level <= 3 and abs(x - 4) <= level
            row.append(BLACK if inside else BACKGROUND)
        rows.append(row)
    return rows


def write_bmp(path, rows):
    """An uncompressed 24-bit BMP, stored bottom-up with rows padded to 4 bytes."""
    stride = (WIDTH * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels),
                              3780, 3780, 0, 0)
    path.write_bytes(file_header + info_header + bytes(pixels))


def main():
    out = Path(__file__).resolve().parent.parent / "bitmaps"
    write_bmp(out / "SPINUP.bmp", triangle(pointing_up=True))
    write_bmp(out / "SPINDOWN.bmp", triangle(pointing_up=False))


if __name__ == "__main__":
    main()
