#!/usr/bin/env python3
"""Turns the pixel pictures in resources/art/*.txt into 16-colour Windows
images: an icon (.ico, with a transparency mask) or a bitmap (.bmp).

A picture file holds one row of characters per pixel row, every row as long as
the picture is wide; lines starting with '#' are comments. Each character is a
colour of the standard 16-colour palette:

    k black    m maroon   g green    o olive    n navy     p purple   t teal     s silver
    d grey     r red      l lime     y yellow   b blue     f fuchsia  a aqua     w white
    .          transparent (icons: masked out; bitmaps: drawn in fuchsia, the
               colour the programs treat as transparent)

usage: pixelart.py ico|bmp|png PICTURE.txt OUTPUT
       (png: an 8-times enlarged preview for looking at a picture)
"""
import struct
import sys
import zlib

PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
LETTERS = "kmgonptsdrlybfaw"
TRANSPARENT = "."
FUCHSIA = LETTERS.index("f")


def read_picture(path):
    rows = []
    with open(path, encoding="ascii") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            rows.append(line)
    width = len(rows[0])
    for n, row in enumerate(rows):
        if len(row) != width:
            sys.exit(f"{path}: row {n + 1} is {len(row)} pixels wide, not {width}")
        for c in row:
            if c != TRANSPARENT and c not in LETTERS:
                sys.exit(f"{path}: row {n + 1} has the unknown colour '{c}'")
    return rows


def pixel_rows_4bpp(rows, transparent_index):
    """Bottom-up rows of 4-bit pixels, each padded to 4 bytes."""
    out = b""
    for row in reversed(rows):
        nibbles = [transparent_index if c == TRANSPARENT else LETTERS.index(c) for c in row]
        if len(nibbles) % 2:
            nibbles.append(0)
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
        out += data + b"\0" * (-len(data) % 4)
    return out


def mask_rows(rows):
    """Bottom-up rows of the 1-bit AND mask (1 = transparent), padded to 4 bytes."""
    out = b""
    for row in reversed(rows):
        bits = [1 if c == TRANSPARENT else 0 for c in row]
        bits += [0] * (-len(bits) % 8)
        data = bytes(sum(bit << (7 - i) for i, bit in enumerate(bits[j:j + 8]))
                     for j in range(0, len(bits), 8))
        out += data + b"\0" * (-len(data) % 4)
    return out


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def make_ico(rows):
    width, height = len(rows[0]), len(rows)
    pixels = pixel_rows_4bpp(rows, 0)
    mask = mask_rows(rows)
    # An icon's header gives twice the height: the colour image and the mask.
    image = info_header(width, height * 2, len(pixels) + len(mask)) + palette_bytes() + pixels + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def make_bmp(rows):
    width, height = len(rows[0]), len(rows)
    pixels = pixel_rows_4bpp(rows, FUCHSIA)
    header = info_header(width, height, len(pixels)) + palette_bytes()
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + pixels


def make_png(rows, scale=8):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b""
    for row in rows:
        line = b"".join(bytes((200, 200, 200) if c == TRANSPARENT else PALETTE[LETTERS.index(c)]) * scale
                        for c in row)
        raw += (b"\0" + line) * scale
    width, height = len(rows[0]) * scale, len(rows) * scale
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main():
    makers = {"ico": make_ico, "bmp": make_bmp, "png": make_png}
    if len(sys.argv) != 4 or sys.argv[1] not in makers:
        sys.exit(__doc__)
    rows = read_picture(sys.argv[2])
    data = makers[sys.argv[1]](rows)
    with open(sys.argv[3], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
