#!/usr/bin/env python3
"""Draws the arrow indicator's four two-frame pictures as 16-colour BMP files.

Each picture holds a dim frame (filled green) on the left and a lit frame (filled lime) on
the right. The widget recolours those two fill colours and treats white as see-through, so
the pictures use exactly these five colours of the standard 16-colour palette.

Run once from the repository root: python3 resources/tools/make_arrows.py
"""
import struct
from pathlib import Path

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0x80, 0x80, 0x80),
    (0xC0, 0xC0, 0xC0), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, GREEN, GREY, LIME, WHITE = 0, 2, 7, 10, 15

WIDTH, HEIGHT = 28, 27   # the right-pointing frame
MIDDLE = 13              # row of the tip, column of the head's base


def inside(x, y):
    """The right-pointing silhouette: a shaft and a head whose edges move a column per row."""
    if not (0 <= x < WIDTH and 0 <= y < HEIGHT):
        return False
    shaft = x <= MIDDLE and 6 <= y <= 20
    head = MIDDLE <= x <= WIDTH - 1 - abs(y - MIDDLE)
    return shaft or head


def right_frame(fill):
    """Rows of palette indexes: outer line grey, inner line black, the rest of the inside filled."""
    def touches(x, y, test):
        return any(test(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))

    outer = {(x, y) for y in range(HEIGHT) for x in range(WIDTH)
             if inside(x, y) and touches(x, y, lambda a, b: not inside(a, b))}
    frame = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            if not inside(x, y):
                row.append(WHITE)
            elif (x, y) in outer:
                row.append(GREY)
            elif touches(x, y, lambda a, b: (a, b) in outer):
                row.append(BLACK)
            else:
                row.append(fill)
        frame.append(row)
    return frame


def mirrored(frame):
    return [list(reversed(row)) for row in frame]


def turned_left(frame):
    """A quarter turn counter-clockwise."""
    width = len(frame[0])
    return [[frame[x][width - 1 - y] for x in range(len(frame))] for y in range(width)]


def flipped(frame):
    return list(reversed(frame))


def side_by_side(dim, lit):
    return [a + b for a, b in zip(dim, lit)]


def write_bmp(path, rows):
    """A bottom-up 4-bit BMP with the standard palette."""
    width, height = len(rows[0]), len(rows)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        padded = row + [0] * (stride * 2 - width)
        pixels += bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 3780, 3780, 16, 0)
    path.write_bytes(header + info + colours + pixels)


def main():
    out = Path(__file__).resolve().parent.parent / "bitmaps"
    dim, lit = right_frame(GREEN), right_frame(LIME)
    pictures = {
        "RIGHTARROW": (dim, lit),
        "LEFTARROW": (mirrored(dim), mirrored(lit)),
        "UPARROW": (turned_left(dim), turned_left(lit)),
        "DOWNARROW": (flipped(turned_left(dim)), flipped(turned_left(lit))),
    }
    for name, (d, l) in pictures.items():
        write_bmp(out / f"{name}.bmp", side_by_side(d, l))


if __name__ == "__main__":
    main()
