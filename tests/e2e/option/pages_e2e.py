"""End-to-end tests of Option's performance page and DPI levels dialog: the
real Option with the real Monitor and the virtual mouse, under Wine and Xvfb,
driven with xdotool at points computed from the staged skin files.

    /usr/bin/python3 pages_e2e.py --build-dir build/win [unittest arguments]
"""
import shutil
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import option, suite  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.option import OPTION_TITLE, OptionTest, skin_entries  # noqa: E402


DPI_SLIDER = 600
SPEED_SLIDER = 601
LEVELS_SLIDER = 602
DPI_TITLE = "DPI of the active level"  # the levels dialog's title: text 15
RATE_CAPTIONS = {8: "125 Hz", 4: "250 Hz", 2: "500 Hz", 1: "1000 Hz"}  # texts 121-124


def drag(env, start, end, steps=6):
    """A press at `start`, moves towards `end` with pauses (Wine must see each), and no release."""
    subprocess.run(["xdotool", "mousemove", str(start[0]), str(start[1]), "mousedown", "1"], env=env, check=True)
    for i in range(1, steps + 1):
        x = start[0] + (end[0] - start[0]) * i // steps
        y = start[1] + (end[1] - start[1]) * i // steps
        subprocess.run(["xdotool", "sleep", "0.15", "mousemove", str(x), str(y)], env=env, check=True)
    time.sleep(0.3)


def release(env):
    subprocess.run(["xdotool", "mouseup", "1"], env=env, check=True)


