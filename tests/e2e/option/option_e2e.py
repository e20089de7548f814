"""End-to-end tests of Option.exe: the real program with the real Monitor and
the virtual mouse, under Wine and Xvfb, driven with xdotool like a user.
Click points come from the staged skin files, never from constants; what
the windows show is read with the probe helper, what reached the mouse from
the virtual mouse's trace, and the store through gmconfig.

    /usr/bin/python3 option_e2e.py --build-dir build/win [unittest arguments]
"""
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import harness, option, suite  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.option import OptionFolder, OptionTest, skin_entries  # noqa: E402


class StartUp(OptionTest):
    def test_shows_the_current_profile(self):
        self.assertEqual(self.folder.captions(5), ["Game"])
        self.assertEqual(self.folder.captions(10), ["Game"])
        rows = self.folder.list_rows()
        self.assertEqual(rows["rows"], ["Gamer", "Work", "Game"])
        self.assertEqual(rows["selected"], 2)
        window = self.folder.option_window()
        self.assertTrue(window["visible"])
        self.assertEqual(window["rect"][2] - window["rect"][0], 680)

    def test_a_second_option_ends_and_leaves_the_first(self):
        first = self.folder.option_window()
        second = subprocess.Popen([harness.WINE, str(self.folder.path / "Option.exe")], cwd=self.folder.path,
                                  env=self.folder.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.folder.children.append(second)
        self.assertEqual(second.wait(30), 0)
        self.assertEqual(len([r for r in self.folder.tree() if r["depth"] == 0]), 1)
        self.assertEqual(self.folder.option_window()["rect"], first["rect"])
        self.assertIsNone(self.option.poll(), "the first Option ended")

    def test_dragging_a_page_on_a_page_moves_the_whole_window(self):
        def layout():
            rows = self.folder.tree()
            return rows[0]["rect"], [(r["rect"][0] - rows[0]["rect"][0], r["rect"][1] - rows[0]["rect"][1])
                                     for r in rows if r["depth"] in (1, 2) and r["visible"]]
        window, offsets = layout()
        # The shown sub-page's background, near the lower left corner of its area.
        x, y = self.folder.config_point(16, dx=12, dy=self.folder.config_skin[16][3] - 12)
        # Wine's move loop starts from a posted message: it must see each step.
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "mousedown", "1", "sleep", "0.2", "mousemove",
                        str(x + 20), str(y + 10), "sleep", "0.2", "mousemove", str(x + 40), str(y + 30), "sleep",
                        "0.2", "mouseup", "1"], env=self.folder.env(), check=True)
        self.assertTrue(wait_for(lambda: layout()[0][:2] == (window[0] + 40, window[1] + 30), 5),
                        f"the window did not follow: {window} -> {layout()[0]}")
        self.assertEqual(layout()[1], offsets, "a page moved inside the window")


class NoMouse(OptionTest):
    """The Start menu's entry before the mouse is plugged in: Option opens and says so."""

    def setUp(self):
        self.folder = OptionFolder(suite.session(), self.id().split(".")[-1])
        for name in self.profiles:
            self.folder.gmconfig("new", name)
        self.folder.attached = False
        self.monitor_process = self.folder.start_monitor("1")
        self.assertTrue(wait_for(lambda: (self.folder.list_rows() or {}).get("count") == 3, 30),
                        "the Monitor did not open Option without the mouse")

    def badge(self):
        row = next((r for r in self.folder.tree() if r["depth"] == 1 and r["id"] == 8), None)
        return (row["visible"], row["text"]) if row else None

    def test_option_says_the_mouse_is_missing_saves_changes_and_the_arrival_sends_them(self):
        self.assertTrue(wait_for(lambda: self.badge() == (True, "Mouse not connected"), 10),
                        f"no badge: {self.badge()}")
        self.folder.click(self.folder.config_point(6))  # a new profile, made current
        self.assertTrue(wait_for(lambda: len(self.folder.profile_names()) == 4, 10), "the change was not saved")
        self.assertEqual(self.folder.sends(), [], "something was sent to a mouse that is not there")
        self.folder.mousesim("plug")
        self.assertTrue(self.folder.wait_downloads(1, 20), "the arrival brought no download")
        self.assertTrue(wait_for(lambda: self.badge() == (False, "Mouse not connected"), 10),
                        "the badge stayed after the mouse arrived")
        self.wait_quiet()
        self.assertEqual(self.folder.store_query("slot-check").returncode, 0,
                         "the mouse does not hold the store's current profile")
        self.assertEqual(self.folder.current_index(), 3)


