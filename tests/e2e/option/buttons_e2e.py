"""End-to-end tests of Option's button page and assignment dialog: the real
Option with the real Monitor and the virtual mouse, under Wine and Xvfb,
driven with xdotool at points computed from the staged skin files. After each
accepted assignment the stored record is read back raw, and the reports that
reached the mouse are compared with what `gmconfig reports` says they must be.

    /usr/bin/python3 buttons_e2e.py --build-dir build/win [unittest arguments]
"""
import argparse
import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import macros_e2e  # noqa: E402
import option_e2e  # noqa: E402
from option_e2e import OptionTest, skin_entries, wait_for  # noqa: E402

TITLE = option_e2e.OPTION_TITLE
NOTEPAD_TITLE = "Untitled - Notepad"
# The skinned menus: 23-pixel items under a 1-pixel frame, opened at the
# bottom-left corner of their button.
MENU_ITEM, MENU_FRAME = 23, 1
NUMBERS = {0: 1, 1: 2, 2: 3, 3: 9, 4: 8, 5: 4, 6: 5, 14: 6, 15: 7}
DEFAULT_CODES = {0: 1, 1: 2, 2: 3, 3: 5, 4: 4, 5: 14, 6: 15, 14: 7, 15: 8}
PAGE_SKINS = {1: "skin_SetDefault.ini", 2: "skin_setKey.ini", 3: "skin_setMouse.ini", 4: "skin_setDPI.ini",
              5: "skin_setMacro.ini", 6: "skin_setLaunch.ini", 7: "skin_setMedia.ini", 8: "skin_setShortcut.ini",
              9: "skin_SetBlock.ini"}


def setUpModule():
    option_e2e.setUpModule()


def tearDownModule():
    option_e2e.tearDownModule()


