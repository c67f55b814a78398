#!/usr/bin/env python3
"""Draws Zintrova's artwork and writes it in the formats the program uses.

    python3 resources/make_artwork.py [OUTPUT_FOLDER]     (default: the folder of this script)

Standard library only. The output is deterministic, so regenerating leaves the committed files
unchanged unless the drawings below change. It writes:

  zintrova-32.png, zintrova-16.png  the main window's icon, 16 colours (4-bit indexed)
  zintrova.ico                      the same two images as a Windows icon (the executable's icon)
  zintrova-{48,64,128,256}.png      the same key in full colour with soft edges, for menus and
  zintrova.svg                      app grids, and as a scalable icon
  about-32.png, about-16.png        the About window's icon, up to 256 colours (8-bit indexed)
  logo.gif                          the About window's logo, GIF89a, 152 x 34, 64-entry colour table
  hand-32.png                       the link's pointing-hand cursor, 32 x 32, 16 colours;
                                    its hot spot is the fingertip at column 12, row 4

The drawings are simple geometric shapes (a key, a padlock, a hand and a word mark) rasterised
with supersampling, then reduced to the colour counts above.
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------------------------
# Geometry: shapes are predicates inside(x, y) over continuous pixel coordinates, where the pixel
# (i, j) covers [i, i+1) x [j, j+1).


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in < (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    return inside


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    qx, qy = ax + t * dx, ay + t * dy
    return math.hypot(px - qx, py - qy)


def stroke(points, radius):
    """A polyline drawn with a round pen of the given radius."""
    segments = list(zip(points, points[1:])) or [(points[0], points[0])]

    def inside(x, y):
        return any(segment_distance(x, y, a[0], a[1], b[0], b[1]) <= radius for a, b in segments)

    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def rasterise(width, height, layers, samples=4):
    """Layers are (shape, colour) pairs, later ones on top; colour is an (r, g, b) tuple or a
    function of (x, y). Returns rows of (r, g, b, a) floats, a being the covered fraction."""
    image = []
    step = 1.0 / samples
    for j in range(height):
        row = []
        for i in range(width):
            acc = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    x, y = i + (sx + 0.5) * step, j + (sy + 0.5) * step
                    for shape, colour in reversed(layers):
                        if shape(x, y):
                            c = colour(x, y) if callable(colour) else colour
                            acc[0] += c[0]
                            acc[1] += c[1]
                            acc[2] += c[2]
                            hits += 1
                            break
            if hits:
                row.append((acc[0] / hits, acc[1] / hits, acc[2] / hits, hits / samples**2))
            else:
                row.append((0.0, 0.0, 0.0, 0.0))
        image.append(row)
    return image


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[k] + (b[k] - a[k]) * t for k in range(3))


# ---------------------------------------------------------------------------------------------
# Colour reduction.

# The 16 colours of the classic VGA palette; the 16-colour images use these and nothing else.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def nearest(palette, c):
    return min(range(len(palette)),
               key=lambda k: sum((palette[k][n] - c[n]) ** 2 for n in range(3)))


def median_cut(colours, count):
    """Reduces a list of (r, g, b) tuples (with repeats, so that frequent colours weigh more) to
    at most count representative colours."""
    boxes = [sorted(colours)]
    while len(boxes) < count:
        # split the box with the widest channel range, at its median
        best, best_range, best_channel = None, 0, 0
        for n, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                lo = min(c[ch] for c in box)
                hi = max(c[ch] for c in box)
                if hi - lo > best_range:
                    best, best_range, best_channel = n, hi - lo, ch
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda c: c[best_channel])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    palette = []
    for box in boxes:
        palette.append(tuple(round(sum(c[ch] for c in box) / len(box)) for ch in range(3)))
    return sorted(set(palette))


def to_rgb8(c):
    return tuple(int(round(max(0.0, min(255.0, v)))) for v in c[:3])


def indexed(image, palette, transparent_index=None, alpha_cut=0.5, background=None):
    """Maps an RGBA float image onto palette indexes. Pixels below alpha_cut become the
    transparent index; partly covered pixels above it are blended over the background first."""
    rows = []
    for row in image:
        out = []
        for r, g, b, a in row:
            if a < alpha_cut and transparent_index is not None:
                out.append(transparent_index)
                continue
            c = (r, g, b)
            if background is not None and a < 1.0:
                c = mix(background, c, a)
            out.append(nearest(palette, to_rgb8(c)))
        rows.append(out)
    return rows


# ---------------------------------------------------------------------------------------------
# File formats.


def png(width, height, rows, palette, bit_depth, transparent_index=None):
    """An indexed-colour PNG (colour type 3)."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    per_byte = 8 // bit_depth
    for row in rows:
        raw.append(0)  # no filter
        for i in range(0, width, per_byte):
            byte = 0
            for k in range(per_byte):
                v = row[i + k] if i + k < width else 0
                byte |= v << (8 - bit_depth * (k + 1))
            raw.append(byte)
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, 3, 0, 0, 0))
    out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    if transparent_index is not None:
        out += chunk(b"tRNS", bytes(0 if k == transparent_index else 255
                                    for k in range(transparent_index + 1)))
    out += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    out += chunk(b"IEND", b"")
    return out


