#!/usr/bin/env python3
"""Writes Quillo's pictures (app/res/) from their text sources (app/art/).

The image lists, cursors and icons are drawn as text pixel maps in app/art/
(see app/art/README.md and scripts/pixelart.py for the format). The files
generated from them are kept in the tree, so a build needs no Python; after
changing a picture, regenerate them all with

    python3 scripts/make_assets.py

and commit the art and the changed files of app/res/ together. With
"--preview DIR" it also writes enlarged PNG views of every strip, cursor and
icon into DIR, for looking at the pictures (not for the tree).
"""

import argparse
import os
import re
import sys

import pixelart

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ART = os.path.join(ROOT, "app", "art")
RES = os.path.join(ROOT, "app", "res")

MASK_COLOUR = (0xFF, 0x00, 0xFF)

# Image-list strips: art folder, number of images, image size, output file.
# A strip's pictures are the folder's files "NN-what.txt", NN being the index;
# an index without a file stays empty (all mask colour).
STRIPS = [
    ("hot", 49, 16, "HotImages.bmp"),
    ("state", 16, 16, "StateImages.bmp"),
    ("node", 6, 16, "NodeImages.bmp"),
    ("templates/small", 2, 16, "TemplateImages16.bmp"),
    ("templates/large", 2, 32, "TemplateImages32.bmp"),
    ("views", 2, 16, "ViewImages.bmp"),
]

# Icons: output file and the pictures of its sizes.
ICONS = [
    ("Quillo.ico", ["icon/quillo-16", "icon/quillo-32"]),
    ("DeleteWarning.ico", ["icon/delete-warning-32"]),
]

# The state pictures again, as the GIF files the web page export copies
# beside its pages (the build puts them in "Export images" beside the
# program): state index and file name.
EXPORT_IMAGES_FOLDER = "export-images"
EXPORT_IMAGES = {
    2: "Done.gif", 3: "White.gif", 4: "Question.gif", 5: "Reminder.gif", 6: "PunchPin.gif", 7: "Dollar.gif",
    8: "Idea.gif", 9: "Red.gif", 10: "Green.gif", 11: "Yellow.gif", 12: "Cyan.gif", 13: "Magenta.gif",
    14: "Blue.gif", 15: "Gray.gif",
}

# Every file in art/cursors is a 32 x 32 cursor of the same name.
CURSOR_SIZE = 32


def indexed_files(folder):
    found = {}
    for name in sorted(os.listdir(os.path.join(ART, folder))):
        match = re.fullmatch(r"(\d+)-[\w-]+\.txt", name)
        if not match:
            raise pixelart.ArtError(f"{folder}/{name}: expected NN-name.txt")
        index = int(match.group(1))
        if index in found:
            raise pixelart.ArtError(f"{folder}: two pictures for index {index}")
        found[index] = f"{folder}/{name[:-4]}"
    return found


def strip_rows(book, folder, count, size):
    files = indexed_files(folder)
    if files and max(files) >= count:
        raise pixelart.ArtError(f"{folder}: index {max(files)} beyond the strip's {count} images")
    rows = [[] for _ in range(size)]
    for index in range(count):
        if index in files:
            picture = book.get(files[index])
            if (picture.width, picture.height) != (size, size):
                raise pixelart.ArtError(f"{files[index]}: must be {size}x{size}")
            cell = picture.rgb_rows(book.palette)
        else:
            cell = [[None] * size for _ in range(size)]
        for y in range(size):
            rows[y].extend(cell[y])
    return rows


def masked(rows):
    return [[MASK_COLOUR if p is None else p for p in row] for row in rows]


def cursor_names():
    return sorted(name[:-4] for name in os.listdir(os.path.join(ART, "cursors")) if name.endswith(".txt"))


# ------------------------------------------------------------------- previews


