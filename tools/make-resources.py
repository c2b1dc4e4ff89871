#!/usr/bin/env python3
"""Draws the program's pictures and writes them into resources/.

quorvin.ico      the program icon: 32x32 and 16x16, 16 colours each
quorvin-N.png    the same icon drawn at N x N pixels, for the desktop's icon theme (N is each of
                 ICON_THEME_SIZES)
chat.ico         the chat picture: 152x68 at 256 colours and at 32 bits per pixel
chat.cur         the chat cursor: 32x32, 16 colours, hot spot (12, 1)
chat-cursor.png  the same cursor as a PNG, since Qt builds cursors from pixmaps
chat@2x.png      the chat picture at 304x136, for screens at 150 % and more
chat@2x.ico      the same at 256 colours as an icon, which Windows 7 reads (not PNG), small enough
                 to keep each Windows program below 2 MB
chat-cursor@2x.png the cursor at 64x64, hot spot (24, 2), for the same screens

Everything is drawn here and written byte for byte the same on every run, so the files in the
repository can always be checked against this script.

Usage: make-resources.py [output directory]   (default: resources/ next to tools/)
"""

import os
import struct
import sys
import zlib

# The 16 colours of every 4-bit picture, as (red, green, blue).
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_GREEN, GREY, YELLOW, BLUE, WHITE = 0, 2, 8, 11, 12, 15

# The sizes of the program icon in the freedesktop icon theme (hicolor/NxN/apps/quorvin.png).
ICON_THEME_SIZES = [16, 32, 48, 64, 128, 256]

# A picture is a list of rows of pixels, top row first. A pixel of a 16-colour picture is a
# palette index or None (transparent); a pixel of a true-colour picture is (r, g, b, a).


def blank(width, height, pixel=None):
    return [[pixel] * width for _ in range(height)]


def fill(picture, x0, y0, x1, y1, pixel):
    """Fills the rectangle from (x0, y0) up to but not including (x1, y1)."""
    for y in range(y0, y1):
        for x in range(x0, x1):
            picture[y][x] = pixel


# ---- the program icon: a memory module -------------------------------------------------------


def memory_module(size):
    """A memory module seen from the front: green board, black chips, gold contacts. The 16-pixel
    image has a drawing of its own, since the larger one's details would vanish at that size."""
    if size == 16:
        return small_memory_module()
    if size < 32:
        raise ValueError("the program icon is drawn at 16 pixels or at 32 and up, not %d" % size)
    return large_memory_module(size)


def small_memory_module():
    size = 16
    p = blank(size, size)
    top, bottom, chip_top, chip_bottom = 3, 13, 5, 8
    contacts_top, notch = 10, 7
    fill(p, 0, top, size, bottom, DARK_GREEN)
    # Dark edge around the board so it reads against light and dark backgrounds alike.
    for x in range(size):
        p[top][x] = p[bottom - 1][x] = BLACK
    for y in range(top, bottom):
        p[y][0] = p[y][size - 1] = BLACK
    for x0, x1 in [(2, 4), (5, 7), (9, 11), (12, 14)]:
        fill(p, x0, chip_top, x1, chip_bottom, BLACK)
    for x in range(2, size - 2, 2):
        fill(p, x, contacts_top, x + 1, bottom - 1, YELLOW)
    fill(p, 7, contacts_top, 9, bottom, None)
    fill(p, notch, contacts_top + 1, notch + 2, bottom, None)
    p[contacts_top][notch] = p[contacts_top][notch + 1] = BLACK
    return p


