"""End-to-end tests of Option at a display scale: Wine's system DPI (LogPixels)
is set from --scale, Option picks the skin set of that scale, and the tests
check its size, its sharpness against Windows-style stretching, and a change
of DPI while a page has something open. Screenshots land in the build tree as
scale-<percent>-*.png.

    /usr/bin/python3 scale_e2e.py --build-dir build/win --scale 150 [unittest arguments]
"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import option, suite  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.option import OPTION_TITLE, OptionTest, skin_entries, skin_set  # noqa: E402


def picture_size(path):
    from PIL import Image
    with Image.open(path) as image:
        return image.size


class ScaleTest(OptionTest):
    profiles = ("Gamer", "Work")

    def screenshot(self, name, rect=None):
        from PIL import ImageGrab
        image = ImageGrab.grab(xdisplay=suite.session().display)
        if rect:
            image = image.crop(rect)
        image.save(suite.build_dir() / f"scale-{option.scale()}-{name}.png")
        return image

    def window_rect(self):
        return self.folder.option_window(patience=5)["rect"]

    def test_the_window_is_the_100_percent_size_times_the_scale(self):
        root = self.folder.path / "skins"
        width, height = picture_size(root / "mains_Normal.bmp")
        left, top, right, bottom = self.window_rect()
        self.screenshot("main", (left, top, right, bottom))
        factor = option.scale() / 100
        print(f"scale {option.scale()} %: window {right - left} x {bottom - top}, 100 % {width} x {height}")
        self.assertLessEqual(abs((right - left) - width * factor), 1)
        self.assertLessEqual(abs((bottom - top) - height * factor), 1)


if __name__ == "__main__":
    option.main()
