"""Soak: Option, the Monitor and the virtual mouse driven by seeded random real
input under Wine and Xvfb. After each action the programs settle and the run
checks that the store reads as a whole, that the mouse holds what the store's
current profile downloads, that Option shows the current profile, that nothing
crashed and, now and then, that typed keys still reach another window.

    /usr/bin/python3 soak_e2e.py --build-dir build/win [--seed S ...] [--actions N]

Every run prints its seeds; a failure prints the seed, the actions up to it and
the command that plays them again, and leaves a screenshot beside the build.
The last line is "soak: A actions, C checks, F failures".
"""
import os
import random
import re
import shutil
import subprocess
import sys
import time
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import harness, option, suite  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.option import LIST_ID, OPTION_TITLE, OptionFolder, skin_entries  # noqa: E402

NOTEPAD_TITLE = "Untitled - Notepad"
DPI_TITLE = "DPI of the active level"
GAMES = ("shooter.exe", "racer.exe")
OTHER_PROGRAM = "editor.exe"  # a window in front that is no game
# The Monitor looks at the window in front this often (seconds, with room): a
# switch to a game's profile can come that long after the game came to the front.
FOREGROUND_PERIOD = 2.2
NAME_LETTERS = "abcdefghijklmnopqrstuvwxyz ABCXYZ0123456789_-"

# The sub-pages of the settings tab (configuration skin entry of their tab) and the
# tabs of the main window (main skin entry), as the generated skins number them.
SUB_PAGES = {2: "Skin_Function.ini", 3: "Skin_light.ini", 4: "skin_button_page.ini"}
MAIN_TABS = {4: None, 5: "skin_Macros.ini"}
# Skinned dialogs whose entries the soak clicks; any other dialog gets keys only.
DIALOG_SKINS = {DPI_TITLE: "Skin_configDPI.ini", "Import": "skin_question.ini"}
ASSIGNMENT_SKIN = "skin_Setup.ini"  # the dialog of a button, titled G1, G2...
PASSING_CLASSES = ("tooltips_class32", "GmSharedTooltip", "#32768")
# Where Option is dragged: clear of the games' windows (200,200 to 520,400) and of Notepad.
OPTION_PLACE = (560, 410)
# Known windows that are not dialogs to be answered.
OWN_WINDOWS = (OPTION_TITLE, NOTEPAD_TITLE, "Wine System Tray") + GAMES + (OTHER_PROGRAM,)


class CheckFailed(AssertionError):
    pass


def plan(seed, count):
    """The actions of a seed: (name, numbers) pairs. The numbers are read against
    what the programs show when the action runs, so a seed always plays the same list."""
    rng = random.Random(seed)
    weights = {
        "choose": 8, "new": 4, "delete": 3, "rename": 5, "copy": 3, "reset": 2,
        "sub-page": 6, "main-tab": 3, "page-click": 14, "keys": 4,
        "dpi-button": 5, "rate-button": 4, "game": 4, "other-front": 3, "replug": 2,
    }
    names = list(weights)
    actions = []
    for _ in range(count):
        name = rng.choices(names, [weights[n] for n in names])[0]
        numbers = [rng.randrange(1 << 16) for _ in range(4)]
        text = "".join(rng.choice(NAME_LETTERS) for _ in range(1 + rng.randrange(24)))
        actions.append((name, numbers, text))
    return actions


def describe(action):
    name, numbers, text = action
    return f"{name} {numbers}" + (f" {text!r}" if name == "rename" else "")