def png_rgba(width, height, rows):
    """A true-colour PNG with alpha (colour type 6, 8 bits per channel)."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(pixel)
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    out += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    out += chunk(b"IEND", b"")
    return out


def ico_4bit(images, palette):
    """A Windows icon of 16-colour images; images are (size, rows, transparent_index)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for size, rows, transparent in images:
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
        colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        xor_stride = ((size * 4 + 31) // 32) * 4
        and_stride = ((size + 31) // 32) * 4
        xor, mask = bytearray(), bytearray()
        for row in reversed(rows):  # bottom-up
            line = bytearray(xor_stride)
            bits = bytearray(and_stride)
            for i, v in enumerate(row):
                if v == transparent:
                    bits[i // 8] |= 0x80 >> (i % 8)
                    v = 0
                line[i // 2] |= v << (4 if i % 2 == 0 else 0)
            xor += line
            mask += bits
        blob = header + colours + bytes(xor) + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(blob),
                                   offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def lzw_gif(indexes, min_code_size):
    """GIF's variable-length LZW, packed into data sub-blocks."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    codes = []

    def reset():
        return {(k,): k for k in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = reset()
    codes.append((clear, width))
    current = ()
    for v in indexes:
        candidate = current + (v,)
        if candidate in table:
            current = candidate
            continue
        codes.append((table[current], width))
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            codes.append((clear, width))
            table, next_code, width = reset()
        current = (v,)
    if current:
        codes.append((table[current], width))
    codes.append((end, width))

    data, acc, bits = bytearray(), 0, 0
    for code, w in codes:
        acc |= code << bits
        bits += w
        while bits >= 8:
            data.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        data.append(acc & 0xFF)
    out = bytearray((min_code_size,))
    for i in range(0, len(data), 255):
        block = data[i:i + 255]
        out.append(len(block))
        out += block
    out.append(0)
    return bytes(out)


def gif89a(width, height, rows, palette, transparent_index):
    """A single-image GIF89a with a global colour table of len(palette) entries (a power of 2)."""
    table_bits = len(palette).bit_length() - 1
    assert 1 << table_bits == len(palette)
    out = b"GIF89a"
    out += struct.pack("<HHBBB", width, height, 0x80 | ((table_bits - 1) << 4) | (table_bits - 1),
                       transparent_index, 0)
    out += b"".join(bytes(c) for c in palette)
    # graphic control extension: no disposal, no delay, with a transparent colour
    out += bytes((0x21, 0xF9, 4, 0x01, 0, 0, transparent_index, 0))
    out += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    out += lzw_gif([v for row in rows for v in row], max(2, table_bits))
    out += b"\x3b"
    return out


# ---------------------------------------------------------------------------------------------
# The drawings.

WINDOW_GREY = (240, 240, 240)  # the usual dialog background that the logo's soft edges meet


def outline(rows, transparent, colour):
    """Gives opaque pixels a one-pixel border of the given index (8-neighbourhood)."""
    h, w = len(rows), len(rows[0])
    out = [row[:] for row in rows]
    for j in range(h):
        for i in range(w):
            if rows[j][i] != transparent:
                continue
            for dj in (-1, 0, 1):
                for di in (-1, 0, 1):
                    jj, ii = j + dj, i + di
                    if 0 <= jj < h and 0 <= ii < w and rows[jj][ii] != transparent:
                        out[j][i] = colour
    return out


# The key, in units of a 32-pixel icon: a ring for the bow, the shaft and two teeth below it, and
# a glint on the bow. Every size and the scalable icon draw these same shapes.
KEY_BOW = (9.5, 15.5, 7.0, 3.0)  # centre x, centre y, outer and inner radius
KEY_BARS = ((15.0, 13.5, 29.5, 17.5), (21.0, 17.0, 23.5, 22.5), (25.5, 17.0, 28.0, 21.0))
KEY_GLINT = (8.0, 11.5, 1.7)  # centre x, centre y, radius
KEY_SPLIT = 15.5  # the 16-colour key is light above this row and dark below it
# The large icons: a smooth gold from the top of the key to its bottom, and a dark outline.
GOLD_TOP, GOLD_BOTTOM, KEY_EDGE = (255, 232, 96), (176, 124, 8), (64, 40, 0)
KEY_TOP, KEY_BOTTOM = 8.5, 22.5
EDGE_WIDTH = 0.8  # of the outline, in the same units


def key_shape(s, grow=0.0):
    """The key at scale s, every part widened by `grow` units on each side."""
    cx, cy, r_out, r_in = KEY_BOW
    parts = [ring(cx * s, cy * s, (r_out + grow) * s, (r_in - grow) * s)]
    parts += [rect((x0 - grow) * s, (y0 - grow) * s, (x1 + grow) * s, (y1 + grow) * s)
              for x0, y0, x1, y1 in KEY_BARS]
    return union(*parts)


def key_icon(size):
    """A gold key lying across the icon, bow to the left: 16 colours, black outline."""
    s = size / 32.0
    key = key_shape(s)
    gx, gy, gr = KEY_GLINT

    def shade(x, y):
        if (x - gx * s) ** 2 + (y - gy * s) ** 2 < (gr * s) ** 2:
            return VGA16[15]  # glint on the bow
        return VGA16[11] if y < KEY_SPLIT * s else VGA16[3]

    image = rasterise(size, size, [(key, shade)], samples=4)
    # index 0 is black in VGA16; a separate transparent slot is not available in 16 colours,
    # so the icon marks transparency with an index that the drawing does not use: magenta.
    transparent = 13
    rows = indexed(image, VGA16, transparent_index=transparent, alpha_cut=0.45)
    return outline(rows, transparent, 0), transparent


def large_key_icon(size):
    """The key for menus and app grids: full colour with soft edges, as rows of RGBA bytes."""
    s = size / 32.0
    gx, gy, gr = KEY_GLINT

    def gold(x, y):
        if (x - gx * s) ** 2 + (y - gy * s) ** 2 < (gr * s) ** 2:
            return (255, 255, 255)
        return mix(GOLD_TOP, GOLD_BOTTOM, (y / s - KEY_TOP) / (KEY_BOTTOM - KEY_TOP))

    layers = [(key_shape(s, EDGE_WIDTH), KEY_EDGE), (key_shape(s), gold)]
    image = rasterise(size, size, layers, samples=3)
    return [[to_rgb8(p) + (int(round(p[3] * 255)),) for p in row] for row in image]


def key_svg():
    """The same key as a scalable icon: every part outlined first, then filled over it, so that
    the outline shows only around the whole key."""
    cx, cy, r_out, r_in = KEY_BOW
    gx, gy, gr = KEY_GLINT

    def f(v):
        return f"{v:g}"

    def parts(style):
        bow = (f'<path {style} fill-rule="evenodd" d="M{f(cx - r_out)},{f(cy)}'
               f'a{f(r_out)},{f(r_out)} 0 1,0 {f(2 * r_out)},0a{f(r_out)},{f(r_out)} 0 1,0 '
               f'{f(-2 * r_out)},0zM{f(cx - r_in)},{f(cy)}a{f(r_in)},{f(r_in)} 0 1,0 '
               f'{f(2 * r_in)},0a{f(r_in)},{f(r_in)} 0 1,0 {f(-2 * r_in)},0z"/>')
        bars = [f'<rect {style} x="{f(x0)}" y="{f(y0)}" width="{f(x1 - x0)}" '
                f'height="{f(y1 - y0)}"/>' for x0, y0, x1, y1 in KEY_BARS]
        return "\n  ".join([bow] + bars)

    def rgb(c):
        return "#%02x%02x%02x" % c

    edge = f'fill="{rgb(KEY_EDGE)}" stroke="{rgb(KEY_EDGE)}" stroke-width="{f(2 * EDGE_WIDTH)}"'
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 32 32">
  <defs>
    <linearGradient id="gold" gradientUnits="userSpaceOnUse" x1="0" y1="{f(KEY_TOP)}" x2="0" y2="{f(KEY_BOTTOM)}">
      <stop offset="0" stop-color="{rgb(GOLD_TOP)}"/>
      <stop offset="1" stop-color="{rgb(GOLD_BOTTOM)}"/>
    </linearGradient>
  </defs>
  {parts(edge)}
  {parts('fill="url(#gold)"')}
  <circle fill="#ffffff" cx="{f(gx)}" cy="{f(gy)}" r="{f(gr)}"/>
</svg>
"""


def padlock_icon(size):
    """A brass padlock with a steel shackle: up to 256 colours, soft edges."""
    s = size / 32.0
    shackle = minus(ring(16 * s, 12.5 * s, 9.0 * s, 5.5 * s), rect(0, 12.5 * s, size, size))
    legs = union(rect(7.0 * s, 12.0 * s, 10.5 * s, 16.5 * s),
                 rect(21.5 * s, 12.0 * s, 25.0 * s, 16.5 * s))
    body = rounded_rect(4.0 * s, 15.0 * s, 28.0 * s, 30.5 * s, 3.0 * s)
    keyhole = union(circle(16 * s, 21.0 * s, 2.3 * s), rect(15.0 * s, 21.0 * s, 17.0 * s, 26.5 * s))
    rim = minus(rounded_rect(3.0 * s, 14.0 * s, 29.0 * s, 31.5 * s, 3.6 * s), body)

    def steel(x, y):
        # light on the upper left, darker to the right
        return mix((235, 240, 248), (92, 100, 116), (x - 6 * s) / (20 * s) * 0.8 + 0.1)

    def brass(x, y):
        top = mix((255, 226, 120), (214, 160, 40), (y - 15 * s) / (15 * s))
        return mix(top, (150, 100, 20), max(0.0, (x - 20 * s) / (12 * s)))

    layers = [(union(shackle, legs), steel), (rim, (110, 72, 12)), (body, brass),
              (keyhole, (40, 24, 8))]
    image = rasterise(size, size, layers, samples=5)
    opaque = [to_rgb8(p) for row in image for p in row if p[3] >= 0.5]
    palette = median_cut(opaque, 255)
    transparent = len(palette)
    palette.append((255, 255, 255))
    rows = indexed(image, palette, transparent_index=transparent, alpha_cut=0.5,
                   background=(255, 255, 255))
    return rows, palette, transparent


def hand_cursor():
    """A white pointing hand with a black outline; the index finger's tip is at (12, 4)."""
    fill = union(
        rounded_rect(10.0, 5.0, 15.0, 20.0, 2.5),   # index finger
        rounded_rect(15.0, 11.0, 19.0, 21.0, 2.0),  # middle finger, folded
        rounded_rect(19.0, 12.0, 23.0, 21.0, 2.0),  # ring finger
        rounded_rect(23.0, 13.0, 26.5, 21.0, 1.7),  # little finger
        stroke([(6.5, 17.0), (10.5, 21.5)], 1.9),    # thumb
        rounded_rect(9.0, 17.0, 26.5, 27.0, 3.0),   # palm
        rect(11.0, 24.0, 25.0, 30.0),               # wrist
    )
    image = rasterise(32, 32, [(fill, (255, 255, 255))], samples=4)
    transparent = 13  # magenta: not used by the drawing
    rows = indexed(image, VGA16, transparent_index=transparent, alpha_cut=0.5)
    rows = outline(rows, transparent, 0)
    # creases between the folded fingers, and the cuff of the sleeve
    for x, y0, y1 in ((15, 13, 19), (19, 14, 19), (23, 15, 19)):
        for y in range(y0, y1):
            rows[y][x] = 0
    for x in range(11, 25):
        rows[27][x] = 0
    for y in range(28, 31):
        for x in range(12, 24):
            rows[y][x] = 7  # silver cuff
    return rows, transparent


# Letter strokes in a box one unit high and `width` units wide (top-left origin).
def letter_strokes(ch):
    def arc(cx, cy, rx, ry, a0, a1, n=12):
        return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * k / n)),
                 cy + ry * math.sin(math.radians(a0 + (a1 - a0) * k / n))) for k in range(n + 1)]

    return {
        "Z": [[(0, 0), (1, 0), (0, 1), (1, 1)]],
        "I": [[(0.5, 0), (0.5, 1)]],
        "N": [[(0, 1), (0, 0), (1, 1), (1, 0)]],
        "T": [[(0, 0), (1, 0)], [(0.5, 0), (0.5, 1)]],
        "R": [[(0, 1), (0, 0), (0.62, 0)] + arc(0.62, 0.25, 0.36, 0.25, -90, 90) + [(0, 0.5)],
              [(0.45, 0.5), (1, 1)]],
        "O": [arc(0.5, 0.5, 0.5, 0.5, 0, 360, 36)],
        "V": [[(0, 0), (0.5, 1), (1, 0)]],
        "A": [[(0, 1), (0.5, 0), (1, 1)], [(0.24, 0.66), (0.76, 0.66)]],
    }[ch]


