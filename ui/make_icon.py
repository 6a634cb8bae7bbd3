#!/usr/bin/env python3
"""Writes scanner.ico: the 32 x 32, 32-bit picture used as the window icon and
as the notification-area icon (a barcode with a red scan line on a white
card).  Run it again only to change the picture; the .ico is kept in the tree."""
import struct
import sys

SIZE = 32
# Bar widths across the card, alternating black and white, left to right.
BARS = [2, 1, 1, 2, 3, 1, 1, 1, 2, 2, 1, 3, 1, 1, 2, 1]


def pixel(x, y):
    """Blue, green, red, alpha of the pixel at column x, row y (row 0 on top)."""
    card = 2 <= x <= 29 and 5 <= y <= 26
    corner = (x in (2, 29)) and (y in (5, 26))
    if not card or corner:
        return (0, 0, 0, 0)
    border = x in (2, 29) or y in (5, 26)
    if border:
        return (60, 60, 60, 255)
    if y in (15, 16):
        return (0, 0, 230, 255)  # the scan line
    if 8 <= y <= 23:
        left = 5
        black = True
        for width in BARS:
            if left <= x < left + width:
                return (20, 20, 20, 255) if black else (255, 255, 255, 255)
            left += width
            black = not black
    return (255, 255, 255, 255)


def main(path):
    colour = bytearray()
    mask = bytearray()
    for row in range(SIZE - 1, -1, -1):  # bottom row first
        bits = 0
        for x in range(SIZE):
            b, g, r, a = pixel(x, row)
            colour += bytes((b, g, r, a))
            if a == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 4224, 0, 0, 0, 0)
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    data = directory + image
    assert len(data) == 4286, len(data)
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "scanner.ico")
