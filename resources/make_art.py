#!/usr/bin/env python3
"""Draws the pictures, icons and event sound of TovrelEx into resources/art/.

Usage: python3 resources/make_art.py

Standard library only. Every drawing is a list of layers in a 32 x 32 design
space; a layer is a shape (a signed distance: negative inside) and a paint,
rendered with 4 x 4 samples per pixel near edges. Pictures are written as
24-bit BMP files on the dialog face colour, icons as ICO files holding 16 and
32 pixel images in 8-bit colour with a mask (for the 95/98/Me family and
256-colour displays) and in 32-bit colour with alpha (for XP). The event sound
is a short two-note chime as 11025 Hz 8-bit mono PCM. The output is
deterministic, so running the script again changes no file.
"""
import math
import os
import struct

ART = os.path.join(os.path.dirname(os.path.abspath(__file__)), "art")

# The pictures are opaque: their backdrop is a light dialog face between the
# XP scheme's (236, 233, 216) and the neutral (240, 240, 240) of later systems
# and Wine. On the darker classic faces the picture shows as a faint square.
FACE = (238, 236, 230)
SAMPLES = 4
DESIGN = 32.0


# ---------------------------------------------------------------- shapes

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    # A distance bound, exact on the axes; good enough at these sizes.
    m = min(rx, ry)
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * m


def box(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return d


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / ll))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def segment(ax, ay, bx, by, w):
    """A stroke of width w with round ends."""
    return lambda x, y: _segment_distance(x, y, ax, ay, bx, by) - w / 2


def polyline(points, w):
    def d(x, y):
        return min(_segment_distance(x, y, *points[i], *points[i + 1])
                   for i in range(len(points) - 1)) - w / 2
    return d


def polygon(points):
    n = len(points)
    edges = [(points[i], points[(i + 1) % n]) for i in range(n)]

    def d(x, y):
        inside = False
        best = 1e9
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
            best = min(best, _segment_distance(x, y, ax, ay, bx, by))
        return -best if inside else best
    return d


def arc(cx, cy, r, a0, a1, w):
    """A stroke of width w along a circle from angle a0 to a1 (degrees,
    clockwise on screen, 0 = right, 90 = down), with round ends."""
    span = (a1 - a0) % 360 or 360
    ends = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
            for a in (a0, a1)]

    def d(x, y):
        a = math.degrees(math.atan2(y - cy, x - cx))
        if (a - a0) % 360 <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - w / 2
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - w / 2
    return d


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def grow(s, by):
    return lambda x, y: s(x, y) - by


def rim(s, w):
    """The band of width w just inside the edge of s."""
    return lambda x, y: max(s(x, y), -(s(x, y) + w))


def move(s, dx, dy):
    return lambda x, y: s(x - dx, y - dy)


def bezier(p0, p1, p2, p3, steps=12):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return pts


# ---------------------------------------------------------------- paints

def solid(c):
    return lambda x, y: c


