"""Doubles a small picture for screens of two device pixels per pixel (the Scale2x rule).

Each pixel becomes four; a quarter takes a neighbour's colour where two neighbours of the
same colour meet at that corner, so slanted edges step one device pixel per row instead of
in 2 x 2 blocks, and straight edges and flat areas stay as they are.
"""


def scale2x(rows):
    """rows: lists of colours (any comparable values), top to bottom."""
    height, width = len(rows), len(rows[0])

    def at(x, y, default):
        return rows[y][x] if 0 <= x < width and 0 <= y < height else default

    doubled = []
    for y in range(height):
        top, bottom = [], []
        for x in range(width):
            p = rows[y][x]
            a, b = at(x, y - 1, p), at(x + 1, y, p)   # above, right
            c, d = at(x - 1, y, p), at(x, y + 1, p)   # left, below
            top += [a if c == a and c != d and a != b else p,
                    b if a == b and a != c and b != d else p]
            bottom += [c if d == c and d != b and c != a else p,
                       d if b == d and b != a and d != c else p]
        doubled += [top, bottom]
    return doubled
