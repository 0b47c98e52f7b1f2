"""Screenshots of the real-window tests, read with Pillow.

`import -window root -depth 8 FILE.ppm` writes the screen; the layer's own
captures are PNG files. Both open as RGB images; colours are (r, g, b).
"""
from PIL import Image, ImageChops

BLUE, WHITE, BLACK = (0, 0, 255), (255, 255, 255), (0, 0, 0)
GREY, DARK_BLUE, YELLOW = (192, 192, 192), (0, 0, 128), (255, 255, 0)


def load(path):
    return Image.open(path).convert("RGB")


def count(image, colour, x0, y0, x1, y1):
    """How many pixels of the rectangle [x0, x1) by [y0, y1) have the colour."""
    area = image.crop((x0, y0, x1, y1))
    return sum(n for n, c in area.getcolors(area.width * area.height) or [] if c == colour)


def difference(a, b):
    """A grey image, 0 where two images of one size are the same and not 0
    where they differ in any band."""
    r, g, b = ImageChops.difference(a, b).split()
    return ImageChops.lighter(ImageChops.lighter(r, g), b)


def differing(a, b, box):
    """How many pixels of the box (x0, y0, x1, y1) differ between two images."""
    return sum(difference(a.crop(box), b.crop(box)).histogram()[1:])


def ball_x(image, cx, cy, step=1):
    """The mean x of the white ball in the game's field at (cx, cy), or None.

    Rows with few white pixels below the score hold the ball; rows with many
    are walls. `step` is the size of a layer pixel on the screen.
    """
    ball = []
    px = image.load()
    for y in range(cy + 20 * step, cy + 324 * step, step):
        row = [x for x in range(cx, cx + 634 * step, step) if px[x, y] == WHITE]
        if 0 < len(row) <= 15:
            ball += row
    return sum(ball) / len(ball) if len(ball) >= 20 else None
