#!/usr/bin/env python3
"""Draws the small menu icons pixel by pixel: a board with its box lines and both diagonals.

Each size has its own integer layout, so every line sits on whole pixels instead of being a
blurred copy of the scalable icon. Writes icons/tessaro-<size>.png beside this script.
Run: data/desktop/draw-icons.py
"""
import os
import struct
import zlib

FRAME = (0x30, 0x30, 0x30)
BOX = (0x00, 0x00, 0xBC)
CELL_LINE = (0xDC, 0xDC, 0xDC)
GIVEN = (0xC0, 0xC0, 0xC0)
DIAGONAL = (0xE0, 0x00, 0x00)
WHITE = (0xFF, 0xFF, 0xFF)

# size: frame width, box line width, cell line width (0: boxes only), diagonal width (0: one hard
# pixel per row, the only legible choice at the smallest sizes), grey cells
LAYOUTS = {
    16: (1, 1, 0, 0, False),
    24: (2, 1, 0, 0, False),
    32: (2, 2, 0, 1.8, False),
    48: (1, 2, 1, 2.2, True),
}

# Cells (column, row) shaded as givens at sizes with room for single cells; off both diagonals.
GIVEN_CELLS = [(2, 1), (6, 1), (4, 2), (9, 3), (1, 4), (6, 4), (3, 6), (8, 6), (1, 7), (5, 8), (8, 9)]


def spans(start, count, size, gap):
    """Pixel ranges of `count` equal parts of `size` pixels separated by `gap`-pixel lines."""
    out = []
    for _ in range(count):
        out.append(range(start, start + size))
        start += size + gap
    return out


def draw(size):
    frame, box_line, cell_line, diag_width, givens = LAYOUTS[size]
    inner = size - 2 * frame
    box = (inner - 2 * box_line) // 3
    assert 3 * box + 2 * box_line == inner, size
    boxes = spans(frame, 3, box, box_line)
    cell = (box - 2 * cell_line) // 3 if cell_line else box
    if cell_line:
        assert 3 * cell + 2 * cell_line == box, size

    pixels = [[FRAME] * size for _ in range(size)]
    cells = []
    for b in boxes:
        cells += spans(b.start, 3, cell, cell_line) if cell_line else [b]
    for y in range(frame, size - frame):
        for x in range(frame, size - frame):
            in_box_x = any(x in b for b in boxes)
            in_box_y = any(y in b for b in boxes)
            if not (in_box_x and in_box_y):
                pixels[y][x] = BOX
            elif any(x in c for c in cells) and any(y in c for c in cells):
                pixels[y][x] = WHITE
            else:
                pixels[y][x] = CELL_LINE
    if givens:
        for col, row in GIVEN_CELLS:
            for y in cells[row - 1]:
                for x in cells[col - 1]:
                    pixels[y][x] = GIVEN

    # Both diagonals run corner to corner of the inner board; coverage from 8 x 8 samples per pixel
    # keeps them even without smearing the grid around them.
    lo, hi = frame, size - frame
    for y in range(lo, hi):
        for x in range(lo, hi):
            if not diag_width:
                if x == y or x + y == lo + hi - 1:
                    pixels[y][x] = DIAGONAL
                continue
            hits = 0
            for sy in range(8):
                for sx in range(8):
                    px, py = x + (sx + 0.5) / 8, y + (sy + 0.5) / 8
                    d1 = abs(px - py) / 2 ** 0.5
                    d2 = abs(px + py - (lo + hi)) / 2 ** 0.5
                    if min(d1, d2) <= diag_width / 2:
                        hits += 1
            if hits:
                a = min(1.0, hits / 64 * 1.25)
                pixels[y][x] = tuple(round(c * (1 - a) + d * a) for c, d in zip(pixels[y][x], DIAGONAL))
    return pixels


def write_png(path, pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "icons")
    os.makedirs(folder, exist_ok=True)
    for size in LAYOUTS:
        write_png(os.path.join(folder, f"tessaro-{size}.png"), draw(size))
