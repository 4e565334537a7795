#!/usr/bin/env python3
"""Draws the two program icons (32 x 32, 16 colours) and writes vorq32.ico and vlink32.ico.

The icons are checked in; run this again only to change them:  python3 make_icons.py
"""
import os
import struct

SIZE = 32
# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, NAVY, TEAL, SILVER, GREY, BLUE, CYAN, WHITE = 0, 4, 6, 7, 8, 12, 14, 15
CLEAR = None


def blank():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def fill_rounded(img, x0, y0, x1, y1, colour, outline):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            corner = (x in (x0, x1)) and (y in (y0, y1))
            if corner:
                continue
            edge = x in (x0, x1) or y in (y0, y1) or \
                ((x in (x0 + 1, x1 - 1)) and (y in (y0 + 1, y1 - 1)))
            img[y][x] = outline if edge else colour


def fill_triangle_tail(img, x_top, y_top, length, colour, outline):
    """A speech-bubble tail leaning left from the bubble's lower edge."""
    for i in range(length):
        y = y_top + i
        left = x_top - i
        right = x_top + (length - i) // 2
        for x in range(left, right + 1):
            img[y][x] = outline if x in (left, right) or i == length - 1 else colour


def thick_line(img, x0, y0, x1, y1, colour, width=2):
    steps = max(abs(x1 - x0), abs(y1 - y0))
    for s in range(steps + 1):
        x = round(x0 + (x1 - x0) * s / steps)
        y = round(y0 + (y1 - y0) * s / steps)
        for dx in range(width):
            img[y][x + dx] = colour


def client_icon():
    img = blank()
    fill_rounded(img, 1, 2, 30, 22, WHITE, BLACK)
    # The tail below the bubble's left half: (first column, pixels) per row from row 22.
    tail = [(5, "0FFFF0"), (5, "0FFF0"), (4, "0FFF0"), (3, "0FF0"), (2, "0F0"), (2, "00")]
    for row, (first, pixels) in enumerate(tail, start=22):
        for i, p in enumerate(pixels):
            img[row][first + i] = BLACK if p == "0" else WHITE
    # The letter V, with a darker shadow to one side.
    thick_line(img, 9, 6, 15, 19, NAVY, 3)
    thick_line(img, 22, 6, 16, 19, NAVY, 3)
    thick_line(img, 8, 5, 14, 18, BLUE, 3)
    thick_line(img, 21, 5, 15, 18, BLUE, 3)
    return img


def link_icon():
    img = blank()
    # A page with a folded corner.
    for y in range(1, 31):
        for x in range(4, 24):
            fold = x - 17 > y - 1
            if fold:
                continue
            edge = x in (4, 23) or y in (1, 30) or x - 17 == y - 1
            img[y][x] = BLACK if edge else WHITE
    for y in range(1, 8):
        for x in range(17, 17 + y):
            edge = x in (17, 16 + y) or y == 7
            img[y][x] = BLACK if edge else SILVER
    for y in range(6, 26, 3):
        for x in range(7, 20 if y > 8 else 15):
            img[y][x] = GREY
    # A small chat bubble over the lower right corner.
    fill_rounded(img, 14, 17, 30, 27, CYAN, NAVY)
    fill_triangle_tail(img, 19, 27, 4, CYAN, NAVY)
    img[27][18:20] = [CYAN, CYAN]
    for x in (18, 22, 26):
        img[22][x:x + 2] = [TEAL, TEAL]
        img[21][x:x + 2] = [TEAL, TEAL]
    return img


def encode_ico(img):
    xor_rows = []
    and_rows = []
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        row = img[y]
        xor = bytearray()
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not None else 0
            lo = row[x + 1] if row[x + 1] is not None else 0
            xor.append(hi << 4 | lo)
        mask = bytearray(SIZE // 8)
        for x in range(SIZE):
            if row[x] is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        xor_rows.append(bytes(xor))
        and_rows.append(bytes(mask))
    image = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(image), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    resource = header + palette + image
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(resource), 6 + 16)
    return directory + entry + resource


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, img in (("vorq32.ico", client_icon()), ("vlink32.ico", link_icon())):
        with open(os.path.join(here, name), "wb") as out:
            out.write(encode_ico(img))


if __name__ == "__main__":
    main()