class FirstStart(OptionTest):
    """A new install: the Monitor and Option start over an empty config folder."""
    profiles = ("Profile1",)  # the one Option makes; the list is filled once it shows

    def prepare(self):
        (self.folder.path / "config" / "Config.data").unlink()

    def test_the_mouse_holds_the_first_profile_option_makes(self):
        self.assertEqual(self.folder.profile_names(), ["Profile1"])
        self.assertTrue(self.folder.wait_downloads(2), "the first profile never reached the mouse")
        self.wait_quiet()
        held = self.folder.sim_state()
        # What the store's current profile downloads: a Monitor started afresh over it sends it whole.
        self.folder.cleanup()
        self.folder.start_monitor()
        self.assertTrue(self.folder.wait_downloads(3), "the Monitor's start-up download did not arrive")
        self.wait_quiet()
        fresh = self.folder.sim_state()
        for section in ("Slot", "Buttons"):
            self.assertEqual(dict(held[section]), dict(fresh[section]), section)


class WithoutMonitor(OptionTest):
    monitor = False

    def test_opens_and_clears_the_part_flags(self):
        self.assertEqual(self.folder.captions(5), ["Game"])
        # A rename saves the store as Option holds it: the flags it read were cleared.
        self.folder.click(self.folder.config_point(10))
        self.folder.keys("ctrl+a")
        self.folder.type_text("Solo")
        self.folder.keys("Return")
        self.assertTrue(wait_for(lambda: "Solo" in self.folder.profile_names(), 10))
        self.assertEqual(self.folder.flags(), [0, 0, 0, 0])
        self.assertIsNone(self.option.poll(), "Enter in the rename box closed Option")


