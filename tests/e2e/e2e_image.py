#!/usr/bin/env python3
"""Screenshot measurements for the end-to-end scripts (standard library only; ImageMagick's
convert turns the PNG crops into PPM).

  e2e_image.py ball SHOT LENS_X LENS_Y [SCALE]  centre of the ball in the lens: "x y count", in
                                                  the lens's own pixels (SCALE screen pixels each)
  e2e_image.py blocks SHOT X Y W H SCALE        SCALE x SCALE blocks from (X, Y) not of one colour
  e2e_image.py outline SHOT X Y SCALE MASK R G B [TOP]  "INSIDE OUTSIDE": pixels of the window at
                                                  (X, Y) inside the enlarged outline of MASK (key
                                                  colour outside) that show the desktop (R, G, B),
                                                  and pixels outside it that do not; rows above
                                                  TOP of the window are not judged
  e2e_image.py diffat SHOT_A XA YA SHOT_B XB YB W H  difference (0..255) of two crops, ants aside
  e2e_image.py shift SHOT_A SHOT_B X Y W H MAXDX   "DX DIFF": the horizontal offset DX (|DX| <= MAXDX)
                                                  at which A's patch at (X + DX, Y) best matches B's
                                                  patch at (X, Y), and that patch difference
  e2e_image.py changed SHOT_A SHOT_B LENS_X LENS_Y  pixels of the lens that differ clearly
  e2e_image.py colour SHOT X Y W H R G B TOL     share (0..1) of pixels within TOL of (R, G, B)
  e2e_image.py light SHOT X Y W H LEVEL          share of pixels with every channel >= LEVEL
  e2e_image.py dark SHOT X Y W H LEVEL           share of pixels with every channel <= LEVEL
  e2e_image.py pixel SHOT X Y                    "r g b" of one pixel
  e2e_image.py antcell SHOT X Y RADIUS SHAPES R G B  "CELL DX DY" of the ant cell of the shape
                                                  bitmap SHAPES that stands exactly at (X + DX,
                                                  Y + DY), |DX|, |DY| <= RADIUS, over a desktop
                                                  of (R, G, B) all around it; "none" if none does
  e2e_image.py unlike SHOT_A XA YA SHOT_B XB YB W H  pixels of two crops that differ clearly
  e2e_image.py glyphs SHOT X Y W H               "SHAPES EMPTY": the dark shapes (text) in the box and
                                                  how many of them are empty squares, the mark a
                                                  font draws for a character it has no glyph for
"""
import subprocess
import sys


def crop(shot, x, y, w, h):
    data = subprocess.run(
        ["convert", shot, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "ppm:-"],
        check=True, capture_output=True).stdout
    # P6 header: magic, width, height, maximum, then the raw bytes.
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":  # a comment runs to the end of its line
            pos = data.index(b"\n", pos) + 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos:pos + width * height * 3]


