"""Draws the programs' sample pictures as 16-colour BMP files: bouncer's ball frames and paddle,
tiler's built-in ball and two pictures to open in it, and paver's four tiles."""

import math
import os
import struct

# The standard 16 Windows colours, so that every picture can use any of them by index.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, TEAL, SILVER, GREY = 0, 1, 2, 3, 4, 6, 7, 8
RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = 9, 10, 11, 12, 13, 14, 15

# The script lives in assets/, so the repository root is one level up.
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def write_bmp4(path, pixels):
    """Writes a 2-D list of palette indices (top row first) as an uncompressed 4-bit BMP."""
    height, width = len(pixels), len(pixels[0])
    # Each row holds two pixels per byte and must be padded to a multiple of four bytes.
    row_size = ((width + 1) // 2 + 3) // 4 * 4
    data = bytearray()
    # BMP rows are stored bottom-up, so the last row of the picture comes first.
    for row in reversed(pixels):
        padded = list(row) + [0] * (width % 2)
        line = bytes(padded[i] << 4 | padded[i + 1] for i in range(0, len(padded), 2))
        data += line + b"\0" * (row_size - len(line))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0,
                              len(data), 2835, 2835, 16, 16)
    with open(path, "wb") as f:
        f.write(file_header + info_header + palette + bytes(data))


