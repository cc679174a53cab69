#!/usr/bin/env python3
"""Renders Kirelo's pictures for a look by eye. Standard library only (writes PNG with zlib).

    python3 scripts/contact-sheet.py [--art DIR] [--out DIR]

Reads the files in resources/art (or --art) and writes into build-art/ (or --out):
    contact-sheet.png  every picture enlarged on a neutral background
    lens-view.png      the magnifier window as the user sees it over the default dry leaves:
                       field in the lens, a goal, trail pixels, the ball, ants, a heart, the
                       magnifier picture laid over it through its mask, the desktop outside the
                       window shape
    field.png, title.png at 1x and 3x for a closer look
    ants-1x.png        (--only ants, also in the full run) every ant cell at 1x, as the user meets
                       it, on the darkest and lightest 32x32 patches of the default field and on a
                       black and a white desktop; ants-8x.png the same enlarged; ants-lens.png a
                       dozen ants resting around the ball at 1x (and 3x beside it);
                       ants-stray.png the stray-ant windows (bitmap 128's shape, bitmap 107's
                       pixels) on dark and light desktops at 1x and 8x
"""

import argparse
import math
import os
import struct
import zlib

KEY = (0, 255, 132)
WHITE = (255, 255, 255)


def read_bmp(path):
    """4/8/24-bit uncompressed BMP -> (w, h, rows of RGB tuples from the top)."""
    data = open(path, "rb").read()
    off = struct.unpack_from("<I", data, 10)[0]
    hs, w, h, _, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    assert comp == 0, path
    ncol = struct.unpack_from("<I", data, 46)[0] or (1 << bpp if bpp <= 8 else 0)
    pal = []
    for i in range(ncol if bpp <= 8 else 0):
        b, g, r, _ = data[14 + hs + 4 * i:18 + hs + 4 * i]
        pal.append((r, g, b))
    return w, abs(h), decode_rows(data, off, w, h, bpp, pal)


