#!/usr/bin/env python3
"""Makes the user guide's pictures (docs/pictures/*.png) from the real Option
under Wine and Xvfb, driven like the end-to-end tests: the real Monitor and the
virtual mouse, click points from the staged skin files, what is open read with
the probe. Each picture is cropped to its window and made small: PNG of at most
80 KB, quantised (and scaled down only if it must).

    /usr/bin/python3 tools/guide/make_pictures.py --build-dir build/win [--out docs/pictures]

The build tree is only read: the Wine prefix and the program folders live in a
temporary folder of their own.
"""
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from lib import harness, option, suite  # noqa: E402
from lib.button_page import ButtonTest  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.option import OPTION_TITLE, OptionFolder, skin_entries  # noqa: E402
from PIL import Image, ImageGrab  # noqa: E402

MAX_BYTES = 80 * 1024
LEVELS_TITLE = "DPI of the active level"
BADGE_ENTRY = 8  # the main window's "Mouse not connected" badge
TIP_CLASSES = ("tooltips_class32", "GmSharedTooltip")


def save_small(image, path):
    """`image` as a palette PNG of at most MAX_BYTES: fewer colours first, then smaller."""
    image = image.convert("RGB")
    for scale in (1.0, 0.85, 0.7, 0.55):
        sized = image if scale == 1.0 else image.resize(
            (int(image.width * scale), int(image.height * scale)), Image.LANCZOS)
        for colors in (256, 128, 64, 32):
            sized.quantize(colors=colors).save(path, optimize=True)
            if path.stat().st_size <= MAX_BYTES:
                return path.stat().st_size
    raise RuntimeError(f"{path.name} does not fit in {MAX_BYTES} bytes")


