#!/usr/bin/env python3
"""Draws every picture of Kirelo and writes them as 16-colour Windows files.

    python3 resources/generate_art.py [OUTPUT_DIR]      (default: resources/art beside this file)

Standard library only. The output is a pure function of this file: every random choice comes
from the seeded generator below, so running it twice gives the same bytes.

Files written:
    107.bmp  ants, 16 cells of 8x8 (8 headings x 2 walking frames) over their masks
    108.bmp  the ball over its mask              115.bmp  the heart over its mask
    112.bmp  the default field: dry leaves on the ground, 455x312
    125.bmp  the magnifier window shape on the key colour
    126.bmp  the magnifier picture over its mask
    128.bmp  the ant cells on the key colour     129.bmp  the heart on the key colour
    130.bmp  the title picture
    110.ico  program icon 32x32                  111.ico  small icon 16x16
    116.cur  the poking stick cursor             117.cur  the binoculars cursor
"""

import math
import os
import struct
import sys

KEY = (0, 255, 132)  # transparent colour of the shape bitmaps
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# ----------------------------------------------------------------------------------------------
# Arithmetic that gives the same bits on every machine. Python's + - * / and math.sqrt, floor,
# frexp, ldexp and fsum are exactly rounded, so they agree everywhere; sin, cos, exp, log, atan2,
# hypot and ** on floats come from the platform's C library, whose last bit may differ from one
# library to the next and then change a dithering decision and the bytes of a picture. The
# generator uses only the functions below for those, built from the exact operations (range
# reduction and fixed polynomials: accurate to a few units in the last place, and the same
# everywhere).

_PIO2_HI = 1.57079632673412561417e+00  # pi/2 split so that k * _PIO2_HI is exact for small k
_PIO2_LO = 6.07710050650619224932e-11
_LN2_HI = 6.93147180369123816490e-01  # ln 2 split the same way
_LN2_LO = 1.90821492927058770002e-10
_SQRT_HALF = 0.70710678118654752440


def _sin_poly(r):
    r2 = r * r
    return r + r * r2 * (-1 / 6 + r2 * (1 / 120 + r2 * (-1 / 5040 + r2 * (1 / 362880 + r2 * (
        -1 / 39916800 + r2 * (1 / 6227020800 + r2 * (-1 / 1307674368000)))))))


def _cos_poly(r):
    r2 = r * r
    return 1.0 + r2 * (-0.5 + r2 * (1 / 24 + r2 * (-1 / 720 + r2 * (1 / 40320 + r2 * (
        -1 / 3628800 + r2 * (1 / 479001600 + r2 * (-1 / 87178291200 + r2 * (1 / 20922789888000))))))))


def _quadrant(x):
    k = round(x * (2.0 / math.pi))
    return k & 3, (x - k * _PIO2_HI) - k * _PIO2_LO


def sin(x):
    q, r = _quadrant(x)
    return (_sin_poly(r), _cos_poly(r), -_sin_poly(r), -_cos_poly(r))[q]


def cos(x):
    q, r = _quadrant(x)
    return (_cos_poly(r), -_sin_poly(r), -_cos_poly(r), _sin_poly(r))[q]


