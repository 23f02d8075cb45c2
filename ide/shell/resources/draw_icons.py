#!/usr/bin/env python3
"""Draws the shell's small icons (16 x 16 PNG with alpha) from simple shapes, so that every
picture of the program is our own. Run it from this folder after changing a shape."""
import struct
import zlib

SIZE = 16
SAMPLES = 4  # sub-pixels per side, for smooth edges


def inside_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def draw(shapes):
    """shapes: list of (polygon, (r, g, b)); later shapes cover earlier ones."""
    pixels = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    for polygon, colour in reversed(shapes):
                        if inside_polygon(x, y, polygon):
                            r += colour[0]
                            g += colour[1]
                            b += colour[2]
                            a += 1
                            break
            n = SAMPLES * SAMPLES
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def write_png(path, pixels):
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                  chunk(b"IEND", b""))


BLUE = (40, 90, 170)
FOLDER = (226, 178, 60)
FOLDER_EDGE = (150, 105, 20)


def arrow_right():
    return [([(5, 2.5), (12, 8), (5, 13.5)], BLUE)]


def mirror(shapes):
    return [([(SIZE - x, y) for x, y in polygon], colour) for polygon, colour in shapes]


def transpose(shapes):
    return [([(y, x) for x, y in polygon], colour) for polygon, colour in shapes]


def folder():
    outer = [(1, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 14), (1, 14)]
    inner = [(2, 6), (14, 6), (14, 13), (2, 13)]
    return [(outer, FOLDER_EDGE), (inner, FOLDER)]


ICONS = {
    "arrow_right.png": arrow_right(),
    "arrow_left.png": mirror(arrow_right()),
    "arrow_down.png": transpose(arrow_right()),
    "arrow_up.png": transpose(mirror(arrow_right())),
    "folder.png": folder(),
}

if __name__ == "__main__":
    for name, shapes in ICONS.items():
        write_png(name, draw(shapes))