class Pictures(ButtonTest):
    profiles = ("Desktop", "Shooter", "Racer")
    out = None

    def prepare(self):
        super().prepare()
        # The last profile is current: a game of its own, and a button that starts a
        # program, exported so that its import asks first.
        self.folder.gmconfig("set", "GameFile=C:\\Games\\racer.exe")
        self.folder.gmconfig("button", "3", "launch", "C:\\Games\\racer.exe")
        self.exchange = self.folder.path / "racer.gmp"
        self.folder.gmconfig("export", "2", harness.windows_path(self.exchange))

    # Pictures.
    def window_rect(self, title):
        rows = self.folder.tree(title)
        self.assertTrue(rows, f"no window {title!r} to photograph")
        return rows[0]["rect"]

    def shot(self, name, title=OPTION_TITLE, with_tips=False):
        if not with_tips:
            # The pointer off the window: no hover light, no tooltip.
            subprocess.run(["xdotool", "mousemove", "1270", "1010"], env=self.env, check=True)
        time.sleep(0.8)
        left, top, right, bottom = self.window_rect(title)
        if with_tips:
            for row in self.top_windows():
                if row[1] in TIP_CLASSES:
                    l, t, r, b = row[0]
                    left, top, right, bottom = min(left, l), min(top, t), max(right, r), max(bottom, b)
        image = ImageGrab.grab(bbox=(left, top, right, bottom), xdisplay=suite.session().display)
        size = save_small(image, self.out / f"{name}.png")
        print(f"picture: {name}.png {image.width}x{image.height} {size} bytes", flush=True)

    def top_windows(self):
        """(rect, class) of every visible top-level window."""
        rows = []
        for line in self.folder.probe("windows").stdout.splitlines():
            parts = line.split(" ", 6)
            if len(parts) >= 6:
                rows.append((tuple(int(p) for p in parts[2:6]), parts[1]))
        return rows

    # Points from the skins.
    def page_point(self, skin, entry):
        return self.centre(self.page_origin(), skin[entry])

    def macro_point(self, entry, dy=None):
        left, top = self.folder.option_origin()
        ax, ay = self.folder.main_skin[7][:2]
        x, y, w, h = self.macro_skin[entry]
        return left + ax + x + w // 2, top + ay + y + (h // 2 if dy is None else dy)

    def shown(self, text):
        return any(r["visible"] and r["text"] == text and r["cls"] == "GmSkinButton" for r in self.folder.tree())

    def test_pictures(self):
        skins = self.folder.path / "skins"
        self.macro_skin = skin_entries(skins / "skin_Macros.ini")

        # The settings tab opens on the button page; the assignment dialog of a side
        # button, on its macro page.
        self.shot("buttons")
        self.open_dialog(5)
        self.category(5)
        self.menu(5, 2, 1)  # the first macro of the library
        self.shot("assignment", title=self.title)
        self.finish(4)

        # Performance and its DPI levels dialog; lighting.
        self.folder.click(self.folder.config_point(2), settle=1.0)
        self.shot("performance")
        self.folder.click(self.page_point(skin_entries(skins / "Skin_Function.ini"), 7), settle=1.0)
        self.assertTrue(wait_for(lambda: self.folder.tree(LEVELS_TITLE), 10), "the levels dialog did not open")
        self.shot("dpi-levels", title=LEVELS_TITLE)
        dpi_skin = skin_entries(skins / "Skin_configDPI.ini")
        self.folder.click(self.centre(self.window_rect(LEVELS_TITLE)[:2], dpi_skin[21]), settle=1.0)  # Cancel
        self.assertTrue(wait_for(lambda: not self.folder.tree(LEVELS_TITLE), 10), "the levels dialog stayed open")
        self.folder.click(self.folder.config_point(3), settle=1.0)
        self.shot("lighting")

        # The question before a profile that starts a program is imported.
        self.menu_command(2)
        self.assertTrue(wait_for(lambda: subprocess.run(["xdotool", "search", "--name", "Open"], env=self.env,
                                                        capture_output=True).returncode == 0, 10), "no Open dialog")
        time.sleep(0.5)
        self.folder.keys("ctrl+a", title="Open")
        self.folder.type_text(harness.windows_path(self.exchange))
        self.folder.keys("Return", title="Open")
        self.assertTrue(wait_for(lambda: self.folder.tree("Import"), 10), "no import question")
        self.shot("import-question", title="Import")
        question = self.window_rect("Import")
        self.folder.click(self.centre(question[:2], self.folder.question_skin[7]))  # not at all
        self.assertTrue(wait_for(lambda: not self.folder.tree("Import"), 10), "the question stayed open")

        # The macro tab while the recorder runs, then the insert panel of a step.
        self.folder.click(self.folder.main_point(5), settle=1.0)
        self.folder.click(self.macro_point(11), settle=0.6)  # Record
        self.assertTrue(wait_for(lambda: self.shown("Stop"), 5), "recording did not start")
        self.folder.keys("h", "i", "shift+1")
        self.shot("macros-recording")
        self.folder.click(self.macro_point(11), settle=1.0)  # Stop
        self.assertTrue(wait_for(lambda: self.shown("Record"), 5), "recording did not stop")
        self.folder.click(self.macro_point(18, dy=10), settle=0.6)  # the first step
        self.folder.click(self.macro_point(19), settle=1.0)
        self.assertTrue(wait_for(lambda: self.shown("Cancel"), 5), "the insert panel did not open")
        self.shot("insert-panel")

        # The Start menu's entry before the mouse is plugged in, and the badge's tip.
        self.folder.cleanup()
        self.folder = OptionFolder(suite.session(), "no-mouse")
        for name in self.profiles:
            self.folder.gmconfig("new", name)
        self.folder.attached = False
        self.folder.start_monitor("1")
        self.assertTrue(wait_for(lambda: (self.folder.list_rows() or {}).get("count") == 3, 30),
                        "the Monitor did not open Option without the mouse")
        badge = lambda: next((r for r in self.folder.tree() if r["depth"] == 1 and r["id"] == BADGE_ENTRY
                              and r["visible"]), None)
        self.assertTrue(wait_for(badge, 10), "no badge")
        left, top, right, bottom = badge()["rect"]
        subprocess.run(["xdotool", "mousemove", str((left + right) // 2), str((top + bottom) // 2)], env=self.env,
                       check=True)
        time.sleep(2.0)
        self.shot("no-mouse", with_tips=True)


def main():
    def add_arguments(parser):
        parser.add_argument("--out", default=str(ROOT / "docs" / "pictures"), help="where the pictures go")
    args, rest = suite.parse(add_arguments)
    Pictures.out = Path(args.out).resolve()
    Pictures.out.mkdir(parents=True, exist_ok=True)
    scratch = Path(tempfile.mkdtemp(prefix="gm-guide-"))
    try:
        suite.start_session(option.prepare_session, prefix=scratch / "prefix")
        try:
            program = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2)
        finally:
            suite.stop_session()
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    sys.exit(0 if program.result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
