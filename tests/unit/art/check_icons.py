"""Opens the generated program icons with PIL, an independent reader."""
import sys
from pathlib import Path

from PIL import Image

folder = Path(sys.argv[1])
failures = []
for name in ("monitor.ico", "option.ico"):
    path = folder / name
    with Image.open(path) as icon:
        sizes = sorted(icon.info.get("sizes", set()))
        if sizes != [(n, n) for n in (16, 20, 24, 32, 40, 48, 64, 256)]:
            failures.append(f"{name}: sizes {sizes}")
        for size in sizes:
            icon.size = size
            picture = icon.convert("RGBA")
            picture.load()
            alpha = picture.getchannel("A")
            if alpha.getpixel((0, 0)) != 0:
                failures.append(f"{name} {size}: corner not transparent")
            if alpha.getextrema()[1] != 255:
                failures.append(f"{name} {size}: nothing opaque")
            r, g, b, _ = picture.getpixel((size[0] // 2, size[1] // 4))
            if not b > g:  # the accent is purple: more blue than green
                failures.append(f"{name} {size}: centre top not in the accent ({r},{g},{b})")
for f in failures:
    print(f)
sys.exit(1 if failures else 0)