def logo():
    """The word mark: a small key emblem and "ZINTROVA" in a teal-to-blue gradient with a soft
    shadow. 152 x 34 pixels, 64 colours, transparent background."""
    width, height = 152, 34
    pen = 1.55
    cap_top, cap_height, letter_w, gap = 7.5, 19.0, 11.0, 3.6
    x = 37.0
    strokes = []
    for ch in "ZINTROVA":
        w = 0.0 if ch == "I" else letter_w
        for path in letter_strokes(ch):
            pts = [(x + (px * w if w else 0), cap_top + py * cap_height) for px, py in path]
            strokes.append(stroke(pts, pen))
        x += w + gap + (pen * 2 if ch == "I" else 0)
    word = union(*strokes)
    shadow = lambda px, py: word(px - 1.2, py - 1.2)  # noqa: E731

    # the emblem: a key standing on its bit inside a rounded badge
    badge = rounded_rect(3.0, 2.0, 32.0, 32.0, 6.0)
    bow = ring(17.5, 11.0, 5.6, 2.4)
    shank = rect(16.0, 15.0, 19.2, 28.5)
    bits = union(rect(19.0, 21.0, 23.0, 23.2), rect(19.0, 25.2, 22.0, 27.6))
    key = union(bow, shank, bits)

    def gradient(px, py):
        return mix((20, 170, 180), (18, 52, 150), (py - cap_top) / cap_height)

    def badge_fill(px, py):
        return mix((40, 110, 200), (12, 36, 110), (py - 2) / 30)

    layers = [(shadow, (150, 160, 170)), (word, gradient), (badge, badge_fill),
              (key, lambda px, py: mix((255, 236, 140), (230, 170, 40), (py - 5) / 24))]
    image = rasterise(width, height, layers, samples=4)
    blended = [to_rgb8(mix(WINDOW_GREY, p[:3], p[3])) for row in image for p in row
               if p[3] >= 0.25]
    palette = median_cut(blended, 63)
    palette = [WINDOW_GREY] + palette  # index 0: the transparent background
    while len(palette) < 64:
        palette.append((0, 0, 0))
    rows = indexed(image, palette[:64], transparent_index=0, alpha_cut=0.25,
                   background=WINDOW_GREY)
    # a blended colour that happens to land on the background entry stays visible
    return width, height, rows, palette


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    icons = []
    for size in (32, 16):
        rows, transparent = key_icon(size)
        write(f"zintrova-{size}.png", png(size, size, rows, VGA16, 4, transparent))
        icons.append((size, rows, transparent))
    write("zintrova.ico", ico_4bit(icons, VGA16))

    # Menus, app grids and software centres: larger and scalable icons of the same key.
    for size in (48, 64, 128, 256):
        write(f"zintrova-{size}.png", png_rgba(size, size, large_key_icon(size)))
    write("zintrova.svg", key_svg().encode("utf-8"))

    for size in (32, 16):
        rows, palette, transparent = padlock_icon(size)
        write(f"about-{size}.png", png(size, size, rows, palette, 8, transparent))

    rows, transparent = hand_cursor()
    write("hand-32.png", png(32, 32, rows, VGA16, 4, transparent))

    w, h, rows, palette = logo()
    write("logo.gif", gif89a(w, h, rows, palette, 0))


if __name__ == "__main__":
    main()
