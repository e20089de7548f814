"""Option under test: a program folder with the real Option.exe and the probe
that reads its windows, and the test case that starts Option (and the Monitor)
on a store of the test's profiles. Click points come from the staged skin
files, never from constants."""
import configparser
import shutil
import subprocess
import sys
import time
import unittest

from . import harness, suite
from .probe_server import ProbeServer
from .harness import wait_for
from .macro_library import read_library

OPTION_TITLE = "7741 Gaming Mouse Option"
LIST_ID = 4112
# The macro page's event list and its macro drop-down.
STEPS_ID, MACROS_ID = 4097, 4096
START = "SetFeature 01 08 00 00 00 00 00 F6"


def run_state(process):
    """How a started program stands, for failure messages."""
    return "running" if process.poll() is None else f"ended ({process.returncode})"


def add_scale_argument(parser):
    parser.add_argument("--scale", type=int, default=100, choices=(100, 125, 150, 200),
                        help="the display scale in percent: Option then shows the skin set of that scale")


def scale():
    """The display scale of the run, in percent; 100 for a program not started as a
    suite (the benches set the DPI of each of their runs themselves)."""
    try:
        return getattr(suite.args(), "scale", 100)
    except RuntimeError:
        return 100


def scaled(value, percent=None):
    """A length of the 100 % layout at the scale of the run, rounded as the skin sets are."""
    return (value * (percent or scale()) + 50) // 100


def scaled_name(name):
    """A screenshot's file name for the run's scale: the 100 % name, or with the scale in front."""
    return name if scale() == 100 else f"scale-{scale()}-{name}"