def large_memory_module(size):
    """The module laid out on a 32-unit grid and drawn at size pixels: each shape's edges fall on
    whole pixels of the target size and lines are a whole number of pixels thick, so a large
    icon is as sharp as the small ones rather than a blown-up copy."""
    def at(units):
        return round(units * size / 32)

    line = size // 32

    def shape(x0, y0, x1, y1, pixel):
        fill(p, at(x0), at(y0), at(x1), at(y1), pixel)

    p = blank(size, size)
    top, bottom, contacts_top, notch = 8, 24, 20, 15
    shape(0, top, 32, bottom, DARK_GREEN)
    # Dark edge around the board so it reads against light and dark backgrounds alike.
    fill(p, 0, at(top), size, at(top) + line, BLACK)
    fill(p, 0, at(bottom) - line, size, at(bottom), BLACK)
    fill(p, 0, at(top), line, at(bottom), BLACK)
    fill(p, size - line, at(top), size, at(bottom), BLACK)
    for x0, x1 in [(3, 8), (10, 15), (17, 22), (24, 29)]:
        shape(x0, 10, x1, 17, BLACK)
        # A grey mark on each chip, like the maker's print.
        fill(p, at(x0 + 1), at(11), at(x0 + 1) + line, at(11) + line, GREY)
    # Gold contacts along the bottom edge, one every other unit, with the key notch and its edges
    # where two of them would be.
    for x in range(2, 30, 2):
        if not notch - 1 <= x <= notch + 2:
            fill(p, at(x), at(contacts_top), at(x) + line, at(bottom) - line, YELLOW)
    shape(notch, contacts_top, notch + 2, bottom, None)
    fill(p, at(notch), at(contacts_top), at(notch + 2), at(contacts_top) + line, BLACK)
    fill(p, at(notch) - line, at(contacts_top), at(notch), at(bottom), BLACK)
    fill(p, at(notch + 2), at(contacts_top), at(notch + 2) + line, at(bottom), BLACK)
    return p


# ---- the chat cursor: a pointing hand --------------------------------------------------------

# B black outline, W white skin, C blue cuff, . transparent. The fingertip is at (12, 1).
HAND = [
    "................................",
    "...........BBB..................",
    "..........BWWWB.................",
    "..........BWWWB.................",
    "..........BWWWB.................",
    "..........BWWWB.................",
    "..........BWWWB.................",
    "..........BWWWBBBB..............",
    "..........BWWWBWWWBBBB..........",
    "..........BWWWBWWWBWWWBBBB......",
    "..........BWWWBWWWBWWWBWWWB.....",
    ".....BBB..BWWWBWWWBWWWBWWWB.....",
    "....BWWWB.BWWWWWWWWWWWWWWWB.....",
    "....BWWWWBBWWWWWWWWWWWWWWWB.....",
    ".....BWWWWBWWWWWWWWWWWWWWWB.....",
    ".....BWWWWWWWWWWWWWWWWWWWWB.....",
    "......BWWWWWWWWWWWWWWWWWWWB.....",
    "......BWWWWWWWWWWWWWWWWWWWB.....",
    ".......BWWWWWWWWWWWWWWWWWWB.....",
    ".......BWWWWWWWWWWWWWWWWWB......",
    "........BWWWWWWWWWWWWWWWWB......",
    "........BWWWWWWWWWWWWWWWB.......",
    ".........BWWWWWWWWWWWWWWB.......",
    ".........BBBBBBBBBBBBBBBB.......",
    ".........BCCCCCCCCCCCCCCB.......",
    ".........BCCCCCCCCCCCCCCB.......",
    ".........BBBBBBBBBBBBBBBB.......",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]
HAND_COLOURS = {".": None, "B": BLACK, "W": WHITE, "C": BLUE}
CURSOR_HOT_SPOT = (12, 1)


def pointing_hand():
    if len(HAND) != 32 or any(len(row) != 32 for row in HAND):
        raise ValueError("the hand cursor drawing must be 32 by 32 characters")
    return [[HAND_COLOURS[c] for c in row] for row in HAND]


# ---- the chat picture: a banner with a person and a speech bubble ----------------------------


def inside_rounded(x, y, x0, y0, x1, y1, radius):
    """Whether pixel (x, y) lies in the rounded rectangle [x0, x1) x [y0, y1)."""
    if not (x0 <= x < x1 and y0 <= y < y1):
        return False
    cx = min(max(x + 0.5, x0 + radius), x1 - radius)
    cy = min(max(y + 0.5, y0 + radius), y1 - radius)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius


