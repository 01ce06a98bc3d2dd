#!/usr/bin/env python3
"""Writes the styled menu's three glyph bitmaps into resources/bitmaps/.

Run once when the glyphs change; the generated files are committed. Each glyph is a
24-bit BMP whose bottom-left pixel (fuchsia) is the transparent colour, drawn in black.
Each also comes at twice the size ("@2x") for screens of two device pixels per pixel.
"""
import pathlib
import struct

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


def bmp_bytes(rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # BMP stores the bottom row first
        line = bytearray()
        for cell in row:
            r, g, b = INK if cell == "#" else TRANSPARENT
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels),
                              3780, 3780, 0, 0)
    return file_header + info_header + bytes(pixels)


def main():
    target = pathlib.Path(__file__).resolve().parent.parent / "bitmaps"
    target.mkdir(exist_ok=True)
    for name, rows in GLYPHS.items():
        assert len(rows) == SIZE and all(len(row) == SIZE for row in rows), name
        (target / f"{name}.bmp").write_bytes(bmp_bytes(rows))
        doubled = ["".join(row) for row in scale2x([list(row) for row in rows])]
        (target / f"{name}@2x.bmp").write_bytes(bmp_bytes(doubled))


if __name__ == "__main__":
    main()
