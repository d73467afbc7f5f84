#!/usr/bin/env python3
"""Draws the programs' mouse cursors as 32x32 PNG files (black strokes with a white
rim on a transparent ground) with their hot spots in tEXt chunks "HotSpotX" and
"HotSpotY". Standard library only; run from the repository root:
    python3 tools/make_cursors.py platform/qt/cursors
"""
import os
import struct
import sys
import zlib

SIZE = 32


class Picture:
    def __init__(self):
        self.ink = [[False] * SIZE for _ in range(SIZE)]

    def dot(self, x, y):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.ink[y][x] = True

    def line(self, x0, y0, x1, y1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def rect(self, x0, y0, x1, y1):
        self.line(x0, y0, x1, y0)
        self.line(x1, y0, x1, y1)
        self.line(x1, y1, x0, y1)
        self.line(x0, y1, x0, y0)

    def cross(self, cx, cy, arm):
        self.line(cx - arm, cy, cx - 2, cy)
        self.line(cx + 2, cy, cx + arm, cy)
        self.line(cx, cy - arm, cx, cy - 2)
        self.line(cx, cy + 2, cx, cy + arm)
        self.dot(cx, cy)

    def arrow_down(self, x, top, tip):
        self.line(x, top, x, tip)
        for i in range(1, 4):
            self.line(x - i, tip - i, x + i, tip - i)

    def rgba(self):
        rows = []
        for y in range(SIZE):
            row = bytearray()
            for x in range(SIZE):
                if self.ink[y][x]:
                    row += b"\x00\x00\x00\xff"
                elif any(self.ink[yy][xx]
                         for yy in range(max(0, y - 1), min(SIZE, y + 2))
                         for xx in range(max(0, x - 1), min(SIZE, x + 2))):
                    row += b"\xff\xff\xff\xff"
                else:
                    row += b"\x00\x00\x00\x00"
            rows.append(bytes(row))
        return rows


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, picture, hot_x, hot_y):
    raw = b"".join(b"\x00" + row for row in picture.rgba())
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    png += chunk(b"tEXt", b"HotSpotX\x00" + str(hot_x).encode())
    png += chunk(b"tEXt", b"HotSpotY\x00" + str(hot_y).encode())
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def new_window():
    p = Picture()
    p.cross(8, 8, 7)
    p.rect(16, 16, 30, 28)
    p.line(16, 19, 30, 19)
    return p, 8, 8


def point_force():
    p = Picture()
    p.arrow_down(15, 2, 29)
    p.line(11, 2, 19, 2)
    return p, 15, 29


def distributed_force():
    p = Picture()
    p.line(3, 4, 27, 4)
    for x in (3, 15, 27):
        p.arrow_down(x, 4, 24)
    return p, 15, 24


def support():
    p = Picture()
    p.line(15, 3, 6, 20)
    p.line(15, 3, 24, 20)
    p.line(6, 20, 24, 20)
    p.line(3, 24, 27, 24)
    for x in range(5, 28, 5):
        p.line(x, 25, x - 3, 28)
    return p, 15, 3


def surface():
    p = Picture()
    p.cross(6, 6, 5)
    pts = [(12, 28), (14, 22), (17, 18), (21, 15), (25, 14), (29, 14)]
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        p.line(x0, y0, x1, y1)
    p.line(12, 28, 29, 28)
    return p, 6, 6


def section():
    p = Picture()
    p.cross(6, 6, 5)
    p.line(12, 28, 28, 12)
    p.line(12, 28, 9, 25)
    p.line(28, 12, 31, 15)
    return p, 6, 6


CURSORS = {
    "NEWWINCURSOR": new_window,
    "SETFORCECURSOR": point_force,
    "SETDISPFORCECURSOR": distributed_force,
    "SETRESTCURSOR": support,
    "SETSURFACE": surface,
    "NEWSECTION": section,
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "platform/qt/cursors"
    os.makedirs(out, exist_ok=True)
    for name, draw in CURSORS.items():
        picture, hx, hy = draw()
        write_png(os.path.join(out, name + ".png"), picture, hx, hy)


if __name__ == "__main__":
    main()