class Profiles(OptionTest):
    def test_new_profile_is_numbered_current_and_downloaded_in_full(self):
        before = self.trace_length()
        self.folder.click(self.folder.config_point(6))
        self.assert_new_profile_made(before)

    def test_choosing_in_the_drop_down_downloads_that_profile(self):
        self.folder.click(self.folder.config_point(5))
        self.assertTrue(wait_for(lambda: any(r["cls"] == "GmSkinScrollBarFrame" and r["visible"]
                                             for r in self.folder.tree()), 5), "the drop-down did not open")
        before = self.trace_length()
        # The first row of the list, from the list's own entry.
        self.folder.click(self.folder.config_point(13, dy=10))
        self.assertTrue(wait_for(lambda: self.folder.current_index() == 0, 10))
        self.wait_full_download(before)
        self.assertEqual(self.folder.captions(5), ["Gamer"])
        self.assertFalse(any(r["cls"] == "GmSkinScrollBarFrame" and r["visible"] for r in self.folder.tree()),
                         "the drop-down stayed open")

    def test_delete_selects_the_following_profile(self):
        self.folder.click(self.folder.config_point(5))
        self.folder.click(self.folder.config_point(13, dy=10))
        self.assertTrue(wait_for(lambda: self.folder.current_index() == 0, 10))
        self.folder.click(self.folder.config_point(7), settle=1.5)
        self.folder.keys("Return", title="Delete profile")  # OK in the question
        self.assertTrue(wait_for(lambda: self.folder.profile_names() == ["Work", "Game"], 10))
        self.assertEqual(self.folder.current_index(), 0)
        self.assertEqual(self.folder.captions(5), ["Work"])

    def test_rename_refusals_keep_the_name_and_a_rename_downloads_nothing(self):
        for refused in ("  game  ", "work"):
            self.folder.click(self.folder.config_point(10))
            self.folder.keys("ctrl+a")
            self.folder.type_text(refused)
            self.folder.keys("Return")
            self.assertEqual(self.folder.profile_names(), ["Gamer", "Work", "Game"])
            self.assertEqual(self.folder.captions(10), ["Game"])
        before = self.trace_length()
        self.folder.click(self.folder.config_point(10))
        self.folder.keys("ctrl+a")
        self.folder.type_text("Office" + "x" * 20)  # the box takes 20 characters at most
        self.folder.keys("Return")
        expected = ("Office" + "x" * 20)[:20]
        self.assertTrue(wait_for(lambda: expected in self.folder.profile_names(), 10))
        self.assertEqual(self.folder.captions(5), [expected])
        time.sleep(1)
        self.assertEqual(self.downloads_after(before), [], "a rename reached the mouse")

    def test_copies_are_named_after_their_source(self):
        self.menu_command(1)
        self.assertTrue(wait_for(lambda: "Game_Copy" in self.folder.profile_names(), 10))
        self.choose(2)
        self.menu_command(1)
        self.assertTrue(wait_for(lambda: "Game_Copy_1" in self.folder.profile_names(), 10))
        self.choose(3)
        self.menu_command(1)
        self.assertTrue(wait_for(lambda: "Game_Copy_Copy" in self.folder.profile_names(), 10))
        self.assertEqual(self.folder.profile_names(),
                         ["Gamer", "Work", "Game", "Game_Copy", "Game_Copy_1", "Game_Copy_Copy"])
        self.assertEqual(self.folder.current_index(), 5)
        # Delete takes the copy shown, not the row last chosen in the list.
        self.folder.click(self.folder.config_point(7), settle=1.5)
        self.folder.keys("Return", title="Delete profile")
        self.assertTrue(wait_for(lambda: len(self.folder.profile_names()) == 5, 10))
        self.assertEqual(self.folder.profile_names(), ["Gamer", "Work", "Game", "Game_Copy", "Game_Copy_1"])

    def test_deleting_the_last_profile_selects_the_new_last(self):
        self.folder.click(self.folder.config_point(7), settle=1.5)
        self.folder.keys("Return", title="Delete profile")
        self.assertTrue(wait_for(lambda: self.folder.profile_names() == ["Gamer", "Work"], 10))
        self.assertEqual(self.folder.current_index(), 1)

    def test_reset_keeps_the_name_and_downloads_in_full(self):
        self.folder.gmconfig("set", "CpiStep=0")
        before = self.trace_length()
        self.folder.click(self.folder.config_point(14))
        self.wait_full_download(before)
        self.assertEqual(self.folder.current_profile()["ProFileName"], "Game")
        self.assertEqual(self.folder.current_profile()["CpiStep"], "2")

    def test_no_lost_update_after_a_change_on_the_mouse(self):
        # The DPI button changes the profile being renamed: the box stays, unsaved, with what was typed.
        self.folder.click(self.folder.config_point(10))
        self.folder.keys("ctrl+a")
        self.folder.type_text("Are")
        self.folder.mousesim("dpi-button", "2")
        self.assertTrue(wait_for(lambda: self.folder.current_profile()["CpiStep"] == "1", 10))
        time.sleep(1.0)  # Option has had WM_PROFILE_CHANGED
        self.assertEqual(self.folder.rename_box(), (True, "Are"))
        self.assertEqual(self.folder.profile_names(), ["Gamer", "Work", "Game"], "half a name was saved")
        self.folder.type_text("na")
        self.folder.keys("Return")
        self.assertTrue(wait_for(lambda: "Arena" in self.folder.profile_names(), 10))
        self.assertEqual(self.folder.current_profile()["CpiStep"], "1", "Option saved its stale copy")


class OneProfile(OptionTest):
    profiles = ("Solo",)

    def test_delete_with_one_profile_does_nothing_and_asks_nothing(self):
        store = self.folder.store_text()
        self.folder.click(self.folder.config_point(7), settle=1.5)
        asked = subprocess.run(["xdotool", "search", "--name", "Delete profile"], env=self.folder.env(),
                               capture_output=True).returncode == 0
        self.assertFalse(asked, "a question was asked")
        self.assertEqual(self.folder.store_text(), store)


