"""The notification area of a Wine virtual desktop, read from screenshots: the
icon, what changed between two pictures, and the rows of a menu."""
from PIL import Image, ImageChops


def changed_box(before, after, box=None):
    diff = ImageChops.difference(before, after)
    if box:
        diff = diff.crop(box)
    bbox = diff.getbbox()
    if bbox and box:
        bbox = (bbox[0] + box[0], bbox[1] + box[1], bbox[2] + box[0], bbox[3] + box[1])
    return bbox


def icon_box(image, width, height):
    """The icon at the right end of the task bar of a width x height desktop:
    what differs from the bar's own colour."""
    area = (width - 48, height - 20, width, height)
    crop = image.crop(area)
    background = crop.getpixel((0, crop.height // 2))
    plain = Image.new("RGB", crop.size, background)
    bbox = ImageChops.difference(crop, plain).getbbox()
    if not bbox:
        return None
    return (bbox[0] + area[0], bbox[1] + area[1], bbox[2] + area[0], bbox[3] + area[1])


def menu_rows(menu):
    """Bands of rows holding dark (text) pixels, and rows that are mostly a line."""
    gray = menu.convert("L")
    width, height = gray.size
    pixels = gray.load()
    text_rows, line_rows = [], []
    for y in range(height):
        dark = sum(1 for x in range(width) if pixels[x, y] < 80)
        mid = sum(1 for x in range(width) if pixels[x, y] < 200)
        if mid > width * 0.7:
            line_rows.append(y)
        elif dark > 0:
            text_rows.append(y)
    bands = []
    for y in text_rows:
        if bands and y - bands[-1][1] <= 1:
            bands[-1][1] = y
        else:
            bands.append([y, y])
    return [b for b in bands if b[1] - b[0] >= 5], line_rows