class ButtonTest(macros_e2e.Notepad, OptionTest):
    profiles = ("Gamer",)
    library = [("Reload", [(macros_e2e.KEY_A, 1, 0), (macros_e2e.KEY_A, 2, 0)]), ("Spray", [])]

    def prepare(self):
        macros_e2e.write_library(self.folder.path / "config" / "sequence.dat", self.library)

    def setUp(self):
        super().setUp()
        skins = self.folder.path / "skins"
        self.page_skin = skin_entries(skins / "skin_button_page.ini")
        self.view_skins = [skin_entries(skins / "skin_Mouse.ini"), skin_entries(skins / "skin_MousSide.ini")]
        self.setup_skin = skin_entries(skins / "skin_Setup.ini")
        self.page_skins = {cls: skin_entries(skins / name) for cls, name in PAGE_SKINS.items()}
        self.env = self.folder.env()
        self.view = 0

    # Points from the skins.
    def page_origin(self):
        left, top = self.folder.option_origin()
        return (left + self.folder.main_skin[7][0] + self.folder.config_skin[16][0],
                top + self.folder.main_skin[7][1] + self.folder.config_skin[16][1])

    def centre(self, origin, rect):
        x, y, w, h = rect
        return origin[0] + x + w // 2, origin[1] + y + h // 2

    def view_point(self, entry, view=None):
        px, py = self.page_origin()
        vx, vy = self.page_skin[3][:2]
        return self.centre((px + vx, py + vy), self.view_skins[self.view if view is None else view][entry])

    def show_view(self, view):
        self.folder.click(self.centre(self.page_origin(), self.page_skin[1 + view]), settle=0.5)
        self.view = view

    def shows(self, index, view):
        return index + 17 in self.view_skins[view]

    def view_of(self, index):
        return 0 if self.shows(index, 0) else 1

    def open_dialog(self, index, caption=False):
        view = self.view_of(index)
        if view != self.view:
            self.show_view(view)
        self.folder.click(self.view_point(index + (1 if caption else 17)), settle=0.8)
        title = f"G{NUMBERS[index]}"
        self.assertTrue(wait_for(lambda: self.folder.tree(title), 10), f"the dialog {title} did not open")
        self.title = title
        time.sleep(0.3)

    def dialog_origin(self):
        return self.folder.tree(self.title)[0]["rect"][:2]

    def dialog_point(self, entry):
        return self.centre(self.dialog_origin(), self.setup_skin[entry])

    def page_point(self, cls, entry, dy=None):
        dx, dy0 = self.dialog_origin()
        ax, ay = self.setup_skin[6][:2]
        x, y, w, h = self.page_skins[cls][entry]
        return dx + ax + x + w // 2, dy0 + ay + y + (h // 2 if dy is None else dy)

    def keys(self, *keys):
        self.folder.keys(*keys, title=f"^{self.title}$")

    def dialog_rect(self, entry):
        dx, dy = self.dialog_origin()
        x, y, w, h = self.setup_skin[entry]
        return dx + x, dy + y, w, h

    def page_rect(self, cls, entry):
        dx, dy = self.dialog_origin()
        ax, ay = self.setup_skin[6][:2]
        x, y, w, h = self.page_skins[cls][entry]
        return dx + ax + x, dy + ay + y, w, h

    def pick(self, button, position):
        """Opens the menu of the button at screen rect `button` and clicks item `position` (1-based).
        Clicks, not keys: on the key page every key goes to the key box."""
        x, y, w, h = button
        self.folder.click((x + w // 2, y + h // 2), settle=1.0)
        self.folder.click((x + 40, y + h + MENU_FRAME + MENU_ITEM * (position - 1) + MENU_ITEM // 2), settle=0.6)

    def category(self, cls):
        self.pick(self.dialog_rect(2), cls)

    def menu(self, cls, entry, position):
        self.pick(self.page_rect(cls, entry), position)

    def finish(self, entry=3):
        self.folder.click(self.dialog_point(entry), settle=0.5)
        self.assertTrue(wait_for(lambda: not self.folder.tree(self.title), 10), "the dialog stayed open")

    def record(self, index):
        raw = self.folder.gmconfig("show", "--raw")
        line = next(line for line in raw.splitlines() if line.startswith(f"MacroKeyInfo{index}="))
        data = bytes.fromhex(line.split("=", 1)[1].strip()[:-2])
        program = data[710:1232].decode("utf-16-le").split("\0")[0]
        return dict(code=data[1], cls=data[8], key=data[70], index=int.from_bytes(data[4:8], "little", signed=True),
                    count=int.from_bytes(data[60:64], "little"), mode=int.from_bytes(data[64:68], "little"),
                    events=int.from_bytes(data[68:70], "little"), program=program,
                    name=data[10:58].decode("utf-16-le").split("\0")[0])

    def assign(self, index, steps, expect):
        """Opens the dialog of `index`, runs `steps`, accepts, and checks the record and what the mouse got."""
        before = self.wait_quiet()
        self.open_dialog(index)
        steps()
        self.finish()
        self.assertTrue(wait_for(lambda: all(self.record(index)[k] == v for k, v in expect.items()), 10),
                        f"button {index}: {self.record(index)} is not {expect}")
        self.wait_quiet()
        self.assertEqual(self.downloads_after(before), self.folder.reports(), "the mouse did not get the new table")

    def states(self):
        result = self.folder.probe("states", TITLE)
        rows = []
        for line in result.stdout.splitlines():
            parts = line.split(" ", 9)
            if len(parts) >= 9:
                rows.append(dict(depth=int(parts[0]), id=int(parts[1]), cls=parts[2], visible=parts[3] == "1",
                                 enabled=parts[4] == "1", rect=tuple(int(p) for p in parts[5:9]),
                                 text=parts[9] if len(parts) > 9 else ""))
        return rows

    def view_buttons(self):
        """The shown view's buttons by entry: (enabled, text)."""
        return {r["id"]: (r["enabled"], r["text"]) for r in self.states()
                if r["cls"] == "GmSkinButton" and r["visible"] and r["depth"] == 4 and 1 <= r["id"] <= 32}

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True)

    def screenshot(self, name):
        from PIL import ImageGrab
        ImageGrab.grab(xdisplay=option_e2e.SESSION.display).crop((0, 0, 760, 620)).save(
            option_e2e.SESSION.build_dir / name)

    def grab(self, point, size=12):
        from PIL import ImageGrab
        x, y = point
        return ImageGrab.grab(bbox=(x - size, y - size // 2, x + size, y + size // 2),
                              xdisplay=option_e2e.SESSION.display).tobytes()


class EveryClass(ButtonTest):
    def test_one_function_of_each_class_reaches_the_store_and_the_mouse(self):
        index = 5
        self.assign(index, lambda: (self.category(3), self.menu(3, 2, 6)), dict(cls=3, code=6))
        self.assign(index, lambda: (self.category(4), self.menu(4, 2, 1)), dict(cls=4, code=13))
        self.assign(index, lambda: (self.category(7), self.menu(7, 2, 5)), dict(cls=7, code=28))
        self.assign(index, lambda: (self.category(8), self.menu(8, 2, 6)), dict(cls=8, code=117))
        self.assign(index, lambda: self.category(9), dict(cls=9, code=0))
        self.assign(index, lambda: self.category(1), dict(cls=1, code=DEFAULT_CODES[index]))

        def typed():
            self.category(6)
            self.folder.click(self.page_point(6, 4))
            self.folder.click(self.page_point(6, 5))
            self.keys("End")
            self.folder.type_text("notepad readme.txt")
        self.assign(index, typed, dict(cls=6, code=65, program="notepad readme.txt"))

        def key():
            self.category(2)
            self.folder.keys("a", title=f"^{self.title}$")
            self.folder.keys("b", title=f"^{self.title}$")
            # The second key replaced the first at once.
            self.assertTrue(wait_for(lambda: any(r["text"] == "B" for r in self.folder.tree(self.title)), 5))
        self.assign(index, key, dict(cls=2, code=12, key=macros_e2e.KEY_B))
        self.screenshot("option-assign-key.png")

        def macro(count, shown):
            def steps():
                self.category(5)
                self.folder.click(self.page_point(5, 2))
                self.folder.click(self.page_point(5, 3, dy=10 + 20 * 0))
                self.menu(5, 5, 2)  # repeat mode 1 shows the count
                self.folder.click(self.page_point(5, 7))
                self.keys("End", "BackSpace", "BackSpace", "BackSpace")
                self.folder.type_text(count)
                if count == "999":
                    # Past 255 no digit can help: the box shows 255 at once.
                    self.assertTrue(wait_for(lambda: any(r["text"] == shown and r["visible"]
                                                         for r in self.folder.tree(self.title)), 5),
                                    f"the count does not show {shown}")
                    self.screenshot("option-assign-macro.png")
            return steps
        self.assign(index, macro("999", "255"), dict(cls=5, code=16, index=0, name="Reload", events=2, mode=1,
                                                     count=255))
        self.assign(index, macro("1", "2"), dict(cls=5, code=16, mode=1, count=2))


class Launch(ButtonTest):
    def test_a_program_from_the_file_dialog_starts_from_the_mouse(self):
        marker = self.folder.path / "marker.exe"
        index = 14

        def program():
            self.category(6)
            self.folder.click(self.page_point(6, 3), settle=1.0)
            self.assertTrue(wait_for(lambda: subprocess.run(["xdotool", "search", "--name", "Open"], env=self.env,
                                                            capture_output=True).returncode == 0, 10))
            time.sleep(0.5)
            self.folder.keys("ctrl+a", title="Open")
            self.folder.type_text(option_e2e.harness.windows_path(marker))
            self.folder.keys("Return", title="Open")
            time.sleep(0.5)
            self.screenshot("option-assign-launch.png")
        self.assign(index, program, dict(cls=6, code=17))
        self.assertTrue(self.record(index)["program"].lower().endswith("marker.exe"))
        self.folder.mousesim("launch-button", str(index + 1))
        self.assertTrue(wait_for((self.folder.path / "marker.ran").exists, 15), "the program did not start")


class Refusals(ButtonTest):
    def test_ok_without_a_choice_gives_the_default(self):
        index = 6
        for cls in (5, 2, 6):
            self.assign(index, lambda: self.category(3) or self.menu(3, 2, 2), dict(cls=3, code=2))
            self.assign(index, lambda: self.category(cls), dict(cls=1, code=DEFAULT_CODES[index]))

    def test_a_command_dropped_by_leaving_the_launch_page_is_not_shown_again(self):
        index = 6
        typed = "calc stale.txt"

        def shown():
            return [r["text"] for r in self.folder.tree(self.title) if r["visible"] and r["text"] == typed]

        def leave_and_return():
            self.category(6)
            self.folder.click(self.page_point(6, 4))
            self.folder.click(self.page_point(6, 5))
            self.keys("End")
            self.folder.type_text(typed)
            self.assertTrue(wait_for(shown, 5), "the typed command does not show")
            self.category(3)
            self.category(6)
            self.folder.click(self.page_point(6, 4))
            # What OK gives below is the default: the box must not promise the command.
            self.assertEqual(shown(), [], "the dropped command shows again")
        self.assign(index, lambda: self.category(3) or self.menu(3, 2, 2), dict(cls=3, code=2))
        self.assign(index, leave_and_return, dict(cls=1, code=DEFAULT_CODES[index]))

    def test_cancel_and_close_change_nothing(self):
        index = 5
        before = self.wait_quiet()
        store = self.folder.store_text()
        for way in (4, 5):
            self.open_dialog(index)
            self.category(9)
            self.finish(way)
        time.sleep(1.0)
        self.assertEqual(self.folder.store_text(), store)
        self.assertEqual(self.downloads_after(before), [])


class Guard(ButtonTest):
    def locked(self, index, view):
        self.show_view(view)
        buttons = self.view_buttons()
        return (not buttons[index + 1][0], not buttons[index + 17][0])

    def test_the_only_left_click_is_locked_in_both_views(self):
        for view in (0, 1):
            if self.shows(0, view):
                self.assertEqual(self.locked(0, view), (True, True), f"view {view}")
        self.show_view(0)
        self.screenshot("option-buttons-top-view.png")
        self.show_view(1)
        self.screenshot("option-buttons-side-view.png")
        # A second left click opens both; changing one away locks the other.
        self.assign(1, lambda: (self.category(3), self.menu(3, 2, 1)), dict(cls=3, code=1))
        self.show_view(self.view_of(0))
        self.assertEqual(self.locked(0, self.view_of(0)), (False, False))
        self.assign(0, lambda: self.category(9), dict(cls=9, code=0))
        self.assertEqual(self.locked(1, self.view_of(1)), (True, True))

    def test_the_views_share_captions_and_light_in_pairs(self):
        side_only = next(i for i in NUMBERS if self.shows(i, 1) and not self.shows(i, 0))
        self.assign(side_only, lambda: (self.category(7), self.menu(7, 2, 5)), dict(cls=7, code=28))
        self.show_view(1)
        side = self.view_buttons()[side_only + 1][1]
        self.show_view(0)
        texts = [r["text"] for r in self.states() if r["id"] == side_only + 1 and r["depth"] == 4]
        self.assertEqual(texts, [side, side], "the top view's caption differs")

        index = next(i for i in NUMBERS if i != 0 and self.shows(i, 0))  # 0 is locked by the guard
        caption = self.view_point(index + 1)
        hot = self.view_point(index + 17)
        subprocess.run(["xdotool", "mousemove", "5", "5"], env=self.env)
        time.sleep(0.5)
        dark = self.grab(caption)
        subprocess.run(["xdotool", "mousemove", str(hot[0]), str(hot[1])], env=self.env)
        time.sleep(0.8)
        self.assertNotEqual(self.grab(caption), dark, "pointing at the hot spot did not light its caption")
        self.screenshot("option-buttons-hover.png")
        subprocess.run(["xdotool", "mousemove", "5", "5"], env=self.env)
        time.sleep(0.8)
        quiet = self.grab(hot)
        subprocess.run(["xdotool", "mousemove", str(caption[0]), str(caption[1])], env=self.env)
        time.sleep(0.8)
        self.assertNotEqual(self.grab(hot), quiet, "pointing at the caption did not light its hot spot")


class Keyboard(ButtonTest):
    def test_the_key_page_gives_the_keyboard_back_on_every_way_out(self):
        self.start_notepad()
        index = 5
        ways = {"OK": lambda: self.finish(3), "Cancel": lambda: self.finish(4), "close": lambda: self.finish(5),
                "category": lambda: (self.category(3), self.finish(4))}
        for n, (way, leave) in enumerate(ways.items()):
            self.open_dialog(index)
            self.category(2)
            leave()
            text = f"back{n}"
            self.assertTrue(self.type_into_notepad(text), f"after {way}: notepad holds {self.notepad_text()!r}")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    args, rest = parser.parse_known_args()
    option_e2e.BUILD_DIR = args.build_dir
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