def inside_ellipse(x, y, cx, cy, rx, ry):
    return ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1


def inside_triangle(x, y, a, b, c):
    px, py = x + 0.5, y + 0.5

    def side(p, q):
        return (q[0] - p[0]) * (py - p[1]) - (q[1] - p[1]) * (px - p[0])

    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def chat_banner(scale=1):
    """The banner at 152 x 68 logical pixels, drawn with scale x scale device pixels to each: the
    shapes are sampled at the centre of each device pixel, and the outlines stay one logical
    pixel wide, so a larger scale gives finer edges rather than bigger steps."""
    width, height = 152, 68
    navy = (16, 40, 96, 255)
    bubble_edge = (40, 64, 120, 255)
    white = (255, 255, 255, 255)
    line_grey = (176, 188, 208, 255)
    p = blank(width * scale, height * scale, (0, 0, 0, 0))

    def banner(x, y, inset):
        return inside_rounded(x, y, inset, inset, width - inset, height - inset, 10 - inset)

    def bubble(x, y, inset):
        body = inside_rounded(x, y, 60 + inset, 7 + inset, 145 - inset, 53 - inset, 9 - inset)
        tail = inside_triangle(x, y, (62 + inset, 30), (62 + inset, 42 - inset),
                               (47 + 2 * inset, 47 - inset))
        return body or tail

    for device_y in range(height * scale):
        # The shape tests add half a pixel to the coordinates they are given.
        y = (device_y + 0.5) / scale - 0.5
        # Sky-blue gradient, light at the top, in 8 steps so the 256-colour copy matches it.
        step = device_y // scale * 8 // height
        shade = (200 - 14 * step, 222 - 10 * step, 255, 255)
        for device_x in range(width * scale):
            x = (device_x + 0.5) / scale - 0.5
            if not banner(x, y, 0):
                continue
            p[device_y][device_x] = shade if banner(x, y, 1) else navy
            # The person: head and shoulders, cut off by the banner's lower edge.
            if inside_ellipse(x, y, 30, 25, 10, 11) or (
                    inside_ellipse(x, y, 30, 66, 22, 26) and banner(x, y, 1)):
                p[device_y][device_x] = navy
            if bubble(x, y, 0):
                p[device_y][device_x] = white if bubble(x, y, 1) else bubble_edge
    # Stand-ins for the lines of text in the bubble.
    for top, right in ((17, 134), (27, 128), (37, 112)):
        fill(p, 72 * scale, top * scale, right * scale, (top + 4) * scale, line_grey)
    return p


def doubled(picture):
    """Each pixel as two by two: the pixel-art cursor at twice the size, its steps kept sharp."""
    return [[c for c in row for _ in range(2)] for row in picture for _ in range(2)]


# ---- file formats ----------------------------------------------------------------------------


def row_stride(width, bits):
    return (width * bits + 31) // 32 * 4


def pack_rows(picture, bits, pixel_bytes):
    """The rows bottom-up, each padded to whole 32-bit words, as a BMP stores them."""
    out = bytearray()
    stride = row_stride(len(picture[0]), bits)
    for row in reversed(picture):
        packed = pixel_bytes(row)
        out += packed + bytes(stride - len(packed))
    return bytes(out)


def pack_4bit(row):
    indices = [0 if c is None else c for c in row] + [0]
    return bytes(indices[i] << 4 | indices[i + 1] for i in range(0, len(row), 2))


