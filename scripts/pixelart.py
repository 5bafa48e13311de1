"""Small pixel pictures kept as text, and the Windows files made from them.

Shared by make_icon.py (the watcher's icon) and make_assets.py (Quillo's
images, cursors and icon). Python standard library only.

A picture file (app/art/**/NAME.txt) is read line by line:

    # text               a comment
    size W H             canvas size (default: the size of the base or of
                         the first grid)
    base NAME            start from the picture NAME (a path under the art
                         folder, without ".txt")
    transform T          turn the canvas so far: rot90 (clockwise), rot180,
                         rot270, flipx (mirror left-right) or flipy
    recolour A B         replace colour character A by B on the canvas so far
    layer NAME X Y       draw the opaque pixels of picture NAME at X, Y
    at X Y               place the next grid at X, Y (default 0, 0)
    hotspot X Y          a cursor's hot spot
    KKWW..ww             a grid row: one palette character per pixel, "." is
                         transparent and leaves the canvas as it was

A line with a blank in it is a command; any other line is a grid row.
Consecutive rows form one grid, drawn over the canvas when it ends.
"""

import os
import struct
import zlib

TRANSPARENT = "."


class ArtError(Exception):
    pass


class Picture:
    def __init__(self, width, height, rows=None, hotspot=(0, 0)):
        self.width = width
        self.height = height
        self.rows = rows or [[TRANSPARENT] * width for _ in range(height)]
        self.hotspot = hotspot

    def copy(self):
        return Picture(self.width, self.height, [list(r) for r in self.rows], self.hotspot)

    def draw(self, other, x0, y0, where):
        for y, row in enumerate(other.rows):
            for x, ch in enumerate(row):
                if ch == TRANSPARENT:
                    continue
                px, py = x0 + x, y0 + y
                if not (0 <= px < self.width and 0 <= py < self.height):
                    raise ArtError(f"{where}: pixel ({px}, {py}) falls outside the canvas")
                self.rows[py][px] = ch

    def transformed(self, how):
        r = self.rows
        if how == "flipx":
            rows = [list(reversed(row)) for row in r]
        elif how == "flipy":
            rows = [list(row) for row in reversed(r)]
        elif how == "rot180":
            rows = [list(reversed(row)) for row in reversed(r)]
        elif how == "rot90":
            rows = [[r[self.height - 1 - x][y] for x in range(self.height)] for y in range(self.width)]
        elif how == "rot270":
            rows = [[r[x][self.width - 1 - y] for x in range(self.height)] for y in range(self.width)]
        else:
            raise ArtError(f"unknown transform {how!r}")
        return Picture(len(rows[0]), len(rows), rows, self.hotspot)

    def recoloured(self, old, new):
        return Picture(
            self.width, self.height, [[new if c == old else c for c in row] for row in self.rows], self.hotspot
        )

    def rgb_rows(self, palette):
        """Rows of (r, g, b) tuples, None where transparent."""
        return [[None if c == TRANSPARENT else palette[c] for c in row] for row in self.rows]


def load_palette(path):
    """Reads "C RRGGBB description" lines; returns {character: (r, g, b)}."""
    palette = {}
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split()
            if len(parts) < 2 or len(parts[0]) != 1 or len(parts[1]) != 6:
                raise ArtError(f"{path}:{number}: expected a character and RRGGBB")
            ch, value = parts[0], int(parts[1], 16)
            if ch == TRANSPARENT or ch in palette:
                raise ArtError(f"{path}:{number}: character {ch!r} reserved or defined twice")
            palette[ch] = ((value >> 16) & 255, (value >> 8) & 255, value & 255)
    return palette