def checker(x, y):
    return (0xD0, 0xD0, 0xD0) if (x // 4 + y // 4) % 2 else (0xF4, 0xF4, 0xF4)


def enlarge(rows, scale, marks=()):
    out = []
    for y, row in enumerate(rows):
        line = []
        for x, p in enumerate(row):
            for sx in range(scale):
                line.append(p)
        for sy in range(scale):
            out.append(list(line))
    for mx, my in marks:
        for dy in range(scale):
            for dx in range(scale):
                if (dx + dy) % 2 == 0:
                    out[my * scale + dy][mx * scale + dx] = (0xFF, 0x20, 0x20)
    return out


def sheet(cells, size, scale, per_row, gap=6):
    """Lays out enlarged cells on a checkered sheet; below it the same cells at
    twice their size on a window-grey and on a white band."""
    n = len(cells)
    cols = min(per_row, n)
    lines = (n + per_row - 1) // per_row
    big = size * scale
    small = size * 2
    width = gap + cols * (big + gap)
    height = gap + lines * (big + gap) + 2 * lines * (small + gap) + gap
    image = [[checker(x, y) for x in range(width)] for y in range(height)]

    def put(rows, x0, y0, background):
        for y, row in enumerate(rows):
            for x, p in enumerate(row):
                if p is not None:
                    image[y0 + y][x0 + x] = p
                elif background is not None:
                    image[y0 + y][x0 + x] = background

    for i, (rows, marks) in enumerate(cells):
        cx, cy = gap + (i % per_row) * (big + gap), gap + (i // per_row) * (big + gap)
        put(enlarge(rows, scale, marks), cx, cy, None)
    base = gap + lines * (big + gap)
    for band, colour in enumerate([(0xD4, 0xD0, 0xC8), (0xFF, 0xFF, 0xFF)]):
        top = base + band * lines * (small + gap)
        for y in range(top, top + lines * (small + gap)):
            for x in range(width):
                image[y][x] = colour
        for i, (rows, _) in enumerate(cells):
            cx = gap + (i % per_row) * (big + gap)
            cy = top + gap // 2 + (i // per_row) * (small + gap)
            put(enlarge(rows, 2), cx, cy, None)
    return width, height, image


def write_preview(folder, name, cells, size, scale, per_row):
    width, height, image = sheet(cells, size, scale, per_row)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(pixelart.png(width, height, image))


# ----------------------------------------------------------------------- main


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--preview", metavar="DIR", help="also write enlarged PNG views into DIR")
    args = parser.parse_args()
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)

    palette = pixelart.load_palette(os.path.join(ART, "palette.txt"))
    if MASK_COLOUR in palette.values():
        raise pixelart.ArtError("the mask colour FF00FF must not be in the palette")
    book = pixelart.ArtBook(ART, palette)
    os.makedirs(RES, exist_ok=True)
    outputs = {}

    for folder, count, size, output in STRIPS:
        rows = strip_rows(book, folder, count, size)
        outputs[output] = pixelart.bmp_24(count * size, size, masked(rows))
        if args.preview:
            cells = [([row[i * size:(i + 1) * size] for row in rows], ()) for i in range(count)]
            per_row = 10 if size == 16 else 4
            write_preview(args.preview, output.replace(".bmp", ".png"), cells, size, 8 if size == 16 else 6, per_row)

    for output, names in ICONS:
        images = []
        cells = []
        for name in names:
            picture = book.get(name)
            if picture.width != picture.height or picture.width not in (16, 32, 48):
                raise pixelart.ArtError(f"{name}: icons are 16, 32 or 48 pixels square")
            rgb = picture.rgb_rows(palette)
            images.append(((picture.width, picture.height), pixelart.dib_from_rgb(rgb)))
            cells.append(rgb)
        outputs[output] = pixelart.icon_file(images)
        if args.preview:
            for rgb in cells:
                size = len(rgb)
                write_preview(args.preview, f"{output[:-4]}-{size}.png", [(rgb, ())], size, 16 if size == 16 else 8, 1)

    cursor_cells = []
    for name in cursor_names():
        picture = book.get("cursors/" + name)
        if (picture.width, picture.height) != (CURSOR_SIZE, CURSOR_SIZE):
            raise pixelart.ArtError(f"cursors/{name}: cursors are {CURSOR_SIZE}x{CURSOR_SIZE}")
        rgb = picture.rgb_rows(palette)
        image = ((CURSOR_SIZE, CURSOR_SIZE), pixelart.dib_from_rgb(rgb))
        outputs[name + ".cur"] = pixelart.icon_file([image], hotspots=[picture.hotspot])
        cursor_cells.append((rgb, (picture.hotspot,)))
    if args.preview:
        write_preview(args.preview, "Cursors.png", cursor_cells, CURSOR_SIZE, 5, 4)

    state_files = indexed_files("state")
    export_images = os.path.join(ROOT, "app", EXPORT_IMAGES_FOLDER)
    os.makedirs(export_images, exist_ok=True)
    for state, name in EXPORT_IMAGES.items():
        if state not in state_files:
            raise pixelart.ArtError(f"state/: no picture for state {state} ({name})")
        gif = pixelart.gif(book.get(state_files[state]).rgb_rows(palette))
        with open(os.path.join(export_images, name), "wb") as f:
            f.write(gif)

    for output, data in outputs.items():
        with open(os.path.join(RES, output), "wb") as f:
            f.write(data)
    print(f"wrote {len(outputs)} files to {os.path.relpath(RES, ROOT)} "
          f"and {len(EXPORT_IMAGES)} to app/{EXPORT_IMAGES_FOLDER}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except pixelart.ArtError as error:
        print(f"make_assets: {error}", file=sys.stderr)
        sys.exit(1)
