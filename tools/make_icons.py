#!/usr/bin/env python3
"""Draws the program's two icons as ICO files.

Each holds the picture as 16-colour images of 32x32 and 16x16 pixels, and as 32-bit images with
alpha of 20, 24, 32, 40, 48, 64 and 256 pixels (the last as PNG), so that Windows finds a sharp
image at every display scaling (a 16-pixel tray icon is 20 at 125 %, 24 at 150 %, 32 at 200 %).

deskbroom.ico: a broom sweeping, for the program and its tray icon.
hotkeys.ico:   a key cap with an F on it, for the Hotkeys dialog.
Run from the repository root: python3 tools/make_icons.py
"""
import struct
import zlib

# The standard 16-colour palette.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, OLIVE, NAVY, SILVER, GREY, YELLOW, BLUE, WHITE = 0, 1, 3, 4, 7, 8, 11, 12, 15
T = None  # transparent

TRUE_COLOUR_SIZES = (20, 24, 32, 40, 48, 64, 256)
SUPERSAMPLE = 4  # true-colour images are drawn this many times larger, then averaged down


def canvas(n):
    return [[T] * n for _ in range(n)]


def line(img, x0, y0, x1, y1, c, w=1):
    steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 4) + 1
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i / steps
        y = y0 + (y1 - y0) * i / steps
        for dx in range(w):
            for dy in range(w):
                px, py = int(round(x)) + dx, int(round(y)) + dy
                if 0 <= px < len(img) and 0 <= py < len(img):
                    img[py][px] = c


def rect(img, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = c


def broom(n):
    img = canvas(n)
    s = n / 32
    # An upright broom, leaning a little: the handle, the binding, the bristles fanning out.
    line(img, 19 * s, 1 * s, 16 * s, 14 * s, MAROON, max(1, int(2 * s)))
    rect(img, int(11 * s), int(14 * s), int(21 * s), int(16 * s), NAVY)
    for y in range(int(17 * s), n - max(1, int(2 * s))):
        grow = (y - 17 * s) * 0.45
        left, right = int(11 * s - grow), int(21 * s + grow)
        for x in range(max(0, left), min(n, right + 1)):
            img[y][x] = OLIVE if (x - left) % max(2, int(3 * s)) == 0 and n > 16 else YELLOW
    # Dust swept aside.
    d = max(2, int(2 * s)) - 1
    for x, y in ((27, 29), (29, 26), (26, 25)):
        if n > 16:
            rect(img, int(x * s), int(y * s), int(x * s) + d, int(y * s) + d, GREY)
    return img


def keycap(n):
    img = canvas(n)
    s = n / 32
    m = int(3 * s)
    rect(img, m, m, n - 1 - m, n - 1 - m, GREY)
    rect(img, m + 1, m + 1, n - 2 - m - int(2 * s), n - 2 - m - int(3 * s), SILVER)
    b = max(1, int(s)) - 1  # the outline, one pixel at 32
    rect(img, m, m, n - 1 - m, m + b, BLACK)
    rect(img, m, n - 1 - m - b, n - 1 - m, n - 1 - m, BLACK)
    rect(img, m, m, m + b, n - 1 - m, BLACK)
    rect(img, n - 1 - m - b, m, n - 1 - m, n - 1 - m, BLACK)
    # The letter F.
    w = max(1, int(2 * s))
    line(img, 11 * s, 8 * s, 11 * s, 22 * s, BLUE, w)
    line(img, 11 * s, 8 * s, 20 * s, 8 * s, BLUE, w)
    line(img, 11 * s, 14 * s, 18 * s, 14 * s, BLUE, w)
    return img


def dib(img):
    n = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor = b''
    for row in reversed(img):
        bits = bytearray()
        for x in range(0, n, 2):
            hi, lo = row[x] or 0, row[x + 1] or 0
            bits.append((hi << 4) | lo)
        xor += bytes(bits) + b'\0' * (-len(bits) % 4)
    mask = b''
    for row in reversed(img):
        bits = bytearray((n + 7) // 8)
        for x, c in enumerate(row):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits) + b'\0' * (-len(bits) % 4)
    return header + palette + xor + mask


def true_colour(picture, n):
    """The picture at n pixels as rows of (r, g, b, a): drawn SUPERSAMPLE times larger, each pixel
    the average of its block, so that edges are smooth and alpha holds the coverage."""
    f = SUPERSAMPLE
    big = picture(n * f)
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            colours = [PALETTE[c] for line_ in big[y * f:(y + 1) * f] for c in line_[x * f:(x + 1) * f]
                       if c is not None]
            k = len(colours)
            if k == 0:
                row.append((0, 0, 0, 0))
                continue
            r, g, b = (round(sum(c[i] for c in colours) / k) for i in range(3))
            row.append((r, g, b, round(255 * k / (f * f))))
        rows.append(row)
    return rows


def dib32(rows):
    n = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask = b''
    for row in reversed(rows):
        bits = bytearray((n + 7) // 8)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits) + b'\0' * (-len(bits) % 4)
    return header + pixels + mask


def png(rows):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    n = len(rows)
    raw = b''.join(b'\0' + b''.join(bytes(p) for p in row) for row in rows)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', n, n, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def ico(picture):
    # (size, colour count, bits per pixel, image data)
    images = [(n, 16, 4, dib(picture(n))) for n in (32, 16)]
    for n in TRUE_COLOUR_SIZES:
        rows = true_colour(picture, n)
        images.append((n, 0, 32, png(rows) if n >= 256 else dib32(rows)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, colours, bits, blob in images:
        out += struct.pack('<BBBBHHII', n % 256, n % 256, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blob for _, _, _, blob in images)


if __name__ == '__main__':
    with open('src/app/resources/deskbroom.ico', 'wb') as f:
        f.write(ico(broom))
    with open('src/app/resources/hotkeys.ico', 'wb') as f:
        f.write(ico(keycap))
