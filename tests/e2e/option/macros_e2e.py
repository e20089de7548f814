"""End-to-end tests of Option's macro page, recorder and insert panel: the real
Option with the real Monitor and the virtual mouse, under Wine and Xvfb. Keys
and mouse buttons come from xdotool (the recorder's hook receives them as from
a keyboard), click points from the staged skin files, the steps from the event
list and from config\\sequence.dat, and what reached the mouse from the trace.

    /usr/bin/python3 macros_e2e.py --build-dir build/win [unittest arguments]
"""
import os
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import harness, option, suite  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.macro_library import (DELAY, KEY_A, KEY_B, KEY_C, LEFT_SHIFT, PRESS, RELEASE,  # noqa: E402
                               RIGHT_BUTTON, RIGHT_SHIFT, key_steps, macro_value, read_library,
                               read_library_bytes, recorded, write_library)
from lib.notepad import Notepad  # noqa: E402
from lib.option import OPTION_TITLE, STEPS_ID, OptionTest, skin_entries  # noqa: E402


TITLE = OPTION_TITLE


def row_middle(row):
    """The middle of a list's row `row` below the list's top: 20-pixel rows at 100 %, each scaled."""
    return option.scaled(10) + option.scaled(20) * row


class MacroTest(Notepad, OptionTest):
    profiles = ("Gamer",)
    library = None  # [(name, events)] written before the programs start

    def prepare(self):
        if self.library is not None:
            write_library(self.library_file, self.library)

    @property
    def library_file(self):
        return self.folder.library_file

    def setUp(self):
        super().setUp()
        skins = self.folder.skins
        self.page_skin = self.folder.macro_skin
        self.panel_skin = skin_entries(skins / "skin_InsertMacro.ini")
        self.delay_skin = skin_entries(skins / "skin_InsertMacro1.ini")
        self.record_skin = skin_entries(skins / "skin_InsertMacro2.ini")
        self.env = self.folder.env()
        self.folder.click(self.folder.main_point(5), settle=0.8)
        self.assertTrue(wait_for(lambda: self.steps() is not None, 10), "the macro page has no event list")

    # Screen points from the skins.
    def origin(self):
        left, top = self.folder.option_origin()
        ax, ay = self.folder.main_skin[7][:2]
        return left + ax, top + ay

    def point(self, entry, dx=None, dy=None, skin=None, origin=None):
        ox, oy = origin or self.origin()
        x, y, w, h = (skin or self.page_skin)[entry]
        return ox + x + (w // 2 if dx is None else dx), oy + y + (h // 2 if dy is None else dy)

    def panel_origin(self):
        ox, oy = self.origin()
        return ox + self.page_skin[20][0], oy + self.page_skin[20][1]

    def panel_point(self, entry):
        return self.point(entry, skin=self.panel_skin, origin=self.panel_origin())

    def sub_point(self, entry, skin):
        px, py = self.panel_origin()
        return self.point(entry, skin=skin, origin=(px + self.panel_skin[3][0], py + self.panel_skin[3][1]))

    def click(self, point, button=1, settle=0.6):
        subprocess.run(["xdotool", "mousemove", str(point[0]), str(point[1]), "click", str(button)], env=self.env,
                       check=True)
        time.sleep(settle)

    def click_row(self, row):
        self.click(self.point(18, dy=row_middle(row)), settle=0.4)
        self.assertTrue(wait_for(lambda: self.steps()["selected"] == row, 5), f"row {row} was not selected")

    def focus(self):
        window = subprocess.run(["xdotool", "search", "--name", TITLE], env=self.env, capture_output=True,
                                text=True).stdout.split()
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], env=self.env)

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True)

    # What the page shows.
    def steps(self):
        return self.folder.list_rows(STEPS_ID)

    def rows(self):
        return self.steps()["rows"]

    def caption(self, entry):
        return self.folder.macro_caption(entry)

    def macros(self):
        return self.folder.macros()

    def wait_library(self, predicate, message):
        self.assertTrue(wait_for(lambda: predicate(self.macros()), 10), f"{message}: {self.macros()}")

    def screenshot(self, name):
        from PIL import ImageGrab
        area = (0, 0, option.scaled(700), option.scaled(600))
        ImageGrab.grab(xdisplay=suite.session().display).crop(area).save(
            suite.session().build_dir / option.scaled_name(name))

    # Recording.
    def start_recording(self):
        self.click(self.point(11))
        self.assertTrue(wait_for(lambda: self.caption(11) == "Stop", 5), "recording did not start")
        self.focus()

    def stop_recording(self):
        self.click(self.point(11))
        self.assertTrue(wait_for(lambda: self.caption(11) == "Record", 5), "recording did not stop")

