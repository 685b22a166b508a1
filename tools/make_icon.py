#!/usr/bin/env python3
"""Draws the program's icon, a blue cloud carrying a white chain link, and
writes it as an ICO file: 48, 32 and 16 pixels at 8 bits per pixel (a
256-colour palette each), then the same sizes at 32 bits per pixel, every
image an uncompressed DIB with its AND mask (22,486 bytes in all).

  make_icon.py ICO_PATH [--source CPP_PATH]

With --source it also writes a C++ source defining AppIconFile, the same
bytes as a static byte-set block (dimension count 1, 32-bit length, data),
so the program's embedded icon and its icon resource are one file.

The output depends on nothing but this script: the pictures are drawn from
distance functions with 8 x 8 samples per pixel using only exact float
operations (no trigonometry), and the palettes come from a deterministic
median cut.
"""

import argparse
import math
import struct
import sys

SIZES = (48, 32, 16)
SAMPLES = 8  # per pixel and axis

# Colours as (red, green, blue), 0-255.
SKY_TOP = (125, 205, 255)
SKY_BOTTOM = (21, 120, 222)
OUTLINE = (9, 60, 140)
LINK = (255, 255, 255)


class Layout:
    """The drawing in the coordinates of a 48-unit canvas."""

    def __init__(self, size):
        # Canvas point of a pixel's corner: pixel * scale + origin. At 16
        # pixels the cloud fills the whole image.
        self.scale, self.origin = (2.5, (4.0, 4.5)) if size == 16 else (48 / size, (0.0, 0.0))
        # Cloud: three puffs over a rounded base.
        self.puffs = ((15.5, 25.0, 8.5), (27.0, 19.0, 12.0), (37.0, 26.0, 8.0))
        self.base = (5.0, 23.0, 43.0, 41.0, 8.0)  # left, top, right, bottom, corner radius
        self.outline = max(1.6, self.scale)  # at least one pixel
        # Link: two stadium rings along one direction, interlocked; at 16
        # pixels a hand-set pattern (LINK_16), as drawn strokes would blur.
        self.link_centre = (24.0, 30.0)
        self.direction = unit(3.0, -2.0)
        self.link_offset = 5.2  # from the link's centre to each ring's centre
        self.ring_half_length = 3.0  # half the straight part of a ring
        self.ring_radius = 4.4  # to the middle of the stroke
        self.ring_stroke = 2.6
        self.gap = 1.4  # cut where one ring passes under the other
        self.hand_set_link = size == 16


# The link at 16 pixels: "#" is a link pixel; the pattern's first row is the
# image's row 6, its first column the image's column 3.
LINK_16 = (
    ".....####.",
    "....#....#",
    ".####....#",
    "#...##...#",
    "#....####.",
    "#....#....",
    ".####.....",
)
LINK_16_ORIGIN = (3, 6)


def unit(x, y):
    length = math.sqrt(x * x + y * y)
    return (x / length, y / length)


def box_distance(x, y, box):
    left, top, right, bottom, radius = box
    qx = abs(x - (left + right) / 2) - ((right - left) / 2 - radius)
    qy = abs(y - (top + bottom) / 2) - ((bottom - top) / 2 - radius)
    outside = math.sqrt(max(qx, 0.0) ** 2 + max(qy, 0.0) ** 2)
    return outside + min(max(qx, qy), 0.0) - radius


def cloud_distance(x, y, layout):
    distance = box_distance(x, y, layout.base)
    for cx, cy, r in layout.puffs:
        distance = min(distance, math.sqrt((x - cx) ** 2 + (y - cy) ** 2) - r)
    return distance


def ring_distance(x, y, layout, side):
    """Distance to the middle line of ring `side` (-1 first, +1 second along the link)."""
    dx, dy = layout.direction
    cx = layout.link_centre[0] + side * layout.link_offset * dx
    cy = layout.link_centre[1] + side * layout.link_offset * dy
    along = (x - cx) * dx + (y - cy) * dy
    across = (x - cx) * dy - (y - cy) * dx
    along = max(abs(along) - layout.ring_half_length, 0.0)
    return abs(math.sqrt(along * along + across * across) - layout.ring_radius)


def sample(x, y, layout):
    """Colour (r, g, b) or None for transparent at a point of the canvas."""
    cloud = cloud_distance(x, y, layout)
    if cloud > 0:
        return None
    if cloud > -layout.outline:
        return OUTLINE
    if layout.hand_set_link:
        column = int((x - layout.origin[0]) / layout.scale) - LINK_16_ORIGIN[0]
        row = int((y - layout.origin[1]) / layout.scale) - LINK_16_ORIGIN[1]
        on_link = 0 <= row < len(LINK_16) and 0 <= column < len(LINK_16[row]) and LINK_16[row][column] == "#"
        return LINK if on_link else sky(y)
    half = layout.ring_stroke / 2
    first = ring_distance(x, y, layout, -1)
    second = ring_distance(x, y, layout, +1)
    # The first ring lies on top at the crossing below the link's middle line.
    dx, dy = layout.direction
    first_on_top = (x - layout.link_centre[0]) * dy - (y - layout.link_centre[1]) * dx < 0
    top, bottom = (first, second) if first_on_top else (second, first)
    if top < half or (bottom < half and top >= half + layout.gap):
        return LINK
    return sky(y)


