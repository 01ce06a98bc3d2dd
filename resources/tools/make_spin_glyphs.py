#!/usr/bin/env python3
"""Writes the spin buttons' two 9 x 6 glyphs, SPINUP.bmp and SPINDOWN.bmp.

Each is a solid black triangle, 7 pixels wide at its base and 4 rows high, on an olive
background that the buttons treat as transparent (they key on the bottom-left pixel).
Each also comes at twice the size ("@2x", 18 x 12) for screens of two device pixels per
pixel, traced on the finer grid so its slanted sides step one device pixel per row.
Run once from the repository root; the images are committed and the program loads them
as resources.
"""
import struct
from pathlib import Path

WIDTH, HEIGHT = 9, 6
BLACK = (0, 0, 0)
BACKGROUND = (128, 128, 0)  # olive: never part of a glyph


def triangle(pointing_up, scale=1):
    """Rows top to bottom; at scale 1 the tip row is 1 pixel wide, the base row 7."""
    rows = []
    for y in range(HEIGHT * scale):
        # From the tip, in pixels, at the device pixel's centre.
        depth = (y + 0.5) / scale - 1 if pointing_up else 5 - (y + 0.5) / scale
        half_width = min(depth, 3.5)  # the tip is 1 pixel wide, the base 7
        row = []
        for x in range(WIDTH * scale):
            inside = 0 < depth < 4 and abs((x + 0.5) / scale - 4.5) <= half_width
            row.append(BLACK if inside else BACKGROUND)
        rows.append(row)
    return rows


def write_bmp(path, rows):
    """An uncompressed 24-bit BMP, stored bottom-up with rows padded to 4 bytes."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels),
                              3780, 3780, 0, 0)
    path.write_bytes(file_header + info_header + bytes(pixels))


def main():
    out = Path(__file__).resolve().parent.parent / "bitmaps"
    for scale, suffix in ((1, ""), (2, "@2x")):
        write_bmp(out / f"SPINUP{suffix}.bmp", triangle(True, scale))
        write_bmp(out / f"SPINDOWN{suffix}.bmp", triangle(False, scale))


if __name__ == "__main__":
    main()
