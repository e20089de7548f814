"""Option used from the keyboard alone, under Wine and Xvfb: the window is
focused once, and no click follows. Where the focus is, the test reads from
the screen: the focused control draws its focus mark in the skin's accent.
What the keys change must equal what the same steps by mouse change.

    /usr/bin/python3 keyboard_e2e.py --build-dir build/win [unittest arguments]
"""
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import option, suite  # noqa: E402
from lib.button_page import NUMBERS, ButtonTest  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.macro_library import KEY_B, KEY_C, recorded  # noqa: E402
from lib.option import STEPS_ID, OptionTest  # noqa: E402

ACCENT = (128, 21, 153)
ROLE_PAGE_TAB, STATE_CHECKED = 0x25, 0x10
# The slider thumb's mark: light, as the thumb itself is in the accent.
THUMB_MARK = (240, 236, 246)


class KeyboardTest(OptionTest):
    def setUp(self):
        super().setUp()
        window = subprocess.run(["xdotool", "search", "--name", option.OPTION_TITLE], env=self.folder.env(),
                                capture_output=True, text=True).stdout.split()
        window.sort(key=self.folder.window_area, reverse=True)
        self.assertTrue(window, "no window of Option")
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], env=self.folder.env(), check=True)

    def press(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "80"] + list(keys), env=self.folder.env(), check=True)

    def screen(self):
        from PIL import ImageGrab
        return ImageGrab.grab(xdisplay=suite.session().display).convert("RGB")

    def main_rect(self, entry):
        left, top = self.folder.option_origin()
        x, y, w, h = self.folder.main_skin[entry]
        return left + x, top + y, w, h

    def config_rect(self, entry):
        left, top = self.folder.option_origin()
        ax, ay, _, _ = self.folder.main_skin[7]
        x, y, w, h = self.folder.config_skin[entry]
        return left + ax + x, top + ay + y, w, h

    def marked(self, rect, image=None):
        """Whether the control at `rect` shows the focus mark: its top line, just inside, in the accent."""
        image = image or self.screen()
        x, y, w, _ = rect
        inset = option.scaled(1)
        row = [image.getpixel((x + i, y + inset)) for i in range(inset + 2, w - inset - 2)]
        return bool(row) and sum(p == ACCENT for p in row) >= 0.9 * len(row)

    def shot(self, name, rect, margin=20):
        x, y, w, h = rect
        self.screen().crop((x - margin, y - margin, x + w + margin, y + h + margin)).save(
            suite.session().build_dir / option.scaled_name(name))

    def visible(self, cls):
        """Screen rectangles (x, y, w, h) of the visible windows of class `cls`."""
        return [(r["rect"][0], r["rect"][1], r["rect"][2] - r["rect"][0], r["rect"][3] - r["rect"][1])
                for r in self.folder.tree() if r["cls"] == cls and r["visible"]]

    def tab_to(self, rect, limit=60):
        """Tab until the control at `rect` has the focus; fails after `limit` presses."""
        for _ in range(limit):
            self.press("Tab")
            if wait_for(lambda: self.marked(rect), 1.5):
                return
        self.screen().save(suite.session().build_dir / "keyboard-failed.png")
        self.fail(f"Tab never reached the control at {rect} (the screen: keyboard-failed.png)")


class Focus(KeyboardTest):
    def test_the_mark_shows_after_the_first_tab_and_wraps_within_the_window(self):
        first, second = self.main_rect(4), self.main_rect(5)
        self.assertFalse(self.marked(first), "a focus mark before any key")
        self.press("Tab")
        self.assertTrue(wait_for(lambda: self.marked(second), 10), "Tab showed no mark on the second tab")
        self.assertFalse(self.marked(first))
        self.shot("keyboard-focus-button.png", second)
        self.press("shift+Tab")
        self.assertTrue(wait_for(lambda: self.marked(first), 10), "Shift+Tab went elsewhere")
        # Round the whole window and back to the first tab: the focus stays in the window.
        self.tab_to(first, limit=80)


    def test_ctrl_page_down_and_up_switch_the_sub_pages_round_with_the_focus(self):
        sub_pages = {"Buttons", "Performance", "Lighting"}

        def tabs():
            """The checked main and sub-page tabs and the focused control's name, as a screen reader learns them."""
            rows = self.folder.accessible()
            checked = {r["name"] for r in rows if r["role"] == ROLE_PAGE_TAB and r["state"] & STATE_CHECKED}
            return checked & (sub_pages | {"Settings", "Macros"}), [r["name"] for r in rows if r["focused"]]

        for keys, page in ((["ctrl+Next", "ctrl+Next"], "Lighting"), (["ctrl+Next"], "Buttons"),
                           (["ctrl+Prior"], "Lighting"), (["ctrl+Prior"], "Performance")):
            self.press(*keys)
            self.assertTrue(wait_for(lambda: tabs() == ({"Settings", page}, [page]), 10),
                            f"after {keys}: {tabs()}")
        self.assertTrue(self.visible("GmSliderThumb"), "the performance page does not show")
        self.assertTrue(self.marked(self.config_rect(2)), "the performance tab shows no focus mark")


class Profiles(KeyboardTest):
    def test_enter_on_new_makes_the_same_profile_as_a_click(self):
        before = self.trace_length()
        self.tab_to(self.config_rect(6))
        self.press("Return")
        # As the click on + does (option_e2e Profiles).
        self.assert_new_profile_made(before)
        self.assertIsNone(self.option.poll(), "Enter closed Option")


    def test_space_opens_the_profile_drop_down_and_esc_closes_only_it(self):
        self.tab_to(self.config_rect(5))
        self.press("space")
        self.assertTrue(wait_for(lambda: self.visible("GmSkinListBox"), 10), "Space did not open the drop-down")
        focused = [(r["cls"], r["name"]) for r in self.folder.accessible() if r["focused"]]
        self.assertEqual(focused, [("GmSkinListBox", "Profile")])
        self.press("Escape")
        self.assertTrue(wait_for(lambda: not self.visible("GmSkinListBox"), 10), "Esc left the drop-down open")
        self.assertIsNone(self.option.poll(), "Esc closed Option with the drop-down open")
        self.assertEqual(self.folder.current_index(), 2)


