"""End-to-end tests of Option's button page and assignment dialog: the real
Option with the real Monitor and the virtual mouse, under Wine and Xvfb,
driven with xdotool at points computed from the staged skin files. After each
accepted assignment the stored record is read back raw, and the reports that
reached the mouse are compared with what `gmconfig reports` says they must be.

    /usr/bin/python3 buttons_e2e.py --build-dir build/win [unittest arguments]
"""
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import harness, option  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.button_page import DEFAULT_CODES, NUMBERS, ButtonTest  # noqa: E402
from lib.macro_library import KEY_A, KEY_B  # noqa: E402


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
        self.assign(index, key, dict(cls=2, code=12, key=KEY_B))
        self.screenshot("option-assign-key.png")

        def macro(count, shown):
            def steps():
                self.category(5)
                self.folder.click(self.page_point(5, 2))
                self.folder.click(self.page_point(5, 3, dy=option.scaled(10)))
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
            self.folder.type_text(harness.windows_path(marker))
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

    def test_ctrl_alt_end_ends_the_key_pages_listening_and_keeps_its_key(self):
        index = 5
        self.open_dialog(index)
        self.category(2)
        # B comes after the listening ended: it goes to the dialog, not into the key box.
        self.keys("a", "ctrl+alt+End", "b")
        self.assertTrue(any(r["text"] == "A" for r in self.folder.tree(self.title)), "the key box lost its A")
        self.assertFalse(any(r["text"] in ("B", "End", "Left Ctrl", "Left Alt") for r in self.folder.tree(self.title)))
        self.finish(3)
        self.assertTrue(wait_for(lambda: self.record(index)["key"] == KEY_A, 10), f"button {index}: {self.record(index)}")


if __name__ == "__main__":
    option.main()
