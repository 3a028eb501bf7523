"""A screen's pixels as ImageMagick's import gives them (binary PPM), and as PNG to look at."""

import struct
import zlib


class Screenshot:
    """An RGB image of the screen (or part of it) taken at one moment."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self._rgb = rgb  # 3 bytes per pixel, rows top to bottom

    @classmethod
    def from_ppm(cls, data):
        """Parses a binary PPM (P6) image, 8 or 16 bits per sample."""
        fields, position = [], 0
        while len(fields) < 4:
            while position < len(data) and data[position:position + 1].isspace():
                position += 1
            if data[position:position + 1] == b"#":
                position = data.index(b"\n", position) + 1
                continue
            end = position
            while end < len(data) and not data[end:end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        if fields[0] != b"P6":
            raise DesktopError(f"screenshot is not a binary PPM image (starts with {data[:16]!r})")
        width, height, maxval = int(fields[1]), int(fields[2]), int(fields[3])
        pixels = data[position + 1:]
        if maxval > 255:
            # Two bytes per sample, most significant first: keep the high byte.
            pixels = pixels[0::2]
        if len(pixels) < width * height * 3:
            raise DesktopError(f"screenshot is truncated: {len(pixels)} bytes for {width}x{height}")
        return cls(width, height, bytes(pixels[:width * height * 3]))

    def pixel(self, x, y):
        """The colour at (x, y) as an (red, green, blue) tuple of 0..255."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise DesktopError(f"pixel ({x}, {y}) is outside the {self.width}x{self.height} screenshot")
        offset = (y * self.width + x) * 3
        return tuple(self._rgb[offset:offset + 3])

    def find(self, colour, start=(0, 0)):
        """The first pixel of exactly the colour, in reading order from start, as (x, y); None if
        none is."""
        wanted = bytes(colour)
        at = self._rgb.find(wanted, (start[1] * self.width + start[0]) * 3)
        while at >= 0 and at % 3:
            at = self._rgb.find(wanted, at + 1)
        return None if at < 0 else ((at // 3) % self.width, (at // 3) // self.width)

    def crop(self, geometry):
        """The part of the image inside geometry (a Geometry or an (x, y, width, height) tuple)."""
        x, y, width, height = geometry
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + width), min(self.height, y + height)
        rows = [self._rgb[(row * self.width + x0) * 3:(row * self.width + x1) * 3] for row in range(y0, y1)]
        return Screenshot(max(0, x1 - x0), max(0, y1 - y0), b"".join(rows))

    def __eq__(self, other):
        return (isinstance(other, Screenshot) and (self.width, self.height) == (other.width, other.height)
                and self._rgb == other._rgb)

    def save_ppm(self, path):
        """Writes the image as a binary PPM file: quick to write, for tools that read it."""
        with open(path, "wb") as file:
            file.write(b"P6\n%d %d\n255\n" % (self.width, self.height) + self._rgb)

    def save_png(self, path):
        """Writes the image as a PNG file (for looking at a failure afterwards)."""
        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
        stride = self.width * 3
        raw = b"".join(b"\x00" + self._rgb[row * stride:(row + 1) * stride] for row in range(self.height))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as file:
            file.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                       + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))