class PageTest(OptionTest):
    profiles = ("Gamer", "Work")
    opens_performance = True  # the test starts on the performance page

    def setUp(self):
        super().setUp()
        skins = self.folder.skins
        self.page_skin = skin_entries(skins / "Skin_Function.ini")
        self.dpi_skin = skin_entries(skins / "Skin_configDPI.ini")
        if self.opens_performance:
            self.folder.click(self.folder.config_point(2), settle=0.5)
        self.env = self.folder.env()

    def page_point(self, entry, dx=None, dy=None):
        left, top = self.folder.option_origin()
        ax, ay = self.folder.main_skin[7][:2]
        sx, sy = self.folder.config_skin[16][:2]
        x, y, w, h = self.page_skin[entry]
        return (left + ax + sx + x + (w // 2 if dx is None else dx), top + ay + sy + y + (h // 2 if dy is None else dy))

    def open_dialog(self):
        self.folder.click(self.page_point(7), settle=1.0)
        self.assertTrue(wait_for(lambda: self.rows(DPI_TITLE), 10), "the DPI levels dialog did not open")
        time.sleep(0.3)

    def dialog_point(self, entry, dx=None, dy=None):
        left, top = self.rows(DPI_TITLE)[0]["rect"][:2]
        x, y, w, h = self.dpi_skin[entry]
        return left + x + (w // 2 if dx is None else dx), top + y + (h // 2 if dy is None else dy)

    def rows(self, title=OPTION_TITLE):
        return self.folder.tree(title)

    def thumb_of(self, slider_id, title=OPTION_TITLE):
        """The screen rectangle of the thumb of the slider with control id `slider_id`."""
        rows = self.rows(title)
        for i, row in enumerate(rows):
            if row["id"] == slider_id and row["visible"] and i + 1 < len(rows) and rows[i + 1]["depth"] > row["depth"]:
                return rows[i + 1]["rect"]
        return None

    def start_shooter(self):
        """Starts the game of profile 1 ("Shooter"): the Monitor chooses its profile and
        downloads it whole, and Option follows. Returns the trace's length before the start."""
        before = self.trace_length()
        self.folder.start("shooter.exe")
        self.assertTrue(wait_for(lambda: self.folder.current_index() == 1, 15), "the game's profile was not chosen")
        # The game's window lies over Option's; at 150 % it hides the tabs.
        self.folder.move_aside("shooter.exe")
        self.wait_full_download(before)
        self.assertTrue(wait_for(lambda: self.folder.captions(5) == ["Shooter"], 10),
                        f"Option did not follow the switch: it shows {self.folder.captions(5)}")
        return before

    def track_of(self, slider_id, title=OPTION_TITLE):
        return next((r["rect"] for r in self.rows(title) if r["id"] == slider_id and r["visible"]), None)

    def label(self):
        """The DPI value label's text."""
        return next((r["text"] for r in self.rows() if r["id"] == 14 and r["cls"] != "GmSkinButton" and r["visible"]),
                    None)

    def polling_caption(self):
        return next((r["text"] for r in self.rows() if r["id"] == 13 and r["cls"] == "GmSkinButton" and r["visible"]
                     and r["depth"] == 3), None)

    def screenshot(self, name):
        from PIL import ImageGrab
        ImageGrab.grab(xdisplay=suite.session().display).crop((0, 0, 700, 600)).save(
            suite.session().build_dir / name)

    def thumb_painted(self, slider_id):
        """True when the thumb's rectangle on screen shows the purple of its picture."""
        from PIL import ImageGrab
        left, top, right, bottom = self.thumb_of(slider_id)
        image = ImageGrab.grab(bbox=(left, top, right, bottom), xdisplay=suite.session().display).convert("RGB")
        purple = sum(1 for r, g, b in image.getdata() if r > 110 and b > 130 and g < 110)
        return purple >= (right - left) * (bottom - top) // 4


class Performance(PageTest):
    def test_dpi_slider_ends_apply_once_on_release(self):
        step = int(self.profile_values()["CpiStep"])
        for end, value, text in (("right", 100, "10000"), ("left", 2, "200")):
            before = self.wait_quiet()
            store = self.folder.store_text()
            thumb = self.thumb_of(DPI_SLIDER)
            track = self.track_of(DPI_SLIDER)
            self.assertIsNotNone(thumb, "the DPI slider has no thumb")
            grab = ((thumb[0] + thumb[2]) // 2, (thumb[1] + thumb[3]) // 2)
            # Far enough beyond the end that the move before the last is past it too
            # (the value trails the thumb by one move), at any scale.
            beyond = option.scaled(60)
            target = (track[2] + beyond if end == "right" else track[0] - beyond, grab[1])
            drag(self.env, grab, target)
            # While the thumb moves, only the label follows.
            self.assertTrue(wait_for(lambda: self.label() == text, 5), f"the label shows {self.label()}")
            self.assertEqual(self.folder.store_text(), store, "the store was written during the drag")
            self.assertEqual(self.downloads_after(before), [], "the mouse got reports during the drag")
            release(self.env)
            self.assertTrue(wait_for(lambda: self.profile_values()[f"CpiLevel_X{step}"] == str(value), 10),
                            f"{end} end: CpiLevel_X{step} is {self.profile_values()[f'CpiLevel_X{step}']}")
            time.sleep(1.0)
            self.assertEqual(self.downloads_after(before), self.folder.reports(), "not exactly one apply of the change")
            self.assertEqual(self.label(), text)

    def test_speed_slider_stores_twice_its_value_and_sets_the_pointer(self):
        for end, stored in (("left", 1), ("right", 20)):
            thumb = self.thumb_of(SPEED_SLIDER)
            track = self.track_of(SPEED_SLIDER)
            grab = ((thumb[0] + thumb[2]) // 2, (thumb[1] + thumb[3]) // 2)
            beyond = option.scaled(60)
            drag(self.env, grab, (track[0] - beyond if end == "left" else track[2] + beyond, grab[1]))
            release(self.env)
            self.assertTrue(wait_for(lambda: self.profile_values()["MouseSpeed"] == str(stored), 10),
                            f"MouseSpeed is {self.profile_values()['MouseSpeed']}, not {stored}")
            speed = lambda: self.folder.probe("mousespeed").stdout.strip()
            self.assertTrue(wait_for(lambda: speed() == str(stored), 10), f"SPI_GETMOUSESPEED is {speed()}")

    def test_every_polling_rate_sends_only_the_rate(self):
        # The store starts at 2: 2 comes after 4, so each choice changes the rate.
        for position, rate in ((1, 8), (2, 4), (3, 2), (4, 1)):
            before = self.wait_quiet()
            self.folder.click(self.page_point(13), settle=1.0)
            self.folder.keys(*(["Down"] * position), "Return")
            self.assertTrue(wait_for(lambda: self.profile_values()["PollingRate"] == str(rate), 10))
            self.assertEqual(self.folder.flags(), [0, 0, 0, 1], "another part was marked changed")
            self.wait_quiet()
            sends = self.downloads_after(before)
            self.assertEqual(sends, self.folder.reports())
            self.assertEqual(self.polling_caption(), RATE_CAPTIONS[rate])

    def test_keyboard_right_raises_the_dpi_by_one_and_applies(self):
        thumb = self.thumb_of(DPI_SLIDER)
        step = int(self.profile_values()["CpiStep"])
        value = int(self.profile_values()[f"CpiLevel_X{step}"])
        # A click on the thumb gives it the focus and leaves the value.
        self.folder.click(((thumb[0] + thumb[2]) // 2, (thumb[1] + thumb[3]) // 2), settle=0.5)
        value = int(self.profile_values()[f"CpiLevel_X{step}"])
        before = self.wait_quiet()
        self.folder.keys("Right")
        self.assertTrue(wait_for(lambda: self.profile_values()[f"CpiLevel_X{step}"] == str(value + 1), 10))
        self.assertTrue(wait_for(lambda: self.label() == str((value + 1) * 100), 5))
        self.wait_quiet()
        self.assertEqual(self.downloads_after(before), self.folder.reports())

    def test_the_mouse_dpi_button_shows_its_level_without_a_download(self):
        before = self.wait_quiet()
        self.folder.mousesim("dpi-button", "4")
        self.assertTrue(wait_for(lambda: self.profile_values()["CpiStep"] == "3", 10))
        level4 = int(self.profile_values()["CpiLevel_X3"])
        self.assertTrue(wait_for(lambda: self.label() == str(level4 * 100), 10), f"the label shows {self.label()}")
        self.assertFalse(any(op.startswith("SetFeature 02 01 00") for op in self.downloads_after(before)),
                         "the profile was downloaded again")


class PollingOddValue(PageTest):
    def prepare(self):
        # A value no menu entry stores, written by hand (gmconfig refuses it).
        path = self.folder.path / "config" / "Config.data"
        text = path.read_bytes()
        self.assertIn(b"PollingRate=2", text)
        path.write_bytes(text.replace(b"PollingRate=2", b"PollingRate=3"))

    def test_an_unknown_rate_shows_the_caption_of_two(self):
        self.assertTrue(wait_for(lambda: self.polling_caption() == RATE_CAPTIONS[2], 5), self.polling_caption())


class LevelsDialog(PageTest):
    def test_count_three_accepted(self):
        self.open_dialog()
        self.folder.click(self.dialog_point(3), settle=1.0)
        self.folder.keys(*(["Down"] * 3), "Return", title=DPI_TITLE)
        count = next(r["text"] for r in self.rows(DPI_TITLE) if r["id"] == 3)
        self.assertEqual(count, "3")
        self.screenshot("option-dpi-levels.png")
        before = self.wait_quiet()
        self.folder.click(self.dialog_point(20), settle=1.0)
        self.assertTrue(wait_for(lambda: not self.rows(DPI_TITLE), 10), "the dialog stayed open")
        self.assertTrue(wait_for(lambda: self.profile_values()["MaxDPI"] == "3", 10))
        self.assertEqual(self.profile_values()["CpiStep"], "2")
        self.wait_quiet()
        self.assertEqual(self.downloads_after(before), self.folder.reports())
        time.sleep(0.5)
        self.screenshot("option-performance-page.png")
        # Closing the dialog repaints the page with every control on it.
        for slider in (DPI_SLIDER, SPEED_SLIDER):
            self.assertTrue(self.thumb_painted(slider), f"the thumb of slider {slider} is not painted")

    def test_cancel_after_moving_the_slider_changes_nothing(self):
        before = self.wait_quiet()
        store = self.folder.store_text()
        self.open_dialog()
        track = self.track_of(LEVELS_SLIDER, DPI_TITLE)
        self.folder.click((track[2] - 2, (track[1] + track[3]) // 2), settle=0.5)
        self.folder.click(self.dialog_point(21), settle=1.0)
        self.assertTrue(wait_for(lambda: not self.rows(DPI_TITLE), 10), "the dialog stayed open")
        time.sleep(1.0)
        self.assertEqual(self.folder.store_text(), store)
        self.assertEqual(self.downloads_after(before), [])


class LevelsDuringAGame(PageTest):
    """A game comes to the front while the levels dialog is open: the Monitor
    switches to its profile and Option reads the store again under the dialog."""
    profiles = ("Desktop", "Shooter")

    def prepare(self):
        shutil.copy(suite.session().helpers / "gm_game.exe", self.folder.path / "shooter.exe")
        self.folder.gmconfig("select", "1")
        self.folder.gmconfig("set", "GameFile=C:\\Games\\shooter.exe", "MaxDPI=4", "CpiStep=1", "CpiLevel_X1=12")
        self.folder.gmconfig("select", "0")

    def test_levels_accepted_after_the_switch_go_to_the_profile_they_were_opened_for(self):
        shooter = dict(self.folder.store()["Profile1"])
        self.open_dialog()
        self.folder.click(self.dialog_point(3), settle=1.0)
        self.folder.keys(*(["Down"] * 3), "Return", title=DPI_TITLE)
        before = self.start_shooter()
        self.assertTrue(self.rows(DPI_TITLE), "the switch closed the dialog")

        accepted = self.wait_quiet()
        self.folder.click(self.dialog_point(20), settle=1.0)
        self.assertTrue(wait_for(lambda: not self.rows(DPI_TITLE), 10), "the dialog stayed open")
        self.assertTrue(wait_for(lambda: self.folder.store()["Profile0"]["MaxDPI"] == "3", 10),
                        "the levels did not reach the profile they were opened for")
        store = self.folder.store()
        self.assertEqual(store["Profile0"]["CpiStep"], "2")
        self.assertEqual(dict(store["Profile1"]), shooter, "the game's profile took the levels")
        self.assertEqual(store["Config"]["ProfileID"], "1")
        self.wait_quiet()
        self.assertEqual(self.downloads_after(accepted), [], "the mouse was sent the other profile's levels")
        # The mouse holds the game's profile as a download of it gives it.
        self.assertEqual(self.downloads_after(before), self.folder.reports(full=True))
        slot = self.folder.sim_state()["Slot"]
        for key in ["MaxDPI", "CpiStep", "PollingRate"] + [f"CpiLevel_X{i}" for i in range(5)]:
            self.assertEqual(slot[key], shooter[key], key)
        self.assertEqual(self.label(), "1200", "the page does not show the game's profile")


class FirstShownAfterASwitch(PageTest):
    """Pages are made the first time they are shown. Made after the Monitor
    switched to a game's profile and then changed its DPI level (while they
    did not exist yet), they show the store as it is then."""
    profiles = ("Desktop", "Shooter")
    opens_performance = False

    def prepare(self):
        shutil.copy(suite.session().helpers / "gm_game.exe", self.folder.path / "shooter.exe")
        self.folder.gmconfig("select", "1")
        self.folder.gmconfig("set", "GameFile=C:\\Games\\shooter.exe", "MaxDPI=5", "CpiStep=1", "CpiLevel_X3=31")
        self.folder.gmconfig("button", "3", "command", "shooter-tools")
        self.folder.gmconfig("select", "0")

    def side_caption(self, index):
        """The side view's caption of button `index` (main, page, button page, view, caption)."""
        return next((r["text"] for r in self.rows() if r["depth"] == 4 and r["id"] == index + 1 and r["visible"]
                     and r["cls"] == "GmSkinButton"), None)

    def test_pages_made_after_the_switch_show_the_games_profile(self):
        self.assertIsNone(self.track_of(DPI_SLIDER), "the performance page was made before it was shown")
        self.start_shooter()
        self.folder.mousesim("dpi-button", "4")
        self.assertTrue(wait_for(lambda: self.profile_values()["CpiStep"] == "3", 10))
        self.wait_quiet()

        # The side view of the button page.
        page = skin_entries(self.folder.skins / "skin_button_page.ini")
        left, top = self.folder.option_origin()
        x, y, w, h = page[2]
        ox = left + self.folder.main_skin[7][0] + self.folder.config_skin[16][0]
        oy = top + self.folder.main_skin[7][1] + self.folder.config_skin[16][1]
        self.folder.click((ox + x + w // 2, oy + y + h // 2), settle=0.5)
        self.assertTrue(wait_for(lambda: self.side_caption(3) == "shooter-tools", 10),
                        f"the side view shows {self.side_caption(3)}")
        # The performance page.
        self.folder.click(self.folder.config_point(2), settle=0.5)
        self.assertTrue(wait_for(lambda: self.label() == "3100", 10), f"the label shows {self.label()}")


if __name__ == "__main__":
    option.main()
