"""Uncompressed BMP files as the program's resources hold them: stored bottom-up, each row
padded to 4 bytes, 3780 pixels per metre."""

import struct

# The standard 16-colour palette, as (red, green, blue).
STANDARD_PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0x80, 0x80, 0x80),
    (0xC0, 0xC0, 0xC0), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def _file(width, height, bits, pixels, colours=b"", used_colours=0):
    offset = 14 + 40 + len(colours)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels),
                              3780, 3780, used_colours, 0)
    return file_header + info_header + colours + bytes(pixels)


def write_bmp24(path, rows):
    """rows: lists of (r, g, b), top to bottom."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    path.write_bytes(_file(width, height, 24, pixels))


def write_bmp4(path, rows, palette=STANDARD_PALETTE):
    """rows: lists of indexes into the 16 (r, g, b) colours of palette, top to bottom."""
    width, height = len(rows[0]), len(rows)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        padded = list(row) + [0] * (stride * 2 - width)
        pixels += bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    path.write_bytes(_file(width, height, 4, pixels, colours, len(palette)))