def draw_ball(quarter_turns=None):
    """Returns a 50x50 green ball on white, marked and turned clockwise by the given quarter turns."""
    size, centre, radius = 50, 24.5, 23.5
    pixels = [[WHITE] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            dx, dy = x - centre, y - centre
            if dx * dx + dy * dy > radius * radius:
                continue
            # The light falls from the upper left, so the lower right rim is darker.
            lit = (dx + 9) ** 2 + (dy + 9) ** 2 < 26 ** 2
            pixels[y][x] = LIME if lit else GREEN
            if quarter_turns is None:
                continue
            # Undo the turn so the marking is tested in the first frame's coordinates;
            # quarter turns about the picture centre map pixels exactly onto pixels.
            for _ in range(quarter_turns % 4):
                dx, dy = dy, -dx
            # A dark stripe runs from the centre to the top edge, so the direction is unambiguous.
            if abs(dx) < 2.5 and dy < 0:
                pixels[y][x] = NAVY
            # A yellow spot with a white glint sits a quarter turn ahead of the stripe.
            spot = (dx - 12) ** 2 + dy ** 2
            if spot < 5.5 ** 2:
                pixels[y][x] = WHITE if spot < 2 ** 2 else YELLOW
    return pixels


def draw_paddle():
    """Returns the 100x25 paddle: a blue outline, fuchsia ends and a yellow-green zigzag inside."""
    width, height, border, end = 100, 25, 2, 12
    pixels = [[BLUE] * width for _ in range(height)]
    middle = (height - 1) / 2
    for y in range(border, height - border):
        for x in range(border, width - border):
            if x < end or x >= width - end:
                pixels[y][x] = FUCHSIA
            else:
                # Shifting the stripes by the distance from the middle row bends them into chevrons.
                band = int(x + abs(y - middle)) // 5
                pixels[y][x] = YELLOW if band % 2 == 0 else GREEN
    # Blue bars between the ends and the zigzag keep the colours from running together.
    for y in range(height):
        for x in (end, end + 1, width - end - 2, width - end - 1):
            pixels[y][x] = BLUE
    return pixels


def draw_tiler_ball():
    """Returns tiler's 50x50 ball: a lime disc filling the square with a dark green rim and a
    white dithered highlight in its upper-left quarter, on white corners."""
    size, centre, radius, rim = 50, 24.5, 25.0, 2.0
    pixels = [[WHITE] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            distance = ((x - centre) ** 2 + (y - centre) ** 2) ** 0.5
            if distance > radius:
                continue
            pixels[y][x] = GREEN if distance > radius - rim else LIME
            # A checkerboard of white dots reads as a soft light from the upper left.
            if (x - 15) ** 2 + (y - 15) ** 2 < 7 ** 2 and (x + y) % 2 == 0:
                pixels[y][x] = WHITE
    return pixels


def draw_tile(kind):
    """Returns one of paver's four 30x30 tiles, each in its own colours and pattern so that a
    paving shows at a glance which tile lies where."""
    size = 30
    pixels = [[0] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            if kind == 0:
                # Red bricks in two courses, with grey mortar.
                course = y // 15
                mortar = y % 15 == 14 or (x + 15 * course) % 30 == 29
                pixels[y][x] = SILVER if mortar else (MAROON if (x // 6 + y // 5) % 4 == 0 else RED)
            elif kind == 1:
                # Blue water with yellow diagonal waves.
                pixels[y][x] = YELLOW if (x + y) % 10 < 2 else BLUE
            elif kind == 2:
                # A fuchsia and white checkerboard of 5-pixel squares.
                pixels[y][x] = FUCHSIA if (x // 5 + y // 5) % 2 == 0 else WHITE
            else:
                # Teal grass with a black cross through the middle.
                pixels[y][x] = BLACK if abs(x - 14.5) < 2 or abs(y - 14.5) < 2 else TEAL
    # A one-pixel frame in the tile's own darkest colour marks the cell edges.
    edge = [MAROON, NAVY, FUCHSIA, BLACK][kind]
    for i in range(size):
        pixels[0][i] = pixels[size - 1][i] = pixels[i][0] = pixels[i][size - 1] = edge
    return pixels


def draw_star():
    """Returns a 50x50 yellow five-pointed star with an olive outline on navy, for tiler to open."""
    size, centre = 50, 24.5
    outer, inner = 23.0, 9.5
    corners = []
    for i in range(10):
        radius = outer if i % 2 == 0 else inner
        angle = math.pi * i / 5 - math.pi / 2
        corners.append((centre + radius * math.cos(angle), centre + radius * math.sin(angle)))

    def inside(x, y, shrink):
        # Even-odd rule over the star's outline, pulled towards the centre by `shrink`.
        points = [(centre + (px - centre) * shrink, centre + (py - centre) * shrink) for px, py in corners]
        crossings = 0
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                crossings += 1
        return crossings % 2 == 1

    return [[YELLOW if inside(x, y, 0.85) else OLIVE if inside(x, y, 1.0) else NAVY for x in range(size)]
            for y in range(size)]


def draw_heart():
    """Returns a 50x50 red heart with a maroon outline on white, for tiler to open."""
    size = 50

    def inside(x, y, scale):
        # The heart curve (u^2 + v^2 - 1)^3 = u^2 v^3, with v pointing up.
        u, v = (x - 24.5) / scale, (26 - y) / scale
        return (u * u + v * v - 1) ** 3 - u * u * v ** 3 <= 0

    return [[RED if inside(x, y, 16.5) else MAROON if inside(x, y, 19) else WHITE for x in range(size)]
            for y in range(size)]


def main():
    os.makedirs(os.path.join(ROOT, "bouncer"), exist_ok=True)
    for frame, name in enumerate(["Мячик", "Мячик2", "Мячик3", "Мячик4"]):
        write_bmp4(os.path.join(ROOT, "assets", name + ".bmp"), draw_ball(frame))
    write_bmp4(os.path.join(ROOT, "bouncer", "Image1.bmp"), draw_ball())
    write_bmp4(os.path.join(ROOT, "bouncer", "Button1.bmp"), draw_paddle())
    os.makedirs(os.path.join(ROOT, "tiler"), exist_ok=True)
    write_bmp4(os.path.join(ROOT, "tiler", "Image1.bmp"), draw_tiler_ball())
    write_bmp4(os.path.join(ROOT, "assets", "Звезда.bmp"), draw_star())
    write_bmp4(os.path.join(ROOT, "assets", "Сердце.bmp"), draw_heart())
    for kind, name in enumerate(["B1", "Bitmap2", "Bitmap3", "Bitmap4"]):
        write_bmp4(os.path.join(ROOT, "assets", name + ".bmp"), draw_tile(kind))


if __name__ == "__main__":
    main()