class Recording(MacroTest):
    def test_keys_held_keys_and_a_mouse_button_with_measured_delays(self):
        self.click(self.point(8))  # measured delays
        self.start_recording()
        before = self.folder.trace()
        # a held 0.8 s (the keyboard repeats it), a pause, Shift held 1 s, a
        # right click over the event list; the gaps are xdotool's own.
        self.xdotool("keydown", "a", "sleep", "0.8", "keyup", "a", "sleep", "0.3",
                     "keydown", "Shift_L", "sleep", "1.0", "keyup", "Shift_L", "sleep", "0.3")
        self.click(self.point(18, dy=option.scaled(200)), button=3, settle=0.3)
        self.assertTrue(wait_for(lambda: self.rows()[-1:] == ["Right Up"], 5), f"steps: {self.rows()}")
        self.screenshot("option-macro-recording.png")
        self.stop_recording()

        # A click's press and release come together: the 0 ms delay between
        # them is a step without a row. Wine stamps each with the time it
        # handled it, so on a busy machine a few milliseconds can come between.
        rows = self.rows()
        self.assertEqual(rows[0:8:2], ["A", "A", "Left Shift", "Left Shift"])
        between = rows[9:-1] if len(rows) == 11 else []
        self.assertEqual([rows[8], rows[-1]], ["Right Down", "Right Up"], f"steps: {rows}")
        self.assertIn(len(rows), (10, 11), f"steps: {rows}")
        self.assertTrue(all(row.endswith(" ms") and int(row.split()[0]) < 30 for row in between), f"steps: {rows}")
        self.wait_library(lambda m: m and len(m[0][1]) == 11, "the recording was not stored")
        name, events = self.macros()[0]
        self.assertEqual(name, "Macro1")
        self.assertEqual(key_steps(events), [(KEY_A, PRESS), (KEY_A, RELEASE), (LEFT_SHIFT, PRESS),
                                             (LEFT_SHIFT, RELEASE), (RIGHT_BUTTON, PRESS), (RIGHT_BUTTON, RELEASE)],
                         "the stop click, or a repeated key, became a step")
        delays = [d for k, _, d in events if k == DELAY]
        self.assertEqual(len(delays), 5)
        for measured, sent in zip(delays[:3], (812, 312, 1012)):
            self.assertLess(abs(measured - sent), 30, f"delays {delays[:3]} against 812, 312, 1012")
        self.assertLess(delays[4], 30, f"the click's press and release came {delays[4]} ms apart")
        self.assertEqual(self.steps()["count"], len(rows))
        # Nothing went to the mouse: no button plays this macro.
        self.assertEqual(self.folder.sends(len(before)), [])

    def test_fixed_and_no_delays(self):
        for mode, delay in ((9, 50), (10, None)):
            self.click(self.point(mode))
            self.start_recording()
            self.xdotool("key", "--delay", "150", "b", "c")
            self.assertTrue(wait_for(lambda: len([r for r in self.rows() if not r.endswith(" ms")]) == 4, 5),
                            self.rows())
            self.stop_recording()
            self.wait_library(lambda m: m and len(key_steps(m[0][1])) == 4, "the recording was not stored")
            self.assertEqual(self.macros()[0][1], recorded([KEY_B, KEY_C], delay), f"mode entry {mode}")

    def test_recording_stops_itself_at_sixty_key_steps_and_gives_the_keyboard_back(self):
        self.click(self.point(10))  # no delays
        self.start_recording()
        self.xdotool("type", "--delay", "40", "abcdefghijklmnopqrstuvwxyzabcdefgh")
        self.assertTrue(wait_for(lambda: self.caption(11) == "Record", 10), "recording did not stop by itself")
        self.wait_library(lambda m: m and len(m[0][1]) == 60, "not exactly 60 steps were stored")
        self.assertEqual(self.steps()["count"], 60)
        self.start_notepad()
        self.assertTrue(self.type_into_notepad("keys are back"), f"notepad holds {self.notepad_text()!r}")