def mix(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def vgrad(y0, c0, y1, c1):
    return lambda x, y: mix(c0, c1, (y - y0) / (y1 - y0))


def radial(cx, cy, r, c0, c1):
    return lambda x, y: mix(c0, c1, math.hypot(x - cx, y - cy) / r)


def shade(c, f):
    """Darker (f < 1) or lighter (f > 1, towards white) version of c."""
    if f <= 1:
        return tuple(v * f for v in c)
    return mix(c, (255, 255, 255), f - 1)


# ---------------------------------------------------------------- rendering

class Layer:
    def __init__(self, shape, paint, opacity=1.0, soft=0.0):
        self.shape, self.paint, self.opacity, self.soft = shape, paint, opacity, soft


def L(shape, colour_or_paint, opacity=1.0, soft=0.0):
    paint = colour_or_paint if callable(colour_or_paint) else solid(colour_or_paint)
    return Layer(shape, paint, opacity, soft)


def coverage(layer, px, py, unit):
    """Share of the pixel whose top-left design point is (px, py) inside the layer."""
    cx, cy = px + unit / 2, py + unit / 2
    d = layer.shape(cx, cy)
    if layer.soft > 0:
        return max(0.0, min(1.0, 0.5 - d / layer.soft))
    if d > unit * 0.75:
        return 0.0
    if d < -unit * 0.75:
        return 1.0
    inside = 0
    step = unit / SAMPLES
    for j in range(SAMPLES):
        for i in range(SAMPLES):
            if layer.shape(px + (i + 0.5) * step, py + (j + 0.5) * step) < 0:
                inside += 1
    return inside / (SAMPLES * SAMPLES)


def render(size, layers):
    """Returns rows of (r, g, b, a) with colours in 0..255, a in 0..1,
    not premultiplied; row 0 is the top."""
    unit = DESIGN / size
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            px, py = i * unit, j * unit
            r = g = b = a = 0.0  # premultiplied
            for layer in layers:
                k = coverage(layer, px, py, unit) * layer.opacity
                if k <= 0:
                    continue
                c = layer.paint(px + unit / 2, py + unit / 2)
                r, g, b = c[0] * k + r * (1 - k), c[1] * k + g * (1 - k), c[2] * k + b * (1 - k)
                a = k + a * (1 - k)
            if a > 0:
                row.append((r / a, g / a, b / a, a))
            else:
                row.append((0.0, 0.0, 0.0, 0.0))
        rows.append(row)
    return rows


def on_face(rows):
    return [[mix(FACE, (r, g, b), a) for r, g, b, a in row] for row in rows]


def byte(v):
    return max(0, min(255, int(round(v))))


# ---------------------------------------------------------------- file formats

def bmp24(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((byte(b), byte(g), byte(r)))
        data += line + b"\0" * (stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header)) \
        + header + data


def median_cut(colours, limit):
    """A palette of at most `limit` colours for the given (r, g, b) list."""
    boxes = [sorted(set(colours))]
    while len(boxes) < limit:
        boxes.sort(key=lambda bx: -_box_spread(bx)[0])
        spread, axis = _box_spread(boxes[0])
        if spread == 0:
            break
        bx = sorted(boxes.pop(0), key=lambda c: c[axis])
        half = len(bx) // 2
        boxes += [bx[:half], bx[half:]]
    return [tuple(sum(c[k] for c in bx) // len(bx) for k in range(3)) for bx in boxes]


def _box_spread(bx):
    if len(bx) < 2:
        return 0, 0
    spreads = [max(c[k] for c in bx) - min(c[k] for c in bx) for k in range(3)]
    axis = spreads.index(max(spreads))
    return spreads[axis], axis


def mask_rows(rows, opaque):
    stride = ((len(rows[0]) + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for i, px in enumerate(row):
            if not opaque(px):
                bits[i // 8] |= 0x80 >> (i % 8)
        data += bits
    return data


def icon_image8(rows):
    size = len(rows)
    opaque = lambda px: px[3] >= 0.5  # noqa: E731
    colours = [(byte(r), byte(g), byte(b)) for row in rows for r, g, b, a in row if a >= 0.5]
    palette = [(0, 0, 0)] + median_cut(colours, 255)
    cache = {}

    def index(c):
        if c not in cache:
            cache[c] = min(range(1, len(palette)),
                           key=lambda k: sum((c[n] - palette[k][n]) ** 2 for n in range(3)))
        return cache[c]
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels.append(index((byte(r), byte(g), byte(b))) if a >= 0.5 else 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    table += b"\0" * (1024 - len(table))
    mask = mask_rows(rows, opaque)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + table + pixels + mask


def icon_image32(rows):
    size = len(rows)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((byte(b), byte(g), byte(r), byte(a * 255)))
    mask = mask_rows(rows, lambda px: byte(px[3] * 255) > 0)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def ico(builder):
    images = []
    for bits in (8, 32):
        for size in (32, 16):
            rows = render(size, builder(DESIGN / size))
            data = icon_image8(rows) if bits == 8 else icon_image32(rows)
            images.append((size, bits, data))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def wav(rate, samples):
    data = bytes(byte(128 + 127 * s) for s in samples)
    if len(data) % 2:
        data += b"\x80"
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt \
        + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


# ---------------------------------------------------------------- motifs

WHITE = (255, 255, 255)
INK = (30, 34, 44)


def drop_shadow(shape, dx=0.8, dy=1.2, opacity=0.35, soft=1.6):
    return L(move(shape, dx, dy), (0, 0, 0), opacity, soft)


def help_button(top, bottom, edge, shift=0.0, glow=None, gloss=0.45, shadow=True):
    """A round button with a question mark."""
    body = circle(16 + shift, 16 + shift, 12.6)
    layers = []
    if glow:
        layers.append(L(circle(16, 16, 13.6), glow, 0.9, 3.0))
    if shadow:
        layers.append(drop_shadow(body))
    layers += [
        L(body, vgrad(4, top, 28, bottom)),
        L(rim(body, 1.1), edge),
        L(intersect(grow(body, -1.6), ellipse(16 + shift, 10 + shift, 9.5, 6.5)),
          vgrad(3.5, WHITE, 16, top), gloss),
    ]
    s = shift
    glyph = union(arc(16 + s, 12.2 + s, 4.3, 195, 450, 3.3),
                  segment(16 + s, 16.5 + s, 16 + s, 18.6 + s, 3.3),
                  circle(16 + s, 23.2 + s, 1.95))
    layers.append(L(move(glyph, 0.5, 0.6), edge, 0.5))
    layers.append(L(glyph, WHITE))
    return layers


def shield_shape(x0=5.5, x1=26.5, top=3.2, shoulder=6.8, tip=29.6):
    cx = (x0 + x1) / 2
    right = [(cx, top), (x1 - 3, shoulder - 1.7), (x1, shoulder), (x1, shoulder + 7.5)]
    right += bezier((x1, shoulder + 7.5), (x1, shoulder + 15.5), (cx + 5.5, tip - 3), (cx, tip))[1:]
    left = [(2 * cx - x, y) for x, y in reversed(right[1:-1])]
    return polygon(right + left)


def open_eye(iris, cx=16, cy=16.5, scale=1.0, lid=INK):
    s = scale
    almond = intersect(circle(cx, cy + 6.8 * s, 9.8 * s), circle(cx, cy - 6.8 * s, 9.8 * s))
    return [
        L(almond, WHITE),
        L(circle(cx, cy, 3.0 * s), radial(cx - 1 * s, cy - 1 * s, 4 * s, shade(iris, 1.3), iris)),
        L(circle(cx, cy, 1.45 * s), (10, 10, 14)),
        L(circle(cx - 0.9 * s, cy - 0.9 * s, 0.7 * s), WHITE, 0.9),
        L(rim(almond, 1.0 * s), lid),
    ]


def closed_eye(colour, cx=16, cy=16.5):
    lid = arc(cx, cy - 6.5, 8.4, 48, 132, 1.7)
    lashes = union(*[segment(cx + dx, cy + 1.5 + abs(dx) * -0.12, cx + dx * 1.35, cy + 3.9 - abs(dx) * 0.2, 1.2)
                     for dx in (-3.6, 0.0, 3.6)])
    return [L(union(lid, lashes), colour)]


def shield_picture(top, bottom, edge, eye, glow=None, badge=False, edge_width=1.1):
    shape = shield_shape()
    layers = []
    if glow:
        layers.append(L(grow(shape, 1.2), glow, 0.9, 3.0))
    layers += [
        drop_shadow(shape),
        L(shape, vgrad(3, top, 29, bottom)),
        L(rim(shape, edge_width), edge),
        L(rim(grow(shape, -2.2), 0.9), WHITE, 0.35),
        L(intersect(grow(shape, -1.2), ellipse(16, 6.5, 13, 6.5)), vgrad(2, WHITE, 12, top), 0.35),
    ]
    layers += eye
    if badge:
        disc = circle(24.6, 24.6, 6.2)
        bolt = polygon([(25.8, 19.6), (21.6, 25.4), (24.5, 25.4), (23.4, 29.6),
                        (27.7, 23.6), (24.8, 23.6)])
        layers += [drop_shadow(disc, 0.5, 0.7, 0.3, 1.2),
                   L(disc, vgrad(18.5, (255, 150, 60), 30.5, (210, 70, 20))),
                   L(rim(disc, 0.9), (130, 40, 10)),
                   L(bolt, (255, 240, 120)),
                   L(rim(bolt, 0.5), (150, 80, 0), 0.7)]
    return layers


CHIPS = [(11.5, 11.0, 1.9), (19.5, 9.5, 1.6), (21.5, 17.5, 2.1), (13.0, 19.5, 1.8),
         (17.0, 14.6, 1.3), (9.0, 16.0, 1.2), (17.5, 23.0, 1.5)]


def cookie(bite=False, cx=16, cy=16, r=12.4):
    disc = circle(cx, cy, r)
    if bite:
        disc = minus(disc, union(circle(cx + 10.5, cy - 9.5, 4.6), circle(cx + 12.8, cy - 4.6, 3.6)))
    layers = [drop_shadow(disc),
              L(disc, radial(cx - 3, cy - 4, r * 1.6, (236, 190, 112), (176, 112, 46))),
              L(rim(disc, 1.2), (128, 76, 28)),
              L(rim(grow(disc, -1.2), 1.0), (250, 215, 150), 0.45)]
    k = r / 12.4
    for x, y, cr in CHIPS:
        chip = circle(cx + (x - 16) * k, cy + (y - 16) * k, cr * k)
        layers += [L(intersect(chip, grow(disc, -0.8)), (92, 52, 30)),
                   L(intersect(circle(cx + (x - 16.4) * k, cy + (y - 16.5) * k, cr * k * 0.45),
                               grow(disc, -0.8)), (150, 100, 70), 0.7)]
    return layers


def badge(kind, cx=24.2, cy=24.2, r=6.3):
    disc = circle(cx, cy, r)
    if kind == "keep":
        colours = ((110, 200, 90), (40, 140, 50), (20, 90, 30))
        mark = polyline([(cx - 3.1, cy + 0.2), (cx - 0.9, cy + 2.5), (cx + 3.2, cy - 2.4)], 1.9)
    else:
        colours = ((240, 100, 90), (190, 30, 30), (120, 15, 15))
        mark = union(segment(cx - 2.6, cy - 2.6, cx + 2.6, cy + 2.6, 1.9),
                     segment(cx - 2.6, cy + 2.6, cx + 2.6, cy - 2.6, 1.9))
    return [drop_shadow(disc, 0.5, 0.7, 0.3, 1.2),
            L(disc, vgrad(cy - r, colours[0], cy + r, colours[1])),
            L(rim(disc, 0.9), colours[2]),
            L(mark, WHITE)]


def warning_sign():
    corners = [(16, 4.5), (28.5, 26.5), (3.5, 26.5)]
    tri = grow(polygon(corners), 1.8)
    return [drop_shadow(tri),
            L(tri, vgrad(3, (255, 222, 90), 29, (236, 160, 20))),
            L(rim(tri, 1.2), (150, 90, 0)),
            L(rim(grow(tri, -1.4), 0.8), WHITE, 0.4),
            L(polygon([(14.7, 11), (17.3, 11), (16.8, 20.2), (15.2, 20.2)]), INK),
            L(circle(16, 23.3, 1.55), INK)]


# Page icons: a shape each, transparent around it. Each builder takes px, the
# size of one pixel in design units (1 at 32 x 32, 2 at 16 x 16), and draws
# fewer, bolder details when pixels are large, so the small tab icons stay crisp.

def edge_width(px, w=1.0):
    return max(w, px * 0.9)


def startup_icon(px):
    disc = circle(16, 16, 13.4)
    k = 1.35 if px > 1 else 1.0
    power = union(arc(16, 16.8, 6.6, 300, 240, 2.8 * k), segment(16, 7.2, 16, 15.2, 2.8 * k))
    return [L(disc, vgrad(3, (120, 210, 100), 29, (30, 140, 50))),
            L(rim(disc, edge_width(px, 1.2)), (20, 90, 30)),
            L(intersect(grow(disc, -1.5), ellipse(16, 9, 10, 6)), WHITE, 0.3),
            L(power, WHITE)]


def delayed_icon(px):
    face = circle(16, 16, 13.4)
    k = 1.4 if px > 1 else 1.0
    ticks = union(*[segment(16 + 10.2 * math.cos(math.radians(a)), 16 + 10.2 * math.sin(math.radians(a)),
                            16 + 8.6 * math.cos(math.radians(a)), 16 + 8.6 * math.sin(math.radians(a)), 1.5)
                    for a in range(0, 360, 90)])
    layers = [L(face, vgrad(3, (110, 160, 235), 29, (35, 80, 170))),
              L(circle(16, 16, 13.4 - 2.4 * k), radial(14, 13, 14, WHITE, (222, 228, 238))),
              L(rim(face, edge_width(px, 1.1)), (20, 50, 120))]
    if px == 1:
        layers.append(L(ticks, (90, 100, 120)))
    layers += [L(segment(16, 16, 16, 8.2, 2.2 * k), INK),
               L(segment(16, 16, 21.4, 19.2, 2.2 * k), INK),
               L(circle(16, 16, 1.6 * k), (200, 40, 30))]
    return layers


def iehelpers_icon(px):
    globe = circle(14.5, 14.5, 12.2)
    lw = 1.1 if px == 1 else 1.8
    lines = union(rim(ellipse(14.5, 14.5, 5.2, 12.2), lw), segment(2.8, 14.5, 26.2, 14.5, lw),
                  segment(14.5, 2.6, 14.5, 26.4, lw))
    if px == 1:
        lines = union(lines, intersect(grow(globe, -0.2), rim(circle(14.5, 28, 16), lw)),
                      intersect(grow(globe, -0.2), rim(circle(14.5, 1, 16), lw)))
    # The "add-on" mark: a plus on an orange disc.
    disc = circle(23.6, 23.6, 7.2)
    plus = union(segment(23.6, 19.6, 23.6, 27.6, 2.4 * (1.2 if px > 1 else 1.0)),
                 segment(19.6, 23.6, 27.6, 23.6, 2.4 * (1.2 if px > 1 else 1.0)))
    return [L(globe, radial(10.5, 9.5, 17, (140, 200, 250), (30, 90, 190))),
            L(intersect(lines, globe), WHITE, 0.55),
            L(rim(globe, edge_width(px)), (20, 60, 140)),
            L(grow(disc, 1.0), WHITE),
            L(disc, vgrad(16.5, (255, 190, 80), 31, (225, 110, 20))),
            L(rim(disc, edge_width(px, 0.9)), (150, 70, 0)),
            L(plus, WHITE)]


def scheduled_tasks_icon(px):
    page = box(4, 6, 28, 29, 2.2)
    band = intersect(page, box(3, 5, 29, 12.5))
    if px == 1:
        cells = union(*[box(7.6 + 6.2 * c, 15 + 4.5 * r, 11.4 + 6.2 * c, 17.8 + 4.5 * r, 0.4)
                        for r in range(3) for c in range(3)])
        marked = box(13.8, 19.5, 17.6, 22.3, 0.4)
    else:
        cells = union(*[box(8 + 10 * c, 15 + 6 * r, 14 + 10 * c, 19 + 6 * r)
                        for r in range(2) for c in range(2)])
        marked = box(18, 21, 24, 25)
    rw = 2.0 if px == 1 else 2.6
    rings = union(segment(10.5, 3.6, 10.5, 8.4, rw), segment(21.5, 3.6, 21.5, 8.4, rw))
    return [L(page, vgrad(6, WHITE, 29, (225, 228, 236))),
            L(band, vgrad(6, (240, 90, 80), 12.5, (190, 35, 35))),
            L(rim(page, edge_width(px)), (70, 76, 92)),
            L(cells, (150, 160, 185)),
            L(marked, (200, 40, 40)),
            L(rings, (70, 76, 92))]


def services_icon(px):
    teeth = 8 if px == 1 else 6
    spread = 45 if px == 1 else 60
    pts = []
    for k in range(teeth):
        t = k * spread
        for da, r in ((-16, 9.6), (-8.5, 13.6), (8.5, 13.6), (16, 9.6)):
            a = math.radians(t + da * spread / 45)
            pts.append((16 + r * math.cos(a), 16 + r * math.sin(a)))
    hole = 4.2 if px == 1 else 4.6
    gear = minus(union(polygon(pts), circle(16, 16, 10.2)), circle(16, 16, hole))
    layers = [L(gear, vgrad(3, (196, 204, 216), 29, (100, 110, 130))),
              L(rim(gear, edge_width(px)), (50, 56, 70))]
    if px == 1:
        layers.append(L(rim(circle(16, 16, 7.6), 1.0), WHITE, 0.5))
    return layers


def active_tasks_icon(px):
    frame = box(2.5, 4, 29.5, 24.5, 2.0)
    screen = box(5, 6.5, 27, 22, 0.6) if px == 1 else box(5, 7, 27, 22)
    pulse = polyline([(6.5, 15.5), (11, 15.5), (13, 10), (16, 20.5), (18.5, 12.5), (20.2, 15.5),
                      (25.5, 15.5)], 1.7 if px == 1 else 2.3)
    stand = polygon([(13, 24), (19, 24), (20.5, 28.5), (11.5, 28.5)])
    return [L(stand, vgrad(24, (150, 156, 170), 29, (90, 96, 110))),
            L(box(9, 27, 23, 29.5, 1.0), (90, 96, 110)),
            L(frame, vgrad(4, (200, 206, 218), 25, (120, 128, 146))),
            L(rim(frame, edge_width(px)), (50, 56, 70)),
            L(screen, vgrad(6, (30, 50, 60), 22, (10, 20, 26))),
            L(intersect(pulse, screen), (100, 240, 110))]


def document(x0=6, y0=2.5, x1=26, y1=29.5, fold=6.5):
    return polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]), \
        polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)])


def filetypes_icon(px):
    page, corner = document()
    if px == 1:
        lines = union(*[segment(9.5, y, 22.5 if y < 14 else 18.5, y, 1.3) for y in (10.5, 13.5)])
        tags = [(box(9, 17.5, 15.5, 22.5, 1.0), (60, 130, 220)),
                (box(17, 17.5, 23, 22.5, 1.0), (230, 120, 30)),
                (box(9, 24, 23, 27, 1.0), (70, 170, 80))]
    else:
        lines = segment(10, 11, 18, 11, 2.0)
        tags = [(box(10, 16, 16, 22), (60, 130, 220)), (box(16, 16, 22, 22), (230, 120, 30)),
                (box(10, 22, 22, 26), (70, 170, 80))]
    layers = [L(page, vgrad(2, WHITE, 30, (226, 230, 238))),
              L(rim(page, edge_width(px)), (70, 76, 92)),
              L(corner, (190, 196, 210)),
              L(rim(corner, edge_width(px, 0.8)), (70, 76, 92)),
              L(lines, (150, 160, 185))]
    layers += [L(shape, colour) for shape, colour in tags]
    return layers


def hidden_icon(px):
    page, corner = document(7, 2.5, 27, 27, 6)
    dash = 2.2 if px == 1 else 4.0
    gap = 4 if px == 1 else 8
    dashes = intersect(rim(page, edge_width(px, 1.1)),
                       union(*[box(0, y, 32, y + dash) for y in range(2, 28, gap)],
                             *[box(x, 0, x + dash, 32) for x in range(7, 29, gap)]))
    cx, cy = 15, 19
    almond = intersect(circle(cx, cy + 6.4, 10.2), circle(cx, cy - 6.4, 10.2))
    sw = 1.8 if px == 1 else 2.4
    return [L(page, WHITE, 0.6),
            L(corner, (200, 205, 215), 0.6),
            L(dashes, (90, 96, 112)),
            L(grow(almond, 1.2), WHITE),
            L(almond, (238, 242, 250)),
            L(circle(cx, cy, 3.0), (50, 100, 180)),
            L(circle(cx, cy, 1.4), (10, 10, 14)),
            L(rim(almond, edge_width(px)), INK),
            L(segment(5, 29, 25, 9, sw + 2.0), WHITE),
            L(segment(5, 29, 25, 9, sw), (200, 40, 30))]


def options_icon(px):
    panel = box(3, 3, 29, 29, 3)
    if px == 1:
        rows, knobs, tw, kw = (9.5, 16, 22.5), (12, 21, 15), 1.6, 2.2
    else:
        rows, knobs, tw, kw = (10, 22), (12, 20), 2.0, 3.0
    tracks = union(*[segment(7.5, y, 24.5, y, tw) for y in rows])
    layers = [L(panel, vgrad(3, (250, 251, 253), 29, (214, 220, 232))),
              L(rim(panel, edge_width(px)), (80, 90, 110)),
              L(tracks, (110, 118, 136))]
    for x, y in zip(knobs, rows):
        knob = box(x - kw, y - 3.4, x + kw, y + 3.4, 1.2)
        layers += [L(knob, vgrad(y - 3, (110, 170, 245), y + 3, (30, 80, 180))),
                   L(rim(knob, edge_width(px, 0.8)), (20, 50, 120))]
    return layers


def cookies_icon(px):
    if px == 1:
        return cookie()
    disc = circle(16, 16, 13.4)
    layers = [L(disc, radial(13, 12, 21, (236, 190, 112), (176, 112, 46))),
              L(rim(disc, edge_width(px)), (128, 76, 28))]
    for x, y in ((11, 11), (20.5, 10.5), (21, 20), (11.5, 20.5)):
        layers.append(L(circle(x, y, 2.4), (92, 52, 30)))
    return layers


def program_icon(px):
    eye = open_eye((60, 120, 210), scale=1.2 if px == 1 else 1.45)
    return shield_picture((100, 160, 240), (25, 70, 160), (15, 40, 100), eye,
                          edge_width=edge_width(px, 1.1))


def default_program_icon(px):
    """A plain program window: the icon of a program file that has none."""
    frame = box(4, 6, 28, 26, 1.5)
    bar = intersect(frame, box(4, 6, 28, 11.5))
    return [drop_shadow(frame),
            L(frame, vgrad(6, (252, 252, 254), 26, (210, 216, 228))),
            L(bar, vgrad(6, (100, 150, 225), 11.5, (40, 80, 170))),
            L(rim(frame, edge_width(px)), (55, 65, 90))]


# ---------------------------------------------------------------- sound

def chime(rate=11025, seconds=0.25):
    """Two soft bell notes a fourth apart, each with a quick decay."""
    notes = [(0.0, 784.0, 0.42), (0.075, 1046.5, 0.36)]
    total = int(rate * seconds)
    out = []
    for n in range(total):
        t = n / rate
        s = 0.0
        for start, freq, amp in notes:
            u = t - start
            if u < 0:
                continue
            env = min(1.0, u / 0.004) * math.exp(-u / 0.055)
            s += amp * env * (math.sin(2 * math.pi * freq * u)
                              + 0.25 * math.sin(2 * math.pi * 2.76 * freq * u) * math.exp(-u / 0.02))
        fade = min(1.0, (total - 1 - n) / (rate * 0.02))
        out.append(max(-1.0, min(1.0, s * fade)))
    return rate, out


# ---------------------------------------------------------------- output

PICTURES = {
    "help.bmp": help_button((110, 170, 240), (25, 75, 170), (15, 45, 110)),
    "help_pressed.bmp": help_button((60, 115, 200), (15, 50, 125), (10, 30, 80),
                                    shift=0.8, gloss=0.25, shadow=False),
    "help_hover.bmp": help_button((150, 200, 255), (45, 115, 215), (20, 60, 140),
                                  glow=(255, 210, 80)),
    "monitor_off.bmp": shield_picture((200, 200, 204), (120, 122, 128), (70, 72, 80),
                                      closed_eye((60, 62, 70))),
    "monitor_pressed.bmp": shield_picture((255, 215, 110), (215, 140, 25), (130, 75, 0),
                                          open_eye((170, 100, 20), scale=1.2), glow=(255, 230, 140)),
    "monitor_on.bmp": shield_picture((130, 215, 110), (35, 140, 55), (20, 85, 30),
                                     open_eye((40, 130, 60), scale=1.2)),
    "monitor_realtime.bmp": shield_picture((130, 215, 110), (35, 140, 55), (20, 85, 30),
                                           open_eye((40, 130, 60), cx=14.8, cy=15.2, scale=1.05),
                                           badge=True),
    "cookie.bmp": cookie(),
    "cookie_keep.bmp": cookie(cx=14.5, cy=14.5, r=11.6) + badge("keep"),
    "cookie_remove.bmp": cookie(bite=True, cx=14.5, cy=14.5, r=11.6) + badge("remove"),
    "message.bmp": warning_sign(),
}

ICONS = {
    "tovrel.ico": program_icon,
    "page_startup.ico": startup_icon,
    "page_delayed.ico": delayed_icon,
    "page_iehelpers.ico": iehelpers_icon,
    "page_scheduled_tasks.ico": scheduled_tasks_icon,
    "page_services.ico": services_icon,
    "page_active_tasks.ico": active_tasks_icon,
    "page_cookies.ico": cookies_icon,
    "page_filetypes.ico": filetypes_icon,
    "page_hidden.ico": hidden_icon,
    "page_options.ico": options_icon,
    "default_program.ico": default_program_icon,
}


def write(name, data):
    path = os.path.join(ART, name)
    with open(path, "wb") as f:
        f.write(data)


def main():
    os.makedirs(ART, exist_ok=True)
    for name, layers in PICTURES.items():
        write(name, bmp24(on_face(render(32, layers))))
    for name, builder in ICONS.items():
        write(name, ico(builder))
    write("event.wav", wav(*chime()))


if __name__ == "__main__":
    main()
