#!/usr/bin/env python3
"""Writes the installer's two icons as 32x32, 16-colour .ico files.

Icon 1 (the main window's class icon) is a blue speech bubble with a white V.
Icon 2 (the wizard's) is an open carton with a green arrow dropping into it,
under a small blue bubble. Run it from anywhere; it writes beside itself.
"""
import os
import struct

SIZE = 32

# The standard 16-colour palette, as (blue, green, red) for the BMP colour table.
PALETTE = [
    (0x00, 0x00, 0x00), (0x00, 0x00, 0x80), (0x00, 0x80, 0x00), (0x00, 0x80, 0x80),
    (0x80, 0x00, 0x00), (0x80, 0x00, 0x80), (0x80, 0x80, 0x00), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0x00, 0x00, 0xFF), (0x00, 0xFF, 0x00), (0x00, 0xFF, 0xFF),
    (0xFF, 0x00, 0x00), (0xFF, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_YELLOW, GREEN, YELLOW, BLUE, WHITE = 0, 3, 10, 11, 12, 15
CLEAR = None  # transparent: AND mask bit set


def blank():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def fill_rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def fill_ellipse(img, cx, cy, rx, ry, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            dx = (x + 0.5 - cx) / rx
            dy = (y + 0.5 - cy) / ry
            if dx * dx + dy * dy <= 1.0:
                img[y][x] = colour


def fill_polygon(img, points, colour):
    """Even-odd fill of a polygon, sampled at pixel centres."""
    for y in range(SIZE):
        for x in range(SIZE):
            px, py = x + 0.5, y + 0.5
            inside = False
            for i in range(len(points)):
                (x0, y0), (x1, y1) = points[i], points[i - 1]
                if (y0 > py) != (y1 > py):
                    cross = x0 + (py - y0) * (x1 - x0) / (y1 - y0)
                    if px < cross:
                        inside = not inside
            if inside:
                img[y][x] = colour


def outline(img, colour):
    """Draws a one-pixel border around every opaque shape."""
    edge = []
    for y in range(SIZE):
        for x in range(SIZE):
            if img[y][x] is not CLEAR:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < SIZE and 0 <= ny < SIZE and img[ny][nx] not in (CLEAR, colour):
                    edge.append((x, y))
                    break
    for x, y in edge:
        img[y][x] = colour


def bubble(img, cx, cy, rx, ry, tail, colour):
    fill_ellipse(img, cx, cy, rx, ry, colour)
    fill_polygon(img, tail, colour)


def draw_v(img, left, top, height, colour):
    """A V two pixels thick, 'height' rows tall, starting at (left, top)."""
    for row in range(height):
        off = row // 2
        for x in (left + off, left + off + 1, left + 2 * (height // 2) + 2 - off,
                  left + 2 * (height // 2) + 1 - off):
            img[top + row][x] = colour


def main_icon():
    img = blank()
    bubble(img, 16, 13, 14.5, 11.5, [(6, 20), (12, 23), (3, 31)], BLUE)
    draw_v(img, 9, 6, 13, WHITE)
    outline(img, BLACK)
    return img


def wizard_icon():
    img = blank()
    # carton: front face and the two open flaps
    fill_rect(img, 5, 18, 26, 30, YELLOW)
    fill_rect(img, 5, 18, 26, 19, DARK_YELLOW)
    fill_polygon(img, [(5, 18), (1, 13), (11, 13), (15, 18)], DARK_YELLOW)
    fill_polygon(img, [(26, 18), (30, 13), (20, 13), (16, 18)], DARK_YELLOW)
    # arrow dropping into the carton
    fill_rect(img, 13, 4, 18, 14, GREEN)
    fill_polygon(img, [(9, 14), (22, 14), (15.5, 21)], GREEN)
    # small speech bubble: what is being installed
    bubble(img, 25, 5, 5.5, 4, [(22, 8), (25, 8), (21, 11)], BLUE)
    img[5][23] = img[5][25] = img[5][27] = WHITE
    outline(img, BLACK)
    return img


def ico_bytes(img):
    xor_rows = []
    and_rows = []
    for y in reversed(range(SIZE)):  # BMP rows run bottom-up
        row = img[y]
        xor = bytearray()
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not CLEAR else 0
            lo = row[x + 1] if row[x + 1] is not CLEAR else 0
            xor.append((hi << 4) | lo)
        xor_rows.append(bytes(xor))
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if row[x] is CLEAR else 0)
        and_rows.append(struct.pack('>I', bits))
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for (b, g, r) in PALETTE)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor_rows) * 16 + len(and_rows) * 4, 0, 0, 16, 0)
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, img in (('vorq_main.ico', main_icon()), ('vorq_wizard.ico', wizard_icon())):
        with open(os.path.join(here, name), 'wb') as f:
            f.write(ico_bytes(img))


if __name__ == '__main__':
    main()
