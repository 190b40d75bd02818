#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
"""Writes the program's icon in every form it ships in, from lopwinder.xpm (32 x 32): PNGs of 16,
24, 32, 48, 64, 128 and 256 px for the Linux desktop and the Windows icon, lopwinder.ico (16, 24,
32, 48 and 256 px) for the Windows program, and lopwinder.svg, the same pixels as squares, for
desktops that scale it themselves.

Run from this folder: python3 make_icons.py  (needs nothing beyond Python 3). Sizes other than
whole multiples of 32 average the pixels they cover, so the small ones stay clean and the large
ones sharp.
"""
import re
import struct
import zlib
from fractions import Fraction

PNG_SIZES = (16, 24, 32, 48, 64, 128, 256)
ICO_SIZES = (16, 24, 32, 48, 256)


SPDX = "SPDX-License-Identifier: GPL-3.0-or-later"
COPYRIGHT = "Copyright (C) 2026 Lopwinder developers"


def read_xpm(path):
    rows = re.findall(r'"([^"]*)"', open(path).read())
    width, height, colours, per_pixel = map(int, rows[0].split())
    palette = {}
    for line in rows[1:1 + colours]:
        key, value = line[:per_pixel], line.split()[-1]
        palette[key] = tuple(int(value[i:i + 2], 16) for i in (1, 3, 5)) + (255,)
    pixels = [[palette[row[x:x + per_pixel]] for x in range(0, width * per_pixel, per_pixel)]
              for row in rows[1 + colours:1 + colours + height]]
    return pixels


def resample(pixels, size):
    """Each new pixel is the average of the source area it covers."""
    source = len(pixels)
    scale = Fraction(source, size)
    out = []
    for oy in range(size):
        row = []
        for ox in range(size):
            total, weight = [0, 0, 0, 0], Fraction(0)
            y0, y1, x0, x1 = oy * scale, (oy + 1) * scale, ox * scale, (ox + 1) * scale
            for sy in range(int(y0), min(source, int(y1) + 1)):
                cover_y = min(y1, sy + 1) - max(y0, sy)
                for sx in range(int(x0), min(source, int(x1) + 1)):
                    cover = cover_y * (min(x1, sx + 1) - max(x0, sx))
                    if cover > 0:
                        weight += cover
                        for i in range(4):
                            total[i] += cover * pixels[sy][sx][i]
            row.append(tuple(int(round(t / weight)) for t in total))
        out.append(row)
    return out


def png(pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    size = len(pixels)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(images):
    """An icon file whose entries are PNG images, as Windows has read them since Vista."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory, data = b"", b""
    for size, image in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image),
                                 offset + len(data))
        data += image
    return header + directory + data


def svg(pixels):
    size = len(pixels)
    rects = []
    for y, row in enumerate(pixels):
        x = 0
        while x < size:
            run = x
            while run < size and row[run] == row[x]:
                run += 1
            rects.append(f'<rect x="{x}" y="{y}" width="{run - x}" height="1" '
                         f'fill="#{row[x][0]:02x}{row[x][1]:02x}{row[x][2]:02x}"/>')
            x = run
    return (f"<!-- {SPDX} -->\n<!-- {COPYRIGHT} -->\n"
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
            f'viewBox="0 0 {size} {size}" shape-rendering="crispEdges">\n'
            + "\n".join(rects) + "\n</svg>\n")


def main():
    pixels = read_xpm("lopwinder.xpm")
    images = {size: png(resample(pixels, size)) for size in PNG_SIZES}
    for size, image in images.items():
        open(f"icons/lopwinder-{size}.png", "wb").write(image)
    open("icons/lopwinder.ico", "wb").write(ico([(s, images[s]) for s in ICO_SIZES]))
    open("icons/lopwinder.svg", "w").write(svg(pixels))


if __name__ == "__main__":
    main()
