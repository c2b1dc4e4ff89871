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
GENERATED = ["quorvin.ico", "chat.ico", "chat.cur", "chat-cursor.png", "chat@2x.png",
             "chat-cursor@2x.png"]


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


class CursorPngTest(unittest.TestCase):
    def test_png_is_the_32_by_32_cursor_with_alpha(self):
        data = read("chat-cursor.png")
        self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n")
        chunks, offset = {}, 8
        while offset < len(data):
            length, kind = struct.unpack_from(">I4s", data, offset)
            body = data[offset + 8:offset + 8 + length]
            (crc,) = struct.unpack_from(">I", data, offset + 8 + length)
            self.assertEqual(crc, zlib.crc32(kind + body) & 0xFFFFFFFF, kind)
            chunks.setdefault(kind, b"")
            chunks[kind] += body
            offset += 12 + length
        width, height, depth, colour_type = struct.unpack_from(">IIBB", chunks[b"IHDR"])
        self.assertEqual((width, height, depth, colour_type), (32, 32, 8, 6))
        pixels = zlib.decompress(chunks[b"IDAT"])
        self.assertEqual(len(pixels), 32 * (1 + 32 * 4))
        row = 1 * (1 + 32 * 4) + 1
        # The same fingertip as the .cur file: opaque black at (12, 1), clear above it.
        self.assertEqual(pixels[row + 12 * 4:row + 13 * 4], b"\0\0\0\xff")
        self.assertEqual(pixels[1 + 12 * 4 + 3], 0)


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