def sky(y):
    """The cloud's colour, a gradient from top to bottom."""
    t = min(max((y - 8.0) / 32.0, 0.0), 1.0)
    return tuple(round(a + (b - a) * t) for a, b in zip(SKY_TOP, SKY_BOTTOM))


def draw(size):
    """Rows top to bottom of (r, g, b, a) pixels, straight alpha, 0-255."""
    layout = Layout(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            sums = [0, 0, 0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * layout.scale + layout.origin[0]
                    y = (py + (sy + 0.5) / SAMPLES) * layout.scale + layout.origin[1]
                    colour = sample(x, y, layout)
                    if colour:
                        covered += 1
                        for i in range(3):
                            sums[i] += colour[i]
            if covered:
                alpha = (covered * 255 + SAMPLES * SAMPLES // 2) // (SAMPLES * SAMPLES)
                row.append(tuple((s + covered // 2) // covered for s in sums) + (alpha,))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def median_cut(colours, count):
    """At most `count` palette colours for the given list of (r, g, b)."""
    boxes = [sorted(colours)]
    while len(boxes) < count:
        splittable = [box for box in boxes if len(set(box)) > 1]
        if not splittable:
            break
        # Split the box with the widest channel range, at its median.
        def spread(box):
            return max(max(c[i] for c in box) - min(c[i] for c in box) for i in range(3)) * len(box)
        box = max(splittable, key=spread)
        channel = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: (c[channel], c))
        middle = len(box) // 2
        while middle < len(box) and box[middle][channel] == box[middle - 1][channel]:
            middle += 1
        if middle == len(box):
            middle = len(box) // 2
            while middle > 0 and box[middle][channel] == box[middle - 1][channel]:
                middle -= 1
        boxes.remove(box)
        boxes += [box[:middle], box[middle:]]
    return sorted(tuple((sum(c[i] for c in box) + len(box) // 2) // len(box) for i in range(3)) for box in boxes)


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def and_mask(rows, opaque):
    """The AND mask, bottom row first, rows padded to 32 bits: 1 = transparent."""
    size = len(rows)
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if not opaque(pixel):
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return bytes(mask)


def bitmap_header(size, bits, data_size):
    # The height counts the colour image and the mask.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, data_size, 0, 0,
                       256 if bits == 8 else 0, 0)


def image_8bpp(rows):
    """Opaque where the picture covers half a pixel or more; index 0 (black) is
    kept for the transparent pixels."""
    def opaque(pixel):
        return pixel[3] >= 128
    colours = [pixel[:3] for row in rows for pixel in row if opaque(pixel)]
    palette = [(0, 0, 0)] + median_cut(colours, 255)
    palette += [(0, 0, 0)] * (256 - len(palette))
    lookup = {}
    pixels = bytearray()
    for row in reversed(rows):
        for pixel in row:
            colour = pixel[:3]
            if not opaque(pixel):
                pixels.append(0)
                continue
            if colour not in lookup:
                lookup[colour] = nearest(palette[1:], colour) + 1
            pixels.append(lookup[colour])
    mask = and_mask(rows, opaque)
    size = len(rows)
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return bitmap_header(size, 8, len(pixels) + len(mask)) + colour_table + bytes(pixels) + mask


def image_32bpp(rows):
    pixels = b"".join(struct.pack("<BBBB", b, g, r, a) for row in reversed(rows) for r, g, b, a in row)
    mask = and_mask(rows, lambda pixel: pixel[3] > 0)
    return bitmap_header(len(rows), 32, len(pixels) + len(mask)) + pixels + mask


def icon_file():
    pictures = {size: draw(size) for size in SIZES}
    images = [(size, 8, image_8bpp(pictures[size])) for size in SIZES]
    images += [(size, 32, image_32bpp(pictures[size])) for size in SIZES]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, bits, data in images:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    return directory + b"".join(data for _, _, data in images)


def cpp_source(data):
    block = struct.pack("<II", 1, len(data)) + data
    lines = [", ".join("0x%02x" % byte for byte in block[i:i + 16]) for i in range(0, len(block), 16)]
    return ("// Generated by tools/make_icon.py: the program's icon file as a byte-set block.\n"
            '#include "app/app_icon.h"\n\n'
            "namespace {\n"
            "alignas(4) const unsigned char kBlock[%d] = {\n    %s};\n"
            "}  // namespace\n\n"
            "const void* const AppIconFile = kBlock;\n") % (len(block), ",\n    ".join(lines))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("ico")
    parser.add_argument("--source")
    arguments = parser.parse_args()
    data = icon_file()
    with open(arguments.ico, "wb") as ico:
        ico.write(data)
    if arguments.source:
        with open(arguments.source, "w", encoding="ascii", newline="\n") as source:
            source.write(cpp_source(data))
    return 0


if __name__ == "__main__":
    sys.exit(main())
