"""End-to-end tests of the skinned controls: skingallery.exe under Wine on an X
display, driven with real pointer input (xdotool), judged by screenshots and by
the gallery's log of clicks and hover messages.

The first group uses a skin with flat, known colours (fixture_skin.py), so each
state picture shows as one colour. The second opens the build's own skins and
compares the screen with their pictures; a skin the build did not make fails.

    /usr/bin/python3 gallery_e2e.py --build-dir build/win [--out FOLDER] [unittest arguments]
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import fixture_skin  # noqa: E402
from lib import harness, suite  # noqa: E402

WIN_X, WIN_Y = 60, 60
TITLE = "7741 Skin Gallery"


def run(*cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, **kw)


class Display:
    """The X display: the one given in DISPLAY when it works, else our own Xvfb."""

    def __init__(self):
        self.proc = None

    def start(self):
        if os.environ.get("DISPLAY") and run("xdpyinfo").returncode == 0:
            return
        self.proc, display = harness.start_xvfb()
        os.environ["DISPLAY"] = display

    def stop(self):
        if self.proc:
            self.proc.terminate()
            self.proc.wait(10)


def add_arguments(parser):
    parser.add_argument("--wine", default=harness.WINE)
    parser.add_argument("--out", help="folder for the screenshots and the gallery's log "
                                      "(default: BUILD/tests/e2e/skin)")


def stage(*parts):
    return os.path.join(suite.build_dir(), "stage", *parts)


def out(name):
    folder = suite.args().out or os.path.join(suite.build_dir(), "tests", "e2e", "skin")
    return os.path.join(os.path.abspath(folder), name)


DISPLAY = Display()


def setUpModule():
    os.makedirs(out(""), exist_ok=True)
    DISPLAY.start()


def tearDownModule():
    DISPLAY.stop()


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def screenshot(name=None):
    path = out((name or "last") + ".png")
    subprocess.run(["import", "-window", "root", path], check=True, capture_output=True)
    return Image.open(path).convert("RGB")


def move(x, y, settle=0.35):
    run("xdotool", "mousemove", str(x), str(y))
    time.sleep(settle)


def click(x, y, settle=0.4):
    move(x, y, 0.25)
    run("xdotool", "click", "1")
    time.sleep(settle)


def key(name, settle=0.4):
    run("xdotool", "key", name)
    time.sleep(settle)


class Gallery:
    """One run of skingallery.exe with a log, placed at (WIN_X, WIN_Y)."""

    def __init__(self, skin_path):
        self.log = out("gallery.log")
        if os.path.exists(self.log):
            os.remove(self.log)
        env = dict(os.environ, WINEPREFIX=os.path.join(suite.build_dir(), "wineprefix"), WINEDEBUG="-all")
        with open(out("wine.err"), "w") as err:
            self._start(env, skin_path, err)

    def _start(self, env, skin_path, err):
        self.proc = subprocess.Popen(
            [suite.args().wine, stage("skingallery.exe"), "--skin", winpath(skin_path),
             "--log", winpath(self.log), "--x", str(WIN_X), "--y", str(WIN_Y)],
            env=env, stdout=subprocess.DEVNULL, stderr=err)
        deadline = time.time() + 60
        while time.time() < deadline:
            found = run("xdotool", "search", "--name", TITLE)
            if found.returncode == 0 and found.stdout.strip():
                time.sleep(1.0)  # first paint
                return
            if self.proc.poll() is not None:
                raise RuntimeError("skingallery.exe ended at start")
            time.sleep(0.2)
        raise RuntimeError("the gallery window did not appear")

    def lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [line.strip() for line in f if line.strip()]

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        # Let the window go before the next run looks for its title.
        for _ in range(50):
            if not run("xdotool", "search", "--name", TITLE).stdout.strip():
                break
            time.sleep(0.1)


def at(img, x, y):
    return img.getpixel((WIN_X + x, WIN_Y + y))


# The gallery's slider stands for the DPI slider: 2-100 (hundreds of DPI), from 16.
SLIDER_MIN, SLIDER_MAX, SLIDER_START = 2, 100, 16


def f32(v):
    return struct.unpack("f", struct.pack("f", v))[0]


def slider_read(pixels, length):
    """The value `pixels` along `length` reads, as the program computes it: in
    single precision, truncated, clamped to the range."""
    f = f32(f32(f32((SLIDER_MAX - SLIDER_MIN) * pixels) / f32(length)) + SLIDER_MIN)
    return max(SLIDER_MIN, min(SLIDER_MAX, int(f)))


def thumb_left(value, room):
    """The thumb's left edge on its track for `value`: integers, multiplied first."""
    return room * (value - SLIDER_MIN) // (SLIDER_MAX - SLIDER_MIN)