class WithoutTexts(OptionTest):
    uistr = False

    def test_opens_with_empty_texts(self):
        tabs = [r["text"] for r in self.folder.tree() if r["depth"] == 1 and r["cls"] == "GmSkinButton"]
        self.assertEqual(tabs, ["", "", "", ""])
        self.assertEqual(self.folder.captions(5), ["Game"], "profile names do not come from the texts")
        # The delete question, untitled now, still has its answers: Enter deletes.
        self.folder.click(self.folder.config_point(7), settle=1.5)
        shown = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^$"], env=self.folder.env(),
                               capture_output=True, text=True).stdout.split()
        from PIL import Image
        with Image.open(self.folder.skins / "question_Normal.bmp") as picture:
            width, height = picture.size
        question = [w for w in shown if self.folder.window_area(w) == width * height]
        self.assertTrue(question, "no delete question")
        subprocess.run(["xdotool", "windowfocus", "--sync", question[0]], env=self.folder.env())
        subprocess.run(["xdotool", "key", "Return"], env=self.folder.env(), check=True)
        self.assertTrue(wait_for(lambda: self.folder.profile_names() == ["Gamer", "Work"], 10))


class DamagedStore(OptionTest):
    profiles = ()
    monitor = False

    def prepare(self):
        (self.folder.path / "config" / "Config.data").write_bytes(b"[Config]\r\nnumber=7\r\nProfileID=99\r\n"
                                                                  + os.urandom(2048))

    def setUp(self):
        # No profiles through gmconfig: the store is the damaged file alone.
        self.folder = OptionFolder(suite.session(), self.id().split(".")[-1])
        self.prepare()
        self.monitor_process = None
        self.option = self.folder.start_option()

    def test_opens_with_what_could_be_read(self):
        self.assertTrue(wait_for(lambda: (self.folder.list_rows() or {}).get("count", 0) >= 1, 20))
        self.assertIsNone(self.option.poll())
        self.assertTrue(self.folder.option_window()["visible"])


class LongList(OptionTest):
    profiles = tuple(f"Player {n}" for n in range(1, 41))

    def bar(self):
        return next((r for r in self.folder.tree() if r["cls"] == "GmSkinScrollBar" and r["id"] == 101), None)

    def top(self):
        return self.folder.list_rows()["top"]

    def thumb_span(self, bar):
        """Rows of the screen where the thumb is drawn: the lit pixels between the two arrows."""
        from PIL import ImageGrab
        left, top, right, bottom = bar["rect"]
        image = ImageGrab.grab(xdisplay=suite.session().display).convert("RGB")
        x = (left + right) // 2
        width = right - left
        lit = [y for y in range(top + width, bottom - width) if sum(image.getpixel((x, y))) > 250]
        return (min(lit), max(lit)) if lit else None

    def test_the_skinned_bar_scrolls_the_list_and_the_clicked_row_is_chosen(self):
        self.folder.click(self.folder.config_point(5))
        bar = self.bar()
        self.assertIsNotNone(bar)
        self.assertTrue(bar["visible"], "the list shows no skinned bar")
        self.assertEqual(bar["rect"][2] - bar["rect"][0], 13, "the bar is not as thick as a bitmap cell")
        start = self.top()
        self.assertGreater(start, 20, "the current (last) profile is not in view")
        x, y = self.folder.config_point(13)
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "4", "click", "4", "click", "4"],
                       env=self.folder.env(), check=True)
        self.assertTrue(wait_for(lambda: self.top() == start - 3, 5), "the wheel did not scroll line by line")
        left, top, right, bottom = bar["rect"]
        middle = (left + right) // 2
        self.folder.click((middle, top + 6))  # the up arrow
        self.assertTrue(wait_for(lambda: self.top() == start - 4, 5), "the arrow did not scroll one line")
        self.folder.click((middle, top + 13 + 3))  # the track above the thumb
        self.assertTrue(wait_for(lambda: self.top() < start - 5, 5), "the track did not scroll a page")
        thumb = self.thumb_span(bar)
        self.assertIsNotNone(thumb, "no thumb drawn")
        grab = (thumb[0] + thumb[1]) // 2
        subprocess.run(["xdotool", "mousemove", str(middle), str(grab), "mousedown", "1", "mousemove", str(middle),
                        str(grab - 20), "mousemove", str(middle), str(top - 40), "mouseup", "1"],
                       env=self.folder.env(), check=True)
        self.assertTrue(wait_for(lambda: self.top() == 0, 5), "the thumb drag did not reach the top")
        ImageGrab_path = suite.session().build_dir / "option-long-list.png"
        from PIL import ImageGrab
        ImageGrab.grab(xdisplay=suite.session().display).crop((0, 0, 700, 600)).save(ImageGrab_path)
        before = self.trace_length()
        self.folder.click(self.folder.config_point(13, dy=30))  # the second row in view
        self.assertTrue(wait_for(lambda: self.folder.current_index() == 1, 10))
        self.wait_full_download(before)
        self.assertEqual(self.folder.captions(5), ["Player 2"])