class ArtBook:
    """Loads pictures by name from an art folder, resolving bases and layers."""

    def __init__(self, root, palette):
        self.root = root
        self.palette = palette
        self.cache = {}
        self.loading = set()

    def get(self, name):
        if name in self.cache:
            return self.cache[name]
        if name in self.loading:
            raise ArtError(f"{name}: refers to itself")
        self.loading.add(name)
        picture = self._parse(name)
        self.loading.discard(name)
        self.cache[name] = picture
        return picture

    def _parse(self, name):
        path = os.path.join(self.root, name + ".txt")
        canvas = None
        size = None
        at = (0, 0)
        hotspot = None
        grid = []

        def where(number):
            return f"{path}:{number}"

        def need_canvas(number):
            nonlocal canvas
            if canvas is None:
                if size is None:
                    raise ArtError(f"{where(number)}: no canvas yet (give size or base first)")
                canvas = Picture(*size)
            return canvas

        def flush(number):
            nonlocal grid, canvas
            if not grid:
                return
            width = len(grid[0])
            if any(len(row) != width for row in grid):
                raise ArtError(f"{where(number)}: grid rows differ in length")
            for row in grid:
                for ch in row:
                    if ch != TRANSPARENT and ch not in self.palette:
                        raise ArtError(f"{where(number)}: unknown colour character {ch!r}")
            if canvas is None and size is None:
                canvas = Picture(width, len(grid))
            need_canvas(number).draw(Picture(width, len(grid), [list(r) for r in grid]), at[0], at[1], where(number))
            grid = []

        with open(path, encoding="ascii") as f:
            lines = f.read().splitlines()
        for number, raw in enumerate(lines, 1):
            line = raw.rstrip()
            if line.startswith("#"):
                continue
            if not line:
                flush(number)
                continue
            if " " not in line:
                grid.append(line)
                continue
            flush(number)
            words = line.split()
            command, args = words[0], words[1:]
            try:
                if command == "size":
                    size = (int(args[0]), int(args[1]))
                elif command == "base":
                    canvas = self.get(args[0]).copy()
                elif command == "transform":
                    canvas = need_canvas(number).transformed(args[0])
                elif command == "recolour":
                    for ch in args:
                        if ch != TRANSPARENT and ch not in self.palette:
                            raise ArtError(f"{where(number)}: unknown colour character {ch!r}")
                    canvas = need_canvas(number).recoloured(args[0], args[1])
                elif command == "layer":
                    need_canvas(number).draw(self.get(args[0]), int(args[1]), int(args[2]), where(number))
                elif command == "at":
                    at = (int(args[0]), int(args[1]))
                elif command == "hotspot":
                    hotspot = (int(args[0]), int(args[1]))
                else:
                    raise ArtError(f"{where(number)}: unknown command {command!r}")
            except (IndexError, ValueError):
                raise ArtError(f"{where(number)}: bad arguments to {command!r}") from None
        flush(len(lines))
        if canvas is None:
            raise ArtError(f"{path}: empty picture")
        if size is not None and (canvas.width, canvas.height) != size:
            raise ArtError(f"{path}: canvas is {canvas.width}x{canvas.height}, size says {size[0]}x{size[1]}")
        if hotspot is not None:
            canvas.hotspot = hotspot
        return canvas


# ---------------------------------------------------------------- file writers


def _pad4(data):
    return data + b"\0" * (-len(data) % 4)