def _atan_unit(t):
    """atan(t) for 0 <= t <= 1."""
    base = 0.0
    if t > 0.41421356237309503:  # beyond tan(pi/8): atan t = pi/4 + atan((t - 1) / (t + 1))
        base, t = math.pi / 4, (t - 1.0) / (t + 1.0)
    t = t / (1.0 + math.sqrt(1.0 + t * t))  # half the angle, |t| < 0.2
    t2 = t * t
    acc = 0.0
    for n in range(25, 1, -2):
        acc = t2 * ((1.0 if (n // 2) % 2 == 0 else -1.0) / n + acc)
    return base + 2.0 * (t + t * acc)


def atan2(y, x):
    if x == 0.0 and y == 0.0:
        return 0.0
    ax, ay = abs(x), abs(y)
    a = _atan_unit(ay / ax) if ay <= ax else math.pi / 2 - _atan_unit(ax / ay)
    if x < 0.0:
        a = math.pi - a
    return -a if math.copysign(1.0, y) < 0.0 else a


def hypot(x, y):
    return math.sqrt(x * x + y * y)


def exp(x):
    k = round(x / _LN2_HI)
    r = (x - k * _LN2_HI) - k * _LN2_LO
    acc = 1.0
    for n in range(15, 0, -1):
        acc = 1.0 + acc * r / n
    return math.ldexp(acc, k)


def log(x):
    m, e = math.frexp(x)
    if m < _SQRT_HALF:
        m, e = m * 2.0, e - 1
    s = (m - 1.0) / (m + 1.0)
    s2 = s * s
    acc = 0.0
    for n in range(23, 1, -2):
        acc = s2 * (1.0 / n + acc)
    return 2.0 * (s + s * acc) + e * _LN2_LO + e * _LN2_HI


def power(x, p):
    """x ** p for x >= 0; whole p by repeated multiplication, any other through exp and log."""
    if p == int(p) and p >= 0:
        n, result, base = int(p), 1.0, x
        while n:
            if n & 1:
                result *= base
            base *= base
            n >>= 1
        return result
    return 0.0 if x <= 0.0 else exp(p * log(x))


def radians(d):
    return d * (math.pi / 180.0)


def degrees(r):
    return r * (180.0 / math.pi)


# ----------------------------------------------------------------------------------------------
# Random numbers: a 64-bit linear congruential generator (Knuth's MMIX constants).


class Rng:
    def __init__(self, seed):
        self.state = (seed * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF

    def next32(self):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return self.state >> 32

    def random(self):
        return self.next32() / 4294967296.0

    def uniform(self, a, b):
        return a + (b - a) * self.random()

    def randint(self, a, b):
        return a + self.next32() % (b - a + 1)

    def choice(self, seq):
        return seq[self.next32() % len(seq)]


# ----------------------------------------------------------------------------------------------
# Small helpers.


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def scale(c, f):
    return (c[0] * f, c[1] * f, c[2] * f)


def hexrgb(h):
    return ((h >> 16) & 255, (h >> 8) & 255, h & 255)


def to255(c):
    return tuple(int(clamp(v, 0.0, 255.0) + 0.5) for v in c)


def seg_dist(px, py, ax, ay, bx, by):
    """Distance from (px,py) to segment a-b and the position t along it."""
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else clamp(((px - ax) * dx + (py - ay) * dy) / ll)
    qx, qy = ax + dx * t - px, ay + dy * t - py
    return math.sqrt(qx * qx + qy * qy), t


class Image:
    """A float RGB picture with an optional coverage (alpha) channel, rows from the top."""

    def __init__(self, w, h, fill=(0.0, 0.0, 0.0), alpha=0.0):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]
        self.a = [[alpha] * w for _ in range(h)]

    def blend(self, x, y, c, t):
        if 0 <= x < self.w and 0 <= y < self.h and t > 0.0:
            if t >= 1.0:
                self.px[y][x] = c
                self.a[y][x] = 1.0
            else:
                self.px[y][x] = mix(self.px[y][x], c, t)
                self.a[y][x] = self.a[y][x] + (1.0 - self.a[y][x]) * t


def render_shape(img, x0, y0, x1, y1, fn, ss=4):
    """Supersampled painter: fn(x, y) -> (colour, coverage) or None, evaluated on an ss x ss grid
    inside every pixel of the box; the averaged colour is blended with the averaged coverage."""
    inv = 1.0 / ss
    n = ss * ss
    for y in range(max(0, y0), min(img.h, y1)):
        for x in range(max(0, x0), min(img.w, x1)):
            r = g = b = cov = 0.0
            for sy in range(ss):
                fy = y + (sy + 0.5) * inv
                for sx in range(ss):
                    res = fn(x + (sx + 0.5) * inv, fy)
                    if res is not None:
                        c, k = res
                        r += c[0] * k
                        g += c[1] * k
                        b += c[2] * k
                        cov += k
            if cov > 0.0:
                img.blend(x, y, (r / cov, g / cov, b / cov), cov / n)


# ----------------------------------------------------------------------------------------------
# Palette choice and dithering.


def dist2(a, b):
    dr, dg, db = a[0] - b[0], a[1] - b[1], a[2] - b[2]
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db


def nearest(pal, c):
    best, bi = 1e30, 0
    for i, p in enumerate(pal):
        d = dist2(p, c)
        if d < best:
            best, bi = d, i
    return bi


def median_cut(colours, count):
    """Deterministic median cut over a list of RGB tuples; returns `count` mean colours."""
    boxes = [list(colours)]
    while len(boxes) < count:
        best_i, best_range, best_ch = -1, -1.0, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch, wgt in ((0, 1.7), (1, 2.0), (2, 1.4)):
                lo = min(c[ch] for c in box)
                hi = max(c[ch] for c in box)
                rng = (hi - lo) * wgt * math.sqrt(len(box))
                if rng > best_range:
                    best_i, best_range, best_ch = i, rng, ch
        if best_i < 0:
            break
        box = sorted(boxes[best_i], key=lambda c: (c[best_ch], c))
        half = len(box) // 2
        boxes[best_i:best_i + 1] = [box[:half], box[half:]]
    out = []
    for box in boxes:
        n = len(box)
        out.append(tuple(math.fsum(c[k] for c in box) / n for k in range(3)))
    return out


def kmeans(colours, pal, rounds):
    pal = list(pal)
    for _ in range(rounds):
        sums = [[0.0, 0.0, 0.0, 0] for _ in pal]
        for c in colours:
            s = sums[nearest(pal, c)]
            s[0] += c[0]
            s[1] += c[1]
            s[2] += c[2]
            s[3] += 1
        pal = [(s[0] / s[3], s[1] / s[3], s[2] / s[3]) if s[3] else p for s, p in zip(sums, pal)]
    return pal


def nearest_of(pal, c, allowed):
    best, bi = 1e30, allowed[0]
    for i in allowed:
        d = dist2(pal[i], c)
        if d < best:
            best, bi = d, i
    return bi


def fs_dither(img, pal, strength=1.0, fixed=None, allowed=None):
    """Serpentine Floyd-Steinberg into palette indices. fixed(x, y) may return an index that is
    written as is (no error taken or passed on) for pixels that must keep an exact colour;
    allowed(x, y) may return the palette indices a pixel may take (all when None)."""
    w, h = img.w, img.h
    err = [[(0.0, 0.0, 0.0)] * (w + 2) for _ in range(2)]
    out = [[0] * w for _ in range(h)]
    for y in range(h):
        cur, nxt = err[y & 1], err[(y + 1) & 1]
        for i in range(w + 2):
            nxt[i] = (0.0, 0.0, 0.0)
        xs = range(w) if y % 2 == 0 else range(w - 1, -1, -1)
        step = 1 if y % 2 == 0 else -1
        for x in xs:
            if fixed is not None:
                f = fixed(x, y)
                if f is not None:
                    out[y][x] = f
                    continue
            src = img.px[y][x]
            e = cur[x + 1]
            c = (clamp(src[0] + e[0], 0, 255), clamp(src[1] + e[1], 0, 255), clamp(src[2] + e[2], 0, 255))
            sub = allowed(x, y) if allowed is not None else None
            i = nearest(pal, c) if sub is None else nearest_of(pal, c, sub)
            out[y][x] = i
            p = pal[i]
            er = ((c[0] - p[0]) * strength, (c[1] - p[1]) * strength, (c[2] - p[2]) * strength)

            def add(arr, xi, f):
                o = arr[xi]
                arr[xi] = (o[0] + er[0] * f, o[1] + er[1] * f, o[2] + er[2] * f)

            add(cur, x + 1 + step, 7 / 16)
            add(nxt, x + 1 - step, 3 / 16)
            add(nxt, x + 1, 5 / 16)
            add(nxt, x + 1 + step, 1 / 16)
    return out


def pad_palette(pal):
    pal = [to255(p) for p in pal]
    while len(pal) < 16:
        pal.append((0, 0, 0))
    assert len(pal) == 16
    return pal


# ----------------------------------------------------------------------------------------------
# File writers.


def pack_4bpp_rows(indices, w, h):
    """Bottom-up rows of 4-bit indices, each padded to 4 bytes."""
    stride = ((w * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = indices[y]
        b = bytearray(stride)
        for x in range(w):
            v = row[x] & 15
            if x & 1:
                b[x >> 1] |= v
            else:
                b[x >> 1] |= v << 4
        data += b
    return bytes(data)


def pack_mask_rows(opaque, w, h):
    """Bottom-up 1-bit AND mask rows: bit 1 = transparent."""
    stride = ((w + 31) // 32) * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        b = bytearray(stride)
        for x in range(w):
            if not opaque[y][x]:
                b[x >> 3] |= 0x80 >> (x & 7)
        data += b
    return bytes(data)


def colour_table(pal):
    return b"".join(struct.pack("<BBBB", p[2], p[1], p[0], 0) for p in pal)


def bmp_bytes(indices, pal, w, h):
    pal = pad_palette(pal)
    pixels = pack_4bpp_rows(indices, w, h)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    off = 14 + 40 + 64
    head = struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off)
    return head + info + colour_table(pal) + pixels


def icon_image_bytes(indices, opaque, pal, size):
    pal = pad_palette(pal)
    xor = pack_4bpp_rows(indices, size, size)
    andm = pack_mask_rows(opaque, size, size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(andm), 0, 0, 16, 0)
    return info + colour_table(pal) + xor + andm


def ico_bytes(images, cursor=False, hotspot=(0, 0)):
    """images: list of (size, image bytes). Icons (type 1) or cursors (type 2, hot spot)."""
    head = struct.pack("<HHH", 0, 2 if cursor else 1, len(images))
    off = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, blob in images:
        if cursor:
            entries += struct.pack("<BBBBHHII", size & 255, size & 255, 16, 0, hotspot[0], hotspot[1], len(blob), off)
        else:
            entries += struct.pack("<BBBBHHII", size & 255, size & 255, 16, 0, 1, 4, len(blob), off)
        blobs += blob
        off += len(blob)
    return head + entries + blobs


def palette_image(pixels, pal):
    """pixels: rows of RGB tuples that are all in pal; returns rows of indices."""
    lut = {tuple(p): i for i, p in enumerate(pal)}
    return [[lut[tuple(c)] for c in row] for row in pixels]


# ----------------------------------------------------------------------------------------------
# The sprite palette shared by the ants, the ball and the heart (107, 108, 115, 128, 129).

SPRITE_PAL = [
    BLACK, WHITE, KEY,
    hexrgb(0x2A160E), hexrgb(0x7A5A42), hexrgb(0x9A522C), hexrgb(0xF6E0C0),  # ant 3..6
    hexrgb(0x3C3C42), hexrgb(0x67676E), hexrgb(0x9696A0), hexrgb(0xC2C2CA), hexrgb(0xEDEDF2),  # ball 7..11
    hexrgb(0x7E0E22), hexrgb(0xCC2638), hexrgb(0xF25C6C), hexrgb(0xFFB4C0),  # heart 12..15
]

# Ants from above, heading north, two walking frames (tripod gait: the legs of one side swing
# forward while the other side's swing back). At 1x an ant has to read on the darkest and the
# lightest leaves and on any desktop, so it is never one tone: a red-brown body ("m") that stands
# apart from both dark and pale leaves, a glossy highlight ("h") on head, thorax and abdomen that
# carries the figure on dark ground, the shadow side ("d") that carries it on pale ground, and
# legs ("l") in a mid brown. The body narrows between head, thorax and abdomen; the legs stay thin
# so a ring of resting ants still lets the ball show between them. '.' transparent.
ANT_CODES = {"d": 3, "l": 4, "m": 5, "h": 6}

ANT_N = [
    [  # frame 0: the left front leg reaches forward, the left back leg back
        "..l..l..",
        "...hm...",
        "l..mdl..",
        ".l.hd.l.",
        "..lmdl..",
        ".lhmmdl.",
        "l.mmdd..",
        "...dd...",
    ],
    [  # frame 1: the same on the right
        "..l..l..",
        "...hm...",
        "..lmd..l",
        ".l.hd.l.",
        "..lmdl..",
        ".lhmmdl.",
        "..mmdd.l",
        "...dd...",
    ],
]

ANT_NE = [
    [
        "....l.l.",
        "..l..hm.",
        ".l.l.mm.",
        "...hmdl.",
        "..hmd.l.",
        ".hmmdl..",
        ".mdd....",
        "..dl....",
    ],
    [
        "....l.l.",
        ".....hm.",
        ".ll..mm.",
        "...hmd.l",
        "..hmdl..",
        ".hmmd.l.",
        ".mddl...",
        "..d.....",
    ],
]


def grid_from_strings(rows):
    return [[ANT_CODES.get(ch, None) for ch in row] for row in rows]


def rotate_cw(g):
    """Quarter turn clockwise of an 8x8 grid (north becomes east)."""
    n = len(g)
    return [[g[n - 1 - x][y] for x in range(n)] for y in range(n)]


def ant_cells():
    """Sixteen 8x8 grids (index or None); cell = heading * 2 + frame."""
    cells = [None] * 16
    for f in range(2):
        n = grid_from_strings(ANT_N[f])
        ne = grid_from_strings(ANT_NE[f])
        for q in range(4):
            cells[(2 * q) * 2 + f] = n
            cells[(2 * q + 1) * 2 + f] = ne
            n, ne = rotate_cw(n), rotate_cw(ne)
    return cells


def make_ants():
    cells = ant_cells()
    sprite = [[0] * 128 for _ in range(16)]
    shape = [[2] * 128 for _ in range(8)]
    for k, g in enumerate(cells):
        for y in range(8):
            for x in range(8):
                v = g[y][x]
                if v is not None:
                    sprite[y][8 * k + x] = v
                    sprite[8 + y][8 * k + x] = 0
                    shape[y][8 * k + x] = v
                else:
                    sprite[y][8 * k + x] = 0
                    sprite[8 + y][8 * k + x] = 1
    return sprite, shape


BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def coverage(fn, x, y, ss=4):
    n = 0
    for sy in range(ss):
        for sx in range(ss):
            if fn(x + (sx + 0.5) / ss, y + (sy + 0.5) / ss):
                n += 1
    return n / (ss * ss)


def ball_inside(x, y):
    return (x - 8.5) * (x - 8.5) + (y - 8.5) * (y - 8.5) <= 7.5 * 7.5


def make_ball():
    """16x32: a grey ball, 15 pixels across in columns and rows 1..15 (centre pixel (8, 8)),
    over its mask."""
    rows = [[0] * 16 for _ in range(32)]
    levels = [7, 8, 9, 10, 11]
    lx, ly, lz = -0.55, -0.62, 0.56
    ln = math.sqrt(lx * lx + ly * ly + lz * lz)
    lx, ly, lz = lx / ln, ly / ln, lz / ln
    for y in range(16):
        for x in range(16):
            opaque = (x - 8) * (x - 8) + (y - 8) * (y - 8) <= 56.25
            rows[16 + y][x] = 0 if opaque else 1
            if not opaque:
                continue
            nx, ny = (x - 8) / 7.6, (y - 8) / 7.6
            nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
            diff = max(0.0, nx * lx + ny * ly + nz * lz)
            # light bounced from the ground fills the shadow side a little
            bounce = max(0.0, ny) * 0.18
            v = 0.08 + 0.82 * diff + bounce
            rx, ry, rz = 2 * nz * nx, 2 * nz * ny, 2 * nz * nz - 1  # reflected view ray
            specular = power(max(0.0, rx * lx + ry * ly + rz * lz), 24)
            edge = (x - 8) * (x - 8) + (y - 8) * (y - 8) > 40
            t = clamp(v) * (len(levels) - 1) + (BAYER4[y & 3][x & 3] + 0.5) / 16 - 0.5
            idx = levels[int(clamp(round(t), 0, len(levels) - 1))]
            if edge and idx > 8:
                idx -= 1
            if (x - 8) * (x - 8) + (y - 8) * (y - 8) > 49 and ny > -0.2:
                idx = 7
            if specular > 0.45:
                idx = 1
            rows[y][x] = idx
    return rows


def heart_inside(x, y):
    # the classic heart curve, 14 px wide, centred in the 16x16 cell
    u = (x - 8.0) / 6.9
    v = (8.3 - y) / 6.6 + 0.18
    q = u * u + v * v - 1.0
    return q * q * q - u * u * v * v * v <= 0.0


def make_heart():
    """16x32 heart over its mask, and the same heart on the key colour (16x16)."""
    rows = [[0] * 16 for _ in range(32)]
    shape = [[2] * 16 for _ in range(16)]
    for y in range(16):
        for x in range(16):
            cov = coverage(heart_inside, x, y)
            opaque = cov >= 0.5
            rows[16 + y][x] = 0 if opaque else 1
            if not opaque:
                continue
            edge = not all(heart_inside(x + 0.5 + dx, y + 0.5 + dy) for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)))
            # shading: two lobes lit from the upper left
            lobe = 4.6 if x < 8 else 11.4
            d = hypot(x + 0.5 - (lobe - 1.2), y + 0.5 - 5.0)
            v = clamp(1.05 - d / 8.0 - (y - 6) * 0.05)
            t = v * 2.0 + (BAYER4[y & 3][x & 3] + 0.5) / 16 - 0.5
            idx = (12, 13, 14)[int(clamp(round(t), 0, 2))]
            if edge:
                idx = 12
            hx, hy = x - 4.0, y - 4.0
            if hx * hx + hy * hy <= 1.3 or (x == 5 and y == 3):
                idx = 15
            rows[y][x] = idx
            shape[y][x] = idx
    return rows, shape


# ----------------------------------------------------------------------------------------------
# The magnifier: lens disc inscribed in (20,20)-(220,220), rim around it, handle to the lower right.

LENS_CX, LENS_CY, LENS_R = 120.0, 120.0, 100.0
RIM_R = 117.0
HANDLE_ANGLE = radians(56.0)
HDX, HDY = cos(HANDLE_ANGLE), sin(HANDLE_ANGLE)
COLLAR_S0, COLLAR_S1 = 106.0, 146.0
GRIP_S0, GRIP_S1 = 146.0, 254.0


def in_lens(px, py):
    """Pixel (px, py) belongs to the lens disc (its centre lies within radius 100)."""
    return power(px + 0.5 - LENS_CX, 2) + power(py + 0.5 - LENS_CY, 2) <= LENS_R * LENS_R


def handle_halfwidth(s):
    if COLLAR_S0 <= s < COLLAR_S1:
        # collar: a short cone from the rim and two rings
        t = (s - COLLAR_S0) / (COLLAR_S1 - COLLAR_S0)
        w = 9.5 + 3.0 * t
        if 126.0 <= s < 132.0 or 139.0 <= s < COLLAR_S1:
            w += 1.6
        return w
    if GRIP_S0 <= s <= GRIP_S1:
        t = (s - GRIP_S0) / (GRIP_S1 - GRIP_S0)
        w = 12.0 + 4.5 * power(sin(math.pi * clamp(t * 1.25)), 0.8)
        endr = 13.5
        if s > GRIP_S1 - endr:
            w = min(w, math.sqrt(max(0.0, endr * endr - power(s - (GRIP_S1 - endr), 2))) * 1.08)
        return w
    return -1.0


def handle_coords(x, y):
    dx, dy = x - LENS_CX, y - LENS_CY
    return dx * HDX + dy * HDY, -dx * HDY + dy * HDX  # along, across


def magnifier_part(px, py):
    """0 outside the window, 1 lens, 2 rim, 3 collar, 4 grip (by pixel centre)."""
    x, y = px + 0.5, py + 0.5
    r2 = power(x - LENS_CX, 2) + power(y - LENS_CY, 2)
    if r2 <= LENS_R * LENS_R:
        return 1
    if r2 <= RIM_R * RIM_R:
        return 2
    s, q = handle_coords(x, y)
    hw = handle_halfwidth(s)
    if hw > 0 and abs(q) <= hw:
        return 3 if s < COLLAR_S1 else 4
    return 0


def normalise(v):
    n = math.sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])
    return (v[0] / n, v[1] / n, v[2] / n)


LIGHT = normalise((-0.55, -0.65, 0.55))


def metal_shade(n, base, env_dark, env_light, shine=40.0):
    """Polished metal: a fake environment (bright sky above, dark ground below) plus a sharp
    highlight from the light."""
    nx, ny, nz = n
    rx, ry, rz = 2 * nz * nx, 2 * nz * ny, 2 * nz * nz - 1
    sky = smoothstep(0.25, -0.55, ry)  # looking up = bright
    env = mix(env_dark, env_light, sky)
    diff = max(0.0, nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2])
    specular = power(max(0.0, rx * LIGHT[0] + ry * LIGHT[1] + rz * LIGHT[2]), shine)
    c = mix(scale(base, 0.35 + 0.65 * diff), env, 0.55)
    return mix(c, (255.0, 255.0, 250.0), clamp(specular * 1.2))