class Exchange(OptionTest):
    def prepare(self):
        self.folder.gmconfig("button", "3", "launch", "C:\\Games\\arena.exe")

    def file_dialog(self, title, path):
        self.assertTrue(wait_for(lambda: subprocess.run(["xdotool", "search", "--name", title],
                                                        env=self.folder.env(), capture_output=True).returncode == 0,
                                 10), f"no {title} dialog")
        time.sleep(0.5)
        self.folder.keys("ctrl+a", title=title)
        self.folder.type_text(harness.windows_path(path))
        self.folder.keys("Return", title=title)

    def test_export_then_import_twice_and_the_launch_question(self):
        exported = self.folder.path / "shared.gmp"
        self.menu_command(3)
        # The DPI button while the Save dialog is open: Option reads the store again under it.
        self.assertTrue(wait_for(lambda: subprocess.run(["xdotool", "search", "--name", "Save"], env=self.folder.env(),
                                                        capture_output=True).returncode == 0, 10), "no Save dialog")
        self.folder.mousesim("dpi-button", "2")
        self.assertTrue(wait_for(lambda: self.folder.current_profile()["CpiStep"] == "1", 10))
        time.sleep(1.0)  # Option has had WM_PROFILE_CHANGED
        self.file_dialog("Save", exported)
        self.assertTrue(wait_for(exported.exists, 10), "the profile was not exported")
        self.assertIsNone(self.option.poll(), "Option ended")
        text = exported.read_bytes().decode("utf-16" if exported.read_bytes()[:2] == b"\xff\xfe" else "latin-1")
        self.assertIn("[Setting]", text)
        self.assertNotIn("MaxDPI", text)
        exported_fields = dict(line.split("=", 1) for line in text.splitlines() if "=" in line)
        self.assertEqual((exported_fields["ProFileName"], exported_fields["CpiStep"]), ("Game", "1"),
                         "the export is not the profile as it is now")

        # The skinned question lists what the profile would run; its answers
        # are the skin's entries 5 (as it is), 6 (reset those buttons), 7 (none).
        answers = {5: "Game_1", 6: "Game_2"}
        for entry, name in answers.items():
            before = self.trace_length()
            self.import_file(exported)
            details = [row["text"] for row in self.question() if row["cls"] == "GmQuestionDetails"]
            self.assertTrue(details and "arena.exe" in details[0], f"the question does not name the program: {details}")
            if entry == 5:
                from PIL import ImageGrab
                ImageGrab.grab(xdisplay=suite.session().display).crop((0, 0, 700, 600)).save(
                    suite.session().build_dir / "option-import-question.png")
            self.folder.click(self.question_point(entry))
            self.assertTrue(wait_for(lambda: name in self.folder.profile_names(), 10))
            self.assertEqual(self.folder.profile_names()[self.folder.current_index()], name)
            self.wait_full_download(before)
        shown = {n: self.folder.gmconfig("show", str(self.folder.profile_names().index(n))) for n in answers.values()}
        self.assertIn("arena.exe", shown["Game_1"], "imported with its program, the button lost it")
        self.assertNotIn("arena.exe", shown["Game_2"], "the button was not set back to its default")

        # The third answer, Esc and the close button add nothing.
        for way in ("answer", "escape", "close"):
            self.import_file(exported)
            if way == "escape":
                self.folder.keys("Escape", title="^Import$")
            else:
                self.folder.click(self.question_point(7 if way == "answer" else 4))
            self.assertTrue(wait_for(lambda: not self.question(), 10), f"the question stayed open ({way})")
            time.sleep(0.5)
            self.assertEqual(len(self.folder.profile_names()), 5, f"a profile was added ({way})")

    def import_file(self, path):
        self.menu_command(2)
        self.file_dialog("Open", path)
        # The profile starts a program: one question before it is added.
        self.assertTrue(wait_for(lambda: self.question(), 10), "no question about the program the profile starts")
        time.sleep(0.3)

    def question(self):
        return self.folder.tree("Import")

    def question_point(self, entry):
        left, top = self.question()[0]["rect"][:2]
        x, y, w, h = self.folder.question_skin[entry]
        return left + x + w // 2, top + y + h // 2

    def test_files_that_hold_no_profile_change_nothing(self):
        files = {
            "junk.gmp": lambda f: f.write_bytes(os.urandom(4096)),
            "prose.gmp": lambda f: f.write_text("Not a profile.\nJust words = and [brackets\n" * 50),
            # Sparse: 300 MB on the file system, refused by its size before a read.
            "huge.gmp": lambda f: os.truncate(f.write_bytes(b"") or f, 300 * 1024 * 1024),
        }
        store = self.folder.store_text()
        for name, make in files.items():
            path = self.folder.path / name
            make(path)
            self.menu_command(2)
            self.file_dialog("Open", path)
            time.sleep(1.5)
            self.assertIsNone(self.option.poll(), f"Option ended on {name}")
            self.assertEqual(self.folder.tree("Import"), [], f"a question was asked for {name}")
            self.assertEqual(self.folder.store_text(), store, f"{name} changed the store")
            path.unlink()

    def test_a_ten_thousand_character_name_is_cut_to_fit(self):
        shared = self.folder.path / "long.gmp"
        self.folder.gmconfig("export", "0", harness.windows_path(shared))
        text = shared.read_bytes().decode("latin-1")
        long_name = "N" * 10000
        text = text.replace("ProFileName=Gamer", "ProFileName=" + long_name, 1)
        shared.write_bytes(text.encode("latin-1"))
        self.menu_command(2)
        self.file_dialog("Open", shared)
        time.sleep(1)
        self.assertEqual(self.folder.tree("Import"), [], "a profile without programs needs no question")
        self.assertTrue(wait_for(lambda: len(self.folder.profile_names()) == 4, 10), "the profile was not added")
        added = self.folder.profile_names()[self.folder.current_index()]
        self.assertTrue(0 < len(added) <= 49 and long_name.startswith(added), added)