def set_log_pixels(session, percent):
    """The system DPI Wine gives its programs from their next start."""
    session.reg("add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                str(96 * percent // 100), "/f")


def prepare_session(session):
    # Keys reach Wine's windows without a window manager, and closing a window costs no delay.
    session.reg("add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/t", "REG_SZ", "/d", "N", "/f")
    set_log_pixels(session, scale())


def main():
    """Runs the calling Option suite, at the scale its --scale option gives."""
    suite.main(add_arguments=add_scale_argument, prepare=prepare_session)


def skin_entries(path):
    """BUTTONPOS entries of a skin file: number -> (x, y, width, height)."""
    parser = configparser.ConfigParser(interpolation=None, strict=False)
    parser.optionxform = str
    parser.read_string(path.read_bytes().decode("utf-8-sig", "replace"))
    entries = {}
    for key, value in parser["BUTTONPOS"].items():
        fields = value.split(",")
        if key.isdigit() and len(fields) >= 5:
            entries[int(key)] = tuple(int(f) for f in fields[1:5])
    return entries


def skin_set(root, percent):
    """The folder of the skin set of `percent` below the skins folder `root`."""
    return root if percent == 100 else root / str(percent)


class OptionFolder(harness.ProgramFolder):
    """A program folder with the real Option.exe and the probe."""

    def __init__(self, session, name, **kwargs):
        super().__init__(session, name, **kwargs)
        shutil.copy(session.stage / "Option.exe", self.path / "Option.exe")
        shutil.copy(session.build_dir / "tests" / "e2e" / "option" / "gm_probe.exe", self.path / "probe.exe")
        shutil.copy(session.build_dir / "tests" / "e2e" / "option" / "gm_access_probe.exe", self.path / "access.exe")
        # The skin set of the run's scale: click points come from its entries.
        self.skins = skins = skin_set(self.path / "skins", scale())
        self.main_skin = skin_entries(skins / "skin_mains.ini")
        self.config_skin = skin_entries(skins / "skin_configr.ini")
        self.question_skin = skin_entries(skins / "skin_question.ini")
        self.macro_skin = skin_entries(skins / "skin_Macros.ini")
        self.probe_server = None
        self.native_gmconfig = None  # a Linux gmconfig that reads this folder's store without a Wine start

    def serve_probe(self):
        """From now on one probe answers every question (see ProbeServer)."""
        self.probe_server = ProbeServer([harness.WINE, str(self.path / "probe.exe")], self.env(), self.path)

    def store_query(self, *args):
        """A gmconfig command that only reads the store, as a harness.Completed."""
        if self.native_gmconfig is None:
            return harness.run_captured(self.command("gmconfig.exe", *args), self.env(), self.path)
        return harness.run_captured([str(self.native_gmconfig), "--folder", str(self.path)] + list(args),
                                    self.env(), self.path)

    def read_store(self, *args):
        """The output of a gmconfig command that only reads the store."""
        if self.native_gmconfig is None:
            return self.gmconfig(*args)
        result = self.store_query(*args)
        if result.returncode != 0:
            raise AssertionError(f"gmconfig {' '.join(args)} exited with {result.returncode}: "
                                 f"{result.stdout} {result.stderr}")
        return result.stdout

    def cleanup(self):
        if self.probe_server:
            self.probe_server.stop()
        super().cleanup()

    def start_option(self):
        process = subprocess.Popen([harness.WINE, str(self.path / "Option.exe")], cwd=self.path, env=self.env(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.children.append(process)
        if not wait_for(lambda: self.option_window() is not None, 30):
            raise AssertionError(f"Option's window did not appear; Option is {run_state(process)}; the prefix runs"
                                 f" {self.session.wine_programs()}")
        return process

    def probe(self, *args):
        if self.probe_server:
            answer = self.probe_server.ask(args)
            if answer is not None:
                return answer
            print("harness: the probe server stopped answering; asking a probe of its own", file=sys.stderr)
            self.probe_server = None
        command = [harness.WINE, str(self.path / "probe.exe")] + list(args)
        result = harness.run_captured(command, self.env(), self.path)
        if result.returncode == 1 and not result.stdout and not result.stderr:
            # The probe never exits with 1: Wine failed to start it (see ProgramFolder.run).
            print("harness: probe.exe did not start under Wine; starting it again", file=sys.stderr)
            time.sleep(0.5)
            result = harness.run_captured(command, self.env(), self.path)
        return result

    def accessible(self, title=OPTION_TITLE):
        """What a screen reader learns of the visible windows of `title` (gm_access_probe):
        dicts of cls, id, enabled, focused, role and state (ints, None without an object), name, value."""
        command = [harness.WINE, str(self.path / "access.exe"), title]
        result = harness.run_captured(command, self.env(), self.path)
        if result.returncode == 1 and not result.stdout and not result.stderr:
            time.sleep(0.5)  # Wine failed to start it, as with the probe
            result = harness.run_captured(command, self.env(), self.path)
        rows = []
        for line in result.stdout.splitlines():
            parts = line.split("\t")
            if len(parts) < 8:
                continue
            described = parts[4] != "-"
            rows.append(dict(cls=parts[0], id=int(parts[1]), enabled=parts[2] == "1", focused=parts[3] == "1",
                             role=int(parts[4], 16) if described else None,
                             state=int(parts[5], 16) if described else None, name=parts[6], value=parts[7]))
        return rows

    def tree(self, title=OPTION_TITLE, command="tree"):
        """The windows of the top-level window `title`: dicts of depth, id, cls, visible, rect, text."""
        result = self.probe(command, title)
        if result.returncode != 0:
            return []
        rows = []
        for line in result.stdout.splitlines():
            parts = line.split(" ", 8)
            if len(parts) < 8:
                continue
            rows.append(dict(depth=int(parts[0]), id=int(parts[1]), cls=parts[2], visible=parts[3] == "1",
                             rect=tuple(int(p) for p in parts[4:8]), text=parts[8] if len(parts) > 8 else ""))
        return rows

    def option_window(self, patience=0.0):
        """Option's top-level row, or None. With `patience`, asks again for that many
        seconds: a probe that Wine fails to start reads the same as no window."""
        # Only the top row is wanted: the whole tree asks every child for its text.
        top = lambda: self.tree(OPTION_TITLE, command="window")
        rows = wait_for(top, patience) if patience else top()
        return rows[0] if rows else None

    def option_origin(self):
        window = self.option_window(patience=5)
        if window is None:
            raise AssertionError("Option's window is gone")
        return window["rect"][:2]

    def move_aside(self, title):
        """Moves the top-level window `title` (a stand-in game in front) beside Option's
        window, where it covers none of Option's click points at any scale."""
        window = self.option_window(patience=5)
        if window is None:
            raise AssertionError("Option's window is gone")
        right, top = window["rect"][2], window["rect"][1]
        result = self.probe("move", title, str(right + 10), str(top))
        if result.returncode != 0:
            raise AssertionError(f"{title} could not be moved: {result.returncode}")

    def menu_shown(self):
        """Whether a popup menu (class #32768) shows: its own loop then takes the keys."""
        result = self.probe("windows")
        return result.returncode == 0 and any(line.split(" ")[1:2] == ["#32768"] for line in result.stdout.splitlines())

    def list_rows(self, control=LIST_ID):
        result = self.probe("list", OPTION_TITLE, str(control))
        if result.returncode != 0:
            return None
        lines = result.stdout.splitlines()
        head = lines[0].split()
        return dict(count=int(head[1]), selected=int(head[3]), top=int(head[5]), rows=lines[1:])

    @property
    def library_file(self):
        return self.path / "config" / "sequence.dat"

    def macros(self):
        """The macro library as stored: [(name, [(key, flag, delay), ...])]."""
        return read_library(self.library_file)

    def macro_caption(self, entry):
        """The caption of the macro page's button at skin entry `entry`, while it shows."""
        return next((r["text"] for r in self.tree() if r["id"] == entry and r["cls"] == "GmSkinButton"
                     and r["visible"] and r["rect"][2] - r["rect"][0] == self.macro_skin[entry][2]), None)

    def captions(self, entry):
        """Texts of the configuration page's buttons at skin entry `entry`."""
        # The hidden macro page has buttons of these numbers too.
        return [row["text"] for row in self.tree()
                if row["depth"] == 2 and row["id"] == entry and row["cls"] == "GmSkinButton" and row["visible"]]

    # Screen points from the skins.
    def main_point(self, entry):
        left, top = self.option_origin()
        x, y, w, h = self.main_skin[entry]
        return left + x + w // 2, top + y + h // 2

    def sub_page_origin(self):
        """The screen point of the shown sub-page's (buttons, performance, lighting) top left."""
        left, top = self.option_origin()
        return (left + self.main_skin[7][0] + self.config_skin[16][0],
                top + self.main_skin[7][1] + self.config_skin[16][1])

    def macro_rect(self, entry):
        """The screen rectangle (x, y, w, h) of the macro page's skin entry `entry`."""
        left, top = self.option_origin()
        ax, ay, _, _ = self.main_skin[7]
        x, y, w, h = self.macro_skin[entry]
        return left + ax + x, top + ay + y, w, h

    def config_point(self, entry, dx=None, dy=None):
        left, top = self.option_origin()
        ax, ay, _, _ = self.main_skin[7]
        x, y, w, h = self.config_skin[entry]
        return left + ax + x + (w // 2 if dx is None else dx), top + ay + y + (h // 2 if dy is None else dy)

    def click(self, point, settle=0.8):
        subprocess.run(["xdotool", "mousemove", str(point[0]), str(point[1]), "click", "1"], env=self.env(),
                       check=True)
        time.sleep(settle)

    def keys(self, *keys, title=OPTION_TITLE):
        window = subprocess.run(["xdotool", "search", "--name", title], env=self.env(),
                                capture_output=True, text=True).stdout.split()
        if len(window) > 1:
            # A button's tooltip carries its text as its name: the window meant is the largest.
            window.sort(key=self.window_area, reverse=True)
        if window:
            subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], env=self.env())
        subprocess.run(["xdotool", "key", "--delay", "60"] + list(keys), env=self.env(), check=True)
        time.sleep(0.8)

    def window_area(self, window):
        out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=self.env(),
                             capture_output=True, text=True).stdout
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values.get("WIDTH", 0)) * int(values.get("HEIGHT", 0))

    def type_text(self, text):
        subprocess.run(["xdotool", "type", "--delay", "60", "--", text], env=self.env(), check=True)
        time.sleep(0.5)

    def rename_box(self):
        """The configuration page's rename box: (visible, text)."""
        row = next((r for r in self.tree() if r["depth"] == 2 and r["id"] == 4011), None)
        return (row["visible"], row["text"]) if row else None

    def profile_names(self):
        # "* 2 Name" for the current profile, "  0 Name" for the others; a game follows a tab.
        return [line[2:].split(" ", 1)[1].split("\t")[0] for line in self.read_store("list").splitlines()
                if line.strip()]

    def current_index(self):
        return int(self.store()["Config"]["ProfileID"])

    def flags(self):
        config = self.store()["Config"]
        return [int(config[k]) for k in ("KeysFlag", "AttributeFlag", "DPIStepFlag", "PRateFlag")]