def pack_mask(transparent):
    """A 1-bit row, most significant bit first; a set bit lets the background show."""
    out = bytearray((len(transparent) + 7) // 8)
    for x, clear in enumerate(transparent):
        if clear:
            out[x // 8] |= 0x80 >> x % 8
    return bytes(out)


def dib(picture, bits, palette, colour_bytes, transparent):
    """One icon or cursor image: header, palette, colour rows and the AND mask. transparent is a
    picture of booleans, the same size as picture."""
    width, height = len(picture[0]), len(picture)
    colours = pack_rows(picture, bits, colour_bytes)
    mask = pack_rows(transparent, 1, pack_mask)
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0,
                         len(colours) + len(mask), 0, 0, len(palette), 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + table + colours + mask


def dib_4bit(picture):
    transparent = [[c is None for c in row] for row in picture]
    return dib(picture, 4, PALETTE16, pack_4bit, transparent)


def alpha_mask(picture):
    return [[a == 0 for _, _, _, a in row] for row in picture]


def dib_8bit(picture):
    """The true-colour picture on a palette of its own colours (it uses fewer than 256)."""
    palette = []
    for row in picture:
        for r, g, b, a in row:
            if a and (r, g, b) not in palette:
                palette.append((r, g, b))
    if len(palette) > 256:
        raise ValueError("the chat picture has %d colours, too many for 8 bits" % len(palette))
    # Transparent pixels are black in the colour bitmap, so that the mask leaves the screen as
    # it is beneath them.
    if (0, 0, 0) not in palette and len(palette) == 256:
        raise ValueError("the chat picture leaves no palette entry for its transparent pixels")
    palette += [(0, 0, 0)] * (256 - len(palette))
    index = {c: i for i, c in reversed(list(enumerate(palette)))}
    clear = index[(0, 0, 0)]
    indexed = [[index[(r, g, b)] if a else clear for r, g, b, a in row] for row in picture]
    return dib(indexed, 8, palette, bytes, alpha_mask(picture))


def dib_32bit(picture):
    def bgra(row):
        return b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in row)

    return dib(picture, 32, [], bgra, alpha_mask(picture))


def icon_file(kind, images):
    """An icon (kind 1) or cursor (kind 2) file. images: (width, height, colour count, the two
    16-bit fields, dib); for icons the fields are planes and bit count, for cursors the hot
    spot."""
    out = bytearray(struct.pack("<HHH", 0, kind, len(images)))
    offset = 6 + 16 * len(images)
    for width, height, colours, field1, field2, data in images:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, field1, field2,
                           len(data), offset)
        offset += len(data)
    for *_, data in images:
        out += data
    return bytes(out)


def png_file(picture):
    """An 8-bit RGBA PNG of a true-colour picture."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    width, height = len(picture[0]), len(picture)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in picture)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def true_colour(picture):
    return [[(0, 0, 0, 0) if c is None else PALETTE16[c] + (255,) for c in row]
            for row in picture]


def build():
    """The resource files by name."""
    hand = pointing_hand()
    banner = chat_banner()
    theme_icons = {"quorvin-%d.png" % size: png_file(true_colour(memory_module(size)))
                   for size in ICON_THEME_SIZES}
    return theme_icons | {
        "quorvin.ico": icon_file(1, [
            (32, 32, 16, 1, 4, dib_4bit(memory_module(32))),
            (16, 16, 16, 1, 4, dib_4bit(memory_module(16))),
        ]),
        "chat.ico": icon_file(1, [
            (152, 68, 0, 1, 8, dib_8bit(banner)),
            (152, 68, 0, 1, 32, dib_32bit(banner)),
        ]),
        "chat.cur": icon_file(2, [(32, 32, 16, *CURSOR_HOT_SPOT, dib_4bit(hand))]),
        "chat-cursor.png": png_file(true_colour(hand)),
        # For screens at 150 % and more: twice the pixels, shown at the same size.
        "chat@2x.png": png_file(chat_banner(2)),
        # An icon directory holds sizes below 256 only; Windows takes the size from the bitmap.
        "chat@2x.ico": icon_file(1, [(304, 136, 0, 1, 8, dib_8bit(chat_banner(2)))]),
        "chat-cursor@2x.png": png_file(true_colour(doubled(hand))),
    }


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, os.pardir, "resources")
    os.makedirs(target, exist_ok=True)
    for name, data in build().items():
        with open(os.path.join(target, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
