#!/usr/bin/env python3
"""Draws the program's icon and writes it as an .ico file:
    draw_icon.py OUTPUT.ico
A blue rounded tile with a white arrow leaving it to the upper right. Two
32 by 32 images: 256 colours (for old systems and low colour depths) and true
colour with alpha. Plain Python, no libraries: the output is the same on
every machine, so the committed launch.ico can be checked against it."""
import struct
import sys

SIZE = 32
SAMPLES = 4  # per pixel and axis, for smooth edges


def inside_rounded_square(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius**2 and left <= x <= right and top <= y <= bottom


def inside_polygon(x, y, points):
    inside = False
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


# The arrow, pointing up and to the right: a head and a shaft, in pixels.
ARROW = [(23.25, 8.75), (23.25, 19.25), (19.55, 15.55), (11.85, 23.25), (8.75, 20.15),
         (16.45, 12.45), (12.75, 8.75)]


def colour_at(x, y):
    """The unblended colour and coverage (0 or 1) at a sample point."""
    if not inside_rounded_square(x, y, 1, 1, 31, 31, 6):
        return (0, 0, 0), 0
    if inside_polygon(x, y, ARROW):
        return (255, 255, 255), 1
    shade = (x + y) / 64  # lighter at the upper left
    return (int(70 - 40 * shade), int(150 - 70 * shade), int(245 - 60 * shade)), 1


def render():
    """Rows from the top of (r, g, b, a) pixels, alpha premultiplied away."""
    pixels = []
    for row in range(SIZE):
        line = []
        for column in range(SIZE):
            totals, coverage = [0, 0, 0], 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    rgb, a = colour_at(column + (sx + 0.5) / SAMPLES, row + (sy + 0.5) / SAMPLES)
                    coverage += a
                    for i in range(3):
                        totals[i] += rgb[i] * a
            alpha = round(255 * coverage / SAMPLES**2)
            rgb = [round(t / coverage) if coverage else 0 for t in totals]
            line.append((*rgb, alpha))
        pixels.append(line)
    return pixels


def and_mask(pixels):
    """1 bit a pixel, set where the pixel is transparent; rows bottom-up, 4 bytes each."""
    data = b""
    for line in reversed(pixels):
        bits = 0
        for r, g, b, a in line:
            bits = bits << 1 | (a < 128)
        data += bits.to_bytes(4, "big")
    return data


def bitmap_header(bits, colours):
    # Height counts the colour image and the mask.
    return struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, bits, 0, 0, 0, 0, colours, 0)


def true_colour_image(pixels):
    data = b"".join(bytes((b, g, r, a)) for line in reversed(pixels) for r, g, b, a in line)
    return bitmap_header(32, 0) + data + and_mask(pixels)


def palette_image(pixels):
    """At most 256 colours: the opaque pixels' colours, rounded until they fit."""
    opaque = [[(r, g, b) if a >= 128 else (0, 0, 0) for r, g, b, a in line] for line in pixels]
    for shift in range(8):
        def rounded(rgb):
            return tuple(min(255, (c >> shift << shift) + ((1 << shift) >> 1)) for c in rgb)
        colours = sorted({rounded(rgb) for line in opaque for rgb in line})
        if len(colours) <= 256:
            break
    index = {rgb: i for i, rgb in enumerate(colours)}
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    palette += bytes(4 * (256 - len(colours)))
    data = bytes(index[rounded(rgb)] for line in reversed(opaque) for rgb in line)
    return bitmap_header(8, 256) + palette + data + and_mask(pixels)


def icon_file(images):
    """images: (bits per pixel, image data) pairs."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, data = b"", b""
    for bits, image in images:
        # Width, height, colour count (0: 256 or more), reserved, planes, bits, size, offset.
        entries += struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, bits, len(image), offset)
        data += image
        offset += len(image)
    return directory + entries + data


def main():
    pixels = render()
    with open(sys.argv[1], "wb") as output:
        output.write(icon_file([(8, palette_image(pixels)), (32, true_colour_image(pixels))]))


if __name__ == "__main__":
    main()
