"""The one BMP writer of the asset scripts: uncompressed 24-bit, bottom-up, 72 dpi.

rows: the picture's rows, top row first, each a sequence of (r, g, b) of one width.
"""
import struct


def bmp24(rows):
    height = len(rows)
    width = len(rows[0]) if rows else 0
    if any(len(row) != width for row in rows):
        raise ValueError("rows of different widths")
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(rows):  # BMP stores the bottom row first
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        body += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return header + info + bytes(body)
