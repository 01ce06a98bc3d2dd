#!/usr/bin/env python3
"""Writes the About window's 12 x 12 bullet picture, BULLET.bmp.

A red square with a raised bevel: white top and left edges, maroon bottom and right edges.
Stored as a sixteen-colour BMP with the standard sixteen-colour palette, and at twice the
size ("@2x") for screens of two device pixels per pixel. Run once from the repository root;
the images are committed and the program loads them as resources.
"""
from pathlib import Path

from bmp import write_bmp4
from scale2x import scale2x

SIZE = 12
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


def main():
    out = Path(__file__).resolve().parent.parent / "bitmaps"
    write_bmp4(out / "BULLET.bmp", bullet())
    write_bmp4(out / "BULLET@2x.bmp", scale2x(bullet()))


if __name__ == "__main__":
    main()