class Steps(MacroTest):
    library = [("Press", [(KEY_A, PRESS, 0), (DELAY, 0, 50), (KEY_A, RELEASE, 0)]),
               ("Two", [(KEY_A, PRESS, 0), (KEY_B, PRESS, 0), (DELAY, 0, 20), (KEY_B, RELEASE, 0),
                        (KEY_A, RELEASE, 0)])]

    def choose_macro(self, position):
        self.click(self.point(2))
        self.click(self.point(0, dy=row_middle(position)))
        self.assertTrue(wait_for(lambda: self.caption(2) == self.library[position][0], 5), "not chosen")

    def test_delete_a_press_takes_its_release_and_keeps_the_delay(self):
        self.assertEqual(self.rows(), ["A", "50 ms", "A"])
        self.click_row(0)
        self.click(self.point(15))
        self.wait_library(lambda m: m[0][1] == [(DELAY, 0, 50)], "delete did not take the pair")
        self.assertEqual(self.rows(), ["50 ms"])

    def test_moves_never_pass_a_keys_own_transition(self):
        self.choose_macro(1)
        self.assertEqual(self.rows(), ["A", "B", "20 ms", "B", "A"])
        self.click_row(3)  # B release: moving it down past A release is allowed
        self.click(self.point(17))
        self.wait_library(lambda m: key_steps(m[1][1])[-1] == (KEY_B, RELEASE), "the move was not stored")
        self.assertEqual(self.steps()["selected"], 4, "the moved step is not selected")
        self.click_row(1)
        self.click(self.point(16))  # B press up past A press: allowed
        self.wait_library(lambda m: key_steps(m[1][1])[0] == (KEY_B, PRESS), "the move up was not stored")
        self.click_row(2)
        self.click(self.point(16))  # delay up past A press: allowed
        self.wait_library(lambda m: m[1][1][1][0] == DELAY, "the delay did not move")
        rows = self.rows()
        self.assertEqual(rows, ["B", "20 ms", "A", "A", "B"])
        store = self.library_file.read_bytes()
        self.click_row(2)  # A press: down would pass its own release
        self.click(self.point(17))
        time.sleep(0.5)
        self.assertEqual(self.rows(), rows, "a press moved past its own release")
        self.assertEqual(self.library_file.read_bytes(), store)

    def test_a_delay_edited_to_99999_becomes_65535(self):
        self.click_row(1)
        self.click(self.point(14))
        self.focus()
        self.xdotool("key", "--delay", "60", "ctrl+a", "9", "9", "9", "9", "9", "Return")
        self.wait_library(lambda m: m[0][1][1] == (DELAY, 0, 65535), "the delay was not capped")
        self.assertEqual(self.rows()[1], "65535 ms")

    def test_a_key_edit_changes_both_partners(self):
        before = len(self.folder.trace())
        self.click_row(2)  # the release of A
        self.click(self.point(14))
        self.focus()
        self.xdotool("keydown", "62", "keyup", "62")  # right Shift
        time.sleep(0.5)
        self.click(self.point(14))  # the second click ends the edit
        self.wait_library(lambda m: key_steps(m[0][1]) == [(RIGHT_SHIFT, PRESS), (RIGHT_SHIFT, RELEASE)],
                          "the key edit did not reach both steps")
        self.assertEqual(self.rows(), ["Right Shift", "50 ms", "Right Shift"])
        self.assertEqual(self.folder.sends(before), [], "no button plays the macro, yet the mouse got reports")


class Buttons(MacroTest):
    library = [("Reload", [(KEY_A, PRESS, 0), (DELAY, 0, 30), (KEY_A, RELEASE, 0)])]

    def prepare(self):
        super().prepare()
        self.folder.gmconfig("button", "4", "macro", "0")

    def button_line(self):
        return next(line for line in self.folder.gmconfig("show", "0").splitlines()
                    if line.startswith("MacroKeyInfo4="))

    def test_buttons_follow_the_library_and_fall_back_when_it_is_deleted(self):
        self.assertIn('macro "Reload" (3 steps', self.button_line())
        before = self.wait_quiet()
        self.click_row(1)
        self.click(self.point(15))  # delete the delay
        self.wait_library(lambda m: len(m[0][1]) == 2, "the step was not deleted")
        self.assertTrue(wait_for(lambda: '(2 steps' in self.button_line(), 5), self.button_line())
        self.wait_quiet()
        sends = self.downloads_after(before)
        self.assertTrue(any(op.startswith("WriteUSB") for op in sends), "no macro block reached the mouse")
        self.assertEqual(sends, self.folder.reports())

        before = self.wait_quiet()
        self.click(self.point(4))  # delete the macro
        self.wait_library(lambda m: m == [], "the macro was not deleted")
        self.assertTrue(wait_for(lambda: "macro" not in self.button_line(), 5), self.button_line())
        self.wait_quiet()
        self.assertEqual(self.downloads_after(before), self.folder.reports())