class GameSwitch(OptionTest):
    """The Monitor switches to a game's profile while Option is open."""
    profiles = ("Desktop", "Shooter")

    def prepare(self):
        for name in ("shooter.exe", "editor.exe"):
            shutil.copy(suite.session().helpers / "gm_game.exe", self.folder.path / name)
        self.folder.gmconfig("select", "1")
        self.folder.gmconfig("set", "GameFile=C:\\Games\\shooter.exe")
        self.folder.gmconfig("select", "0")

    def test_option_follows_a_game_and_its_changes_go_to_the_game_profile(self):
        self.assertEqual(self.folder.captions(5), ["Desktop"])
        before = self.trace_length()
        self.folder.start("shooter.exe")
        self.assertTrue(wait_for(lambda: self.folder.current_index() == 1, 15), "the game's profile was not chosen")
        self.wait_full_download(before)
        self.assertTrue(wait_for(lambda: self.folder.captions(5) == ["Shooter"], 10),
                        f"Option shows {self.folder.captions(5)}")
        self.assertEqual((self.folder.list_rows() or {}).get("selected"), 1)
        from PIL import ImageGrab
        ImageGrab.grab(xdisplay=suite.session().display).crop((0, 0, 700, 600)).save(
            suite.session().build_dir / "option-game-switch.png")
        # A change made in Option now belongs to the game's profile.
        self.folder.click(self.folder.config_point(10))
        self.folder.keys("ctrl+a")
        self.folder.type_text("Arena")
        self.folder.keys("Return")
        self.assertTrue(wait_for(lambda: self.folder.profile_names() == ["Desktop", "Arena"], 10),
                        self.folder.profile_names())