def ball(shot, lens_x, lens_y, scale=1):
    # The ball is the only cool grey inside the lens (the leaves are warm: red above blue):
    # pixels with red and green equal, blue a little above them, neither black nor white, at
    # most 92 px from the lens centre (away from the grey rim). One screen pixel of each block.
    w, h, px = crop(shot, lens_x, lens_y, 200 * scale, 200 * scale)
    sx = sy = n = 0
    for y in range(h // scale):
        for x in range(w // scale):
            if (x - 100) ** 2 + (y - 100) ** 2 > 92 * 92:
                continue
            i = (y * scale * w + x * scale) * 3
            r, g, b = px[i:i + 3]
            if abs(r - g) <= 4 and 3 <= b - r <= 14 and 50 <= (r + g + b) // 3 <= 240:
                sx += x
                sy += y
                n += 1
    if n == 0:
        return "-1 -1 0"
    return f"{sx // n} {sy // n} {n}"


def difference(pa, pb):
    # Mean of the closest three quarters of the per-pixel differences (0..255): a few ants
    # walking through a patch do not count, a view that moved by even one pixel does.
    d = sorted((abs(pa[i] - pb[i]) + abs(pa[i + 1] - pb[i + 1]) + abs(pa[i + 2] - pb[i + 2])) / 3
               for i in range(0, min(len(pa), len(pb)) - 2, 3))
    keep = max(1, len(d) * 3 // 4)
    return sum(d[:keep]) / keep


def diffat(a, xa, ya, b, xb, yb, w, h):
    _, _, pa = crop(a, xa, ya, w, h)
    _, _, pb = crop(b, xb, yb, w, h)
    return f"{difference(pa, pb):.2f}"


def shift(a, b, x, y, w, h, max_dx):
    # One wide crop of A; every offset compares a window of it with B's patch.
    wa, _, pa = crop(a, x - max_dx, y, w + 2 * max_dx, h)
    _, _, pb = crop(b, x, y, w, h)
    best = None
    for dx in range(-max_dx, max_dx + 1):
        window = b"".join(pa[(row * wa + dx + max_dx) * 3:(row * wa + dx + max_dx + w) * 3]
                          for row in range(h))
        d = difference(window, pb)
        if best is None or d < best[1]:
            best = (dx, d)
    return f"{best[0]} {best[1]:.2f}"


def changed(a, b, lens_x, lens_y):
    w, h, pa = crop(a, lens_x, lens_y, 200, 200)
    _, _, pb = crop(b, lens_x, lens_y, 200, 200)
    count = 0
    for y in range(h):
        for x in range(w):
            if (x - 100) ** 2 + (y - 100) ** 2 > 92 * 92:
                continue
            i = (y * w + x) * 3
            if max(abs(pa[i + c] - pb[i + c]) for c in range(3)) > 40:
                count += 1
    return str(count)


def share(shot, x, y, w, h, hit):
    _, _, px = crop(shot, x, y, w, h)
    hits = sum(1 for i in range(0, len(px), 3) if hit(px[i:i + 3]))
    return f"{hits / max(1, len(px) // 3):.3f}"


def colour(shot, x, y, w, h, r, g, b, tol):
    return share(shot, x, y, w, h,
                 lambda p: max(abs(p[0] - r), abs(p[1] - g), abs(p[2] - b)) <= tol)


def light(shot, x, y, w, h, level):
    # Share of pixels whose every channel is at least LEVEL: a painted dialog face.
    return share(shot, x, y, w, h, lambda p: min(p) >= level)


def dark(shot, x, y, w, h, level):
    # Share of pixels whose every channel is at most LEVEL: text and frame lines.
    return share(shot, x, y, w, h, lambda p: max(p) <= level)


def pixel(shot, x, y):
    _, _, px = crop(shot, x, y, 1, 1)
    return f"{px[0]} {px[1]} {px[2]}"


KEY = (0x00, 0xFF, 0x84)  # the outside of the shape bitmaps
CELL = 8


def ant_cells(shapes, desk):
    # Each cell as it must look on the desktop: the bitmap's pixels inside the outline, the
    # desktop where the bitmap has the key colour; None marks the ant's own pixels' positions.
    w, _, px = crop(shapes, 0, 0, 16 * CELL, CELL)
    cells = []
    for k in range(16):
        cell = []
        for y in range(CELL):
            for x in range(CELL):
                i = (y * w + k * CELL + x) * 3
                p = tuple(px[i:i + 3])
                cell.append(desk if p == KEY else p)
        cells.append(cell)
    return cells


def antcell(shot, x, y, radius, shapes, r, g, b):
    # The ant moves while the screenshot is taken: every place within RADIUS is tried. A match
    # needs all 64 pixels exact and a one-pixel ring of desktop around the cell (what lies off the
    # screen is not judged), so a square window or a smeared outline never matches.
    desk = (r, g, b)
    cells = ant_cells(shapes, desk)
    left, top = x - radius - 1, y - radius - 1
    side = CELL + 2 * radius + 2
    w, h, px = crop(shot, max(0, left), max(0, top), side + min(0, left), side + min(0, top))

    def at(sx, sy):  # screen pixel, or None off the crop
        cx, cy = sx - max(0, left), sy - max(0, top)
        if cx < 0 or cy < 0 or cx >= w or cy >= h:
            return None
        i = (cy * w + cx) * 3
        return tuple(px[i:i + 3])

    for dy in range(-radius, radius + 1):
        for dx in range(-radius, radius + 1):
            ox, oy = x + dx, y + dy
            ring = [at(ox + i, oy + j) for j in range(-1, CELL + 1) for i in range(-1, CELL + 1)
                    if i in (-1, CELL) or j in (-1, CELL)]
            if any(p is not None and p != desk for p in ring):
                continue
            seen = [at(ox + i, oy + j) for j in range(CELL) for i in range(CELL)]
            for k, cell in enumerate(cells):
                if seen == cell:
                    return f"{k} {dx} {dy}"
    return "none"


def unlike(a, xa, ya, b, xb, yb, w, h):
    _, _, pa = crop(a, xa, ya, w, h)
    _, _, pb = crop(b, xb, yb, w, h)
    return sum(1 for i in range(0, min(len(pa), len(pb)) - 2, 3)
               if max(abs(pa[i + k] - pb[i + k]) for k in range(3)) > 40)


def glyphs(shot, x, y, w, h):
    """Ink (pixels clearly darker than the light face, anti-aliased edges included) grouped into
    8-connected shapes. A shape is an empty square when it is a ring: at least 5 x 7, nothing
    deeper than two pixels inside its bounding box, its top and bottom rows mostly inked."""
    w, h, data = crop(shot, x, y, w, h)
    dark = {(i % w, i // w) for i in range(w * h) if max(data[3 * i:3 * i + 3]) < 215}
    seen, shapes, empty = set(), 0, 0
    for start in dark:
        if start in seen:
            continue
        stack, shape = [start], []
        seen.add(start)
        while stack:
            px, py = stack.pop()
            shape.append((px, py))
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    n = (px + dx, py + dy)
                    if n in dark and n not in seen:
                        seen.add(n)
                        stack.append(n)
        shapes += 1
        xs = [p[0] for p in shape]
        ys = [p[1] for p in shape]
        x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
        inside = [p for p in shape if x0 + 2 <= p[0] <= x1 - 2 and y0 + 2 <= p[1] <= y1 - 2]
        top = sum(1 for p in shape if p[1] == y0)
        bottom = sum(1 for p in shape if p[1] == y1)
        width = x1 - x0 + 1
        if width >= 5 and y1 - y0 >= 6 and not inside and min(top, bottom) * 10 >= width * 6:
            empty += 1
    return f"{shapes} {empty}"


def blocks(shot, x, y, w, h, scale):
    cw, ch, px = crop(shot, x, y, w, h)
    uneven = 0
    for by in range(0, ch - scale + 1, scale):
        for bx in range(0, cw - scale + 1, scale):
            first = px[(by * cw + bx) * 3:(by * cw + bx) * 3 + 3]
            for j in range(scale):
                i = ((by + j) * cw + bx) * 3
                if px[i:i + 3 * scale] != first * scale:
                    uneven += 1
                    break
    return uneven


def outline(shot, x, y, scale, mask, r, g, b, top=0):
    mw, mh, mp = crop(mask, 0, 0, 300, 360)
    w, h, px = crop(shot, x, y, mw * scale, mh * scale)
    desk = bytes((r, g, b))
    inside_desk = outside_not = 0
    for sy in range(top, h):
        for sx in range(w):
            i = ((sy // scale) * mw + sx // scale) * 3
            inside = tuple(mp[i:i + 3]) != KEY
            shows_desk = px[(sy * w + sx) * 3:(sy * w + sx) * 3 + 3] == desk
            inside_desk += inside and shows_desk
            outside_not += not inside and not shows_desk
    return f"{inside_desk} {outside_not}"


def main(argv):
    # Paths are never bare numbers: every argument that is one is a number.
    args = [int(a) if a.lstrip("-").isdigit() else a for a in argv[2:]]
    commands = {f.__name__: f for f in (ball, blocks, outline, diffat, shift, changed, colour,
                                        light, dark, pixel, unlike, glyphs, antcell)}
    if argv[1] not in commands:
        sys.exit(f"unknown command {argv[1]}")
    print(commands[argv[1]](*args))


if __name__ == "__main__":
    main(sys.argv)
