"""Opens Option's generated resource pictures with PIL, an independent reader."""
import sys
from pathlib import Path

from PIL import Image

folder = Path(sys.argv[1])
failures = []

with Image.open(folder / "scrollbar_368.bmp") as bar:
    if bar.format != "BMP" or bar.size != (117, 48) or bar.mode != "RGB":
        failures.append(f"scrollbar_368.bmp: {bar.format} {bar.size} {bar.mode}")

for n in range(2, 6):
    name = f"row_icon_{n}.bmp"
    with Image.open(folder / name) as icon:
        if icon.size != (16, 16) or icon.mode != "RGB":
            failures.append(f"{name}: {icon.size} {icon.mode}")
            continue
        if icon.getpixel((0, 0)) != (255, 0, 0):
            failures.append(f"{name}: corner is {icon.getpixel((0, 0))}, not the transparent red")
        if icon.getpixel((8, 8)) == (255, 0, 0):
            failures.append(f"{name}: nothing drawn in the middle")

with Image.open(folder / "submenu_145.ico") as arrow:
    sizes = sorted(arrow.info.get("sizes", set()))
    if sizes != [(16, 16)]:
        failures.append(f"submenu_145.ico: sizes {sizes}")
    else:
        alpha = arrow.convert("RGBA").getchannel("A")
        if alpha.getpixel((0, 0)) != 0 or alpha.getextrema()[1] != 255:
            failures.append("submenu_145.ico: no clear ground or nothing opaque")

for f in failures:
    print(f)
sys.exit(1 if failures else 0)