def magnifier_colour(px, py, part, grain):
    x, y = px + 0.5, py + 0.5
    if part == 2:
        dx, dy = x - LENS_CX, y - LENS_CY
        r = math.sqrt(dx * dx + dy * dy)
        t = clamp((r - LENS_R) / (RIM_R - LENS_R))
        ux, uy = dx / r, dy / r
        # a rolled bead with a flat top and a small inner step
        slope = cos(math.pi * t) * 1.4
        if t < 0.18:
            slope = 1.6  # the bevel facing into the lens
        n = normalise((-slope * ux, -slope * uy, 1.0))  # the surface rises away from the lens
        c = metal_shade(n, (150.0, 152.0, 160.0), (30.0, 32.0, 40.0), (215.0, 220.0, 230.0))
        # engraved rings
        if abs(t - 0.22) < 0.035 or abs(t - 0.82) < 0.04:
            c = scale(c, 0.55)
        if t > 0.94 or t < 0.04:
            c = scale(c, 0.45)
        # a faint glint of the glass caught on the inner edge, upper left
        ang = atan2(dy, dx)
        if t < 0.12 and abs(ang - radians(-135)) < 0.35:
            c = mix(c, (240.0, 248.0, 255.0), 0.6)
        return c
    s, q = handle_coords(x, y)
    hw = handle_halfwidth(s)
    nq = clamp(q / max(hw, 1.0), -0.999, 0.999)
    nz = math.sqrt(1.0 - nq * nq)
    n = normalise((-HDY * nq, HDX * nq, nz))
    if part == 3:
        c = metal_shade(n, (200.0, 150.0, 60.0), (70.0, 40.0, 12.0), (255.0, 222.0, 130.0), 30.0)
        if 126.0 <= s < 127.2 or 139.0 <= s < 140.2 or 131.0 <= s < 132.0:
            c = scale(c, 0.5)
    else:
        # turned wood, red-brown, lacquered: grain lines along the handle, the upper side lit by
        # the sky, a sharp reflection stripe in the lacquer, the lower side in shade
        g = grain(s * 0.35, q * 2.2)
        base = mix((96.0, 42.0, 20.0), (160.0, 84.0, 40.0), g)
        ring = 0.5 + 0.5 * sin(q * 1.3 + s * 0.05 + 6.0 * g)
        base = scale(base, 0.85 + 0.15 * ring)
        lit = 0.5 - 0.5 * nq  # 1 on the upper side, 0 on the lower
        c = scale(base, 0.38 + 0.85 * power(lit, 1.3))
        stripe = exp(-power((nq + 0.45) / 0.12, 2))
        c = mix(c, (255.0, 226.0, 196.0), 0.75 * stripe)
        bounce = exp(-power((nq - 0.86) / 0.08, 2))
        c = mix(c, (170.0, 110.0, 80.0), 0.35 * bounce)
    if abs(q) > hw - 1.0 or s > GRIP_S1 - 1.0:
        c = scale(c, 0.45)
    return c