class InsertPanel(MacroTest):
    library = [("Edit me", [(KEY_A, PRESS, 0), (DELAY, 0, 40), (KEY_A, RELEASE, 0)])]

    def open_panel(self, row):
        self.click_row(row)
        self.click(self.point(19))
        self.assertTrue(wait_for(lambda: any(r["cls"] == "GmSkinButton" and r["visible"] and r["text"] == "Cancel"
                                             for r in self.folder.tree()), 5), "the panel did not open")

    def choose(self, choice):
        """Opens the choice menu and picks entry `choice` (0-3) with the keys."""
        self.click(self.panel_point(2), settle=1.0)
        self.folder.keys(*(["Down"] * (choice + 1)), "Return")

    def test_a_delay_before_the_first_row_changes_nothing_but_closes(self):
        store = self.library_file.read_bytes()
        self.open_panel(0)
        self.click(self.panel_point(4))  # Insert, with the first choice: before
        self.assertTrue(wait_for(lambda: not any(r["text"] == "Cancel" and r["visible"] for r in self.folder.tree()),
                                 5), "the panel stayed open")
        self.assertEqual(self.rows(), ["A", "40 ms", "A"])
        self.assertEqual(read_library(self.library_file), read_library_bytes(store))

    def test_a_delay_of_99999_after_a_step(self):
        self.open_panel(0)
        self.choose(1)  # delay after
        self.click(self.sub_point(2, self.delay_skin))
        self.focus()
        self.xdotool("key", "--delay", "60", "End", "BackSpace", "BackSpace", "9", "9", "9", "9", "9")
        self.click(self.panel_point(4))
        self.wait_library(lambda m: len(m[0][1]) == 4, "no delay was inserted")
        self.assertEqual(self.macros()[0][1][1], (DELAY, 0, 65535))
        self.assertEqual(self.rows(), ["A", "65535 ms", "40 ms", "A"])

    def test_recording_after_a_step_without_delays_then_cancel_gives_back_the_steps(self):
        store = read_library(self.library_file)
        self.open_panel(0)
        self.choose(3)  # record after
        self.click(self.sub_point(10, self.record_skin))  # no delays
        self.click(self.sub_point(11, self.record_skin))  # record
        self.focus()
        self.xdotool("key", "--delay", "120", "b", "c")
        self.assertTrue(wait_for(lambda: len(self.rows()) == 7, 5), self.rows())
        self.assertEqual(self.rows(), ["A", "B", "B", "C", "C", "40 ms", "A"])
        self.screenshot("option-macro-insert-panel.png")
        self.click(self.sub_point(11, self.record_skin))  # stop: stored
        self.wait_library(lambda m: len(m[0][1]) == 7, "the insert recording was not stored")
        self.assertEqual([d for k, _, d in self.macros()[0][1] if k == DELAY], [40])
        self.click(self.panel_point(5))  # Cancel
        self.wait_library(lambda m: m == store, "Cancel did not give back the steps")
        self.assertEqual(self.rows(), ["A", "40 ms", "A"])


