#!/usr/bin/env python3
"""Draws the program icon (tovi.ico) and the split-bar cursor (split.cur).

Run from this directory; the outputs are committed, so builds need no Python.
"""
import struct
import zlib


def bitmap_header(width, height, bits, image_size):
    # Icon and cursor bitmaps count the XOR and AND masks in the height.
    return struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, image_size, 0, 0, 0, 0)


def and_mask(width, height, opaque):
    """1-bit mask rows, bottom-up, each padded to 4 bytes: 0 opaque, 1 clear."""
    stride = (width + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


# ---- icon: a page turning into another page (source -> destination) ----

def draw_icon(size):
    s = size / 32.0
    pixels = [[None] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                pixels[y][x] = colour

    def page(x0, y0, x1, y1, paper, edge, line):
        fill(x0, y0, x1, y1, edge)
        fill(x0 + 1, y0 + 1, x1 - 1, y1 - 1, paper)
        for ly in range(y0 + 4, y1 - 3, 3):
            fill(x0 + 3, ly, x1 - 3, ly + 1, line)

    page(2, 2, 18, 24, (255, 255, 255), (64, 64, 64), (150, 150, 150))
    page(13, 9, 29, 30, (255, 248, 220), (64, 64, 64), (60, 110, 200))
    # The arrow from the first page to the second.
    arrow = (215, 90, 20)
    fill(6, 25, 12, 27, arrow)
    for i in range(5):
        fill(11 + i, 22 + i, 12 + i, 30 - i, arrow)
    return pixels


def icon_image(size):
    pixels = draw_icon(size)
    xor = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            p = pixels[y][x]
            xor += bytes((p[2], p[1], p[0], 255)) if p else b"\0\0\0\0"
    mask = and_mask(size, size, lambda x, y: pixels[y][x] is not None)
    return bitmap_header(size, size, 32, len(xor) + len(mask)) + bytes(xor) + mask


def png_image(size):
    """The icon as a PNG, as large icons are stored (Vista and later read it)."""
    pixels = draw_icon(size)
    raw = bytearray()
    for row in pixels:
        raw += b"\0"  # no filter
        for p in row:
            raw += bytes((p[0], p[1], p[2], 255)) if p else b"\0\0\0\0"

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


# The small (16) and large (32) icon at 100, 125, 150 and 200 % display
# scaling, the 64 of large views, and the 256 of Explorer's largest.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def write_icon(path):
    images = [(size, png_image(size) if size >= 256 else icon_image(size)) for size in ICON_SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        # A 256-pixel side is written as 0 in the directory's byte.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    open(path, "wb").write(out)


# ---- cursor: two bar lines with arrows up and down, hot spot (15, 15) ----

HOT_X, HOT_Y = 15, 15


def cursor_black():
    black = set()
    for x in range(4, 27):
        black.add((x, HOT_Y - 1))
        black.add((x, HOT_Y + 1))
    for y in range(HOT_Y - 7, HOT_Y - 1):
        black.add((HOT_X, y))
        black.add((HOT_X, 2 * HOT_Y - y))
    for r in range(5):  # arrow heads, tips 11 pixels from the hot spot
        for dx in range(-r, r + 1):
            black.add((HOT_X + dx, HOT_Y - 11 + r))
            black.add((HOT_X + dx, HOT_Y + 11 - r))
    return black


def write_cursor(path):
    size = 32
    black = cursor_black()
    white = set()
    for (x, y) in black:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                q = (x + dx, y + dy)
                if q not in black and 0 <= q[0] < size and 0 <= q[1] < size:
                    white.add(q)
    # Pixel = (screen AND mask) XOR colour: white has colour bit 1.
    xor = bytearray()
    for y in reversed(range(size)):
        row = bytearray(4)
        for x in range(size):
            if (x, y) in white:
                row[x // 8] |= 0x80 >> (x % 8)
        xor += row
    mask = and_mask(size, size, lambda x, y: (x, y) in black or (x, y) in white)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    data = bitmap_header(size, size, 1, len(xor) + len(mask)) + palette + bytes(xor) + mask
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", size, size, 2, 0, HOT_X, HOT_Y, len(data), 6 + 16)
    open(path, "wb").write(out + data)


write_icon("tovi.ico")
write_cursor("split.cur")
