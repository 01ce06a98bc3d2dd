#!/usr/bin/env python3
"""Writes the styled menu's three glyph bitmaps into resources/bitmaps/.

Run once when the glyphs change; the generated files are committed. Each glyph is a
24-bit BMP whose bottom-left pixel (fuchsia) is the transparent colour, drawn in black.
Each also comes at twice the size ("@2x") for screens of two device pixels per pixel.
"""
import pathlib

from bmp import write_bmp24
from scale2x import scale2x

SIZE = 12
TRANSPARENT = (255, 0, 255)
INK = (0, 0, 0)

# '#' is ink, '.' is transparent; rows from top to bottom.
GLYPHS = {
    "MENUCHECKITEM": [
        "............",
        "............",
        "............",
        ".........#..",
        "........##..",
        "..#....###..",
        "..##..###...",
        "..######....",
        "...####.....",
        "....##......",
        "............",
        "............",
    ],
    "MENURADIOITEM": [
        "............",
        "............",
        "............",
        "............",
        ".....##.....",
        "....####....",
        "....####....",
        ".....##.....",
        "............",
        "............",
        "............",
        "............",
    ],
    "MENUSUBMENUITEM": [
        "............",
        "............",
        "....#.......",
        "....##......",
        "....###.....",
        "....####....",
        "....####....",
        "....###.....",
        "....##......",
        "....#.......",
        "............",
        "............",
    ],
}


def coloured(rows):
    return [[INK if cell == "#" else TRANSPARENT for cell in row] for row in rows]


def main():
    target = pathlib.Path(__file__).resolve().parent.parent / "bitmaps"
    target.mkdir(exist_ok=True)
    for name, rows in GLYPHS.items():
        assert len(rows) == SIZE and all(len(row) == SIZE for row in rows), name
        write_bmp24(target / f"{name}.bmp", coloured(rows))
        write_bmp24(target / f"{name}@2x.bmp", coloured(scale2x([list(row) for row in rows])))


if __name__ == "__main__":
    main()
