#!/usr/bin/env python3
"""Writes the spin buttons' two 9 x 6 glyphs, SPINUP.bmp and SPINDOWN.bmp.

Each is a solid black triangle, 7 pixels wide at its base and 4 rows high, on an olive
background that the buttons treat as transparent (they key on the bottom-left pixel).
Each also comes at twice the size ("@2x", 18 x 12) for screens of two device pixels per
pixel, traced on the finer grid so its slanted sides step one device pixel per row.
Run once from the repository root; the images are committed and the program loads them
as resources.
"""
from pathlib import Path

from bmp import write_bmp24

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


def main():
    out = Path(__file__).resolve().parent.parent / "bitmaps"
    for scale, suffix in ((1, ""), (2, "@2x")):
        write_bmp24(out / f"SPINUP{suffix}.bmp", triangle(True, scale))
        write_bmp24(out / f"SPINDOWN{suffix}.bmp", triangle(False, scale))


if __name__ == "__main__":
    main()
