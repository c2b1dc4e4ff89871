#!/usr/bin/env python3
"""Reads the committed picture files back field by field and checks them against the formats the
program needs, and that tools/make-resources.py still produces exactly these bytes."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir,
                                     os.pardir))
RESOURCES = os.path.join(ROOT, "resources")
SCRIPT = os.path.join(ROOT, "tools", "make-resources.py")
THEME_SIZES = [16, 32, 48, 64, 128, 256]
THEME_ICONS = ["quorvin-%d.png" % size for size in THEME_SIZES]
GENERATED = ["quorvin.ico", "chat.ico", "chat.cur", "chat-cursor.png", "chat@2x.png",
             "chat@2x.ico", "chat-cursor@2x.png"] + THEME_ICONS


def read(name):
    with open(os.path.join(RESOURCES, name), "rb") as f:
        return f.read()


def stride(width, bits):
    return (width * bits + 31) // 32 * 4


class Image:
    """One directory entry of an icon or cursor file and the bitmap it points to."""

    def __init__(self, data, entry_offset):
        (self.width, self.height, self.colours, reserved, self.field1, self.field2, self.size,
         self.offset) = struct.unpack_from("<BBBBHHII", data, entry_offset)
        if reserved != 0:
            raise ValueError("directory entry reserved byte is %d" % reserved)
        if self.offset + self.size > len(data):
            raise ValueError("image runs past the end of the file")
        (header_size, self.dib_width, self.dib_height, self.planes, self.bits, compression,
         _, _, _, self.palette_size, _) = struct.unpack_from("<IiiHHIIiiII", data, self.offset)
        if header_size != 40 or compression != 0:
            raise ValueError("not an uncompressed BITMAPINFOHEADER image")
        self.palette_offset = self.offset + 40
        palette_entries = self.palette_size or (1 << self.bits if self.bits <= 8 else 0)
        self.colour_offset = self.palette_offset + 4 * palette_entries
        self.mask_offset = (self.colour_offset
                            + stride(self.dib_width, self.bits) * self.dib_height // 2)
        self.expected_size = (self.mask_offset - self.offset
                              + stride(self.dib_width, 1) * self.dib_height // 2)
        self.data = data

    def transparent(self, x, y):
        row = self.dib_height // 2 - 1 - y
        byte = self.data[self.mask_offset + row * stride(self.dib_width, 1) + x // 8]
        return bool(byte & (0x80 >> x % 8))

    def colour(self, x, y):
        """(r, g, b) of a pixel of a 4-bit image."""
        row = self.dib_height // 2 - 1 - y
        byte = self.data[self.colour_offset + row * stride(self.dib_width, 4) + x // 2]
        index = byte >> 4 if x % 2 == 0 else byte & 15
        b, g, r, _ = struct.unpack_from("<BBBB", self.data, self.palette_offset + 4 * index)
        return r, g, b


def directory(data, kind):
    reserved, file_kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or file_kind != kind:
        raise ValueError("header says reserved %d, type %d" % (reserved, file_kind))
    return [Image(data, 6 + 16 * i) for i in range(count)]


class IconFilesTest(unittest.TestCase):
    def check_layout(self, images, file_size):
        """Every bitmap is exactly as long as its entry says, and they follow one another."""
        offset = 6 + 16 * len(images)
        for image in images:
            self.assertEqual(image.offset, offset)
            self.assertEqual(image.size, image.expected_size)
            self.assertEqual((image.dib_width, image.dib_height),
                             (image.width or 256, 2 * (image.height or 256)))
            self.assertEqual(image.planes, 1)
            offset += image.size
        self.assertEqual(offset, file_size)

    def test_images_have_the_sizes_and_depths_of_each_picture(self):
        cases = [
            # file, type, [(width, height, bits, colour count, palette entries)]
            ("quorvin.ico", 1, [(32, 32, 4, 16, 16), (16, 16, 4, 16, 16)]),
            ("chat.ico", 1, [(152, 68, 8, 0, 256), (152, 68, 32, 0, 0)]),
            ("chat.cur", 2, [(32, 32, 4, 16, 16)]),
        ]
        for name, kind, expected in cases:
            with self.subTest(name):
                data = read(name)
                images = directory(data, kind)
                self.check_layout(images, len(data))
                found = [(i.width, i.height, i.bits, i.colours, i.palette_size) for i in images]
                self.assertEqual(found, expected)
                if kind == 1:
                    # An icon entry repeats the depth; a cursor's holds its hot spot instead.
                    self.assertEqual([(i.field1, i.field2) for i in images],
                                     [(1, i.bits) for i in images])

    def test_cursor_hot_spot_is_the_fingertip(self):
        cursor = directory(read("chat.cur"), 2)[0]
        self.assertEqual((cursor.field1, cursor.field2), (12, 1))
        # The tip is the topmost drawn pixel of the finger, outline black, nothing above it.
        self.assertFalse(cursor.transparent(12, 1))
        self.assertEqual(cursor.colour(12, 1), (0, 0, 0))
        self.assertTrue(all(cursor.transparent(x, 0) for x in range(32)))

    def test_icon_background_is_transparent(self):
        for image in directory(read("quorvin.ico"), 1):
            with self.subTest(size=image.width):
                self.assertTrue(image.transparent(0, 0))
                self.assertFalse(image.transparent(image.width // 2, image.height // 2))


class Png:
    """An 8-bit RGBA PNG, its chunks' checksums verified, its rows unfiltered (the script writes
    filter type 0 only)."""

    def __init__(self, data):
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            raise ValueError("no PNG signature")
        chunks, offset = {}, 8
        while offset < len(data):
            length, kind = struct.unpack_from(">I4s", data, offset)
            body = data[offset + 8:offset + 8 + length]
            (crc,) = struct.unpack_from(">I", data, offset + 8 + length)
            if crc != zlib.crc32(kind + body) & 0xFFFFFFFF:
                raise ValueError("bad checksum on chunk %r" % kind)
            chunks[kind] = chunks.get(kind, b"") + body
            offset += 12 + length
        (self.width, self.height, self.depth, self.colour_type, _, _,
         interlace) = struct.unpack_from(">IIBBBBB", chunks[b"IHDR"])
        raw = zlib.decompress(chunks[b"IDAT"])
        row_length = 1 + 4 * self.width
        if len(raw) != self.height * row_length or interlace != 0:
            raise ValueError("pixel data does not fit the header")
        rows = [raw[y * row_length:(y + 1) * row_length] for y in range(self.height)]
        if any(row[0] != 0 for row in rows):
            raise ValueError("a row uses a PNG filter")
        self.rows = [row[1:] for row in rows]

    def pixel(self, x, y):
        return tuple(self.rows[y][4 * x:4 * x + 4])


class CursorPngTest(unittest.TestCase):
    def test_png_is_the_32_by_32_cursor_with_alpha(self):
        png = Png(read("chat-cursor.png"))
        self.assertEqual((png.width, png.height, png.depth, png.colour_type), (32, 32, 8, 6))
        # The same fingertip as the .cur file: opaque black at (12, 1), clear above it.
        self.assertEqual(png.pixel(12, 1), (0, 0, 0, 255))
        self.assertEqual(png.pixel(12, 0)[3], 0)


class ThemeIconTest(unittest.TestCase):
    def test_each_size_is_a_drawing_of_the_module(self):
        for size, name in zip(THEME_SIZES, THEME_ICONS):
            with self.subTest(name):
                png = Png(read(name))
                self.assertEqual((png.width, png.height, png.depth, png.colour_type),
                                 (size, size, 8, 6))
                # Clear above and below the board, the board's dark edge at its left, green
                # board between the chips and the contacts.
                self.assertEqual(png.pixel(size // 2, 0)[3], 0)
                self.assertEqual(png.pixel(size // 2, size - 1)[3], 0)
                self.assertEqual(png.pixel(0, size // 2), (0, 0, 0, 255))
                self.assertEqual(png.pixel(size // 2, size * 9 // 16), (0, 128, 0, 255))
                # Every pixel is either clear or one of the icon's opaque palette colours.
                alphas = {png.pixel(x, y)[3] for x in range(size) for y in range(size)}
                self.assertEqual(alphas, {0, 255})

    def test_small_sizes_show_the_pixels_of_the_program_icon(self):
        images = {image.width: image for image in directory(read("quorvin.ico"), 1)}
        for size in (16, 32):
            with self.subTest(size=size):
                png, image = Png(read("quorvin-%d.png" % size)), images[size]
                for y in range(size):
                    for x in range(size):
                        expected = ((0,) * 4 if image.transparent(x, y)
                                    else image.colour(x, y) + (255,))
                        self.assertEqual(png.pixel(x, y), expected, (x, y))

    def test_large_sizes_are_drawn_not_enlarged(self):
        # The same 12 gold contacts at every size from 32 up, all of one width: the line width
        # of that size. An enlarged 32-pixel image would have contacts of 1 and 2 pixels at 48.
        for size in (32, 48, 64, 128, 256):
            with self.subTest(size=size):
                png = Png(read("quorvin-%d.png" % size))
                row = [png.pixel(x, size * 22 // 32)[:3] == (255, 255, 0) for x in range(size)]
                runs = [len(run) for run in bytes(row).split(b"\0") if run]
                self.assertEqual(runs, [size // 32] * 12)


class ReproducibleTest(unittest.TestCase):
    def test_script_writes_the_committed_bytes(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, SCRIPT, out], check=True)
            self.assertEqual(sorted(os.listdir(out)), sorted(GENERATED))
            for name in GENERATED:
                with self.subTest(name), open(os.path.join(out, name), "rb") as f:
                    self.assertEqual(f.read(), read(name),
                                     "run tools/make-resources.py and commit its output")


if __name__ == "__main__":
    unittest.main()
