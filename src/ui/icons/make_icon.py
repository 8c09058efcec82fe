#!/usr/bin/env python3
"""Draws Quorrel's icon and writes it as quorrel.ico (32x32 in 2 colours, 32x32 in 16 colours,
16x16 in 16 colours), as quorrel-SIZE.png for the desktop's usual sizes (16 to 256 pixels) and as
the scalable quorrel.svg, next to this script.

The larger pictures are the 16- and 32-pixel drawings enlarged by whole factors, so every size
shows the same crisp picture; the SVG draws the 32-pixel one with a square per pixel.

The picture is a small check-box list: a sheet with three rows, the first and last checked.
Only the standard library is used, so the files can be remade anywhere: python3 make_icon.py
"""

import pathlib
import struct
import zlib

# The 16 colours of the standard palette, as (red, green, blue).
PALETTE_16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
PALETTE_2 = [(0, 0, 0), (255, 255, 255)]

BLACK, DARK_GREEN, NAVY, SILVER, GREY, WHITE = 0, 2, 4, 7, 8, 15
CLEAR = None  # a transparent pixel


def blank(size):
    return [[CLEAR] * size for _ in range(size)]


def fill(picture, left, top, right, bottom, colour):
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            picture[y][x] = colour


def frame(picture, left, top, right, bottom, colour):
    fill(picture, left, top, right, top, colour)
    fill(picture, left, bottom, right, bottom, colour)
    fill(picture, left, top, left, bottom, colour)
    fill(picture, right, top, right, bottom, colour)


def check_mark(picture, left, top, colour):
    """A two-pixel-thick tick in the 5 x 5 square whose top left corner is (left, top)."""
    for dx, dy in [(0, 2), (1, 3), (2, 2), (3, 1), (4, 0)]:
        fill(picture, left + dx, top + dy, left + dx, top + dy + 1, colour)


def draw_32(colours):
    """The large picture; `colours` maps the roles to palette indexes."""
    picture = blank(32)
    fill(picture, 3, 1, 28, 30, colours['sheet'])
    frame(picture, 3, 1, 28, 30, colours['ink'])
    fill(picture, 4, 2, 27, 5, colours['title'])
    for row, checked in enumerate([True, False, True]):
        top = 7 + row * 8
        frame(picture, 6, top, 12, top + 6, colours['ink'])
        fill(picture, 15, top + 2, 25, top + 4, colours['line'])
        if checked:
            check_mark(picture, 7, top + 1, colours['tick'])
    return picture


def draw_16(colours):
    picture = blank(16)
    fill(picture, 1, 0, 14, 15, colours['sheet'])
    frame(picture, 1, 0, 14, 15, colours['ink'])
    fill(picture, 2, 1, 13, 2, colours['title'])
    for row, checked in enumerate([True, False, True]):
        top = 4 + row * 4
        frame(picture, 3, top, 5, top + 2, colours['ink'])
        fill(picture, 7, top + 1, 12, top + 1, colours['line'])
        if checked:
            picture[top + 1][4] = colours['tick']
    return picture


COLOURS_16 = {'sheet': WHITE, 'ink': BLACK, 'title': NAVY, 'line': GREY, 'tick': DARK_GREEN}
COLOURS_2 = {'sheet': 1, 'ink': 0, 'title': 0, 'line': 0, 'tick': 0}


def row_bytes(bits_per_pixel, values):
    """Packs one row of palette indexes, most significant bits first, padded to 4 bytes."""
    packed = bytearray()
    per_byte = 8 // bits_per_pixel
    for start in range(0, len(values), per_byte):
        byte = 0
        for offset in range(per_byte):
            value = values[start + offset] if start + offset < len(values) else 0
            byte |= value << (8 - bits_per_pixel * (offset + 1))
        packed.append(byte)
    while len(packed) % 4:
        packed.append(0)
    return bytes(packed)


def ico_image(picture, palette, bits_per_pixel):
    """One image of an icon file: header, palette, colour bits and transparency mask, bottom-up."""
    size = len(picture)
    colour_rows = b''.join(row_bytes(bits_per_pixel, [p or 0 for p in row])
                           for row in reversed(picture))
    mask_rows = b''.join(row_bytes(1, [1 if p is None else 0 for p in row])
                         for row in reversed(picture))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits_per_pixel, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, len(palette), 0)
    colour_table = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    return header + colour_table + colour_rows + mask_rows


def ico_file(images):
    """images: (picture, palette, bits per pixel) for each image."""
    encoded = [ico_image(*image) for image in images]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (picture, palette, bits), data in zip(images, encoded):
        size = len(picture)
        directory += struct.pack('<BBBBHHII', size, size, len(palette) % 256, 0, 1, bits,
                                 len(data), offset)
        offset += len(data)
    return directory + b''.join(encoded)


def png_file(picture, palette):
    """The picture as an 8-bit RGBA PNG."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))

    size = len(picture)
    raw = b''
    for row in picture:
        raw += b'\x00' + b''.join(
            bytes([0, 0, 0, 0]) if p is None else bytes(palette[p]) + b'\xff' for p in row)
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def enlarged(picture, factor):
    return [[pixel for pixel in row for _ in range(factor)] for row in picture for _ in range(factor)]


def svg_file(picture, palette):
    """The picture as squares of its colours, one run of equal pixels in a row per rectangle."""
    size = len(picture)
    shapes = []
    for y, row in enumerate(picture):
        x = 0
        while x < size:
            end = x
            while end + 1 < size and row[end + 1] == row[x]:
                end += 1
            if row[x] is not None:
                red, green, blue = palette[row[x]]
                shapes.append(f'  <rect x="{x}" y="{y}" width="{end - x + 1}" height="1" '
                              f'fill="#{red:02x}{green:02x}{blue:02x}"/>')
            x = end + 1
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
            f'viewBox="0 0 {size} {size}" shape-rendering="crispEdges">\n' +
            '\n'.join(shapes) + '\n</svg>\n')


def main():
    here = pathlib.Path(__file__).resolve().parent
    large = draw_32(COLOURS_16)
    small = draw_16(COLOURS_16)
    images = [(draw_32(COLOURS_2), PALETTE_2, 1), (large, PALETTE_16, 4), (small, PALETTE_16, 4)]
    (here / 'quorrel.ico').write_bytes(ico_file(images))
    # Each size from whichever drawing it is a whole multiple of, the finer one when both are.
    sizes = {16: (small, 1), 32: (large, 1), 48: (small, 3), 64: (large, 2), 128: (large, 4),
             256: (large, 8)}
    for size, (picture, factor) in sizes.items():
        (here / f'quorrel-{size}.png').write_bytes(png_file(enlarged(picture, factor), PALETTE_16))
    (here / 'quorrel.svg').write_text(svg_file(large, PALETTE_16))


if __name__ == '__main__':
    main()
