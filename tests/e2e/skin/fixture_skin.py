"""A gallery skin with flat, known colours, so that tests can tell each state
picture of every control apart by one pixel. Follows the layout contract of the
gallery skin (entries 1-8, 11-18, 21-28, 30-36), and carries a slider thumb
of one flat colour whose corners are cut away by its magenta."""
import os

from PIL import Image, ImageDraw

WIDTH, HEIGHT = 760, 330
BACKGROUND = (30, 30, 40)
# Face colour of every control in each of the four window pictures.
FACES = {
    "Normal": (40, 40, 90),
    "Over": (40, 140, 40),
    "Down": (160, 40, 40),
    "Disable": (90, 90, 90),
}
CUT = 40  # the top-left and bottom-right corners are cut off the window

THUMB_FILE = "slider_arrow_rect.bmp"
THUMB_W, THUMB_H = 14, 22
THUMB = (230, 200, 40)
THUMB_TRANSPARENT = (255, 0, 255)


def thumb_inside(x, y):
    """Whether a pixel of the thumb picture belongs to its shape: all but two-pixel corners."""
    return not ((x < 2 or x >= THUMB_W - 2) and (y < 2 or y >= THUMB_H - 2))


def entries():
    """Entry number -> (x, y, width, height, tooltip)."""
    e = {}
    for i in range(8):
        e[1 + i] = (20, 40 + i * 34, 170, 28, f"Push button, alignment mode {i}")
        e[11 + i] = (210, 40 + i * 34, 170, 28, f"Check button, alignment mode {i}")
        e[21 + i] = (400, 40 + i * 34, 130, 24, f"Indicator mode {i + 1}")
    e[30] = (550, 40, 40, 24, "Colour swatch")
    e[31] = (550, 80, 180, 24, "Edit box")
    e[32] = (550, 120, 180, 24, "Label")
    e[33] = (550, 160, 120, 28, "Open the menu")
    e[34] = (700, 8, 40, 22, "Close the gallery")
    e[35] = (550, 200, 150, 28, "Disabled button")
    e[36] = (550, 244, 190, 24, "Slider track")
    return e


def inside_polygon():
    return [(CUT, 0), (WIDTH - 1, 0), (WIDTH - 1, HEIGHT - 1 - CUT), (WIDTH - 1 - CUT, HEIGHT - 1),
            (0, HEIGHT - 1), (0, CUT)]


def write(folder, name="skin_gallery.ini"):
    os.makedirs(folder, exist_ok=True)
    mask = Image.new("RGB", (WIDTH, HEIGHT), (255, 255, 255))
    ImageDraw.Draw(mask).polygon(inside_polygon(), fill=(0, 0, 0))
    mask.save(os.path.join(folder, "fx_mask.bmp"))
    for state, face in FACES.items():
        img = Image.new("RGB", (WIDTH, HEIGHT), BACKGROUND)
        draw = ImageDraw.Draw(img)
        for (x, y, w, h, _) in entries().values():
            draw.rectangle([x, y, x + w - 1, y + h - 1], fill=face)
        img.save(os.path.join(folder, f"fx_{state.lower()}.bmp"))
    thumb = Image.new("RGB", (THUMB_W, THUMB_H), THUMB_TRANSPARENT)
    for y in range(THUMB_H):
        for x in range(THUMB_W):
            if thumb_inside(x, y):
                thumb.putpixel((x, y), THUMB)
    thumb.save(os.path.join(folder, THUMB_FILE))
    lines = ["[SCREEN]", "Mask=fx_mask.bmp"]
    lines += [f"{state}=fx_{state.lower()}.bmp" for state in FACES]
    lines.append("[BUTTONPOS]")
    for n, (x, y, w, h, tip) in sorted(entries().items()):
        lines.append(f"{n}=E{n},{x},{y},{w},{h},{tip}")
    with open(os.path.join(folder, name), "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    return os.path.join(folder, name)


if __name__ == "__main__":
    import sys
    print(write(sys.argv[1] if len(sys.argv) > 1 else "."))