class Closing(OptionTest):
    def test_the_close_button_ends_both_programs(self):
        self.folder.click(self.folder.main_point(3), settle=0.2)
        self.assertTrue(wait_for(lambda: self.option.poll() is not None, 15), "Option did not end")
        self.assertTrue(self.monitor_process.wait_exit(15), "the Monitor did not end")

    def test_keys_switch_the_tabs_enter_keeps_option_and_escape_ends_only_option(self):
        def shown():
            pages = [r["visible"] for r in self.folder.tree() if r["depth"] == 1 and r["cls"] == "GmSkinDialog"]
            return "macros" if pages == [False, True] else "settings" if pages == [True, False] else pages

        # Option opens with the focus on the first tab; Tab goes on to the next, Space presses it.
        self.folder.keys("Tab", "space")
        self.assertTrue(wait_for(lambda: shown() == "macros", 10), shown())
        self.folder.keys("ctrl+Tab")
        self.assertTrue(wait_for(lambda: shown() == "settings", 10), shown())
        self.folder.keys("ctrl+shift+Tab")
        self.assertTrue(wait_for(lambda: shown() == "macros", 10), shown())
        # Enter, hit by accident, never throws the window away: on a tab it presses the tab.
        self.folder.keys("Return")
        time.sleep(1)
        self.assertIsNone(self.option.poll(), "Enter on the main window closed Option")
        self.folder.keys("Escape")
        self.assertTrue(wait_for(lambda: self.option.poll() is not None, 15), "Option did not end")
        self.assertTrue(self.monitor_process.alive())

    def test_one_close_request_ends_option_whatever_is_open(self):
        def start_rename():
            self.folder.click(self.folder.config_point(10))
            self.folder.keys("ctrl+a")
            self.folder.type_text("Half")

        # Esc keeps its meaning: it drops the rename and leaves Option open.
        start_rename()
        self.folder.keys("Escape")
        self.assertIsNone(self.option.poll(), "Esc in the rename box closed Option")
        self.assertEqual(self.folder.rename_box()[0], False)
        def open_levels_dialog():
            # Edit levels, on the performance page: a dialog with a message loop of its own.
            self.folder.click(self.folder.config_point(2))
            left, top = self.folder.option_origin()
            x, y, w, h = skin_entries(self.folder.path / "skins" / "Skin_Function.ini")[7]
            ax, ay = self.folder.main_skin[7][0] + self.folder.config_skin[16][0], \
                self.folder.main_skin[7][1] + self.folder.config_skin[16][1]
            self.folder.click((left + ax + x + w // 2, top + ay + y + h // 2), settle=1.5)
            self.assertTrue(wait_for(lambda: self.folder.tree("DPI of the active level"), 10), "no levels dialog")

        openers = {"rename": start_rename, "drop-down": lambda: self.folder.click(self.folder.config_point(5)),
                   # The profile's more-menu, a menu with a loop of its own.
                   "menu": lambda: self.folder.click(self.folder.config_point(8), settle=1.0),
                   "dialog": open_levels_dialog}
        # The system close (Alt+F4) and the Monitor's close on unplug.
        for opened, way in (("rename", "alt+F4"), ("drop-down", "alt+F4"), ("drop-down", "unplug"),
                            ("menu", "unplug"), ("dialog", "unplug")):
            with self.subTest(opened=opened, way=way):
                openers[opened]()
                if way == "unplug":
                    self.folder.mousesim("unplug")
                else:
                    self.folder.keys(way)
                self.assertTrue(wait_for(lambda: self.option.poll() is not None, 15), "Option stayed open")
                self.assertEqual(self.folder.profile_names(), ["Gamer", "Work", "Game"], "half a name was saved")
                self.assertTrue(self.monitor_process.alive())
                if way == "unplug":
                    self.folder.mousesim("plug")
                self.option = self.folder.start_option()
                self.assertTrue(wait_for(lambda: (self.folder.list_rows() or {}).get("count") == 3, 20))

    def test_unplugging_the_mouse_closes_option(self):
        self.folder.mousesim("unplug")
        self.assertTrue(wait_for(lambda: self.option.poll() is not None, 15), "Option stayed open")
        self.assertTrue(self.monitor_process.alive())


if __name__ == "__main__":
    option.main()
