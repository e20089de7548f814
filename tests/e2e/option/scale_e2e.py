"""End-to-end tests of Option at a display scale: Wine's system DPI (LogPixels)
is set from --scale, Option picks the skin set of that scale, and the tests
check its size, its sharpness against a stretched 100 % picture, its pages at
points from the set's own entries, and a change of DPI (which Wine 8 never
sends itself: the probe sends WM_DPICHANGED) while a rename or a drop-down is
open. Screenshots land in the build tree as scale-<percent>-*.png.

    /usr/bin/python3 scale_e2e.py --build-dir build/win --scale 150 [unittest arguments]
"""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import option, suite  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.option import OPTION_TITLE, OptionTest, skin_entries, skin_set  # noqa: E402

RENAME_BOX = 4011
DPI_TITLE = "DPI of the active level"  # the DPI levels dialog's title
RECORD = 11  # the macro page's record button
EDIT_LEVELS = 7  # the performance page's button that opens the DPI levels dialog
STEP_LIST = 4097  # the macro page's list of steps, always in sight
PROFILE_LIST_FRAME = "GmSkinScrollBarFrame"


def picture_size(path):
    from PIL import Image
    with Image.open(path) as image:
        return image.size


def edge_band(image, band):
    """The pixels of `image` along the middle halves of its four straight edges,
    `band` pixels deep: (x, y) pairs."""
    width, height = image.size
    points = []
    for y in range(height // 4, height * 3 // 4):
        points += [(x, y) for x in range(band)] + [(width - 1 - x, y) for x in range(band)]
    for x in range(width // 4, width * 3 // 4):
        points += [(x, y) for y in range(band)] + [(x, height - 1 - y) for y in range(band)]
    return points


def exact_share(image, points, palette):
    pixels = image.load()
    return sum(1 for p in points if pixels[p][:3] in palette) / len(points)


class ScaleTest(OptionTest):
    profiles = ("Gamer", "Work")

    def setUp(self):
        super().setUp()
        root = self.folder.path / "skins"
        self.base_size = picture_size(root / "mains_Normal.bmp")

    def screenshot(self, name):
        """The window as it shows now, saved as scale-<percent>-<name>.png."""
        from PIL import ImageGrab
        left, top, right, bottom = self.window_rect()
        image = ImageGrab.grab(xdisplay=suite.session().display).crop((left, top, right, bottom))
        image.save(suite.build_dir() / f"scale-{option.scale()}-{name}.png")
        return image

    def window_rect(self):
        return self.folder.option_window(patience=5)["rect"]

    def assert_window_at(self, percent, left=None, top=None):
        width, height = self.base_size
        x0, y0, x1, y1 = self.window_rect()
        print(f"at {percent} %: window {x1 - x0} x {y1 - y0}, 100 % {width} x {height}")
        self.assertLessEqual(abs((x1 - x0) - width * percent / 100), 1)
        self.assertLessEqual(abs((y1 - y0) - height * percent / 100), 1)
        if left is not None:
            self.assertEqual((x0, y0), (left, top), "the window is not where Windows suggested")

    def change_dpi(self, percent, left, top):
        """Sends WM_DPICHANGED for a display of `percent` with the rectangle Windows would suggest."""
        width, height = self.base_size
        rect = (left, top, left + option.scaled(width, percent), top + option.scaled(height, percent))
        result = self.folder.probe("dpichange", OPTION_TITLE, str(96 * percent // 100), *map(str, rect))
        self.assertEqual(result.returncode, 0, f"WM_DPICHANGED was not delivered: {result.stdout} {result.stderr}")

    def other_scale(self):
        return 200 if option.scale() != 200 else 125

    def page_point(self, skin, entry):
        """A point of a sub-page of the configuration page (they lie on its entry 16)."""
        left, top = self.folder.option_origin()
        ax, ay = self.folder.main_skin[7][:2]
        sx, sy = self.folder.config_skin[16][:2]
        x, y, w, h = skin[entry]
        return left + ax + sx + x + w // 2, top + ay + sy + y + h // 2

    def child(self, control_id):
        return next((r for r in self.folder.tree() if r["id"] == control_id and r["depth"] == 2), None)

    def test_the_window_is_the_100_percent_size_times_the_scale(self):
        self.assert_window_at(option.scale())
        self.screenshot("main")

    def test_each_page_opens_at_points_of_the_scaled_entries(self):
        # The sub-page tabs of the configuration page, then the macro tab of the main window.
        for entry, name in ((2, "performance"), (3, "lighting"), (1, "buttons")):
            self.folder.click(self.folder.config_point(entry))
            self.screenshot(name)
        self.folder.click(self.folder.main_point(5))
        self.assertTrue(wait_for(lambda: any(r["id"] == STEP_LIST and r["visible"] for r in self.folder.tree()), 5),
                        "the macro page did not show")
        self.screenshot("macros")

    def test_the_scaled_set_is_sharper_than_a_stretched_100_percent_window(self):
        if option.scale() == 100:
            self.skipTest("nothing is stretched at 100 %")
        from PIL import Image
        left, top, _, _ = self.window_rect()
        ours = self.screenshot("sharpness-ours")
        self.change_dpi(100, left, top)
        self.assertTrue(wait_for(lambda: abs((self.window_rect()[2] - self.window_rect()[0]) - self.base_size[0]) <= 1,
                                 10), "the window did not go to 100 %")
        base = self.screenshot("sharpness-100")
        stretched = base.resize(ours.size, Image.BILINEAR)
        stretched.save(suite.build_dir() / f"scale-{option.scale()}-sharpness-stretched.png")
        # The skin's own colours along the frame, as the 100 % window shows them.
        palette = {base.load()[p][:3] for p in edge_band(base, 4)}
        band = edge_band(ours, option.scaled(4))
        sharp, blurred = exact_share(ours, band, palette), exact_share(stretched, band, palette)
        print(f"sharpness at {option.scale()} %: {sharp:.3f} of the frame's edge pixels are exactly a skin colour, "
              f"{blurred:.3f} in the stretched 100 % window")
        self.assertGreater(sharp, blurred)

    def test_a_dpi_change_keeps_a_rename_and_an_open_drop_down(self):
        target = 200 if option.scale() != 200 else 125
        left, top, _, _ = self.window_rect()
        # A rename in progress: the box holds what was typed so far.
        self.folder.click(self.folder.config_point(10))
        self.folder.keys("ctrl+a")
        self.folder.type_text("Desk")
        self.assertEqual(self.folder.rename_box(), (True, "Desk"))
        self.change_dpi(target, left + 20, top + 10)
        self.assertTrue(wait_for(lambda: self.window_rect()[0] == left + 20, 10), "the window did not move")
        self.assert_window_at(target, left + 20, top + 10)
        self.screenshot(f"renaming-after-{target}")
        self.assertEqual(self.folder.rename_box(), (True, "Desk"), "the rename did not survive the change")
        # The box lies where the new set places it.
        config = skin_entries(skin_set(self.folder.path / "skins", target) / "skin_configr.ini")
        area = skin_entries(skin_set(self.folder.path / "skins", target) / "skin_mains.ini")[7]
        x, y, w, h = config[10]
        box = self.child(RENAME_BOX)["rect"]
        self.assertLessEqual(abs(box[0] - (left + 20 + area[0] + x)), option.scaled(12, target),
                             f"rename box at {box}, entry 10 at {x},{y}")
        self.folder.keys("Return")
        self.assertTrue(wait_for(lambda: "Desk" in self.folder.profile_names(), 10), "the rename was lost")

        # An open drop-down stays open across the next change, back to the run's scale.
        main = area
        self.folder.click((left + 20 + main[0] + config[5][0] + config[5][2] // 2,
                           top + 10 + main[1] + config[5][1] + config[5][3] // 2))
        self.assertTrue(wait_for(lambda: any(r["cls"] == PROFILE_LIST_FRAME and r["visible"]
                                             for r in self.folder.tree()), 5), "the drop-down did not open")
        self.change_dpi(option.scale(), left, top)
        self.assertTrue(wait_for(lambda: self.window_rect()[0] == left, 10), "the window did not move back")
        self.assert_window_at(option.scale(), left, top)
        self.screenshot("drop-down-after-change")
        self.assertTrue(any(r["cls"] == PROFILE_LIST_FRAME and r["visible"] for r in self.folder.tree()),
                        "the drop-down closed")
        # Its rows answer at the points of the run's own set.
        self.folder.click(self.folder.config_point(13, dy=option.scaled(10)))
        self.assertTrue(wait_for(lambda: self.folder.current_index() == 0, 10), "the first row did not answer")


    def test_a_dpi_change_keeps_an_open_dialog_and_scales_it_with_the_window(self):
        target = self.other_scale()
        self.folder.click(self.folder.config_point(2))
        performance = skin_entries(self.folder.skins / "Skin_Function.ini")
        self.folder.click(self.page_point(performance, EDIT_LEVELS), settle=1.0)
        self.assertTrue(wait_for(lambda: self.folder.tree(DPI_TITLE), 10), "the DPI levels dialog did not open")
        width, height = picture_size(self.folder.path / "skins" / "configDPI_Normal.bmp")
        left, top, _, _ = self.window_rect()
        self.change_dpi(target, left, top)
        self.assertTrue(wait_for(lambda: abs((self.window_rect()[2] - left) - option.scaled(self.base_size[0], target))
                                 <= 1, 10), "the window did not take the new scale")
        rows = self.folder.tree(DPI_TITLE)
        self.assertTrue(rows, "the dialog closed")
        x0, y0, x1, y1 = rows[0]["rect"]
        print(f"DPI levels dialog at {target} %: {x1 - x0} x {y1 - y0}, 100 % {width} x {height}")
        self.assertLessEqual(abs((x1 - x0) - width * target / 100), 1)
        self.assertLessEqual(abs((y1 - y0) - height * target / 100), 1)
        from PIL import ImageGrab
        ImageGrab.grab(xdisplay=suite.session().display).save(
            suite.build_dir() / f"scale-{option.scale()}-dialog-after-{target}.png")

    def test_a_dpi_change_keeps_a_recording(self):
        target = self.other_scale()
        self.folder.click(self.folder.main_point(5))
        macros = skin_entries(self.folder.skins / "skin_Macros.ini")
        left, top = self.folder.option_origin()
        ax, ay = self.folder.main_skin[7][:2]
        x, y, w, h = macros[RECORD]
        self.folder.click((left + ax + x + w // 2, top + ay + y + h // 2))
        record = lambda: next((r["text"] for r in self.folder.tree()
                               if r["id"] == RECORD and r["cls"] == "GmSkinButton" and r["visible"]), None)
        self.assertTrue(wait_for(lambda: record() == "Stop", 5), "recording did not start")
        self.change_dpi(target, left, top)
        self.assertTrue(wait_for(lambda: abs((self.window_rect()[2] - left) - option.scaled(self.base_size[0], target))
                                 <= 1, 10), "the window did not take the new scale")
        self.screenshot(f"recording-after-{target}")
        self.assertEqual(record(), "Stop", "the recording ended with the change")
        # The record button answers at its place in the new set.
        x, y, w, h = skin_entries(skin_set(self.folder.path / "skins", target) / "skin_Macros.ini")[RECORD]
        area = skin_entries(skin_set(self.folder.path / "skins", target) / "skin_mains.ini")[7]
        self.folder.click((left + area[0] + x + w // 2, top + area[1] + y + h // 2))
        self.assertTrue(wait_for(lambda: record() == "Record", 5), "the recording did not stop at the new place")


if __name__ == "__main__":
    option.main()