class Soak:
    def __init__(self, session, seed, verbose=False, native_gmconfig=None):
        self.session = session
        self.verbose = verbose
        self.seed = seed
        self.checks = 0
        self.attached = True
        self.page_skin = SUB_PAGES[4]  # Option opens on the buttons
        self.folder = OptionFolder(session, f"soak-{seed}")
        # Each check asks many questions: one probe and a gmconfig without Wine keep
        # an action at a few seconds, which is what lets a long run reach thousands.
        self.folder.serve_probe()
        self.folder.native_gmconfig = native_gmconfig
        skins = self.folder.path / "skins"
        self.skins = {name: skin_entries(skins / name) for name in
                      set(SUB_PAGES.values()) | {n for n in MAIN_TABS.values() if n} | set(DIALOG_SKINS.values()) |
                      {ASSIGNMENT_SKIN}}
        for name in GAMES + (OTHER_PROGRAM,):
            shutil.copy(session.build_dir / "tests" / "e2e" / "monitor" / "gm_game.exe", self.folder.path / name)
        # One seed in four starts as a new install does, with no store at all.
        self.first_start = seed % 4 == 0
        profiles = () if self.first_start else ("Desktop", "Shooter", "Racer")
        for name in profiles:
            self.folder.gmconfig("new", name)
            if name != "Desktop":
                self.folder.gmconfig("set", f"GameFile=C:\\Games\\{name.lower()}.exe")
        if profiles:
            self.folder.gmconfig("select", "0")
        self.monitor = self.folder.start_monitor()
        if not self.folder.wait_downloads(1, 30):
            raise CheckFailed("the Monitor's start-up download did not arrive")
        self.folder.start_option()
        if not wait_for(lambda: (self.folder.list_rows() or {}).get("count", 0) >= max(1, len(profiles)), 30):
            raise CheckFailed("Option did not show the store's profiles")
        self.place_option()
        self.games = {}
        # Notepad below the games and left of Option, so that neither covers the other.
        for name, value in (("iWindowPosX", 0), ("iWindowPosY", 450), ("iWindowPosDX", 540), ("iWindowPosDY", 500)):
            session.reg("add", "HKCU\\Software\\Microsoft\\Notepad", "/v", name, "/t", "REG_DWORD", "/d", str(value),
                        "/f")
        self.notepad = self.spawn(["notepad"])
        if not wait_for(lambda: self.folder.tree(NOTEPAD_TITLE), 30):
            raise CheckFailed("Notepad did not open")

    def place_option(self):
        """Drags Option by its page to the lower right, clear of the games' windows.
        A drag that starts while Option is still busy with its first paint can stop
        half-way, as a user's would: the user drags again from where it stopped."""
        for _ in range(3):
            left, top = self.folder.option_origin()
            dx, dy = OPTION_PLACE[0] - left, OPTION_PLACE[1] - top
            if (dx, dy) == (0, 0):
                return
            # By the header, left of the tabs: Option may open under Notepad, which
            # covers its lower left, and a user takes a window by its top.
            tab = self.folder.main_skin[4]
            x, y = left + tab[0] - 12, top + tab[1] + tab[3] // 2
            # Wine's move loop starts from a posted message: it must see each step.
            subprocess.run(["xdotool", "mousemove", str(x), str(y), "mousedown", "1", "sleep", "0.2", "mousemove",
                            str(x + dx // 2), str(y + dy // 2), "sleep", "0.2", "mousemove", str(x + dx),
                            str(y + dy), "sleep", "0.2", "mouseup", "1"], env=self.folder.env(), check=True)
            if wait_for(lambda: self.folder.option_origin() == OPTION_PLACE, 5):
                return
            self.log(f"the drag left Option at {self.folder.option_origin()}: drags again")
        raise CheckFailed(f"Option did not follow the drag: it is at {self.folder.option_origin()}")

    def log(self, text):
        if self.verbose:
            print(f"soak: {self.seed}    {text}", flush=True)

    def spawn(self, command):
        process = subprocess.Popen([harness.WINE] + command, cwd=self.folder.path, env=self.folder.env(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.folder.children.append(process)
        return process

    def close(self):
        self.folder.cleanup()

    # What is on the screen.
    def windows(self, with_class=False):
        """(title, rect) of every visible top-level window, or (title, rect, class)."""
        result = self.folder.probe("windows")
        rows = []
        for line in result.stdout.splitlines():
            parts = line.split(" ", 6)
            if len(parts) >= 6:
                row = (parts[6] if len(parts) > 6 else "", tuple(int(p) for p in parts[2:6]))
                rows.append(row + (parts[1],) if with_class else row)
        return rows

    def dialogs(self):
        # Tooltips and open menus are no dialogs: they go as the pointer moves on.
        return [(title, rect) for title, rect, cls in self.windows(with_class=True)
                if title and title not in OWN_WINDOWS and cls not in PASSING_CLASSES]

    def open_menus(self):
        return [rect for _, rect, cls in self.windows(with_class=True) if cls == "#32768"]

    def screenshot(self, name):
        try:
            from PIL import ImageGrab
            path = self.session.build_dir / name
            ImageGrab.grab(xdisplay=self.session.display).save(path)
            return path
        except Exception as error:  # a screenshot must not hide the failure it belongs to
            return f"(no screenshot: {error})"

    def option_open(self):
        return bool(self.option_pids())

    # Points from the skins.
    def page_point(self, skin, entry):
        left, top = self.folder.option_origin()
        ax, ay = self.folder.main_skin[7][:2]
        x, y, w, h = self.skins[skin][entry]
        if skin != "skin_Macros.ini":
            sx, sy = self.folder.config_skin[16][:2]
            ax, ay = ax + sx, ay + sy
        return left + ax + x + w // 2, top + ay + y + h // 2

    # The actions.
    def run(self, action):
        name, numbers, text = action
        if not self.option_open() and name not in ("dpi-button", "rate-button", "game", "other-front", "replug"):
            self.reopen_option()
        getattr(self, "do_" + name.replace("-", "_"))(numbers, text)
        self.answer_dialogs(numbers)

    def profile_count(self):
        return len(self.folder.profile_names())

    def do_choose(self, numbers, text):
        count = self.profile_count()
        self.folder.click(self.folder.config_point(5))
        rows = self.folder.list_rows() or {}
        # The rows in view: the list shows its top row first.
        visible = max(1, min(count - rows.get("top", 0), self.folder.config_skin[13][3] // 20))
        self.folder.click(self.folder.config_point(13, dy=10 + 20 * (numbers[0] % visible)))

    def do_new(self, numbers, text):
        if self.profile_count() < 8:
            self.folder.click(self.folder.config_point(6))

    def do_delete(self, numbers, text):
        self.folder.click(self.folder.config_point(7), settle=1.5)
        # The question, not the bin's tooltip, which has the same text.
        if wait_for(lambda: any(t == "Delete profile" for t, _ in self.dialogs()), 3):
            self.folder.keys("Return" if numbers[0] % 3 else "Escape", title="Delete profile")

    def show_settings(self):
        if self.page_skin == MAIN_TABS[5]:
            self.do_main_tab([sorted(MAIN_TABS).index(4)], "")

    def do_rename(self, numbers, text):
        # Enter and Esc with no box open end Option, as they should: a user
        # types a name only once the box is there.
        self.show_settings()
        self.folder.click(self.folder.config_point(10))
        if not wait_for(lambda: (self.folder.rename_box() or (False,))[0], 3, 0.2):
            return
        self.folder.keys("ctrl+a")
        self.folder.type_text(text)
        self.folder.keys("Return" if numbers[0] % 4 else "Escape")

    def do_copy(self, numbers, text):
        if self.profile_count() < 8:
            self.show_settings()
            self.folder.click(self.folder.config_point(8), settle=1.0)
            # The menu's keys; without the menu, Enter would end Option.
            if wait_for(self.open_menus, 3, 0.2):
                self.folder.keys("Down", "Return")

    def do_reset(self, numbers, text):
        self.folder.click(self.folder.config_point(14))

    def do_sub_page(self, numbers, text):
        entries = sorted(SUB_PAGES)
        entry = entries[numbers[0] % len(entries)]
        self.folder.click(self.folder.main_point(4), settle=0.5)
        self.folder.click(self.folder.config_point(entry), settle=0.5)
        self.page_skin = SUB_PAGES[entry]

    def do_main_tab(self, numbers, text):
        entries = sorted(MAIN_TABS)
        entry = entries[numbers[0] % len(entries)]
        self.folder.click(self.folder.main_point(entry), settle=0.5)
        if MAIN_TABS[entry]:
            self.page_skin = MAIN_TABS[entry]
        else:
            self.folder.click(self.folder.config_point(2), settle=0.5)
            self.page_skin = SUB_PAGES[2]

    def do_page_click(self, numbers, text):
        entries = sorted(self.skins[self.page_skin])
        entry = entries[numbers[0] % len(entries)]
        self.folder.click(self.page_point(self.page_skin, entry), settle=1.0)

    def do_keys(self, numbers, text):
        keys = ("Left", "Right", "Up", "Down", "Home", "End", "Tab", "space", "a", "F5", "Prior", "Next")
        chosen = [keys[(numbers[0] >> (4 * i)) % len(keys)] for i in range(1 + numbers[1] % 3)]
        self.folder.keys(*chosen)

    def do_dpi_button(self, numbers, text):
        if self.attached:
            self.folder.mousesim("dpi-button", str(1 + numbers[0] % 5))

    def do_rate_button(self, numbers, text):
        if self.attached:
            self.folder.mousesim("rate-button", str((1, 2, 4, 8)[numbers[0] % 4]))

    def do_game(self, numbers, text):
        exe = GAMES[numbers[0] % len(GAMES)]
        running = self.games.get(exe)
        if running is None or running.poll() is not None:
            self.games[exe] = self.spawn([str(self.folder.path / exe)])
            wait_for(lambda: any(t == exe for t, _ in self.windows()), 15)
            time.sleep(FOREGROUND_PERIOD)
        else:
            self.bring_to_front(exe)

    def do_other_front(self, numbers, text):
        running = self.games.get(OTHER_PROGRAM)
        if running is None or running.poll() is not None:
            self.games[OTHER_PROGRAM] = self.spawn([str(self.folder.path / OTHER_PROGRAM)])
            wait_for(lambda: any(t == OTHER_PROGRAM for t, _ in self.windows()), 15)
            time.sleep(FOREGROUND_PERIOD)
        else:
            self.bring_to_front(OTHER_PROGRAM)

    def bring_to_front(self, exe):
        # Without a window manager a program brings its own window to the front.
        self.folder.run(OTHER_PROGRAM, "--activate", exe, check=False)
        time.sleep(FOREGROUND_PERIOD)

    def do_replug(self, numbers, text):
        if not self.attached:
            return
        self.folder.mousesim("unplug")
        self.attached = False
        # Unplugged, Option closes; the store and the programs stay.
        if not wait_for(lambda: not self.option_open(), 15):
            raise CheckFailed("Option stayed open without the mouse")
        self.check_store()
        self.check_alive(option=False)
        self.folder.mousesim("plug")
        self.attached = True
        self.reopen_option()

    def reopen_option(self):
        # The mouse's configuration button opens Option, as a user would.
        self.folder.mousesim("config-button")
        if not wait_for(lambda: self.folder.option_window() is not None, 30):
            raise CheckFailed("the configuration button did not open Option")
        self.page_skin = SUB_PAGES[4]
        self.place_option()

    def option_pids(self):
        found = []
        for pid in self.folder.processes():
            try:
                cmdline = Path(f"/proc/{pid}/cmdline").read_bytes().replace(b"\0", b" ").lower()
            except OSError:
                continue
            if b"option.exe" in cmdline:
                found.append(pid)
        return found

    def answer_dialogs(self, numbers):
        """Answers whatever dialog the action left open: an entry of its skin, Escape or Enter."""
        for turn in range(7):
            time.sleep(0.3)
            open_dialogs = self.dialogs()
            if not open_dialogs:
                return
            title, rect = open_dialogs[0]
            if self.open_menus():
                # A dialog's own drop-down (the DPI levels' count) takes the next
                # key or click itself: the user closes it first.
                self.log(f"a menu is open over {title!r}: Escape closes it")
                self.folder.keys("Escape", title=f"^{title}$")
                continue
            if turn >= 4:
                # The user has tried enough of the dialog and leaves it.
                self.log(f"leaves {title!r}: Escape")
                self.folder.keys("Escape", title=f"^{title}$")
                continue
            choice = (numbers[2] >> (3 * turn)) % 8
            assignment = re.fullmatch(r"G\d+", title) is not None
            skin = self.skins.get(ASSIGNMENT_SKIN if assignment else DIALOG_SKINS.get(title, ""), None)
            if skin and choice < 3:
                entries = sorted(skin)
                entry = entries[(numbers[3] >> turn) % len(entries)]
                self.log(f"answers {title!r}: entry {entry}")
                x, y, w, h = skin[entry]
                self.folder.click((rect[0] + x + w // 2, rect[1] + y + h // 2), settle=1.0)
            elif assignment and choice == 3:
                # The key page takes the next key pressed as the button's key.
                key = ("a", "F7", "ctrl+b", "Tab", "space")[numbers[3] % 5]
                self.log(f"answers {title!r}: key {key}")
                self.folder.keys(key, title=f"^{title}$")
            else:
                self.log(f"answers {title!r}: {'Return' if choice == 7 else 'Escape'}")
                self.folder.keys("Return" if choice == 7 else "Escape", title=f"^{title}$")
        raise CheckFailed(f"a dialog does not close: {self.dialogs()}")

    # The checks.
    def settle(self):
        """Waits until the mouse's trace and the store have been still for a second."""
        def still():
            marks = (len(self.folder.trace()), self.folder.store_text())
            time.sleep(1.0)
            return marks == (len(self.folder.trace()), self.folder.store_text())
        if not wait_for(still, 60, 0):
            raise CheckFailed("the programs never came to rest")

    def check(self, keyboard):
        self.settle()
        self.check_alive(option=True)
        names = self.check_store()
        if self.attached:
            self.check_slot()
        self.check_option_shows(names)
        if keyboard:
            self.check_keyboard()

    def check_alive(self, option):
        self.checks += 1
        if not self.monitor.alive():
            raise CheckFailed("the Monitor ended")
        crashed = [t for t, _ in self.windows() if "Program Error" in t or "winedbg" in t.lower()]
        if crashed:
            raise CheckFailed(f"a program crashed: {crashed}")
        if option and not (self.option_open() and self.folder.option_window(patience=5)):
            raise CheckFailed("Option ended" if not self.option_open() else "Option's window is gone")

    def listing(self):
        """The store's profile names and the current one's position, as gmconfig reads them."""
        text = self.folder.store_text()
        if not text:
            raise CheckFailed("the store is gone")
        listing = self.folder.store_query("list")
        if listing.returncode != 0:
            raise CheckFailed(f"the store does not read: {listing.stderr.strip()}")
        lines = [line for line in listing.stdout.splitlines() if line.strip()]
        current = [line for line in lines if line.startswith("*")]
        if not lines or len(current) != 1:
            raise CheckFailed(f"the store has no current profile:\n{listing.stdout}")
        return [line[2:].split(" ", 1)[1].split("\t")[0] for line in lines], lines.index(current[0])

    def check_store(self):
        self.checks += 1
        names, current = self.listing()
        # The active level is one of the levels in use, in every profile.
        store = self.folder.store()
        for index in range(len(names)):
            section = store[f"Profile{index}"] if store.has_section(f"Profile{index}") else {}
            levels, step = section.get("MaxDPI", ""), section.get("CpiStep", "")
            if levels.isdigit() and step.lstrip("-").isdigit() and not 0 <= int(step) < int(levels) <= 5:
                raise CheckFailed(f"profile {index} ({names[index]!r}) stores level {step} of {levels}")
        return names, current

    def slot_differences(self):
        result = self.folder.store_query("slot-check")
        if result.returncode not in (0, 3):
            return [f"slot-check failed: {result.stderr.strip()}"]
        lines = [line for line in result.stdout.splitlines() if line.strip()]
        return lines

    def check_slot(self):
        self.checks += 1
        # The Monitor may still be on its way to the mouse: agreement is waited for, not timed.
        if not wait_for(lambda: not self.slot_differences(), 15, 0.5):
            raise CheckFailed("the mouse does not hold the current profile:\n  " +
                              "\n  ".join(self.slot_differences()))

    def shown(self):
        """The profile box's caption on Option's configuration page, on whichever tab.
        (The drop-down's rows are filled as it opens, so they are not compared.)"""
        pages = []
        for row in self.folder.tree():
            if row["depth"] == 1:
                pages.append([])
            elif row["depth"] >= 2 and pages:
                pages[-1].append(row)
        # The configuration page is the one holding the profile list.
        page = next((p for p in pages if any(r["id"] == LIST_ID for r in p)), [])
        return [r["text"] for r in page if r["depth"] == 2 and r["id"] == 5 and r["cls"] == "GmSkinButton"]

    def check_option_shows(self, store):
        self.checks += 1
        # The Monitor may switch profiles while this runs (a game came to the
        # front just before the programs were still): Option must follow the
        # store, so both are read afresh until they agree.
        def agree():
            names, current = self.listing()
            return self.shown() == [names[current]]
        if not wait_for(agree, 10, 0.3):
            names, current = self.listing()
            raise CheckFailed(f"Option shows {self.shown()}; the store's profiles are {names}, "
                              f"the current one {current}")

    def check_keyboard(self):
        self.checks += 1
        word = f"soak{self.checks}"
        # While the recorder listens it takes every key, meant for whichever
        # program: the user ends the recording first, with its button.
        stop = lambda: next((r["rect"] for r in self.folder.tree() if r["cls"] == "GmSkinButton" and r["visible"]
                             and r["text"] == "Stop"), None)
        if stop():
            self.log("a recording runs: its button ends it before keys go elsewhere")
            rect = stop()
            self.folder.click(((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2), settle=0.5)
            if not wait_for(lambda: not stop(), 5, 0.3):
                raise CheckFailed("the record button did not end the recording")
        edit = next((r["rect"] for r in self.folder.tree(NOTEPAD_TITLE) if r["cls"].lower() == "edit"), None)
        if edit is None:
            raise CheckFailed("Notepad's text field is gone")
        # A click makes Notepad the window in front, as a user switching to it would.
        # While one of Option's drop-down menus is open, the first click only closes
        # it, as on Windows: the user clicks again.
        point = ((edit[0] + edit[2]) // 2, (edit[1] + edit[3]) // 2)
        if self.open_menus():
            self.log("a menu is open: the first click on Notepad closes it")
            self.folder.click(point, settle=0.5)
            if not wait_for(lambda: not self.open_menus(), 5, 0.3):
                raise CheckFailed("a click outside Option's open menu did not close it")
        self.folder.click(point, settle=0.5)
        self.folder.keys("ctrl+a", "BackSpace", title=NOTEPAD_TITLE)
        self.folder.type_text(word)
        text = lambda: "".join(r["text"] for r in self.folder.tree(NOTEPAD_TITLE) if r["cls"].lower() == "edit")
        if not wait_for(lambda: text() == word, 10, 0.3):
            raise CheckFailed(f"typed keys did not reach Notepad: it holds {text()!r}, typed {word!r}")


def soak(session, seed, count, build_dir, verbose, native_gmconfig):
    """Plays one seed; returns (actions done, checks, failure text or None)."""
    actions = plan(seed, count)
    done = []
    runner = None
    try:
        runner = Soak(session, seed, verbose, native_gmconfig)
        runner.check(keyboard=True)
        for index, action in enumerate(actions):
            done.append(action)
            if verbose:
                print(f"soak: {seed} {index + 1}. {describe(action)}", flush=True)
            runner.run(action)
            runner.check(keyboard=index % 5 == 4 or index == len(actions) - 1)
        return len(done), runner.checks, None
    except Exception as error:  # any failure ends this seed and is reported with it
        shot = runner.screenshot(f"soak-failure-{seed}.png") if runner else "(none)"
        lines = [f"soak: FAILED seed {seed} after {len(done)} of {count} actions: {error}",
                 "" if isinstance(error, CheckFailed) else traceback.format_exc().rstrip(),
                 f"soak: screenshot {shot}", "soak: actions:"]
        lines += [f"  {i + 1}. {describe(a)}" for i, a in enumerate(done)]
        lines.append(f"soak: again with: {sys.executable} {Path(__file__).resolve()} --build-dir {build_dir} "
                     f"--seed {seed} --actions {len(done)}")
        return len(done), runner.checks if runner else 0, "\n".join(line for line in lines if line)
    finally:
        if runner:
            runner.close()


def main():
    def add_arguments(parser):
        parser.add_argument("--seed", type=int, action="append",
                            help="a seed to play (repeatable); default: one new seed")
        parser.add_argument("--actions", type=int, default=20, help="actions per seed")
        parser.add_argument("--verbose", action="store_true", help="print each action as it starts")
        parser.add_argument("--native-gmconfig", type=Path,
                            help="the native tree's gmconfig, which reads the store without a Wine start "
                                 "(default: the native tree beside the build folder, when it is built)")
    args, _ = suite.parse(add_arguments, known_only=False)
    seeds = args.seed or [int.from_bytes(os.urandom(4), "little")]
    native = args.native_gmconfig or Path(args.build_dir).resolve().parent / "native" / "tools" / "gmconfig" / "gmconfig"
    native = native if native.is_file() else None
    print(f"soak: the store is read by {native or 'gmconfig.exe under Wine'}", flush=True)
    print(f"soak: seeds {' '.join(map(str, seeds))}, {args.actions} actions each", flush=True)

    session = suite.start_session(option.prepare_session)
    total_actions = total_checks = 0
    failures = []
    try:
        for seed in seeds:
            started = time.monotonic()
            actions, checks, failure = soak(session, seed, args.actions,
                                            args.build_dir, args.verbose, native)
            total_actions += actions
            total_checks += checks
            print(f"soak: seed {seed}: {actions} actions, {checks} checks, "
                  f"{'failed' if failure else 'passed'} ({time.monotonic() - started:.0f} s)", flush=True)
            if failure:
                failures.append(failure)
                print(failure, flush=True)
    finally:
        suite.stop_session()
    print(f"soak: {total_actions} actions, {total_checks} checks, {len(failures)} failures", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