class OptionTest(unittest.TestCase):
    profiles = ("Gamer", "Work", "Game")
    monitor = True
    uistr = True

    def setUp(self):
        self.folder = OptionFolder(suite.session(), self.id().split(".")[-1], uistr=self.uistr)
        # A set-up that fails (here or in a subclass) gets no tearDown, but its
        # cleanups: its programs must not live on into the next tests, where a
        # Monitor left running makes every new one end at once.
        self.addCleanup(self.folder.cleanup)
        for name in self.profiles:
            self.folder.gmconfig("new", name)
        self.prepare()
        self.monitor_process = None
        if self.monitor:
            self.monitor_process = self.folder.start_monitor()
            if not self.folder.wait_downloads(1):
                # Rare on a loaded machine and gone with the folder: say what the Monitor said.
                self.fail(f"the Monitor's start-up download did not arrive; the Monitor is"
                          f" {run_state(self.monitor_process.process)}, its last"
                          f" debug lines: {self.monitor_process.debug_lines()[-12:]}; the prefix runs"
                          f" {self.folder.session.wine_programs()}")
        self.option = self.folder.start_option()
        # The page is filled once the list holds the store's profiles.
        self.assertTrue(wait_for(lambda: (self.folder.list_rows() or {}).get("count") == len(self.profiles), 20))

    def tearDown(self):
        self.folder.cleanup()
        self.assertEqual(self.folder.processes(), [], "processes of the test were left running")

    def prepare(self):
        """The store as the test wants it before the programs start."""

    def menu_command(self, position):
        """Opens the profile menu and chooses its item `position` (1 copy, 2 import, 3 export) with the keys."""
        self.folder.click(self.folder.config_point(8), settle=1.0)
        self.folder.keys(*(["Down"] * position), "Return")

    def choose(self, row):
        """Chooses a row of the drop-down (all rows in view)."""
        self.folder.click(self.folder.config_point(5))
        self.folder.click(self.folder.config_point(13, dy=10 + 20 * row))
        self.assertTrue(wait_for(lambda: self.folder.current_index() == row, 10))

    def profile_values(self):
        """The current profile's stored values as `gmconfig show` prints them: name -> text."""
        values = {}
        for line in self.folder.gmconfig("show").splitlines():
            key, sep, value = line.partition("=")
            if sep:
                values[key.strip()] = value.strip()
        return values

    def assert_sent_as_stored(self, before):
        """Once the trace is quiet: what reached the mouse after trace position `before` is what
        the store's changed parts make (gmconfig reports)."""
        self.wait_quiet()
        self.assertEqual(self.downloads_after(before), self.folder.reports(), "the mouse did not get the change")

    def trace_length(self):
        return len(self.folder.trace())

    def downloads_after(self, before):
        return [op for _, op in self.folder.trace()[before:] if op.startswith(("SetFeature", "WriteUSB"))]

    def wait_quiet(self, seconds=1.0):
        """Waits until the trace has not grown for `seconds`; returns its length."""
        last = -1
        while True:
            length = len(self.folder.trace())
            if length == last:
                return length
            last = length
            time.sleep(seconds)

    def assert_new_profile_made(self, before):
        """+ on the three stored profiles: Profile4, current, downloaded whole and shown."""
        self.assertTrue(wait_for(lambda: "Profile4" in self.folder.profile_names(), 10))
        self.assertEqual(self.folder.current_index(), 3)
        self.assertEqual(self.folder.flags(), [1, 1, 1, 1])
        sends = self.wait_full_download(before)
        self.assertEqual(sends, self.folder.reports(full=True))
        self.assertEqual(self.folder.captions(5), ["Profile4"])

    def wait_full_download(self, before):
        """The sends after trace position `before`, once a whole download has arrived."""
        self.assertTrue(wait_for(lambda: any(op.startswith("SetFeature 02 01 00") for op in
                                             self.downloads_after(before)), 10), "no download reached the mouse")
        return self.downloads_after(before)