class Library(MacroTest):
    library = [("Alpha", [(KEY_A, PRESS, 0), (KEY_A, RELEASE, 0)]), ("Beta", [])]

    def names(self):
        return [name for name, _ in self.macros()]

    def more(self, item):
        self.click(self.point(5), settle=1.0)
        self.folder.keys(*(["Down"] * item), "Return")

    def file_dialog(self, title, path):
        self.assertTrue(wait_for(lambda: subprocess.run(["xdotool", "search", "--name", title], env=self.env,
                                                        capture_output=True).returncode == 0, 10), f"no {title} dialog")
        time.sleep(0.5)
        self.folder.keys("ctrl+a", title=title)
        self.folder.type_text(harness.windows_path(path))
        self.folder.keys("Return", title=title)

    def test_new_copies_and_a_refused_rename(self):
        self.click(self.point(3))
        self.wait_library(lambda m: [n for n, _ in m] == ["Alpha", "Beta", "Macro3"], "New")
        self.click(self.point(2))
        self.click(self.point(0, dy=10))
        self.assertTrue(wait_for(lambda: self.caption(2) == "Alpha", 5))
        self.more(1)
        self.wait_library(lambda m: [n for n, _ in m][-1] == "Alpha_Copy", "first copy")
        self.click(self.point(2))
        self.click(self.point(0, dy=10))
        self.more(1)
        self.wait_library(lambda m: [n for n, _ in m][-1] == "Alpha_Copy_1", "second copy")
        self.assertEqual(self.macros()[-1][1], self.library[0][1], "the copy lost its steps")
        store = self.library_file.read_bytes()
        self.click(self.point(7))  # rename the selected copy to another macro's name in other case
        self.focus()
        self.xdotool("key", "ctrl+a")
        self.xdotool("type", "--delay", "60", "bETA")
        self.xdotool("key", "Return")
        time.sleep(0.8)
        self.assertEqual(self.caption(2), "Alpha_Copy_1")
        self.assertEqual(self.library_file.read_bytes(), store)
        self.screenshot("option-macro-page.png")

    def test_a_close_request_ends_option_over_a_rename_and_drops_it(self):
        store = self.library_file.read_bytes()
        self.click(self.point(7))
        self.focus()
        self.xdotool("key", "ctrl+a")
        self.xdotool("type", "--delay", "60", "Gamma")
        self.xdotool("key", "alt+F4")
        self.assertTrue(wait_for(lambda: self.option.poll() is not None, 15), "Option stayed open")
        self.assertEqual(self.library_file.read_bytes(), store, "half a name was saved")

    def test_export_and_import_through_the_dialogs(self):
        exported = self.folder.path / "alpha.macro"
        self.more(3)
        self.file_dialog("Save", exported)
        self.assertTrue(wait_for(exported.exists, 10), "the macro was not exported")
        self.more(2)
        self.file_dialog("Open", exported)
        self.assertTrue(wait_for(lambda: self.caption(2) == "Alpha_1", 10), "the import was not selected")
        self.assertEqual(self.rows(), ["A", "A"])
        # Kept at once, without waiting for a store: closing Option now must not lose it.
        self.wait_library(lambda m: [n for n, _ in m] == ["Alpha", "Beta", "Alpha_1"], "the import was not kept")

    def test_hostile_macro_files_never_crash_or_lose_the_library(self):
        files = {
            "junk.macro": lambda p: p.write_bytes(os.urandom(4096)),
            "count.macro": lambda p: p.write_text("[Macros]\r\n0=" + macro_value("Evil" * 30, [(9, 9, 9)] * 160,
                                                                                 count=100000) + "\r\n"),
        }
        for name, make in files.items():
            path = self.folder.path / name
            make(path)
            self.more(2)
            self.file_dialog("Open", path)
            time.sleep(1.5)
            self.assertIsNone(self.option.poll(), f"Option ended on {name}")
        # Whatever was imported is a macro that fits; nothing stored was lost.
        self.assertEqual(self.names()[:2], ["Alpha", "Beta"])
        self.assertLessEqual(self.steps()["count"], 160)


class DamagedLibrary(MacroTest):
    def prepare(self):
        write_library(self.library_file, [("Fine", [(KEY_A, PRESS, 0), (KEY_A, RELEASE, 0)])])
        text = self.library_file.read_text()
        self.library_file.write_text(text.replace("number=1", "number=3") + "1=00FF\r\n2=" + "Z" * 5000 + "\r\n")

    def test_a_damaged_library_opens_and_keeps_the_good_macro(self):
        self.assertIsNone(self.option.poll())
        self.assertEqual(self.rows(), ["A", "A"])
        self.click(self.point(3))  # a store rewrites the library
        self.wait_library(lambda m: len(m) == 4 and m[0] == ("Fine", [(KEY_A, PRESS, 0), (KEY_A, RELEASE, 0)]),
                          "the good macro was lost")


class Safety(MacroTest):
    def test_killing_option_while_it_records_gives_the_keyboard_back(self):
        self.start_recording()
        self.xdotool("key", "a")
        self.assertTrue(wait_for(lambda: self.steps()["count"] >= 1, 5))
        self.option.kill()
        self.option.wait(10)
        self.start_notepad()
        self.assertTrue(self.type_into_notepad("still typing"), f"notepad holds {self.notepad_text()!r}")


if __name__ == "__main__":
    option.main()
