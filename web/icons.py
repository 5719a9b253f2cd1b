#!/usr/bin/env python3
"""The page's icons, made from the game's own pixel art in assets/icons (the 32 x 32 icon, and
the 16 x 16 one for the smallest favicon), each pixel of the art a whole square:

  icon-192.png, icon-512.png   the web app manifest's icons (6x and 16x; transparent corners)
  apple-touch-icon.png         180 x 180, opaque: the art at 5x on the page's background colour
  favicon.ico                  the 16, 32 and 48 pixel icons as PNGs in one small .ico

Usage: web/icons.py ASSETS_ICONS_DIR OUT_DIR (web/site.py calls it)
"""
import struct
import sys
import zlib
from pathlib import Path

BACKGROUND = (0x1D, 0x20, 0x26)  # the page's background (shell.html)


def chunks(data):
    at = 8
    while at < len(data):
        n, kind = struct.unpack('>I4s', data[at:at + 8])
        yield kind, data[at + 8:at + 8 + n]
        at += 12 + n


def read_png(path):
    """An indexed PNG (bit depth 1 to 8, not interlaced) as (width, height, rows of palette
    indices, palette [(r, g, b)], alpha per palette index)."""
    data = Path(path).read_bytes()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError(f'{path}: not a PNG')
    idat, palette, alpha = b'', [], []
    for kind, body in chunks(data):
        if kind == b'IHDR':
            w, h, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
            if colour != 3 or interlace or depth not in (1, 2, 4, 8):
                raise ValueError(f'{path}: not an indexed, non-interlaced PNG')
        elif kind == b'PLTE':
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b'tRNS':
            alpha = list(body)
        elif kind == b'IDAT':
            idat += body
    alpha += [255] * (len(palette) - len(alpha))
    raw = zlib.decompress(idat)
    stride = (w * depth + 7) // 8
    rows, prev = [], bytes(stride)
    for y in range(h):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):  # one byte a pixel at most: the left neighbour is 1 byte back
            a = line[i - 1] if i else 0
            b, c = prev[i], prev[i - 1] if i else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = bytes(line)
        per, mask = 8 // depth, (1 << depth) - 1
        rows.append([(line[x // per] >> (8 - depth * (x % per + 1))) & mask for x in range(w)])
    return w, h, rows, palette, alpha


def png(w, h, rows, palette, alpha):
    """An 8-bit indexed PNG of rows of palette indices."""
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    raw = b''.join(b'\0' + bytes(r) for r in rows)
    body = chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 3, 0, 0, 0))
    body += chunk(b'PLTE', b''.join(bytes(c) for c in palette))
    if any(a != 255 for a in alpha):
        body += chunk(b'tRNS', bytes(alpha))
    return b'\x89PNG\r\n\x1a\n' + body + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


def scaled(art, n, side=None, opaque=None):
    """The art, each pixel an n x n square, centred on a side x side square; transparent
    pixels take the colour `opaque` when it is given."""
    w, h, rows, palette, alpha = art
    side = side or w * n
    palette, alpha = list(palette), list(alpha)
    if opaque is not None:
        palette.append(opaque)
        alpha = [255] * len(palette)
        back = len(palette) - 1
        rows = [[back if art[4][i] == 0 else i for i in r] for r in rows]
    else:
        back = next((i for i, a in enumerate(alpha) if a == 0), None)
        if back is None and side != w * n:
            raise ValueError('no transparent colour to pad with')
    ox, oy = (side - w * n) // 2, (side - h * n) // 2
    out = []
    for y in range(side):
        sy = (y - oy) // n
        line = []
        for x in range(side):
            sx = (x - ox) // n
            line.append(rows[sy][sx] if 0 <= sy < h and 0 <= sx < w and x >= ox and y >= oy else back)
        out.append(line)
    return png(side, side, out, palette, alpha)


def ico(images):
    """An .ico holding PNG images [(side, bytes)]."""
    head = struct.pack('<HHH', 0, 1, len(images))
    at, entries = 6 + 16 * len(images), b''
    for side, data in images:
        entries += struct.pack('<BBBBHHII', side % 256, side % 256, 0, 0, 1, 32, len(data), at)
        at += len(data)
    return head + entries + b''.join(d for _, d in images)


def make(src, out):
    """Writes the icons made from the art in folder src into folder out."""
    src, out = Path(src), Path(out)
    out.mkdir(parents=True, exist_ok=True)
    art16, art32 = read_png(src / 'dravel2-16.png'), read_png(src / 'dravel2-32.png')
    (out / 'icon-192.png').write_bytes(scaled(art32, 6))
    (out / 'icon-512.png').write_bytes(scaled(art32, 16))
    (out / 'apple-touch-icon.png').write_bytes(scaled(art32, 5, 180, BACKGROUND))
    (out / 'favicon.ico').write_bytes(ico([(16, scaled(art16, 1)), (32, scaled(art32, 1)),
                                           (48, scaled(art16, 3))]))


if __name__ == '__main__':
    make(sys.argv[1], sys.argv[2])