class Noise:
    """Tileable value noise on a size x size lattice, smooth interpolation, several octaves."""

    def __init__(self, rng, size=256, octaves=(32, 16, 8, 4, 2), weights=None):
        self.size = size
        weights = weights or [1.0 / (1 + i) for i in range(len(octaves))]
        total = math.fsum(weights)
        field = [[0.0] * size for _ in range(size)]
        for cell, wgt in zip(octaves, weights):
            n = size // cell
            lat = [[rng.random() for _ in range(n)] for _ in range(n)]
            for y in range(size):
                gy = y / cell
                y0 = int(gy)
                fy = gy - y0
                fy = fy * fy * (3 - 2 * fy)
                ra, rb = lat[y0 % n], lat[(y0 + 1) % n]
                row = field[y]
                for x in range(size):
                    gx = x / cell
                    x0 = int(gx)
                    fx = gx - x0
                    fx = fx * fx * (3 - 2 * fx)
                    x1 = (x0 + 1) % n
                    x0 %= n
                    a = ra[x0] + (ra[x1] - ra[x0]) * fx
                    b = rb[x0] + (rb[x1] - rb[x0]) * fx
                    row[x] += (a + (b - a) * fy) * wgt / total
        self.f = field

    def __call__(self, x, y):
        s = self.size
        xi, yi = int(math.floor(x)), int(math.floor(y))
        fx, fy = x - xi, y - yi
        x0, y0 = xi % s, yi % s
        x1, y1 = (x0 + 1) % s, (y0 + 1) % s
        r0, r1 = self.f[y0], self.f[y1]
        a = r0[x0] + (r0[x1] - r0[x0]) * fx
        b = r1[x0] + (r1[x1] - r1[x0]) * fx
        return a + (b - a) * fy