class Marks(KeyboardTest):
    def test_a_slider_thumb_shows_the_mark(self):
        # The performance tab by Tab and Space, then its slider.
        self.tab_to(self.config_rect(2))
        self.press("space")
        self.assertTrue(wait_for(lambda: self.visible("GmSliderThumb"), 10), "the performance page did not open")
        thumb = self.visible("GmSliderThumb")[0]

        def thumb_marked():
            tx, ty, tw, th = thumb
            image = self.screen().crop((tx, ty, tx + tw, ty + th))
            return sum(1 for p in image.getdata() if p == THUMB_MARK) >= th

        for _ in range(60):
            self.press("Tab")
            if wait_for(thumb_marked, 1.5):
                break
        self.assertTrue(thumb_marked(), "Tab never reached the slider")
        self.shot("keyboard-focus-slider.png", thumb, margin=30)


class MacroFlow(KeyboardTest, ButtonTest):
    """A macro made, recorded and given to a button with keys alone."""
    library = []

    def focused(self, title=option.OPTION_TITLE):
        return [r["name"] for r in self.folder.accessible(title) if r["focused"]]

    def test_a_macro_made_recorded_and_assigned_from_the_keyboard_equals_the_one_by_mouse(self):
        folder = self.folder
        self.press("ctrl+Tab")
        self.assertTrue(wait_for(lambda: folder.macro_caption(11) == "Record", 10), "Ctrl+Tab did not show the macros")
        self.tab_to(folder.macro_rect(3))  # New
        self.press("space")
        self.assertTrue(wait_for(lambda: [name for name, _ in folder.macros()] == ["Macro1"], 10),
                        f"New by Space: {folder.macros()}")

        record = folder.macro_rect(11)
        self.tab_to(record)
        self.press("Return")
        self.assertTrue(wait_for(lambda: folder.macro_caption(11) == "Stop", 10), "Enter did not start recording")
        self.assertIsNone(self.option.poll(), "Enter closed Option")
        # As the macros suite records them by mouse in the fixed mode, the page's first.
        self.press("b", "c")
        self.assertTrue(wait_for(lambda: len((folder.list_rows(STEPS_ID) or {}).get("rows", [])) == 7, 10),
                        f"steps: {folder.list_rows(STEPS_ID)}")
        self.press("ctrl+alt+End")
        self.assertTrue(wait_for(lambda: folder.macro_caption(11) == "Record", 10), "Ctrl+Alt+End did not stop")
        expected = recorded([KEY_B, KEY_C], 50)
        self.assertTrue(wait_for(lambda: folder.macros() == [("Macro1", expected)], 10),
                        f"the store: {folder.macros()}")
        self.assertEqual(folder.list_rows(STEPS_ID)["rows"], ["B", "50 ms", "B", "50 ms", "C", "50 ms", "C"])
        self.assertTrue(wait_for(lambda: self.marked(record), 10), "the focus did not go back to Record")

        # The button page, a view button, its dialog.
        index = 5
        self.assertEqual(self.view_of(index), 0)
        before = self.wait_quiet()
        self.press("ctrl+Tab")
        # The view button's caption, as the dialog's title and the screen reader number it.
        px, py = self.page_origin()
        vx, vy = self.page_skin[3][:2]
        x, y, w, h = self.view_skins[0][index + 1]
        self.tab_to((px + vx + x, py + vy + y, w, h))
        name = f"G{NUMBERS[index]}"
        self.assertTrue(any(n.startswith(name + ":") for n in self.focused()), self.focused())
        self.press("space")
        self.title = name
        self.assertTrue(wait_for(lambda: folder.tree(self.title), 10), "Space did not open the dialog")
        self.tab_to(self.dialog_rect(2))  # the category
        self.press("space", *(["Down"] * 5), "Return")  # the category menu: Macro
        choice = self.page_rect(5, 2)
        self.tab_to(choice)
        self.press("space")
        self.assertTrue(wait_for(lambda: any(r["cls"] == "GmSkinListBox" and r["visible"]
                                             for r in folder.tree(self.title)), 10), "Space did not open the macro list")
        self.press("Down")
        shown = lambda: any(r["text"] == "Macro1" and r["visible"] for r in folder.tree(self.title))  # noqa: E731
        # Down chooses at once, or moves a selection that Enter chooses.
        if not wait_for(shown, 3):
            self.press("Return")
        self.assertTrue(wait_for(shown, 10), "the macro was not chosen")
        self.tab_to(self.dialog_rect(3))  # OK
        self.press("space")
        self.assertTrue(wait_for(lambda: not folder.tree(self.title), 10), "the dialog stayed open")
        # What the buttons suite's assignment by mouse gives, and the mouse got the table the store says.
        expect = dict(cls=5, code=16, index=0, name="Macro1", events=len(expected))
        self.assertTrue(wait_for(lambda: all(self.record(index)[k] == v for k, v in expect.items()), 10),
                        f"button {index}: {self.record(index)} is not {expect}")
        self.wait_quiet()
        self.assertEqual(self.downloads_after(before), folder.reports(), "the mouse did not get the new table")
        self.assertIsNone(self.option.poll())


if __name__ == "__main__":
    option.main()