def bmp_24(width, height, rgb_rows):
    """A bottom-up 24-bit Windows bitmap file; rgb_rows top row first."""
    pixels = b"".join(_pad4(b"".join(bytes((b, g, r)) for r, g, b in row)) for row in reversed(rgb_rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def dib_8bit(size, palette, index_rows, mask_rows):
    """Icon or cursor image: bitmap header, 256-entry palette, colour bits and
    1-bit mask (1 = transparent), both bottom row first. The header's height
    counts both bitmaps."""
    width, height = size
    palette = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    palette_bytes = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    xor_bits = b"".join(_pad4(bytes(row)) for row in reversed(index_rows))
    and_rows = []
    for row in reversed(mask_rows):
        bits = 0
        for transparent in row:
            bits = (bits << 1) | (1 if transparent else 0)
        and_rows.append(_pad4(bits.to_bytes((width + 7) // 8, "big")))
    and_bits = b"".join(and_rows)
    header = struct.pack(
        "<IiiHHIIiiII", 40, width, height * 2, 1, 8, 0, len(xor_bits) + len(and_bits), 0, 0, 0, 0
    )
    return header + palette_bytes + xor_bits + and_bits


def _indexed(rgb_rows, palette, what):
    """Rows of palette indices for rows of (r, g, b) or None; None is entry 0
    and every new colour is appended to the palette."""
    index = {}
    index_rows = []
    for row in rgb_rows:
        irow = []
        for rgb in row:
            if rgb is None:
                irow.append(0)
                continue
            if rgb not in index:
                if len(palette) == 256:
                    raise ArtError(f"more than 255 colours in {what}")
                index[rgb] = len(palette)
                palette.append(rgb)
            irow.append(index[rgb])
        index_rows.append(irow)
    return index_rows


def dib_from_rgb(rgb_rows):
    """dib_8bit for rows of (r, g, b) or None; transparent pixels are black
    behind the mask, so palette entry 0 is black."""
    palette = [(0, 0, 0)]
    index_rows = _indexed(rgb_rows, palette, "one icon image")
    mask_rows = [[rgb is None for rgb in row] for row in rgb_rows]
    return dib_8bit((len(rgb_rows[0]), len(rgb_rows)), palette, index_rows, mask_rows)


def icon_file(images, hotspots=None):
    """An .ico file, or a .cur file when hotspots are given (one per image).
    images: list of ((width, height), dib bytes) with 8-bit dibs."""
    kind = 1 if hotspots is None else 2
    directory = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = [], []
    for i, ((width, height), dib) in enumerate(images):
        if kind == 1:
            planes, bits = 1, 8
        else:
            planes, bits = hotspots[i]
        # A colour count of 0 stands for 256 colours; 0 as a size means 256.
        entries.append(struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, planes, bits, len(dib), offset))
        blobs.append(dib)
        offset += len(dib)
    return directory + b"".join(entries) + b"".join(blobs)


def gif(rgb_rows):
    """A GIF89a file from rows of (r, g, b) or None; None is transparent.

    The image data is LZW-coded without using the code table: every pixel is
    a literal, and a clear code comes before the table would widen the codes.
    Larger than a compressing writer's output, but any decoder reads it."""
    height, width = len(rgb_rows), len(rgb_rows[0])
    # Entry 0 is the transparent colour, white for viewers that ignore it.
    palette = [(255, 255, 255)]
    pixels = [i for row in _indexed(rgb_rows, palette, "one GIF") for i in row]
    bits = max(1, (len(palette) - 1).bit_length())
    palette += [(0, 0, 0)] * ((1 << bits) - len(palette))
    min_code = max(2, bits)
    clear, end = 1 << min_code, (1 << min_code) + 1
    width_bits = min_code + 1
    codes = []
    for start in range(0, len(pixels), clear - 2):
        codes.append(clear)
        codes.extend(pixels[start:start + clear - 2])
    codes.append(end)
    packed, value, count = bytearray(), 0, 0
    for code in codes:
        value |= code << count
        count += width_bits
        while count >= 8:
            packed.append(value & 0xFF)
            value >>= 8
            count -= 8
    if count:
        packed.append(value)
    blocks = b"".join(bytes((len(packed[i:i + 255]),)) + packed[i:i + 255] for i in range(0, len(packed), 255))
    screen = struct.pack("<6sHHBBB", b"GIF89a", width, height, 0x80 | (bits - 1), 0, 0)
    colours = b"".join(bytes(rgb) for rgb in palette)
    control = struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 1, 0, 0, 0)
    image = struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
    return screen + colours + control + image + bytes((min_code,)) + blocks + b"\0;"


def png(width, height, rgb_rows):
    """A PNG file (8-bit RGB) from rows of (r, g, b); for previews only."""
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in rgb_rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(raw, 9))
        + chunk(b"IEND", b"")
    )