def make_magnifier(rng):
    w, h = 300, 360
    parts = [[magnifier_part(x, y) for x in range(w)] for y in range(h)]
    grain = Noise(rng, 64, (16, 8, 4), [1.0, 0.5, 0.25])
    img = Image(w, h)
    samples = {2: [], 3: [], 4: []}
    for y in range(h):
        for x in range(w):
            p = parts[y][x]
            if p >= 2:
                c = magnifier_colour(x, y, p, grain)
                # an outline where the window shape ends, so the silhouette reads on any desktop
                if any(not (0 <= x + dx < w and 0 <= y + dy < h) or parts[y + dy][x + dx] == 0
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                    c = scale(c, 0.35)
                img.px[y][x] = c
                samples[p].append(c)
    # each part its share of the sixteen colours: steel 6, brass 4, wood 4, black and white
    pal = []
    ranges = {}
    for part, count in ((2, 6), (3, 4), (4, 4)):
        cols = samples[part]
        sub = [to255(p) for p in kmeans(cols[::3], median_cut(cols[::2], count), 5)]
        ranges[part] = list(range(len(pal), len(pal) + count))
        pal += sub
    pal += [BLACK, WHITE]
    iblack, iwhite = 14, 15

    def fixed(x, y):
        return iblack if parts[y][x] < 2 else None

    def allowed(x, y):
        return ranges[parts[y][x]] + [iblack]

    pic = fs_dither(img, pal, 0.85, fixed, allowed)
    rows = pic + [[iblack if parts[y][x] >= 2 else iwhite for x in range(w)] for y in range(h)]
    # the window shape: everything of the window (lens included) in black, key colour around
    shape_pal = [BLACK, KEY]
    shape = [[0 if parts[y][x] else 1 for x in range(w)] for y in range(h)]
    return rows, pal, shape, shape_pal


# ----------------------------------------------------------------------------------------------
# A vector ant for the larger pictures (title, icons): ellipses and leg polylines in the ant's own
# coordinates (u forward, v to its right, in body lengths), shaded like lacquered chitin.


def ellipse_hit(u, v, cu, cv, ru, rv):
    du, dv = (u - cu) / ru, (v - cv) / rv
    d = du * du + dv * dv
    if d > 1.0:
        return None
    return du, dv, math.sqrt(1.0 - d)


ANT_LEGS = [  # attachment, knee, foot (u, |v|) for front, middle and back legs, two gait phases
    [((0.16, 0.04), (0.30, 0.20), (0.46, 0.29)), ((0.12, 0.05), (0.16, 0.25), (0.06, 0.40)),
     ((0.07, 0.04), (-0.02, 0.22), (-0.26, 0.34))],
    [((0.16, 0.04), (0.26, 0.22), (0.36, 0.33)), ((0.12, 0.05), (0.20, 0.24), (0.17, 0.40)),
     ((0.07, 0.04), (0.03, 0.23), (-0.15, 0.37))],
]


class VectorAnt:
    def __init__(self, cx, cy, heading, length, body=(44.0, 28.0, 20.0), leg_w=0.026, gait=0):
        self.cx, self.cy, self.L = cx, cy, length
        self.ca, self.sa = cos(heading), sin(heading)  # heading: 0 = east, y down
        self.body = body
        self.leg_w = leg_w
        self.gait = gait
        self.extent = length * 0.75

    def to_local(self, x, y):
        dx, dy = (x - self.cx) / self.L, (y - self.cy) / self.L
        return dx * self.ca + dy * self.sa, -dx * self.sa + dy * self.ca

    def shade(self, du, dv, nz, gloss=1.0):
        # normal back in picture space
        nx = du * self.ca - dv * self.sa
        ny = du * self.sa + dv * self.ca
        n = normalise((nx, ny, nz + 0.15))
        diff = max(0.0, n[0] * LIGHT[0] + n[1] * LIGHT[1] + n[2] * LIGHT[2])
        rx, ry, rz = 2 * n[2] * n[0], 2 * n[2] * n[1], 2 * n[2] * n[2] - 1
        specular = power(max(0.0, rx * LIGHT[0] + ry * LIGHT[1] + rz * LIGHT[2]), 14)
        c = scale(self.body, 0.55 + 0.9 * diff)
        return mix(c, (235.0, 215.0, 195.0), clamp(specular * 0.75 * gloss))

    def __call__(self, x, y):
        u, v = self.to_local(x, y)
        if abs(u) > 0.75 or abs(v) > 0.5:
            return None
        for cu, cv, ru, rv, gloss in ((0.40, 0.0, 0.105, 0.10, 1.0), (0.14, 0.0, 0.13, 0.062, 0.8),
                                      (-0.25, 0.0, 0.21, 0.145, 1.0), (-0.015, 0.0, 0.04, 0.035, 0.5)):
            hit = ellipse_hit(u, v, cu, cv, ru, rv)
            if hit:
                return self.shade(*hit, gloss), 1.0
        av = abs(v)
        side = 0 if v < 0 else 1
        legs = ANT_LEGS[(self.gait + side) % 2]
        dark = scale(self.body, 0.7)
        for seg in legs:
            for (a, b) in ((seg[0], seg[1]), (seg[1], seg[2])):
                d, _ = seg_dist(u, av, a[0], a[1], b[0], b[1])
                if d < self.leg_w:
                    return dark, 1.0
        # mandibles and elbowed antennae
        for a, b, wd in (((0.47, 0.03), (0.53, 0.015), 0.02), ((0.44, 0.04), (0.50, 0.15), 0.018),
                         ((0.50, 0.15), (0.64, 0.11), 0.016)):
            d, _ = seg_dist(u, av, a[0], a[1], b[0], b[1])
            if d < wd:
                return dark, 1.0
        return None


# ----------------------------------------------------------------------------------------------
# The title picture: "Kirelo" in drawn letters and an ant walking over them.

# Glyph strokes in em units: x to the right, y up from the baseline; x-height 0.56, ascender 1.0.
GLYPHS = {
    "K": (0.66, [("line", (0.0, 0.0), (0.0, 1.0)), ("line", (0.60, 1.0), (0.05, 0.44)),
                 ("line", (0.22, 0.61), (0.66, 0.0))]),
    "i": (0.0, [("line", (0.0, 0.0), (0.0, 0.56))]),
    "r": (0.30, [("line", (0.0, 0.0), (0.0, 0.56)),
                 ("arc", (0.42, 0.16), 0.40, 118.0, 168.0)]),
    "e": (0.58, [("arc", (0.29, 0.28), 0.28, 20.0, 330.0), ("line", (0.02, 0.29), (0.56, 0.29))]),
    "l": (0.0, [("line", (0.0, 0.0), (0.0, 1.0))]),
    "o": (0.58, [("arc", (0.29, 0.28), 0.28, 0.0, 360.0)]),
}


def glyph_distance(strokes, gx, gy):
    best = 1e9
    for st in strokes:
        if st[0] == "line":
            d, _ = seg_dist(gx, gy, st[1][0], st[1][1], st[2][0], st[2][1])
        else:
            (cx, cy), r, a0, a1 = st[1], st[2], st[3], st[4]
            ang = degrees(atan2(gy - cy, gx - cx)) % 360.0
            if a1 >= 360.0 or (a0 <= ang <= a1):
                d = abs(hypot(gx - cx, gy - cy) - r)
            else:
                p0 = (cx + r * cos(radians(a0)), cy + r * sin(radians(a0)))
                p1 = (cx + r * cos(radians(a1)), cy + r * sin(radians(a1)))
                d = min(hypot(gx - p0[0], gy - p0[1]), hypot(gx - p1[0], gy - p1[1]))
        best = min(best, d)
    return best


class Lettering:
    """The word laid out on a baseline; each letter a little tilted and bounced like handwriting."""

    def __init__(self, word, x0, base, em, stroke):
        self.em, self.stroke = em, stroke
        self.letters = []
        x = x0
        tilts = [-0.06, 0.08, -0.04, 0.05, -0.07, 0.04]
        bounce = [0.0, -0.06, 0.03, -0.02, 0.05, -0.03]
        for i, ch in enumerate(word):
            adv, strokes = GLYPHS[ch]
            self.letters.append((x, base - bounce[i] * em, tilts[i], strokes, ch, adv))
            x += (adv + 0.34) * em

    def distance(self, x, y):
        best = 1e9
        for lx, lb, tilt, strokes, ch, adv in self.letters:
            gx, gy = (x - lx) / self.em, (lb - y) / self.em
            cx = adv / 2
            ct, st = cos(tilt), sin(tilt)
            rx, ry = cx + (gx - cx) * ct - gy * st, (gx - cx) * st + gy * ct
            best = min(best, glyph_distance(strokes, rx, ry) * self.em)
        return best

    def i_dot(self):
        for lx, lb, tilt, strokes, ch, adv in self.letters:
            if ch == "i":
                return lx - 0.05 * self.em, lb - 0.84 * self.em
        return None


def make_title(rng):
    W = H = 100
    img = Image(W, H)
    # warm paper with a soft light from the upper left and a little grain
    nz = Noise(rng, 64, (16, 8, 4), [1.0, 0.6, 0.4])
    for y in range(H):
        for x in range(W):
            d = hypot(x - 40, y - 36) / 90.0
            c = mix((255.0, 244.0, 214.0), (232.0, 196.0, 140.0), clamp(d))
            img.px[y][x] = scale(c, 0.96 + 0.08 * nz(x, y))
    # a dotted pheromone trail coming from the left and curling under the ant
    for i in range(13):
        t = i / 12.0
        px = 4 + 58 * t
        py = 52 - 20 * sin(t * 2.6) + 4 * t
        col = (255.0, 165.0, 123.0) if i % 3 else (255.0, 100.0, 100.0)
        render_shape(img, int(px) - 2, int(py) - 2, int(px) + 3, int(py) + 3,
                     lambda x, y, px=px, py=py, col=col: (col, 1.0) if hypot(x - px, y - py) < 1.3 else None)
    # lettering with a soft cast shadow, a dark outline and a sunny orange fill
    em = 22.5
    word = Lettering("Kirelo", 50.0 - 3.82 * em / 2, 90.0, em, 2.8)
    shadow = (120.0, 84.0, 48.0)

    def shadow_fn(x, y):
        d = word.distance(x - 1.4, y - 1.8)
        k = 1.0 - smoothstep(word.stroke + 1.2, word.stroke + 2.8, d)
        return (shadow, k * 0.45) if k > 0 else None

    render_shape(img, 0, 50, W, H, shadow_fn, 2)

    def letter_fn(x, y):
        d = word.distance(x, y)
        if d > word.stroke + 1.3:
            return None
        if d > word.stroke:
            return (52.0, 28.0, 16.0), 1.0
        t = clamp((y - 62.0) / 30.0)
        c = mix((255.0, 196.0, 110.0), (226.0, 86.0, 48.0), t)
        if d < word.stroke * 0.45 and word.distance(x + 0.9, y + 0.9) > d:
            c = mix(c, (255.0, 245.0, 210.0), 0.55)  # a glossy line on the upper left
        return c, 1.0

    render_shape(img, 0, 50, W, H, letter_fn, 4)
    # the i has a heart for a dot
    hx, hy = word.i_dot()

    def heart_fn(x, y):
        u, v = (x - hx) / 3.6, (hy - y) / 3.4 + 0.2
        q = u * u + v * v - 1.0
        if q * q * q - u * u * v * v * v > 0.0:
            return None
        c = (214.0, 38.0, 58.0) if u * u + power(v - 0.5, 2) > 0.12 else (255.0, 150.0, 160.0)
        return c, 1.0

    render_shape(img, int(hx) - 6, int(hy) - 6, int(hx) + 7, int(hy) + 7, heart_fn, 4)
    # the ant, with its shadow on the paper
    ant = VectorAnt(60.0, 28.0, radians(-18.0), 52.0, leg_w=0.03)

    def ant_shadow(x, y):
        return (shadow, 0.35) if ant(x - 2.2, y - 3.0) else None

    render_shape(img, 20, 0, W, 62, ant_shadow, 2)
    render_shape(img, 20, 0, W, 62, ant, 4)
    pal = median_cut([c for row in img.px for c in row], 16)
    pal = kmeans([c for row in img.px for c in row][::3], pal, 5)
    pal = [to255(p) for p in pal]
    return fs_dither(img, pal, 0.55), pal


# ----------------------------------------------------------------------------------------------
# Icons and cursors.


def quantise_opaque(img, count, dither=0.0):
    """Index rows and palette for an image whose coverage >= 0.5 counts as opaque (index 0 is
    black and used for the transparent pixels)."""
    cols = [img.px[y][x] for y in range(img.h) for x in range(img.w) if img.a[y][x] >= 0.5]
    pal = kmeans(cols, median_cut(cols, count - 1), 6)
    pal = [BLACK] + [to255(p) for p in pal]
    opaque = [[img.a[y][x] >= 0.5 for x in range(img.w)] for y in range(img.h)]
    for y in range(img.h):
        for x in range(img.w):
            if not opaque[y][x]:
                img.px[y][x] = (0.0, 0.0, 0.0)

    def fixed(x, y):
        return 0 if not opaque[y][x] else None

    if dither > 0:
        idx = fs_dither(img, pal, dither, fixed)
    else:
        idx = [[nearest(pal, img.px[y][x]) if opaque[y][x] else 0 for x in range(img.w)] for y in range(img.h)]
    return idx, opaque, pal


def make_icon(size):
    img = Image(size, size)
    k = size / 32.0
    cx = cy = 12.6 * k
    rl, ro = 9.6 * k, 12.4 * k
    hx0, hy0, hx1, hy1 = 20.5 * k, 20.5 * k, 29.0 * k, 29.0 * k
    hr = 2.6 * k if size >= 32 else 1.6

    def glass(x, y):
        d = hypot(x - cx, y - cy)
        if d <= rl:
            t = d / rl
            c = mix((250.0, 236.0, 190.0), (226.0, 184.0, 108.0), t * t)
            return c, 1.0
        return None

    def rim(x, y):
        d = hypot(x - cx, y - cy)
        if rl < d <= ro:
            ang = atan2(y - cy, x - cx)
            lit = 0.5 + 0.5 * cos(ang + 2.35)
            return mix((60.0, 64.0, 74.0), (215.0, 220.0, 230.0), lit), 1.0
        dh, t = seg_dist(x, y, hx0, hy0, hx1, hy1)
        if d > ro and dh <= hr:
            across = ((x - hx0) * -0.7071 + (y - hy0) * 0.7071) / hr
            c = mix((150.0, 80.0, 40.0), (70.0, 34.0, 16.0), clamp(0.5 + across * 0.6))
            return c, 1.0
        return None

    render_shape(img, 0, 0, size, size, glass, 4)
    render_shape(img, 0, 0, size, size, rim, 4)
    if size >= 32:
        # a magnified ant walking across the glass
        ant = VectorAnt(cx + 0.6, cy + 0.8, radians(-62.0), 21.0, leg_w=0.032)
        render_shape(img, 0, 0, size, size, ant, 4)
    else:
        # the game's own 8x8 ant under the small glass
        cell = ant_cells()[0]  # heading north, frame 0
        ox, oy = int(round(cx - 4)), int(round(cy - 4))
        for y in range(8):
            for x in range(8):
                v = cell[y][x]
                if v is not None:
                    img.px[oy + y][ox + x] = tuple(float(t) for t in SPRITE_PAL[v])
                    img.a[oy + y][ox + x] = 1.0
    idx, opaque, pal = quantise_opaque(img, 16)
    return icon_image_bytes(idx, opaque, pal, size)


def outline_cursor(img, fill_fn, size=32):
    """Cursor artwork: fill_fn(x, y) -> colour or None at pixel centres; a 1-pixel black outline
    is added around the filled pixels."""
    filled = [[None] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            filled[y][x] = fill_fn(x + 0.5, y + 0.5)
    for y in range(size):
        for x in range(size):
            if filled[y][x] is not None:
                img.px[y][x] = filled[y][x]
                img.a[y][x] = 1.0
            elif any(0 <= x + dx < size and 0 <= y + dy < size and filled[y + dy][x + dx] is not None
                     for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                img.px[y][x] = (0.0, 0.0, 0.0)
                img.a[y][x] = 1.0


def make_stick_cursor():
    """A poking stick with a flat foot; the hot spot (12, 28) is on the foot."""
    img = Image(32, 32)

    def fill(x, y):
        d, t = seg_dist(x, y, 27.5, 3.0, 14.5, 25.0)
        if d <= 1.7:
            side = ((x - 27.5) * 0.86 + (y - 3.0) * 0.51)  # across the shaft, lit side
            c = (236.0, 196.0, 132.0) if side < -0.2 else (188.0, 136.0, 78.0)
            if 0.55 < t < 0.62:
                c = (120.0, 70.0, 36.0)  # a binding near the foot
            return c
        if 26.0 <= y <= 30.0 and 6.0 <= x <= 17.0:
            if x > 15.0 and y < 27.5 - (x - 15.0):
                return None
            if x < 8.0 and y < 28.0 - (8.0 - x) * 1.5:
                return None
            return (250.0, 226.0, 170.0) if y < 27.0 else (196.0, 146.0, 86.0)
        return None

    outline_cursor(img, fill)
    idx, opaque, pal = quantise_opaque(img, 8)
    return icon_image_bytes(idx, opaque, pal, 32)


def make_binoculars_cursor():
    """Binoculars seen from the front, centred on the hot spot (15, 15)."""
    img = Image(32, 32)
    cxl, cxr = 9.0, 22.0

    def fill(x, y):
        for cx in (cxl, cxr):
            d = hypot(x - cx, y - 21.0)
            if d <= 6.2:
                if d <= 4.2:
                    if hypot(x - cx + 1.5, y - 19.5) < 1.4:
                        return (240.0, 250.0, 255.0)
                    return (70.0, 110.0, 190.0) if y < 21.5 else (40.0, 62.0, 130.0)
                return (150.0, 154.0, 166.0) if x < cx else (92.0, 95.0, 106.0)
            if abs(x - cx) <= 4.0 and 5.0 <= y <= 16.0:
                if y <= 7.0:
                    return (60.0, 62.0, 70.0)
                return (170.0, 174.0, 186.0) if x < cx - 1.0 else (110.0, 113.0, 125.0)
        if 13.0 <= x <= 18.0 and 9.0 <= y <= 13.5:
            return (134.0, 138.0, 150.0)
        return None

    outline_cursor(img, fill)
    idx, opaque, pal = quantise_opaque(img, 10)
    return icon_image_bytes(idx, opaque, pal, 32)


# ----------------------------------------------------------------------------------------------
# The default field: a photograph-like pile of dry leaves, 455 x 312.

FIELD_W, FIELD_H = 455, 312

LEAF_COLOURS = [  # dry leaves: tan, ochre, rust, browns, greyed beige, yellow ochre, red-brown
    (184.0, 140.0, 88.0), (200.0, 150.0, 66.0), (186.0, 98.0, 46.0), (142.0, 88.0, 50.0),
    (106.0, 68.0, 42.0), (174.0, 134.0, 92.0), (214.0, 174.0, 96.0), (150.0, 66.0, 38.0),
    (192.0, 120.0, 60.0), (160.0, 112.0, 70.0),
]
LEAF_KINDS = ["oak", "oak", "long", "long", "round", "round", "maple", "maple", "willow", "beech"]


class Leaf:
    def __init__(self, rng, kind, x, y, length, layer):
        self.kind = kind
        self.bx, self.by = x, y  # where the stalk meets the blade
        self.ang = rng.uniform(0.0, 2.0 * math.pi)
        self.ca, self.sa = cos(self.ang), sin(self.ang)
        self.L = length
        self.layer = layer
        base = rng.choice(LEAF_COLOURS)
        j = rng.uniform(0.86, 1.12)
        self.colour = (base[0] * j * rng.uniform(0.95, 1.05), base[1] * j * rng.uniform(0.95, 1.05),
                       base[2] * j * rng.uniform(0.93, 1.07))
        self.pale = mix(self.colour, (226.0, 206.0, 170.0), 0.45)
        self.dark = mix(scale(self.colour, 0.48), (60.0, 36.0, 22.0), 0.4)
        self.curl = rng.uniform(-0.35, 1.1)
        self.fold = rng.uniform(-0.15, 0.45)
        self.arch = rng.uniform(-0.2, 0.5)
        self.elev = rng.uniform(2.0, 5.5) + max(0.0, self.curl) * 2.5
        self.nox, self.noy = rng.uniform(0, 256), rng.uniform(0, 256)
        self.spots = power(rng.random(), 2)
        self.stalk_bend = rng.uniform(-0.4, 0.4)
        self.stalk_len = rng.uniform(0.08, 0.2) * length
        self.veins = rng.randint(6, 10)
        self.vein_slope = rng.uniform(0.7, 1.3)
        self.lobe_phase = rng.uniform(0.0, 0.4)
        self.bend = rng.uniform(-0.14, 0.14)  # the midrib curves a little
        self.asym = rng.uniform(-0.12, 0.12)  # one half of the blade wider than the other
        self.rag = rng.uniform(0.25, 0.6) if rng.random() < 0.45 else 0.0  # bitten, torn margin
        self.holes = rng.random() < 0.22
        self.rox, self.roy = rng.uniform(0, 256), rng.uniform(0, 256)
        second = rng.choice(LEAF_COLOURS)
        self.patch = (second[0], second[1], second[2])
        self.patchiness = rng.uniform(0.1, 0.6)
        if kind == "oak":
            self.p, self.q, self.W = 0.95, 0.75, rng.uniform(0.30, 0.38)
            self.lobes = rng.randint(3, 5) + 0.5
            self.veins = int(self.lobes * 2)
        elif kind == "long":
            self.p, self.q, self.W = 0.8, 1.05, rng.uniform(0.18, 0.24)
        elif kind == "round":
            self.p, self.q, self.W = 0.55, 0.85, rng.uniform(0.36, 0.44)
            self.veins = rng.randint(6, 8)
        elif kind == "willow":
            self.p, self.q, self.W = 1.0, 1.1, rng.uniform(0.08, 0.11)
            self.veins = 14
        elif kind == "beech":
            self.p, self.q, self.W = 0.75, 0.9, rng.uniform(0.27, 0.32)
            self.veins = rng.randint(7, 10)
        else:  # maple: lobed around the stalk point
            self.W = 0.6
            self.lobe_amp = [1.0, rng.uniform(0.78, 0.92), rng.uniform(0.42, 0.6)]
        if kind != "maple":
            um = self.p / (self.p + self.q)
            self.norm = 1.0 / (power(um, self.p) * power(1 - um, self.q))
        reach = length * (1.05 if kind == "maple" else 1.0)
        r = reach + self.stalk_len + 2
        self.box = (int(x - r) - 1, int(y - r) - 1, int(x + r) + 2, int(y + r) + 2)
        if kind != "maple":  # the blade lies in front of the stalk point
            cx, cy = x + self.ca * length / 2, y + self.sa * length / 2
            hw = length / 2 + self.stalk_len + 2
            wd = self.W * length + 2
            ex = abs(self.ca) * hw + abs(self.sa) * wd
            ey = abs(self.sa) * hw + abs(self.ca) * wd
            self.box = (int(cx - ex) - 1, int(cy - ey) - 1, int(cx + ex) + 2, int(cy + ey) + 2)

    def local(self, x, y):
        dx, dy = x - self.bx, y - self.by
        return dx * self.ca + dy * self.sa, -dx * self.sa + dy * self.ca

    def halfwidth(self, u):
        """Half width of the blade in pixels at u (0 stalk end, 1 tip)."""
        if u <= 0.0 or u >= 1.0:
            return 0.0
        e = power(u, self.p) * power(1.0 - u, self.q) * self.norm
        w = self.W * self.L * e
        if self.kind == "oak":
            s = abs(sin(math.pi * (self.lobes * u + self.lobe_phase)))
            w *= 0.52 + 0.48 * power(s, 0.55)
        elif self.kind == "round":
            w *= 1.0 + 0.035 * abs(sin(u * 75.0))
        elif self.kind == "beech":
            w *= 1.0 + 0.03 * sin(u * self.veins * 2 * math.pi)
        return w

    def maple_radius(self, th):
        best = 0.0
        for k, tk in enumerate((0.0, 0.95, -0.95, 1.85, -1.85)):
            a = self.lobe_amp[(k + 1) // 2]
            d = abs(th - tk)
            if d < 0.62:
                best = max(best, a * power(1.0 - d / 0.62, 1.1))  # pointed lobes, deep sinuses
        r = self.L * (0.4 + 0.6 * best)
        if abs(th) > 2.4:
            r *= 0.55 + 0.45 * (math.pi - abs(th)) / (math.pi - 2.4)
        tooth = th * 9.0 - math.floor(th * 9.0)
        return r * (1.0 + 0.06 * tooth * best)

    def sample(self, x, y, ragged=None):
        """(inside distance in px, u, across, half width) at a point; distance < 0 outside.
        ragged(x, y) -> 0..1 noise, when given, bites pieces out of the margin."""
        along, across = self.local(x, y)
        if self.kind == "maple":
            r = hypot(along, across)
            th = atan2(across, along)
            R = self.maple_radius(th)
            if ragged is not None and self.rag > 0.0:
                R *= 1.0 - self.rag * 0.5 * smoothstep(0.58, 0.8, ragged(self.rox + th * 14.0, self.roy))
            return R - r, r / self.L, th, R
        u = along / self.L
        across -= self.bend * self.L * u * u
        hw = self.halfwidth(u)
        if hw <= 0.0:
            return -1e3, u, across, 0.0
        hw *= 1.0 + (self.asym if across > 0 else -self.asym)
        if ragged is not None and self.rag > 0.0:
            side = 60.0 if across > 0 else 0.0
            hw *= 1.0 - self.rag * smoothstep(0.6, 0.82, ragged(self.rox + u * self.L * 0.45, self.roy + side))
        return hw - abs(across), u, across, hw

    def stalk_distance(self, x, y):
        along, across = self.local(x, y)
        if self.kind != "maple":
            across -= self.bend * self.L * power(along / self.L, 2)
        if along > 1.0 or along < -self.stalk_len - 1.0:
            return 1e3
        t = -along / self.stalk_len
        bend = self.stalk_bend * self.stalk_len * t * t
        return abs(across - bend) - (0.9 if t < 0.85 else 1.3)

    def colour_at(self, d, u, acr, hw, noise, fine):
        L = self.L
        n1 = noise(self.nox + u * L * 0.9, self.noy + (acr if self.kind != "maple" else acr * u * L) * 0.9)
        c = scale(self.colour, 0.8 + 0.42 * n1)
        n3 = noise(self.roy + u * L * 0.5, self.rox + (acr if self.kind != "maple" else acr * u * L) * 0.5)
        c = mix(c, self.patch, smoothstep(0.45, 0.7, n3) * self.patchiness)
        # the fine texture of a dry leaf surface
        n4 = fine(self.nox * 0.7 + u * L * 2.6, self.noy * 0.7 + (acr if self.kind != "maple" else acr * u * L) * 2.6)
        c = scale(c, 0.88 + 0.24 * n4)
        # a little drier and paler towards the tip, the stalk end keeps more colour
        c = mix(c, self.pale, clamp((u - 0.55) * 0.5 + (n1 - 0.5) * 0.4))
        # veins
        vein = 0.0
        shade = 1.0
        if self.kind == "maple":
            r = u * L
            for tk in (0.0, 0.95, -0.95, 1.85, -1.85):
                dist = abs(acr - tk) * r
                if dist < 1.2 and u < 0.95:
                    vein = max(vein, (1.0 - dist / 1.2) * (1.0 - u))
            shade *= 0.96 + 0.04 * cos(acr * 10.0)
        else:
            mid_w = max(0.55, 0.03 * self.W * L * (1.2 - u))
            if abs(acr) < mid_w + 0.8:
                vein = max(vein, clamp(1.0 - (abs(acr) - mid_w + 0.4) / 1.2) * (1.0 - 0.6 * u))
            if hw > 3.0:
                ph = (u - self.vein_slope * abs(acr) / L) * self.veins
                f = ph - math.floor(ph)
                gap = L / self.veins * 0.6
                dist = min(f, 1.0 - f) * gap
                if ph > 0.3:
                    vein = max(vein, clamp(1.0 - dist / 0.75) * 0.65 * clamp(1.0 - abs(acr) / hw * 0.9))
                shade *= 0.94 + 0.06 * cos(2.0 * math.pi * f)
        c = mix(c, self.pale, vein * 0.45)
        # dark rotting spots and a darker, drier margin
        n2 = fine(self.noy + u * L * 3.0, self.nox + acr * 3.0)
        spot = smoothstep(0.68 - self.spots * 0.06, 0.74 - self.spots * 0.06, n2) * self.spots
        c = mix(c, self.dark, spot * 0.7)
        margin = clamp(1.0 - d / (1.8 + 0.03 * L))
        c = mix(c, self.dark, margin * 0.55)
        return scale(c, shade)

    def normal_at(self, u, acr, hw):
        if self.kind == "maple":
            s_acr, s_al = 0.0, self.curl * 0.6 * u * u + self.arch * 0.3
            n = (-s_al, 0.0, 1.0)
            return normalise((n[0] * self.ca, n[0] * self.sa, 1.0))
        rel = acr / hw if hw > 0 else 0.0
        s_acr = self.curl * rel * abs(rel) * 1.1 + self.fold * (1.0 if acr > 0 else -1.0) * 0.6
        s_al = self.arch * cos(math.pi * u) * 0.8
        nx, ny = -s_al, -s_acr
        return normalise((nx * self.ca - ny * self.sa, nx * self.sa + ny * self.ca, 1.0))


def make_field(rng):
    W, H = FIELD_W, FIELD_H
    blotch = Noise(rng, 256, (32, 16, 8, 4), [1.0, 0.7, 0.45, 0.3])
    fine = Noise(rng, 256, (8, 4, 2), [1.0, 0.7, 0.5])
    light = Noise(rng, 256, (128, 64, 32), [1.0, 0.5, 0.25])
    img = Image(W, H)
    # the ground under the litter: dark crumbly soil with grit
    for y in range(H):
        for x in range(W):
            n = blotch(x * 1.7, y * 1.7)
            g = fine(x * 2.3 + 40, y * 2.3)
            c = mix((62.0, 46.0, 34.0), (104.0, 80.0, 58.0), clamp(n * 1.2 - 0.1))
            if g > 0.66:
                c = mix(c, (140.0, 120.0, 96.0), (g - 0.66) * 2.5)
            img.px[y][x] = c
    # the pile: big leaves underneath and everywhere, smaller ones settle on top
    leaves = []
    count = 230
    for i in range(count):
        layer = i / (count - 1)
        kind = rng.choice(LEAF_KINDS)
        size = rng.uniform(48.0, 125.0) * (1.0 - 0.3 * layer)
        if kind == "willow":
            size *= 0.9
        if kind == "maple":
            size *= 0.55
        x = rng.uniform(-40.0, W + 40.0)
        y = rng.uniform(-40.0, H + 40.0)
        leaves.append(Leaf(rng, kind, x, y, size, layer))
    twigs = []
    for i in range(7):
        x0, y0 = rng.uniform(0, W), rng.uniform(0, H)
        a = rng.uniform(0, math.pi)
        ln = rng.uniform(40, 110)
        twigs.append((rng.randint(40, count - 1), x0, y0, x0 + ln * cos(a), y0 + ln * sin(a),
                      rng.uniform(0.9, 1.8)))
    sdx, sdy = -LIGHT[0], -LIGHT[1]  # shadows fall away from the light (to the lower right)
    sn = hypot(sdx, sdy)
    sdx, sdy = sdx / sn, sdy / sn
    for i, lf in enumerate(leaves):
        ox, oy = sdx * lf.elev, sdy * lf.elev
        x0, y0, x1, y1 = lf.box
        x1 += int(ox) + 4
        y1 += int(oy) + 4
        depth = 0.74 + 0.26 * power(lf.layer, 0.6)
        soft = 1.2 + lf.elev * 0.55
        for y in range(max(0, y0 - 2), min(H, y1)):
            row = img.px[y]
            fy = y + 0.5
            for x in range(max(0, x0 - 2), min(W, x1)):
                fx = x + 0.5
                # cast shadow of this leaf on what lies below, and a tight contact shadow
                ds = max(lf.sample(fx - ox, fy - oy)[0], -lf.stalk_distance(fx - ox, fy - oy) - 0.5)
                sh = smoothstep(-soft, soft, ds) * 0.55
                d, u, acr, hw = lf.sample(fx, fy, fine)
                sh = max(sh, smoothstep(-2.5, 1.0, d) * 0.32)
                cov = clamp(d + 0.5)
                if lf.holes and cov > 0.0:
                    hole = blotch(lf.rox + fx * 1.9, lf.roy + fy * 1.9)
                    cov = min(cov, clamp((0.74 - hole) * 30.0))
                    if cov < 1.0:
                        sh = 0.0  # through the hole the shadow is the one below
                stalk = clamp(0.5 - lf.stalk_distance(fx, fy))
                if sh > 0.0:
                    row[x] = scale(row[x], 1.0 - sh)
                if stalk > 0.0 and cov < 1.0:
                    row[x] = mix(row[x], scale(lf.dark, depth * 0.9), stalk)
                if cov <= 0.0:
                    continue
                c = lf.colour_at(d, u, acr, hw, blotch, fine)
                n = lf.normal_at(u, acr, hw)
                diff = max(0.0, n[0] * LIGHT[0] + n[1] * LIGHT[1] + n[2] * LIGHT[2])
                lum = 0.5 + 0.78 * diff
                # a curled-up margin shows the paler underside
                if lf.kind != "maple" and lf.curl > 0.65 and hw > 0 and abs(acr) / hw > 0.86:
                    c = mix(c, lf.pale, 0.45)
                    lum *= 0.92
                c = scale(c, lum * depth)
                row[x] = mix(row[x], c, cov)
        for (ti, tx0, ty0, tx1, ty1, tw) in twigs:
            if ti == i:
                draw_twig(img, tx0, ty0, tx1, ty1, tw, sdx, sdy)
    # the light of the photograph: brighter from the upper left, gentle dapples, a vignette
    for y in range(H):
        row = img.px[y]
        for x in range(W):
            g = 1.06 - 0.16 * (x / W * 0.5 + y / H * 0.5)
            g *= 0.9 + 0.2 * light(x * 0.8, y * 0.8)
            vx, vy = (x - W / 2) / (W / 2), (y - H / 2) / (H / 2)
            g *= 1.0 - 0.12 * (vx * vx + vy * vy)
            g *= (0.97 + 0.06 * fine(x * 3.1, y * 3.1 + 99)) * 1.07
            c = row[x]
            n = (rng.random() - 0.5) * 9.0  # film grain
            row[x] = (c[0] * g + n, c[1] * g + n * 0.9, c[2] * g + n * 0.8)
    samples = [img.px[y][x] for y in range(0, H, 2) for x in range((y // 2) % 2, W, 2)]
    pal = median_cut(samples, 16)
    pal = kmeans(samples[::3], pal, 6)
    pal = sorted((to255(p) for p in pal), key=lambda c: (c[0] * 3 + c[1] * 6 + c[2], c))
    return fs_dither(img, pal, 0.9), pal


def draw_twig(img, x0, y0, x1, y1, w, sdx, sdy):
    bx0, by0 = int(min(x0, x1) - 8), int(min(y0, y1) - 8)
    bx1, by1 = int(max(x0, x1) + 12), int(max(y0, y1) + 12)
    for y in range(max(0, by0), min(img.h, by1)):
        for x in range(max(0, bx0), min(img.w, bx1)):
            fx, fy = x + 0.5, y + 0.5
            ds, _ = seg_dist(fx - sdx * 3, fy - sdy * 3, x0, y0, x1, y1)
            sh = (1.0 - smoothstep(w, w + 2.5, ds)) * 0.45
            if sh > 0:
                img.px[y][x] = scale(img.px[y][x], 1.0 - sh)
            d, t = seg_dist(fx, fy, x0, y0, x1, y1)
            cov = clamp(w - d + 0.5)
            if cov > 0:
                nx, ny = x1 - x0, y1 - y0
                nl = hypot(nx, ny)
                side = ((fx - x0) * -ny + (fy - y0) * nx) / nl / max(w, 0.5)
                lit = clamp(0.55 - side * 0.45 * (LIGHT[0] * -ny + LIGHT[1] * nx) / nl * 2)
                c = mix((70.0, 48.0, 32.0), (150.0, 116.0, 82.0), lit)
                img.px[y][x] = mix(img.px[y][x], c, cov)


# ----------------------------------------------------------------------------------------------


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = argv[1] if len(argv) > 1 else os.path.join(here, "art")
    only = set(argv[2:])
    os.makedirs(out, exist_ok=True)

    def want(name):
        return not only or name in only

    if want("sprites"):
        ants, shapes = make_ants()
        write(os.path.join(out, "107.bmp"), bmp_bytes(ants, SPRITE_PAL, 128, 16))
        write(os.path.join(out, "128.bmp"), bmp_bytes(shapes, SPRITE_PAL, 128, 8))
        write(os.path.join(out, "108.bmp"), bmp_bytes(make_ball(), SPRITE_PAL, 16, 32))
        heart, heart_shape = make_heart()
        write(os.path.join(out, "115.bmp"), bmp_bytes(heart, SPRITE_PAL, 16, 32))
        write(os.path.join(out, "129.bmp"), bmp_bytes(heart_shape, SPRITE_PAL, 16, 16))
    if want("magnifier"):
        rows, pal, shape, shape_pal = make_magnifier(Rng(126))
        write(os.path.join(out, "126.bmp"), bmp_bytes(rows, pal, 300, 720))
        write(os.path.join(out, "125.bmp"), bmp_bytes(shape, shape_pal, 300, 360))
    if want("title"):
        rows, pal = make_title(Rng(130))
        write(os.path.join(out, "130.bmp"), bmp_bytes(rows, pal, 100, 100))
    if want("icons"):
        write(os.path.join(out, "110.ico"), ico_bytes([(32, make_icon(32))]))
        write(os.path.join(out, "111.ico"), ico_bytes([(16, make_icon(16))]))
        write(os.path.join(out, "116.cur"), ico_bytes([(32, make_stick_cursor())], True, (12, 28)))
        write(os.path.join(out, "117.cur"), ico_bytes([(32, make_binoculars_cursor())], True, (15, 15)))
    if want("field"):
        rows, pal = make_field(Rng(112))
        write(os.path.join(out, "112.bmp"), bmp_bytes(rows, pal, FIELD_W, FIELD_H))


if __name__ == "__main__":
    main(sys.argv)
