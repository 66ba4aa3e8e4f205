"""Draws each program's desktop icon from one list of shapes, as a scalable SVG and as a
48 x 48 PNG, into assets/icons/."""

import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SIZE = 48
# Each PNG pixel is the average of SAMPLES x SAMPLES points, which smooths the edges.
SAMPLES = 4


# Shapes in a 48 x 48 box, drawn in order, each a tuple (kind, colour, geometry...):
#   ("rect", colour, x, y, w, h, corner_radius)
#   ("circle", colour, cx, cy, r)
#   ("polygon", colour, [(x, y), ...])
def tile(colour):
    """The rounded square every icon stands on."""
    return ("rect", colour, 2, 2, 44, 44, 7)


def ball(cx, cy, r):
    """A green ball with a darker rim and a light spot, as the programs draw theirs."""
    return [("circle", "#008000", cx, cy, r), ("circle", "#00ff00", cx - r * 0.12, cy - r * 0.12, r * 0.8),
            ("circle", "#ffffff", cx - r * 0.4, cy - r * 0.4, r * 0.22)]


ICONS = {
    # A ball flying over the paddle.
    "bouncer": [tile("#1b2b5a"), *ball(19, 17, 9),
                ("rect", "#0000ff", 9, 34, 30, 8, 1), ("rect", "#ff00ff", 11, 36, 5, 4, 0),
                ("rect", "#ff00ff", 32, 36, 5, 4, 0), ("rect", "#ffff00", 17, 36, 14, 4, 0)],
    # A window with its title bar, and an arrow out of its corner: the size it keeps.
    "sizekeeper": [tile("#5a6b7d"), ("rect", "#ffffff", 8, 9, 26, 22, 2), ("rect", "#2a62c9", 8, 9, 26, 6, 2),
                   ("rect", "#2a62c9", 8, 12, 26, 3, 0),
                   ("polygon", "#ffd23f", [(28, 25), (40, 37), (40, 30), (43, 30), (43, 43), (30, 43),
                                           (30, 40), (37, 40), (25, 28)])],
    # Three slider tracks with their knobs at different places.
    "sliders": [tile("#d9dee6"),
                *[shape for y, x in ((12, 14), (24, 30), (36, 21)) for shape in (
                    ("rect", "#5b6470", 8, y - 1.5, 32, 3, 1.5), ("rect", "#2a62c9", x - 3.5, y - 6, 7, 12, 2))]],
    # A calculator: a display with a red mark of life, and a grid of keys.
    "hitcalc": [tile("#38404a"), ("rect", "#b8e0a8", 8, 7, 32, 11, 2), ("rect", "#c0392b", 30, 10, 7, 5, 1),
                *[("rect", "#ff9f1c" if (row, col) == (2, 2) else "#e8e8e8", 8 + col * 11.5, 22 + row * 7.5, 9, 5.5, 1)
                  for row in range(3) for col in range(3)]],
    # A key cap with the letter A on it: the program shows each key's code.
    "heropick": [tile("#7a4b9c"), ("rect", "#c9c9d1", 8, 8, 32, 32, 5), ("rect", "#f2f2f6", 11, 9, 26, 26, 4),
                 ("polygon", "#30303a", [(21, 13), (27, 13), (33, 31), (28.5, 31), (24, 17.5), (19.5, 31), (15, 31)]),
                 ("rect", "#30303a", 20, 23, 8, 3.5, 0)],
    # Four tiles in the colours of the sample tiles.
    "paver": [tile("#c0c0c0"),
              ("rect", "#ff0000", 6, 6, 17, 17, 1), ("rect", "#c0c0c0", 6, 13.5, 17, 1.5, 0),
              ("rect", "#0000ff", 25, 6, 17, 17, 1), ("polygon", "#ffff00", [(25, 20), (39, 6), (42, 6), (25, 23)]),
              ("rect", "#ffffff", 6, 25, 17, 17, 1), ("rect", "#ff00ff", 6, 25, 8.5, 8.5, 0),
              ("rect", "#ff00ff", 14.5, 33.5, 8.5, 8.5, 0),
              ("rect", "#008080", 25, 25, 17, 17, 1), ("rect", "#000000", 32, 25, 3, 17, 0),
              ("rect", "#000000", 25, 32, 17, 3, 0)],
    # The same ball stamped over a grid.
    "tiler": [tile("#f4f1e8"), *[shape for row in range(3) for col in range(3)
                                 for shape in ball(12 + col * 12, 12 + row * 12, 5.5)]],
    # A play button beside the bars of a sound.
    "wavplayer": [tile("#263238"), ("circle", "#ff7043", 17, 24, 11), ("polygon", "#ffffff", [(14, 17), (23, 24), (14, 31)]),
                  *[("rect", "#4dd0e1", 31 + i * 4, 24 - h / 2, 2.5, h, 1) for i, h in enumerate((10, 22, 14))]],
}


def inside(shape, x, y):
    """Tells whether the point (x, y) lies inside the shape."""
    kind = shape[0]
    if kind == "circle":
        _, _, cx, cy, r = shape
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if kind == "rect":
        _, _, left, top, w, h, radius = shape
        if not (left <= x <= left + w and top <= y <= top + h):
            return False
        # Outside the rounded corners, the point must be within the radius of the corner's centre.
        cx = min(max(x, left + radius), left + w - radius)
        cy = min(max(y, top + radius), top + h - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    points = shape[2]
    crossings = 0
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            crossings += 1
    return crossings % 2 == 1


def rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def render_png(shapes, path):
    """Rasterises the shapes into an RGBA PNG of SIZE x SIZE pixels."""
    rows = bytearray()
    for py in range(SIZE):
        rows.append(0)  # each row starts with its filter type: none
        for px in range(SIZE):
            total = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x, y = px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES
                    colour = None
                    for shape in shapes:
                        if inside(shape, x, y):
                            colour = shape[1]
                    if colour is not None:
                        r, g, b = rgb(colour)
                        total[0] += r
                        total[1] += g
                        total[2] += b
                        total[3] += 1
            covered = total[3]
            # Colour is averaged over the covered samples only, so edges fade out instead of darkening.
            pixel = [round(c / covered) for c in total[:3]] if covered else [0, 0, 0]
            rows += bytes(pixel + [round(255 * covered / SAMPLES ** 2)])

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8 bits per channel, RGBA
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
                + chunk(b"IEND", b""))


def number(value):
    return f"{value:g}"


def render_svg(shapes, path):
    """Writes the shapes as an SVG drawing of the same box."""
    lines = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" viewBox="0 0 {SIZE} {SIZE}">']
    for shape in shapes:
        kind, colour = shape[0], shape[1]
        if kind == "circle":
            _, _, cx, cy, r = shape
            lines.append(f'  <circle cx="{number(cx)}" cy="{number(cy)}" r="{number(r)}" fill="{colour}"/>')
        elif kind == "rect":
            _, _, x, y, w, h, radius = shape
            lines.append(f'  <rect x="{number(x)}" y="{number(y)}" width="{number(w)}" height="{number(h)}" '
                         f'rx="{number(radius)}" fill="{colour}"/>')
        else:
            points = " ".join(f"{number(x)},{number(y)}" for x, y in shape[2])
            lines.append(f'  <polygon points="{points}" fill="{colour}"/>')
    lines.append("</svg>")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    folder = os.path.join(ROOT, "assets", "icons")
    os.makedirs(folder, exist_ok=True)
    for name, shapes in ICONS.items():
        render_png(shapes, os.path.join(folder, name + ".png"))
        render_svg(shapes, os.path.join(folder, name + ".svg"))


if __name__ == "__main__":
    main()
