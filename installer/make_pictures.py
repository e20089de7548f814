"""Draws the installer's pictures from the suite's own program icon, at build time.

    make_pictures.py --icon option.ico --out DIR

Writes DIR/header.bmp (150 x 57, the header of the inner pages) and DIR/side.bmp
(164 x 314, the welcome and finish pages), 24-bit as NSIS needs them. The
colours are the skins' (skins/generator/ui/theme.h), so the installer looks like
the programs it installs. Only bytes that changed are rewritten, so the
installer is not rebuilt for nothing.
"""
import argparse
import io
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ACCENT = (128, 21, 153)
ACCENT_BRIGHT = (178, 70, 210)
ACCENT_DEEP = (74, 10, 92)
BODY_TOP = (31, 27, 41)
BODY_BOTTOM = (16, 15, 20)
TEXT = (240, 236, 246)
TEXT_SOFT = (150, 146, 162)

FONT_DIR = Path("/usr/share/fonts/truetype/liberation")


def font(size, bold=True):
    name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
    try:
        return ImageFont.truetype(str(FONT_DIR / name), size)
    except OSError:
        # Without the font the pictures are plainer but the installer still builds.
        print(f"make_pictures: {name} not found, using PIL's built-in font", file=sys.stderr)
        return ImageFont.load_default()


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def body(width, height):
    """The programs' window body: a vertical gradient with a purple glow at the top left."""
    image = Image.new("RGB", (width, height))
    draw = ImageDraw.Draw(image)
    for y in range(height):
        draw.line([(0, y), (width, y)], fill=mix(BODY_TOP, BODY_BOTTOM, y / max(1, height - 1)))
    glow = Image.new("L", (width, height), 0)
    ImageDraw.Draw(glow).ellipse([-width // 2, -height // 3, width, height // 2], fill=110)
    glow = glow.filter(ImageFilter.GaussianBlur(max(width, height) // 8))
    image.paste(Image.new("RGB", (width, height), ACCENT), (0, 0), glow)
    return image


def icon(path, size):
    """The program icon at `size` pixels, from the icon file's largest picture."""
    with Image.open(path) as ico:
        largest = max(ico.ico.sizes())
        picture = ico.ico.getimage(largest).convert("RGBA")
    return picture.resize((size, size), Image.LANCZOS)


def accent_bar(image, box):
    """A thin line in the accent colours, lit in the middle, like the skins' active tab."""
    draw = ImageDraw.Draw(image)
    x0, y0, x1, y1 = box
    for x in range(x0, x1):
        t = (x - x0) / max(1, x1 - x0 - 1)
        colour = mix(ACCENT_DEEP, ACCENT_BRIGHT, 1 - abs(2 * t - 1))
        draw.line([(x, y0), (x, y1 - 1)], fill=colour)


def centred(draw, y, text, face, fill, width):
    left, _, right, _ = draw.textbbox((0, 0), text, font=face)
    draw.text(((width - (right - left)) // 2 - left, y), text, font=face, fill=fill)


def side(icon_path):
    width, height = 164, 314
    image = body(width, height)
    emblem = icon(icon_path, 112)
    image.paste(emblem, ((width - 112) // 2, 46), emblem)
    draw = ImageDraw.Draw(image)
    centred(draw, 176, "7741", font(40), TEXT, width)
    centred(draw, 222, "GAMING MOUSE", font(15), TEXT_SOFT, width)
    accent_bar(image, (28, 250, width - 28, 252))
    return image


def header(icon_path):
    width, height = 150, 57
    image = body(width, height)
    emblem = icon(icon_path, 44)
    image.paste(emblem, (width - 44 - 7, (height - 44) // 2), emblem)
    draw = ImageDraw.Draw(image)
    draw.text((10, 8), "7741", font=font(22), fill=TEXT)
    draw.text((10, 34), "GAMING MOUSE", font=font(10), fill=TEXT_SOFT)
    accent_bar(image, (0, height - 2, width, height))
    return image


def write_if_changed(path, image):
    data = io.BytesIO()
    image.save(data, "BMP")
    data = data.getvalue()
    if path.exists() and path.read_bytes() == data:
        return
    path.write_bytes(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--icon", required=True, type=Path)
    parser.add_argument("--out", required=True, type=Path)
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)
    write_if_changed(args.out / "header.bmp", header(args.icon))
    write_if_changed(args.out / "side.bmp", side(args.icon))


if __name__ == "__main__":
    main()
