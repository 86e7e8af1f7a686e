#!/usr/bin/env python3
"""Turns the pixel pictures in resources/art/*.txt into Windows images: an icon
(.ico, with a transparency mask) or a 16-colour bitmap (.bmp).

A picture file holds one row of characters per pixel row, every row as long as
the picture is wide; lines starting with '#' are comments. Each character is a
colour of the standard 16-colour palette:

    k black    m maroon   g green    o olive    n navy     p purple   t teal     s silver
    d grey     r red      l lime     y yellow   b blue     f fuchsia  a aqua     w white
    .          transparent (icons: masked out; bitmaps: drawn in fuchsia, the
               colour the programs treat as transparent)

A full-colour picture instead starts with its own colours, one a line before
the first pixel row, as a character and its colour with an optional alpha:

    : W #FFFFFF
    : 2 #0E1F5C80

Its rows may then use only those characters, and '.' (transparent unless the
picture gives it a colour). In an icon a 16-colour picture becomes a 4-bit
image and a full-colour picture a 32-bit image with alpha; bitmaps take only
16-colour pictures.

usage: pixelart.py ico|bmp|png PICTURE.txt OUTPUT
       (png: an 8-times enlarged preview for looking at a picture, drawn over
       light grey)
       pixelart.py icon OUTPUT.ico PICTURE.txt [PICTURE.txt ...]
       (one icon holding an image of every picture: 4-bit ones first, then
       32-bit ones, each by size)
"""
import re
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


def read_colour(path, number, line):
    """The character and (red, green, blue, alpha) of a line ': X #RRGGBB[AA]'."""
    words = line.split()
    if (len(words) != 3 or len(words[1]) != 1 or words[1] in "#:"
            or not re.fullmatch("#[0-9A-Fa-f]{6}([0-9A-Fa-f]{2})?", words[2])):
        sys.exit(f"{path}: line {number} is not a colour like ': X #RRGGBB' or ': X #RRGGBBAA'")
    value = bytes.fromhex(words[2][1:])
    return words[1], tuple(value) if len(value) == 4 else tuple(value) + (255,)


def read_picture(path):
    """A picture's rows and its own colours: a dict from character to
    (red, green, blue, alpha), or None for a 16-colour picture."""
    rows = []
    colours = {}
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            if line.startswith(":"):
                if rows:
                    sys.exit(f"{path}: line {number} gives a colour after the first pixel row")
                c, colour = read_colour(path, number, line)
                if c in colours:
                    sys.exit(f"{path}: line {number} gives '{c}' a second colour")
                colours[c] = colour
                continue
            rows.append(line)
    if not rows:
        sys.exit(f"{path}: no pixel rows")
    if colours:
        colours.setdefault(TRANSPARENT, (0, 0, 0, 0))
    else:
        colours = None
    known = LETTERS + TRANSPARENT if colours is None else colours
    width = len(rows[0])
    for n, row in enumerate(rows):
        if len(row) != width:
            sys.exit(f"{path}: row {n + 1} is {len(row)} pixels wide, not {width}")
        for c in row:
            if c not in known:
                sys.exit(f"{path}: row {n + 1} has the unknown colour '{c}'")
    return rows, colours


def colour_of(c, colours):
    """The (red, green, blue, alpha) of a pixel character."""
    if colours is not None:
        return colours[c]
    if c == TRANSPARENT:
        return (0, 0, 0, 0)
    return PALETTE[LETTERS.index(c)] + (255,)


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


def pixel_rows_32bpp(rows, colours):
    """Bottom-up rows of 32-bit pixels (blue, green, red, alpha); a fully
    transparent pixel is all zero."""
    out = b""
    for row in reversed(rows):
        for c in row:
            r, g, b, a = colours[c]
            out += bytes((b, g, r, a)) if a else bytes(4)
    return out


def mask_rows(rows, colours):
    """Bottom-up rows of the 1-bit AND mask (1 = transparent), padded to 4 bytes."""
    out = b""
    for row in reversed(rows):
        bits = [1 if colour_of(c, colours)[3] == 0 else 0 for c in row]
        bits += [0] * (-len(bits) % 8)
        data = bytes(sum(bit << (7 - i) for i, bit in enumerate(bits[j:j + 8]))
                     for j in range(0, len(bits), 8))
        out += data + b"\0" * (-len(data) % 4)
    return out


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def info_header(width, height, bit_count, colours_used, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0, image_size, 0, 0,
                       colours_used, 0)


def icon_image(picture):
    """One image of an icon: (width, height, colour count, bit count, data)."""
    rows, colours = picture
    width, height = len(rows[0]), len(rows)
    mask = mask_rows(rows, colours)
    # An icon's header gives twice the height: the colour image and the mask.
    if colours is None:
        pixels = pixel_rows_4bpp(rows, 0)
        header = info_header(width, height * 2, 4, 16, len(pixels) + len(mask)) + palette_bytes()
        return width, height, 16, 4, header + pixels + mask
    pixels = pixel_rows_32bpp(rows, colours)
    header = info_header(width, height * 2, 32, 0, len(pixels) + len(mask))
    return width, height, 0, 32, header + pixels + mask


def make_icon(pictures):
    """An icon holding an image of every picture, 4-bit ones first, then by size."""
    images = sorted((icon_image(picture) for picture in pictures),
                    key=lambda image: (image[3], image[0], image[1]))
    for one, other in zip(images, images[1:]):
        if one[:4] == other[:4]:
            sys.exit(f"two {one[0]} x {one[1]} pictures in {one[3]} bits for one icon")
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for width, height, colour_count, bit_count, data in images:
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, colour_count, 0, 1, bit_count,
                                 len(data), offset)
        offset += len(data)
    return directory + b"".join(image[4] for image in images)


def make_ico(picture):
    return make_icon([picture])


def make_bmp(picture):
    rows, colours = picture
    width, height = len(rows[0]), len(rows)
    pixels = pixel_rows_4bpp(rows, FUCHSIA)
    header = info_header(width, height, 4, 16, len(pixels)) + palette_bytes()
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + pixels


def make_png(picture, scale=8):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows, colours = picture
    raw = b""
    for row in rows:
        line = b""
        for c in row:
            r, g, b, a = colour_of(c, colours)
            # Partly transparent pixels are shown over the light grey.
            line += bytes(round((v * a + 200 * (255 - a)) / 255) for v in (r, g, b)) * scale
        raw += (b"\0" + line) * scale
    width, height = len(rows[0]) * scale, len(rows) * scale
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main():
    makers = {"ico": make_ico, "bmp": make_bmp, "png": make_png}
    if len(sys.argv) >= 4 and sys.argv[1] == "icon":
        output = sys.argv[2]
        data = make_icon([read_picture(path) for path in sys.argv[3:]])
    elif len(sys.argv) == 4 and sys.argv[1] in makers:
        output = sys.argv[3]
        picture = read_picture(sys.argv[2])
        if sys.argv[1] == "bmp" and picture[1] is not None:
            sys.exit(f"{sys.argv[2]}: a bitmap needs a 16-colour picture")
        data = makers[sys.argv[1]](picture)
    else:
        sys.exit(__doc__)
    with open(output, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
