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
from lib.button_page import NUMBERS, ButtonTest, stored_assignment  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.macro_library import KEY_A, KEY_B, KEY_C, recorded  # noqa: E402
from lib.option import STEPS_ID, OptionTest  # noqa: E402

ACCENT = (128, 21, 153)
ROLE_PAGE_TAB, STATE_CHECKED = 0x25, 0x10
# The mark on a slider's thumb and a selected list row: light, as they are in the accent.
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

    def marked(self, rect, image=None, colour=ACCENT):
        """Whether the control at `rect` shows the focus mark: its top line, just inside, in the accent
        (or in `colour`, the mark on a face that is itself in the accent)."""
        image = image or self.screen()
        x, y, w, _ = rect
        inset = option.scaled(1)
        row = [image.getpixel((x + i, y + inset)) for i in range(inset + 2, w - inset - 2)]
        return bool(row) and sum(p == colour for p in row) >= 0.9 * len(row)

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
        self.tab_until(lambda: self.marked(rect), f"the control at {rect}", limit)

    def tab_until(self, reached, what, limit=60):
        for _ in range(limit):
            # A Tab moves the mark, which changes the screen: once it has, one look
            # tells whether it went where it should.
            before = self.screen().tobytes()
            self.press("Tab")
            wait_for(lambda: self.screen().tobytes() != before, 1.5)
            if wait_for(reached, 0.5):
                return
        self.screen().save(suite.session().build_dir / "keyboard-failed.png")
        self.fail(f"Tab never reached {what} (the screen: keyboard-failed.png)")

    def thumb_marked(self):
        """Whether the shown slider thumb (the first) carries its light mark."""
        thumbs = self.visible("GmSliderThumb")
        if not thumbs:
            return False
        tx, ty, tw, th = thumbs[0]
        image = self.screen().crop((tx, ty, tx + tw, ty + th))
        return sum(1 for p in image.getdata() if p == THUMB_MARK) >= th

    def sub_page_rect(self, skin, entry):
        """The screen rectangle of entry `entry` of the shown sub-page's skin file `skin`."""
        left, top = self.folder.sub_page_origin()
        x, y, w, h = option.skin_entries(self.folder.skins / skin)[entry]
        return left + x, top + y, w, h


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
        # The list has the focus, and within it the current profile's row.
        focused = [(r["cls"], r["name"]) for r in self.folder.accessible() if r["focused"]]
        self.assertEqual(focused, [("GmSkinListBox", "Profile"), ("GmSkinListBox#item", "Game")])
        # Left moves as Up does (the system list would choose at once); Esc then chooses nothing.
        self.press("Left")
        self.assertTrue(wait_for(lambda: [r["name"] for r in self.folder.accessible()
                                          if r["focused"] and r["cls"] == "GmSkinListBox#item"] == ["Work"], 10),
                        "Left did not move the selection up")
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
        self.tab_until(self.thumb_marked, "the slider")
        self.shot("keyboard-focus-slider.png", self.visible("GmSliderThumb")[0], margin=30)