def slider_lines(lines):
    return [line for line in lines if line.startswith("slider ")]


def drag(x, y, dx, steps, settle=0.2):
    """Presses at (x, y), moves by dx in `steps` equal steps, lets go."""
    move(x, y)
    run("xdotool", "mousedown", "1")
    time.sleep(0.2)
    for step in range(1, steps + 1):
        move(x + dx * step // steps, y, settle)
    run("xdotool", "mouseup", "1")
    time.sleep(0.4)


class FixtureSkinTest(unittest.TestCase):
    """Every control of the gallery on a skin of known flat colours."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="gm_skin_e2e_")
        cls.skin = fixture_skin.write(cls.folder)
        cls.entries = fixture_skin.entries()
        move(5, 1000)
        cls.desktop = screenshot("desktop")
        cls.gallery = Gallery(cls.skin)

    @classmethod
    def tearDownClass(cls):
        cls.gallery.close()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def setUp(self):
        # Start each case with the pointer on the window's plain background.
        move(WIN_X + 395, WIN_Y + 300)

    def centre_of(self, entry, dx=3, dy=3):
        x, y, w, h, _ = self.entries[entry]
        return WIN_X + x + dx, WIN_Y + y + dy

    def test_window_is_shaped_by_its_mask(self):
        img = screenshot("fixture_gallery")
        self.assertEqual(at(img, 200, 100), fixture_skin.BACKGROUND)
        for (x, y) in [(3, 3), (20, 5), (fixture_skin.WIDTH - 4, fixture_skin.HEIGHT - 4)]:
            self.assertEqual(at(img, x, y), self.desktop.getpixel((WIN_X + x, WIN_Y + y)),
                             f"({x}, {y}) lies outside the mask and must show the desktop")
        self.assertEqual(at(img, fixture_skin.CUT + 3, 1), fixture_skin.BACKGROUND)

    def test_hover_picture_and_messages(self):
        before = len(self.gallery.lines())
        move(*self.centre_of(1))
        img = screenshot("hover")
        self.assertEqual(img.getpixel(self.centre_of(1)), fixture_skin.FACES["Over"])
        self.assertEqual(img.getpixel(self.centre_of(2)), fixture_skin.FACES["Normal"])
        move(WIN_X + 395, WIN_Y + 300)
        img = screenshot()
        self.assertEqual(img.getpixel(self.centre_of(1)), fixture_skin.FACES["Normal"])
        self.assertEqual(self.gallery.lines()[before:], ["hover 1 1", "hover 1 0"])

    def test_entering_with_the_button_held_does_not_light(self):
        # Pressed on the label (which neither drags nor captures), then moved on.
        x, y, _, _, _ = self.entries[32]
        move(WIN_X + x + 5, WIN_Y + y + 5)
        run("xdotool", "mousedown", "1")
        time.sleep(0.3)
        move(*self.centre_of(35, dx=-40, dy=40))  # the window background below
        move(*self.centre_of(3))
        held = screenshot()
        run("xdotool", "mouseup", "1")
        time.sleep(0.3)
        move(*self.centre_of(3, dx=5))
        released = screenshot()
        move(WIN_X + 395, WIN_Y + 300)
        self.assertEqual(held.getpixel(self.centre_of(3)), fixture_skin.FACES["Normal"])
        self.assertEqual(released.getpixel(self.centre_of(3)), fixture_skin.FACES["Over"])

    def test_dragging_the_background_moves_the_window(self):
        start = (WIN_X + 395, WIN_Y + 300)
        move(*start)
        run("xdotool", "mousedown", "1")
        time.sleep(0.3)
        for step in range(1, 5):
            move(start[0] + 10 * step, start[1] + 5 * step, 0.15)
        run("xdotool", "mouseup", "1")
        time.sleep(0.5)
        geometry = run("xdotool", "search", "--name", TITLE, "getwindowgeometry").stdout
        # Back where the other cases expect it.
        move(start[0] + 40, start[1] + 20)
        run("xdotool", "mousedown", "1")
        time.sleep(0.3)
        for step in range(1, 5):
            move(start[0] + 40 - 10 * step, start[1] + 20 - 5 * step, 0.15)
        run("xdotool", "mouseup", "1")
        time.sleep(0.5)
        self.assertIn(f"Position: {WIN_X + 40},{WIN_Y + 20}", geometry)
        self.assertIn(f"Position: {WIN_X},{WIN_Y}",
                      run("xdotool", "search", "--name", TITLE, "getwindowgeometry").stdout)

    def test_check_mode_shows_down_and_clicks_once(self):
        before = len(self.gallery.lines())
        click(*self.centre_of(11))
        move(WIN_X + 395, WIN_Y + 300)
        img = screenshot("checked")
        self.assertEqual(img.getpixel(self.centre_of(11)), fixture_skin.FACES["Down"])
        click(*self.centre_of(11))
        move(WIN_X + 395, WIN_Y + 300, 0.6)
        img = screenshot()
        self.assertEqual(img.getpixel(self.centre_of(11)), fixture_skin.FACES["Normal"])
        new = self.gallery.lines()[before:]
        self.assertEqual(new.count("clicked 11"), 2, new)
        self.assertEqual([l for l in new if l.startswith("clicked")], ["clicked 11", "clicked 11"])
        hovers = [l for l in new if l.startswith("hover 11")]
        self.assertEqual(hovers[0], "hover 11 1")
        self.assertEqual(hovers[-1], "hover 11 0")

    def test_push_button_clicks(self):
        before = len(self.gallery.lines())
        for _ in range(3):
            click(*self.centre_of(4), settle=0.7)  # slower than a double click
        move(WIN_X + 395, WIN_Y + 300, 0.5)
        new = self.gallery.lines()[before:]
        self.assertEqual([l for l in new if l.startswith("clicked")], ["clicked 4"] * 3)
        self.assertEqual([l for l in new if l.startswith("hover 4")][-1], "hover 4 0")

    def test_lamps_swatch_disabled_label_and_edit(self):
        img = screenshot("controls")
        dark, blue, red, green = (98, 98, 98), (0, 0, 255), (255, 0, 0), (0, 255, 0)
        expected = {1: (blue, dark, dark), 2: (dark, red, dark), 3: (dark, dark, green),
                    7: (blue, red, green), 8: (dark, dark, dark)}
        for mode, colours in expected.items():
            x, y, _, _, _ = self.entries[20 + mode]
            got = tuple(at(img, x + lx, y + 10) for lx in (101, 107, 113))
            self.assertEqual(got, colours, f"lamps of indicator mode {mode}")
        x, y, w, h, _ = self.entries[30]
        self.assertEqual(at(img, x, y), fixture_skin.FACES["Normal"], "swatch corner stays the picture")
        self.assertEqual(at(img, x + 1, y), (0, 200, 255))
        self.assertEqual(at(img, x + w // 2, y + h // 2), (0, 200, 255))
        x, y, _, _, _ = self.entries[35]
        self.assertEqual(at(img, x + 2, y + 2), fixture_skin.FACES["Disable"])
        x, y, _, _, _ = self.entries[32]
        self.assertEqual(at(img, x + 1, y + 1), (2, 2, 2))
        x, y, w, h, _ = self.entries[31]
        self.assertEqual(at(img, x + w - 3, y + 2), (31, 27, 41))

    def test_menu_frame_highlight_and_choice(self):
        x, y, w, h, _ = self.entries[33]
        before = len(self.gallery.lines())
        click(WIN_X + x + w // 2, WIN_Y + y + h // 2, settle=0.8)
        left, top = WIN_X + x, WIN_Y + y + h
        move(left + 120, top + 3 + 11, 0.6)  # over the first item, clear of its text
        img = screenshot("menu")
        self.assertEqual(img.getpixel((left, top)), (128, 21, 153), "purple outer frame line")
        self.assertEqual(img.getpixel((left + 60, top)), (128, 21, 153))
        self.assertEqual(img.getpixel((left + 1, top + 10)), (16, 16, 16), "dark inner line")
        self.assertEqual(img.getpixel((left + 120, top + 3 + 11)), (128, 21, 153), "highlighted item")
        self.assertEqual(img.getpixel((left + 120, top + 3 + 23 + 11)), (16, 16, 16), "other items dark")
        key("Escape")
        click(WIN_X + x + w // 2, WIN_Y + y + h // 2, settle=0.8)
        click(left + 120, top + 3 + 23 + 11)  # the second item: Import
        new = self.gallery.lines()[before:]
        self.assertIn("menu 1002", new)
        self.assertEqual(len([l for l in new if l.startswith("menu")]), 1, new)

    def slider_place(self):
        x, y, w, h, _ = self.entries[36]
        return x, y, w, h, w - fixture_skin.THUMB_W, y + (h - fixture_skin.THUMB_H) // 2

    def assert_thumb(self, img, left, what=""):
        """The thumb's colour inside its shape at `left`, the track's at its cut corners."""
        x, y, w, h, room, top = self.slider_place()
        self.assertEqual(at(img, x + left + 7, top + 11), fixture_skin.THUMB, f"thumb inside at {left} {what}")
        self.assertEqual(at(img, x + left + 2, top), fixture_skin.THUMB, f"thumb's top edge at {left} {what}")
        self.assertEqual(at(img, x + left, top), fixture_skin.FACES["Normal"], f"cut corner at {left} {what}")
        if left > 0:
            self.assertEqual(at(img, x + left - 1, top + 11), fixture_skin.FACES["Normal"], f"track left of {left}")

    def test_slider_click_drag_and_keys(self):
        x, y, w, h, room, top = self.slider_place()
        start = thumb_left(SLIDER_START, room)
        self.assert_thumb(screenshot("slider_start"), start, "at the start value")

        # A click three quarters along the track reports once, at the button-up.
        before = len(self.gallery.lines())
        dx = w * 3 // 4
        click(WIN_X + x + dx, WIN_Y + y + h // 2)
        move(WIN_X + 395, WIN_Y + 300)
        img = screenshot("slider_clicked")
        value = slider_read(dx, w)
        self.assertEqual(slider_lines(self.gallery.lines()[before:]), [f"slider {value} 1"])
        left = thumb_left(value, room)
        self.assert_thumb(img, left, "after the click")
        self.assertEqual(at(img, x + start + 7, top + 11), fixture_skin.FACES["Normal"], "the thumb left its place")

        # Dragged 60 pixels left: held reports while moving, one released report at the end.
        before = len(self.gallery.lines())
        drag(WIN_X + x + left + 7, WIN_Y + top + 11, -60, 6)
        move(WIN_X + 395, WIN_Y + 300)
        img = screenshot("slider_dragged")
        left -= 60
        reports = slider_lines(self.gallery.lines()[before:])
        self.assertEqual(reports[-1], f"slider {slider_read(left, room)} 1", reports)
        self.assertTrue(len(reports) > 1 and all(r.endswith(" 0") for r in reports[:-1]), reports)
        self.assert_thumb(img, left, "after the drag")

        # Dragged past the right end: it stops with its right edge on the track's.
        before = len(self.gallery.lines())
        drag(WIN_X + x + left + 7, WIN_Y + top + 11, 300, 6)
        move(WIN_X + 395, WIN_Y + 300)
        img = screenshot("slider_at_end")
        self.assertEqual(slider_lines(self.gallery.lines()[before:])[-1], f"slider {SLIDER_MAX} 1")
        self.assert_thumb(img, room, "at the right end")

        # The clicked slider has the keys: Left one step, Home the minimum.
        before = len(self.gallery.lines())
        window = run("xdotool", "search", "--name", TITLE).stdout.split()
        run("xdotool", "windowfocus", "--sync", window[0])
        key("Left")
        key("Home")
        img = screenshot("slider_keys")
        self.assertEqual(slider_lines(self.gallery.lines()[before:]),
                         [f"slider {SLIDER_MAX - 1} 1", f"slider {SLIDER_MIN} 1"])
        self.assertEqual(at(img, x + 7, top + 11), fixture_skin.THUMB, "at the left end")

    def test_zz_close_button_ends_the_gallery(self):
        click(*self.centre_of(34))
        self.gallery.proc.wait(20)
        self.assertIn("clicked 34", self.gallery.lines())


class BuiltSkinsTest(unittest.TestCase):
    """The build's own skins, as the skin generator has made them."""

    def skin(self, name):
        path = stage("skins", name)
        # The skins are part of what the build delivers: one missing is a fault of the build.
        self.assertTrue(os.path.exists(path), f"{name} is not in the staged skins folder")
        return path

    def screen_pictures(self, path):
        import configparser
        ini = configparser.ConfigParser(strict=False, interpolation=None)
        ini.optionxform = str
        ini.read(path, encoding="utf-8-sig")  # German tooltips make some files UTF-8
        folder = os.path.dirname(path)
        pics = {k: Image.open(os.path.join(folder, ini["SCREEN"][k])).convert("RGB")
                for k in ("Mask", "Normal", "Over", "Down", "Disable")}
        return ini, pics

    def shows_window(self, name):
        path = self.skin(name)
        ini, pics = self.screen_pictures(path)
        move(5, 1000)
        desktop = screenshot()
        gallery = Gallery(path)
        try:
            img = screenshot(os.path.splitext(name)[0])
            mask, normal = pics["Mask"], pics["Normal"]
            outside = [(x, y) for x in range(0, mask.width, 7) for y in range(0, mask.height, 7)
                       if mask.getpixel((x, y)) == (255, 255, 255)]
            for (x, y) in outside[:50]:
                self.assertEqual(at(img, x, y), desktop.getpixel((WIN_X + x, WIN_Y + y)), f"outside at {(x, y)}")
            return ini, pics, gallery, img
        except BaseException:
            gallery.close()
            raise

    def test_gallery_skin_hover_and_down_pictures(self):
        ini, pics, gallery, img = self.shows_window("skin_gallery.ini")
        try:
            parts = ini["BUTTONPOS"]["1"].split(",")
            x, y = int(parts[1]), int(parts[2])
            move(WIN_X + x + 2, WIN_Y + y + 2)
            img = screenshot("built_gallery_hover")
            self.assertEqual(at(img, x + 2, y + 2), pics["Over"].getpixel((x + 2, y + 2)))
            parts = ini["BUTTONPOS"]["11"].split(",")
            x, y = int(parts[1]), int(parts[2])
            click(WIN_X + x + 2, WIN_Y + y + 2)
            move(WIN_X + 5, WIN_Y + fixture_skin.HEIGHT + 200)
            time.sleep(0.5)
            img = screenshot("built_gallery_checked")
            self.assertEqual(at(img, x + 2, y + 2), pics["Down"].getpixel((x + 2, y + 2)))
        finally:
            gallery.close()

    def test_gallery_slider_shows_the_generated_thumb_and_follows_a_click(self):
        ini, pics, gallery, img = self.shows_window("skin_gallery.ini")
        try:
            thumb = Image.open(stage("skins", "slider_arrow_rect.bmp")).convert("RGB")
            transparent = thumb.getpixel((0, 0))
            x, y, w, h = map(int, ini["BUTTONPOS"]["36"].split(",")[1:5])
            room, top = w - thumb.width, y + (h - thumb.height) // 2

            def differing(img, left):
                """Pixels of the thumb's box that do not show the thumb, or the
                track around its shape."""
                bad = 0
                for ty in range(thumb.height):
                    for tx in range(thumb.width):
                        p = thumb.getpixel((tx, ty))
                        want = pics["Normal"].getpixel((x + left + tx, top + ty)) if p == transparent else p
                        bad += at(img, x + left + tx, top + ty) != want
                return bad

            self.assertEqual(differing(img, thumb_left(SLIDER_START, room)), 0)
            dx = w * 4 // 5
            click(WIN_X + x + dx, WIN_Y + y + h // 2)
            move(WIN_X + 5, WIN_Y + fixture_skin.HEIGHT + 200)
            img = screenshot("built_gallery_slider")
            value = slider_read(dx, w)
            self.assertEqual(differing(img, thumb_left(value, room)), 0)
            self.assertIn(f"slider {value} 1", gallery.lines())
        finally:
            gallery.close()

    def test_main_window_and_configuration_page_skins_open(self):
        for name in ("skin_mains.ini", "skin_configr.ini"):
            with self.subTest(name=name):
                ini, pics, gallery, img = self.shows_window(name)
                gallery.close()
                normal = pics["Normal"]
                # A point well inside the window shows the background picture.
                cx, cy = normal.width // 2, normal.height // 2
                if pics["Mask"].getpixel((cx, cy)) != (255, 255, 255):
                    self.assertEqual(at(img, cx, cy), normal.getpixel((cx, cy)))


if __name__ == "__main__":
    suite.main(add_arguments, with_session=False)
