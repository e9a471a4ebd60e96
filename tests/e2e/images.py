"""RGB pictures for the end-to-end tests: the screenshots' PPM read, PNG
written for people to look at, and pixel-by-pixel comparison."""

import os
import struct
import zlib

from errors import HarnessError


class Image:
    """An RGB pixel grid, 3 bytes per pixel, rows top to bottom."""

    def __init__(self, width, height, data):
        if len(data) != width * height * 3:
            raise HarnessError("image data of %d bytes for %dx%d" % (len(data), width, height))
        self.width = width
        self.height = height
        self.data = bytes(data)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def crop(self, x, y, width, height):
        if x < 0 or y < 0 or x + width > self.width or y + height > self.height:
            raise HarnessError("crop %dx%d+%d+%d outside %dx%d image"
                               % (width, height, x, y, self.width, self.height))
        rows = []
        for row in range(y, y + height):
            start = (row * self.width + x) * 3
            rows.append(self.data[start:start + width * 3])
        return Image(width, height, b"".join(rows))

    def scaled(self, factor):
        """Nearest-neighbour enlargement by a whole factor."""
        rows = []
        for y in range(self.height):
            row = bytearray()
            for x in range(self.width):
                row += bytes(self.pixel(x, y)) * factor
            rows.extend([bytes(row)] * factor)
        return Image(self.width * factor, self.height * factor, b"".join(rows))

    def save_png(self, path):
        write_png(path, self.width, self.height, self.data)

    @staticmethod
    def from_ppm(blob):
        return read_ppm(blob)

    @staticmethod
    def load_ppm(path):
        with open(path, "rb") as f:
            return read_ppm(f.read())


def read_ppm(blob):
    """Parses a binary 8-bit PPM (P6)."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while pos < len(blob) and blob[pos:pos + 1].isspace():
            pos += 1
        if blob[pos:pos + 1] == b"#":
            while pos < len(blob) and blob[pos:pos + 1] != b"\n":
                pos += 1
            continue
        start = pos
        while pos < len(blob) and not blob[pos:pos + 1].isspace():
            pos += 1
        if start == pos:
            raise HarnessError("truncated PPM header")
        fields.append(blob[start:pos])
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise HarnessError("not an 8-bit binary PPM: %r" % fields)
    width, height = int(fields[1]), int(fields[2])
    pos += 1  # the single whitespace after maxval
    return Image(width, height, blob[pos:pos + width * height * 3])


def write_png(path, width, height, rgb):
    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    stride = width * 3
    raw = b"".join(b"\x00" + rgb[y * stride:(y + 1) * stride] for y in range(height))
    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 6))
           + chunk(b"IEND", b""))
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


def diff_pixels(actual, expected, offset=(0, 0)):
    """Pixels where two equally sized images differ: [(x, y, actual, expected)],
    coordinates shifted by `offset`."""
    if (actual.width, actual.height) != (expected.width, expected.height):
        raise HarnessError("comparing %dx%d with %dx%d"
                           % (actual.width, actual.height, expected.width, expected.height))
    out = []
    if actual.data == expected.data:
        return out
    a, e, w = actual.data, expected.data, actual.width
    for i in range(0, len(a), 3):
        if a[i:i + 3] != e[i:i + 3]:
            p = i // 3
            out.append((p % w + offset[0], p // w + offset[1], tuple(a[i:i + 3]), tuple(e[i:i + 3])))
    return out


def describe_diff(diffs, what, total, limit=20):
    lines = ["%s: %d of %d pixels differ; first %d (x, y: actual != expected):"
             % (what, len(diffs), total, min(limit, len(diffs)))]
    for x, y, got, want in diffs[:limit]:
        lines.append("  (%d, %d): %s != %s" % (x, y, got, want))
    return "\n".join(lines)


def diff_image(actual, expected):
    """Expected image, dimmed, with differing pixels in full magenta."""
    out = bytearray()
    for i in range(0, len(actual.data), 3):
        if actual.data[i:i + 3] == expected.data[i:i + 3]:
            out += bytes(c // 3 + 170 for c in expected.data[i:i + 3])
        else:
            out += b"\xff\x00\xff"
    return Image(actual.width, actual.height, out)