class Flows(KeyboardTest):
    """The mouse suites' steps, by keys alone and in one start of Option; each
    ends as those suites check it ends."""

    def test_profile_dpi_polling_rate_light_mode_an_assignment_and_the_close_by_keys(self):
        self.rename_and_choose_a_profile()
        self.press("ctrl+Next")
        self.dpi_and_polling_rate()
        self.press("ctrl+Next")
        self.light_mode()
        self.press("ctrl+Next")
        self.views_and_an_assignment()
        # Esc closes Option, as its close button does, and leaves the store and the mouse as they are.
        store, sends = self.folder.store_text(), self.trace_length()
        self.press("Escape")
        self.assertTrue(wait_for(lambda: self.option.poll() is not None, 15), "Esc did not close Option")
        self.assertEqual(self.folder.store_text(), store)
        self.assertEqual(self.trace_length(), sends)

    def rename_and_choose_a_profile(self):
        # The rename (option_e2e Profiles): saved, shown, and nothing for the mouse.
        before = self.trace_length()
        self.tab_to(self.config_rect(10))
        self.press("Return")
        self.assertTrue(wait_for(lambda: (self.folder.rename_box() or (False,))[0], 10), "Enter began no rename")
        self.press("ctrl+a")
        self.folder.type_text("Office")
        self.press("Return")
        self.assertTrue(wait_for(lambda: self.folder.profile_names() == ["Gamer", "Work", "Office"], 10),
                        f"the store holds {self.folder.profile_names()}")
        self.assertEqual(self.folder.captions(5), ["Office"])
        self.wait_quiet()
        self.assertEqual(self.downloads_after(before), [], "a rename reached the mouse")

        # The drop-down: the arrows only move the selection, Enter chooses as the click does.
        drop_down = self.config_rect(5)
        self.tab_to(drop_down)
        before = self.trace_length()
        self.press("space")
        self.assertTrue(wait_for(lambda: self.visible("GmSkinListBox"), 10), "Space did not open the drop-down")
        self.press("Up", "Up")
        self.assertTrue(wait_for(lambda: self.folder.list_rows()["selected"] == 0, 10), "Up did not move")
        self.assertEqual(self.folder.current_index(), 2, "an arrow chose")
        lx, ly, lw, _ = self.visible("GmSkinListBox")[0]
        first_row = (lx, ly, lw - option.scaled(5), option.scaled(20))
        self.assertTrue(wait_for(lambda: self.marked(first_row, colour=THUMB_MARK), 10), "the row shows no focus mark")
        self.shot("keyboard-focus-list.png", self.visible("GmSkinListBox")[0])
        self.press("Return")
        self.assertTrue(wait_for(lambda: self.folder.current_index() == 0, 10), "Enter did not choose")
        self.wait_full_download(before)
        self.assertEqual(self.folder.captions(5), ["Gamer"])
        self.assertFalse(self.visible("GmSkinListBox"), "the drop-down stayed open")
        self.assertTrue(wait_for(lambda: self.marked(drop_down), 10), "the focus did not come back to the drop-down")
        # Esc after a move chooses nothing and puts the selection back.
        self.press("space", "Down", "Escape")
        self.assertTrue(wait_for(lambda: not self.visible("GmSkinListBox"), 10), "Esc left the drop-down open")
        self.assertEqual((self.folder.current_index(), self.folder.list_rows()["selected"]), (0, 0))
        self.assertTrue(wait_for(lambda: self.marked(drop_down), 10))

    def dpi_and_polling_rate(self):
        # The active level's DPI by one, as pages_e2e's slider key test; then the
        # polling rate's menu, as its mouse test: 125 Hz, only the rate sent.
        self.assertTrue(wait_for(lambda: self.visible("GmSliderThumb"), 10), "the performance page did not open")
        self.tab_until(self.thumb_marked, "the DPI slider")
        step = int(self.profile_values()["CpiStep"])
        value = int(self.profile_values()[f"CpiLevel_X{step}"])
        before = self.wait_quiet()
        self.press("Right")
        self.assertTrue(wait_for(lambda: self.profile_values()[f"CpiLevel_X{step}"] == str(value + 1), 10))
        self.assert_sent_as_stored(before)

        rate = self.sub_page_rect("Skin_Function.ini", 13)
        self.tab_to(rate)
        before = self.wait_quiet()
        self.press("space")
        self.assertTrue(wait_for(self.folder.menu_shown, 10), "Space opened no menu")
        self.press("Down", "Return")
        self.assertTrue(wait_for(lambda: self.profile_values()["PollingRate"] == "8", 10))
        self.assertEqual(self.folder.flags(), [0, 0, 0, 1], "another part was marked changed")
        self.assert_sent_as_stored(before)

    def light_mode(self):
        # The mode menu as lighting_e2e chooses in it: another mode, stored and sent.
        mode = self.sub_page_rect("Skin_light.ini", 2)
        self.assertTrue(wait_for(lambda: self.marked(self.config_rect(3)), 10), "the lighting tab has no focus")
        self.tab_to(mode)
        switch = int(self.profile_values()["LightSwitch"], 0)
        item = 1 if switch == 0 else 0
        before = self.wait_quiet()
        self.press("space")
        self.assertTrue(wait_for(self.folder.menu_shown, 10), "Space opened no menu")
        self.press(*(["Down"] * (item + 1)), "Return")
        self.assertTrue(wait_for(lambda: int(self.profile_values()["LightSwitch"], 0) == item, 10),
                        f"LightSwitch is {self.profile_values()['LightSwitch']}, not {item}")
        self.assert_sent_as_stored(before)

    def views_and_an_assignment(self):
        # Top view and Side view are one choice: Right and Left switch, the focus goes along.
        def checked():
            return {r["name"] for r in self.folder.accessible()
                    if r["role"] == ROLE_PAGE_TAB and r["state"] & STATE_CHECKED} & {"Top view", "Side view"}

        top, side = (self.sub_page_rect("skin_button_page.ini", entry) for entry in (1, 2))
        self.tab_to(top)
        for key, shown, rect in (("Right", "Side view", side), ("Left", "Top view", top)):
            self.press(key)
            self.assertTrue(wait_for(lambda: checked() == {shown} and self.marked(rect), 10),
                            f"after {key}: {checked()}")

        # G4 gets the key A, as buttons_e2e gives it by pointer; Ctrl+Alt+End leaves the key box.
        index, title = 5, "G4"
        views = option.skin_entries(self.folder.skins / "skin_button_page.ini")[3]
        x, y, w, h = option.skin_entries(self.folder.skins / "skin_Mouse.ini")[index + 1]
        left, top_edge = self.folder.sub_page_origin()
        before = self.wait_quiet()
        self.tab_to((left + views[0] + x, top_edge + views[1] + y, w, h))
        self.press("Return")
        self.assertTrue(wait_for(lambda: self.folder.tree(title), 10), "Enter did not open the dialog")

        dx, dy = self.folder.tree(title)[0]["rect"][:2]
        x, y, w, h = option.skin_entries(self.folder.skins / "skin_Setup.ini")[2]
        self.tab_to((dx + x, dy + y, w, h))  # the category
        self.press("space")
        self.assertTrue(wait_for(self.folder.menu_shown, 10), "Space opened no category menu")
        self.press("Down", "Down", "Return")  # Keyboard key: the page listens at once
        self.press("a", "ctrl+alt+End")
        self.assertTrue(wait_for(lambda: any(r["text"] == "A" for r in self.folder.tree(title)), 10), "no A taken")
        self.press("Return")  # Enter accepts the dialog, as OK does
        self.assertTrue(wait_for(lambda: not self.folder.tree(title), 10), "Enter did not close the dialog")
        self.assertTrue(wait_for(lambda: {k: stored_assignment(self.folder, index)[k] for k in ("cls", "key")}
                                 == dict(cls=2, key=KEY_A), 10), f"G4 holds {stored_assignment(self.folder, index)}")
        self.assert_sent_as_stored(before)


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

        # The insert panel: opened by Space on Insert, left by Esc as by its Cancel.
        insert = folder.macro_rect(19)
        self.tab_to(insert)
        self.press("space")
        panel_open = lambda: any(r["cls"] == "GmSkinButton" and r["visible"] and r["text"] == "Cancel"  # noqa: E731
                                 for r in folder.tree())
        self.assertTrue(wait_for(panel_open, 10), "Space did not open the insert panel")
        self.press("Escape")
        self.assertTrue(wait_for(lambda: not panel_open(), 10), "Esc left the insert panel open")
        self.assertIsNone(self.option.poll(), "Esc closed Option with the insert panel open")
        self.assertEqual(folder.macros(), [("Macro1", expected)])
        self.assertTrue(wait_for(lambda: self.marked(insert), 10), "the focus did not go back to Insert")

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
        list_open = lambda: any(r["cls"] == "GmSkinListBox" and r["visible"]  # noqa: E731
                                for r in folder.tree(self.title))
        shown = lambda: any(r["text"] == "Macro1" and r["visible"] for r in folder.tree(self.title))  # noqa: E731
        # Esc closes only the list, choosing nothing; the dialog stays.
        self.press("space")
        self.assertTrue(wait_for(list_open, 10), "Space did not open the macro list")
        self.press("Down", "Escape")
        self.assertTrue(wait_for(lambda: not list_open(), 10), "Esc left the macro list open")
        self.assertTrue(folder.tree(self.title), "Esc in the macro list closed the dialog")
        self.assertFalse(shown(), "Esc chose the macro")
        self.press("space")
        self.assertTrue(wait_for(list_open, 10), "Space did not open the macro list again")
        self.press("Down", "Return")
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
