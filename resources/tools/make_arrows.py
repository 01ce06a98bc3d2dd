#!/usr/bin/env python3
"""Draws the arrow indicator's four two-frame pictures as 16-colour BMP files.

Each picture holds a dim frame (filled green) on the left and a lit frame (filled lime) on
the right. The widget recolours those two fill colours and treats white as see-through, so
the pictures use exactly these five colours of the standard 16-colour palette.

Each picture also comes at twice the size ("@2x") for screens of two device pixels per
pixel: the same shape traced at the finer grid, so its slanted edges step one device pixel
per row instead of in 2 x 2 blocks, with an outline of the same width in pixels.

Run once from the repository root: python3 resources/tools/make_arrows.py
"""
from pathlib import Path

from bmp import write_bmp4

BLACK, GREEN, GREY, LIME, WHITE = 0, 2, 7, 10, 15

WIDTH, HEIGHT = 28, 27   # the right-pointing frame, in pixels
MIDDLE = 13              # row of the tip, column of the head's base


def inside(x, y, scale):
    """The right-pointing silhouette at `scale` device pixels per pixel: a shaft and a head
    whose edges move one device pixel per device row. Tested at the device pixel's centre,
    in pixels."""
    if not (0 <= x < WIDTH * scale and 0 <= y < HEIGHT * scale):
        return False
    cx, cy = (x + 0.5) / scale, (y + 0.5) / scale
    shaft = cx < MIDDLE + 1 and 6 <= cy < 21
    head = MIDDLE <= cx <= WIDTH - 0.5 - abs(cy - (MIDDLE + 0.5))
    return shaft or head


def right_frame(fill, scale=1):
    """Rows of palette indexes: an outer line grey, an inner line black, each `scale` device
    pixels thick, the rest of the inside filled."""
    width, height = WIDTH * scale, HEIGHT * scale
    # Steps (through edge neighbours) from each inside pixel to the nearest outside one.
    depth = {}
    layer = [(x, y) for y in range(height) for x in range(width)
             if inside(x, y, scale) and any(not inside(x + dx, y + dy, scale)
                                            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))]
    level = 1
    while layer and level <= 2 * scale:
        for point in layer:
            depth[point] = level
        layer = {(x + dx, y + dy) for x, y in layer for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
                 if inside(x + dx, y + dy, scale) and (x + dx, y + dy) not in depth}
        level += 1
    frame = []
    for y in range(height):
        row = []
        for x in range(width):
            if not inside(x, y, scale):
                row.append(WHITE)
            elif depth.get((x, y), 2 * scale + 1) <= scale:
                row.append(GREY)
            elif depth.get((x, y), 2 * scale + 1) <= 2 * scale:
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


def main():
    out = Path(__file__).resolve().parent.parent / "bitmaps"
    for scale, suffix in ((1, ""), (2, "@2x")):
        dim, lit = right_frame(GREEN, scale), right_frame(LIME, scale)
        pictures = {
            "RIGHTARROW": (dim, lit),
            "LEFTARROW": (mirrored(dim), mirrored(lit)),
            "UPARROW": (turned_left(dim), turned_left(lit)),
            "DOWNARROW": (flipped(turned_left(dim)), flipped(turned_left(lit))),
        }
        for name, (d, l) in pictures.items():
            write_bmp4(out / f"{name}{suffix}.bmp", side_by_side(d, l))


if __name__ == "__main__":
    main()
