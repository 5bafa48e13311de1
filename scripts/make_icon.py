#!/usr/bin/env python3
"""Writes the shutdown watcher's icon: a 16x16, 256-colour hourglass.

The generated file is kept in the tree next to the watcher's resources, so a
build needs no Python; run this again only to change the picture:

    python3 scripts/make_icon.py watcher/_Dorwick.ico
"""

import sys

import pixelart

SIZE = 16

# One character per pixel, top row first; a space is transparent.
PICTURE = [
    "                ",
    " BBBBBBBBBBBBBB ",
    " bbbbbbbbbbbbbb ",
    "  g..........g  ",
    "  g..........g  ",
    "   g.ssssss.g   ",
    "    g.ssss.g    ",
    "     g.ss.g     ",
    "     g.ss.g     ",
    "    g..ss..g    ",
    "   g...ss...g   ",
    "  g..ssssss..g  ",
    "  g.ssssssss.g  ",
    " bbbbbbbbbbbbbb ",
    " BBBBBBBBBBBBBB ",
    "                ",
]

# Palette index and (red, green, blue) of each character.
COLOURS = {
    " ": (0, (0x00, 0x00, 0x00)),  # behind the mask: must stay black
    "B": (1, (0x5A, 0x3A, 0x1E)),  # frame, dark wood
    "b": (2, (0x9A, 0x6A, 0x3A)),  # frame, light wood
    "g": (3, (0x50, 0x70, 0x90)),  # glass edge
    ".": (4, (0xDC, 0xEC, 0xF8)),  # empty glass
    "s": (5, (0xE8, 0xB0, 0x38)),  # sand
}


def build_icon() -> bytes:
    assert len(PICTURE) == SIZE and all(len(row) == SIZE for row in PICTURE)

    palette = [(0, 0, 0)] * 256
    for index, rgb in COLOURS.values():
        palette[index] = rgb
    index_rows = [[COLOURS[ch][0] for ch in row] for row in PICTURE]
    mask_rows = [[ch == " " for ch in row] for row in PICTURE]
    image = pixelart.dib_8bit((SIZE, SIZE), palette, index_rows, mask_rows)
    return pixelart.icon_file([((SIZE, SIZE), image)])


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(sys.argv[1], "wb") as out:
        out.write(build_icon())
    return 0


if __name__ == "__main__":
    sys.exit(main())