def decode_rows(data, off, w, h, bpp, pal):
    stride = ((w * bpp + 31) // 32) * 4
    rows = []
    hh = abs(h)
    for r in range(hh):
        src = hh - 1 - r if h > 0 else r
        base = off + src * stride
        row = []
        for x in range(w):
            if bpp == 4:
                byte = data[base + (x >> 1)]
                row.append(pal[(byte >> 4) if x % 2 == 0 else (byte & 15)])
            elif bpp == 1:
                byte = data[base + (x >> 3)]
                row.append(pal[(byte >> (7 - (x & 7))) & 1])
            elif bpp == 8:
                row.append(pal[data[base + x]])
            else:
                b, g, rr = data[base + 3 * x:base + 3 * x + 3]
                row.append((rr, g, b))
        rows.append(row)
    return rows


def read_icon(path, background):
    """First image of an ICO/CUR -> (w, h, rows, hotspot or None), transparent -> background."""
    data = open(path, "rb").read()
    _, typ, _ = struct.unpack_from("<HHH", data, 0)
    w, h, _, _, a, b, _, off = struct.unpack_from("<BBBBHHII", data, 6)
    w = w or 256
    hs, bw, bh, _, bpp = struct.unpack_from("<IiiHH", data, off)
    ncol = struct.unpack_from("<I", data, off + 32)[0] or (1 << bpp)
    pal = []
    for i in range(ncol):
        bb, g, r, _ = data[off + hs + 4 * i:off + hs + 4 * i + 4]
        pal.append((r, g, bb))
    xor_off = off + hs + 4 * ncol
    rows = decode_rows(data, xor_off, w, w, bpp, pal)
    xor_stride = ((w * bpp + 31) // 32) * 4
    and_off = xor_off + xor_stride * w
    and_stride = ((w + 31) // 32) * 4
    for r in range(w):
        base = and_off + (w - 1 - r) * and_stride
        for x in range(w):
            if (data[base + (x >> 3)] >> (7 - (x & 7))) & 1:
                rows[r][x] = background
    return w, w, rows, ((a, b) if typ == 2 else None)


def write_png(path, w, h, rows):
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for c in row:
            raw += bytes(c)

    def chunk(tag, body):
        return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


class Canvas:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.rows = [[bg] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.rows[y][x] = c

    def blit(self, x0, y0, rows, zoom=1, skip=None):
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if skip is not None and c == skip:
                    continue
                for dy in range(zoom):
                    for dx in range(zoom):
                        self.put(x0 + x * zoom + dx, y0 + y * zoom + dy, c)

    def frame(self, x0, y0, w, h, c):
        for x in range(x0 - 1, x0 + w + 1):
            self.put(x, y0 - 1, c)
            self.put(x, y0 + h, c)
        for y in range(y0 - 1, y0 + h + 1):
            self.put(x0 - 1, y, c)
            self.put(x0 + w, y, c)


def crop(rows, x, y, w, h):
    return [r[x:x + w] for r in rows[y:y + h]]


def sprite_over(canvas, x0, y0, rows, mask_rows):
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if mask_rows[y][x] != WHITE:
                canvas.put(x0 + x, y0 + y, c)


def contact_sheet(art, out):
    bg = (118, 124, 128)
    bmp = {n: read_bmp(os.path.join(art, "%d.bmp" % n)) for n in (107, 108, 112, 115, 125, 126, 128, 129, 130)}
    c = Canvas(1400, 1560, bg)
    # ants x8: sprites row, masks row, key-colour row
    c.blit(10, 10, bmp[107][2], 8)
    c.blit(10, 150, bmp[128][2], 8)
    # ants 1x and 3x over a piece of the field
    field = bmp[112][2]
    piece = crop(field, 100, 100, 240, 60)
    c.blit(1060, 10, piece, 1)
    c.blit(1060, 80, crop(field, 180, 130, 80, 22), 4)
    ants = bmp[107][2]
    for k in range(16):
        cell = crop(ants, 8 * k, 0, 8, 8)
        m = crop(ants, 8 * k, 8, 8, 8)
        sprite_over(c, 1064 + 14 * k, 20 + (k % 3) * 14, cell, m)
        big = [[p for p in r for _ in range(4)] for r in cell for _ in range(4)]
        bm = [[p for p in r for _ in range(4)] for r in m for _ in range(4)]
        if k < 8:
            sprite_over(c, 1064 + 36 * k, 84 + (k % 2) * 40, big, bm)
    # ball, heart x8
    c.blit(10, 230, bmp[108][2], 8)
    c.blit(150, 230, bmp[115][2], 8)
    c.blit(290, 230, bmp[129][2], 8)
    # icons and cursors x6
    x = 440
    for name in ("110.ico", "111.ico", "116.cur", "117.cur"):
        w, h, rows, hot = read_icon(os.path.join(art, name), bg)
        c.blit(x, 230, rows, 6)
        if hot:
            hx, hy = x + hot[0] * 6 + 3, 230 + hot[1] * 6 + 3
            for d in range(-4, 5):
                c.put(hx + d, hy, (255, 0, 0))
                c.put(hx, hy + d, (255, 0, 0))
        x += w * 6 + 16
    # title x3
    c.blit(10, 500, bmp[130][2], 3)
    # magnifier picture, mask and shape x1
    c.blit(330, 500, bmp[126][2], 1)
    c.blit(650, 500, bmp[125][2], 1)
    # field x1
    c.blit(800, 880, field, 1)
    write_png(os.path.join(out, "contact-sheet.png"), c.w, c.h, c.rows)


def lens_view(art, out):
    field = read_bmp(os.path.join(art, "112.bmp"))
    ants = read_bmp(os.path.join(art, "107.bmp"))[2]
    ball = read_bmp(os.path.join(art, "108.bmp"))[2]
    heart = read_bmp(os.path.join(art, "115.bmp"))[2]
    shape = read_bmp(os.path.join(art, "125.bmp"))[2]
    mag = read_bmp(os.path.join(art, "126.bmp"))[2]
    fw, fh, frows = field
    desk = (58, 110, 165)
    c = Canvas(340, 400, desk)
    ox, oy = 20, 20
    sx, sy = (fw - 200) // 2, (fh - 200) // 2
    view = Canvas(200, 200, (0, 0, 0))
    view.blit(0, 0, crop(frows, sx, sy, 200, 200))
    # a goal
    gx, gy = 150, 52
    for y in range(-21, 22):
        for x in range(-21, 22):
            d = math.hypot(x, y)
            if d <= 20:
                view.put(gx + x, gy + y, (0, 0, 0) if d < 17 else (192, 192, 192))
    # trails
    for i in range(70):
        t = i / 70.0
        view.put(int(30 + 120 * t), int(150 - 60 * t + 8 * math.sin(t * 7)), (255, 165, 123))
    for i in range(50):
        t = i / 50.0
        view.put(int(100 + 50 * math.cos(t * 2.4)), int(120 + 40 * math.sin(t * 2.4)), (255, 100, 100))
    # ball at (100, 110)
    sprite_over(view, 100 - 8, 110 - 8, ball[:16], ball[16:])
    # ants
    spots = [(60, 140, 1), (75, 128, 2), (88, 100, 0), (120, 140, 3), (132, 96, 7),
             (40, 70, 4), (160, 160, 5), (50, 110, 6), (112, 60, 0), (140, 122, 2), (20, 30, 3)]
    for i, (x, y, d) in enumerate(spots):
        k = d * 2 + (i & 1)
        sprite_over(view, x - 4, y - 4, crop(ants, 8 * k, 0, 8, 8), crop(ants, 8 * k, 8, 8, 8))
    sprite_over(view, 150 - 8, 30 - 8, heart[:16], heart[16:])
    win = Canvas(300, 360, (0, 0, 0))
    win.blit(20, 20, view.rows)
    for y in range(360):
        for x in range(300):
            if mag[360 + y][x] != WHITE:
                win.rows[y][x] = mag[y][x]
            if shape[y][x] == KEY:
                win.rows[y][x] = desk
    c.blit(ox, oy, win.rows)
    write_png(os.path.join(out, "lens-view.png"), c.w, c.h, c.rows)
    z = Canvas(600, 720, desk)
    z.blit(0, 0, win.rows, 2)
    write_png(os.path.join(out, "lens-view-2x.png"), z.w, z.h, z.rows)


def luma(c):
    return (c[0] * 299 + c[1] * 587 + c[2] * 114) // 1000


def extreme_patches(rows, size=32):
    """Top-left corners of the darkest and the lightest size x size patch (by mean luma)."""
    h, w = len(rows), len(rows[0])
    integral = [[0] * (w + 1) for _ in range(h + 1)]
    for y in range(h):
        run = 0
        for x in range(w):
            run += luma(rows[y][x])
            integral[y + 1][x + 1] = integral[y][x + 1] + run
    best = []
    for y in range(h - size + 1):
        for x in range(w - size + 1):
            s = integral[y + size][x + size] - integral[y][x + size] - integral[y + size][x] + integral[y][x]
            best.append((s, y, x))
    lo, hi = min(best), max(best)
    return (lo[2], lo[1]), (hi[2], hi[1])


def ant_grounds(art):
    """The four grounds an ant meets: (name, 32x32 rows)."""
    fw, fh, frows = read_bmp(os.path.join(art, "112.bmp"))
    (dx, dy), (lx, ly) = extreme_patches(frows)
    return [("dark leaves", crop(frows, dx, dy, 32, 32)), ("light leaves", crop(frows, lx, ly, 32, 32)),
            ("black desktop", [[(0, 0, 0)] * 32 for _ in range(32)]),
            ("white desktop", [[(255, 255, 255)] * 32 for _ in range(32)])]


def zoom_rows(rows, z):
    return [[p for p in r for _ in range(z)] for r in rows for _ in range(z)]


def ant_sheets(art, out):
    ants = read_bmp(os.path.join(art, "107.bmp"))[2]
    grounds = ant_grounds(art)
    cells = [(crop(ants, 8 * k, 0, 8, 8), crop(ants, 8 * k, 8, 8, 8)) for k in range(16)]
    # 1x: one row per ground, each cell centred on its own copy of the ground
    c = Canvas(16 * 36 + 8, 4 * 36 + 8, (128, 128, 128))
    for g, (_, ground) in enumerate(grounds):
        for k, (cell, mask) in enumerate(cells):
            x0, y0 = 4 + 36 * k, 4 + 36 * g
            c.blit(x0, y0, ground)
            sprite_over(c, x0 + 12, y0 + 12, cell, mask)
    write_png(os.path.join(out, "ants-1x.png"), c.w, c.h, c.rows)
    # 8x: the middle 12x12 of each tile enlarged
    t = 12 * 8
    c = Canvas(16 * (t + 4) + 4, 4 * (t + 4) + 4, (128, 128, 128))
    for g, (_, ground) in enumerate(grounds):
        for k, (cell, mask) in enumerate(cells):
            tile = Canvas(12, 12, (0, 0, 0))
            tile.blit(0, 0, crop(ground, 10, 10, 12, 12))
            sprite_over(tile, 2, 2, cell, mask)
            c.blit(4 + (t + 4) * k, 4 + (t + 4) * g, tile.rows, 8)
    write_png(os.path.join(out, "ants-8x.png"), c.w, c.h, c.rows)
    ant_lens(art, out, ants)
    ant_stray(art, out, ants)


def ant_lens(art, out, ants):
    """A dozen ants resting where they stop: within 5 cells of the ball in x and y, facing it."""
    fw, fh, frows = read_bmp(os.path.join(art, "112.bmp"))
    ball = read_bmp(os.path.join(art, "108.bmp"))[2]
    (dx, dy), (lx, ly) = extreme_patches(frows)
    view = Canvas(200, 100, (0, 0, 0))
    rest = [(-5, -5), (-1, -5), (3, -5), (5, -3), (5, 1), (5, 5), (1, 5), (-3, 5), (-5, 3), (-5, -1),
            (0, -5), (5, -1)]
    for i, (px, py) in enumerate(((dx + 16, dy + 16), (lx + 16, ly + 16))):
        bx, by = 50 + 100 * i, 50
        sx, sy = min(max(px - 50, 0), fw - 100), min(max(py - 50, 0), fh - 100)
        view.blit(100 * i, 0, crop(frows, sx, sy, 100, 100))
        sprite_over(view, bx - 8, by - 8, ball[:16], ball[16:])
        for j, (ox, oy) in enumerate(rest):
            ang = math.atan2(-ox, oy)  # heading toward the ball, clockwise from north, y down
            d = int(round(ang / (math.pi / 4))) % 8
            k = d * 2 + (j & 1)
            sprite_over(view, bx + ox - 4, by + oy - 4, crop(ants, 8 * k, 0, 8, 8), crop(ants, 8 * k, 8, 8, 8))
    c = Canvas(200 + 600 + 12, 300 + 8, (128, 128, 128))
    c.blit(4, 4, view.rows)
    c.blit(208, 4, view.rows, 3)
    write_png(os.path.join(out, "ants-lens.png"), c.w, c.h, c.rows)


def ant_stray(art, out, ants):
    shapes = read_bmp(os.path.join(art, "128.bmp"))[2]
    desks = [(0, 0, 0), (255, 255, 255), (58, 110, 165), (40, 40, 46), (200, 200, 204)]
    c = Canvas(16 * 12 + 8 + 16 * 68, len(desks) * 68 + 8, (128, 128, 128))
    for g, desk in enumerate(desks):
        for k in range(16):
            win = [[desk if shapes[y][8 * k + x] == KEY else ants[y][8 * k + x] for x in range(8)]
                   for y in range(8)]
            tile = Canvas(10, 8, desk)
            tile.blit(1, 0, win)
            c.blit(4 + 12 * k, 4 + 68 * g + 28, tile.rows)
            c.blit(16 * 12 + 8 + 68 * k, 4 + 68 * g, win, 8)
    write_png(os.path.join(out, "ants-stray.png"), c.w, c.h, c.rows)


def singles(art, out):
    fw, fh, frows = read_bmp(os.path.join(art, "112.bmp"))
    write_png(os.path.join(out, "field.png"), fw, fh, frows)
    z = Canvas(fw * 2, fh * 2, (0, 0, 0))
    z.blit(0, 0, frows, 2)
    write_png(os.path.join(out, "field-2x.png"), z.w, z.h, z.rows)
    tw, th, trows = read_bmp(os.path.join(art, "130.bmp"))
    z = Canvas(tw * 3, th * 3, (0, 0, 0))
    z.blit(0, 0, trows, 3)
    write_png(os.path.join(out, "title.png"), z.w, z.h, z.rows)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(here)
    ap = argparse.ArgumentParser()
    ap.add_argument("--art", default=os.path.join(root, "resources", "art"))
    ap.add_argument("--out", default=os.path.join(root, "build-art"))
    ap.add_argument("--only", choices=["sheet", "lens", "singles", "ants"])
    a = ap.parse_args()
    os.makedirs(a.out, exist_ok=True)
    if a.only in (None, "sheet"):
        contact_sheet(a.art, a.out)
    if a.only in (None, "lens"):
        lens_view(a.art, a.out)
    if a.only in (None, "singles"):
        singles(a.art, a.out)
    if a.only in (None, "ants"):
        ant_sheets(a.art, a.out)
    print("written to", a.out)


if __name__ == "__main__":
    main()
